#include "AppTestSupport.h"

#include "app/AboutDlg.h"
#include "app/DlgSetting.h"
#include "app/OrderDlg.h"
#include "app/OrdersDlg.h"
#include "app/Language.h"
#include "app/ReportDlg.h"
#include "app/Resources.h"
#include "app/StartDateDlg.h"
#include "app/StringTable.h"
#include "core/TradeDesk.h"
#include "core/TradeJournal.h"

#include <QAbstractItemView>
#include <QComboBox>

#include <map>
#include <regex>
#include <set>

namespace
{

TEST(LanguageTest, TheFirstSetLocaleVariableDecides)
{
    struct SCase
    {
        const char* pszLcAll;
        const char* pszLcMessages;
        const char* pszLang;
        ELanguage eExpected;
    };
    const SCase cases[] = {
        {nullptr, nullptr, nullptr, ELanguage::Chinese},
        {nullptr, nullptr, "en_US.UTF-8", ELanguage::English},
        {"", "", "en_GB", ELanguage::English}, // empty counts as unset
        {"C", nullptr, "en_US.UTF-8", ELanguage::Chinese},
        {nullptr, "en_AU.UTF-8", "zh_CN.UTF-8", ELanguage::English},
        {"zh_CN.UTF-8", "en_US.UTF-8", "en_US.UTF-8", ELanguage::Chinese},
        {nullptr, nullptr, "POSIX", ELanguage::Chinese},
        {nullptr, nullptr, "C.UTF-8", ELanguage::Chinese},
        {nullptr, nullptr, "de_DE.UTF-8", ELanguage::Chinese},
        {"en", nullptr, nullptr, ELanguage::English},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.pszLcAll ? c.pszLcAll : "-") + " " +
                     (c.pszLcMessages ? c.pszLcMessages : "-") + " " +
                     (c.pszLang ? c.pszLang : "-"));
        EXPECT_EQ(LanguageFromLocale(c.pszLcAll, c.pszLcMessages, c.pszLang), c.eExpected);
    }
    EXPECT_EQ(LanguageFromName("en"), ELanguage::English);
    EXPECT_EQ(LanguageFromName("zh"), ELanguage::Chinese);
    EXPECT_EQ(LanguageFromName("english"), std::nullopt);
}

std::map<unsigned, std::string> ById(std::span<const SAppString> table)
{
    std::map<unsigned, std::string> texts;
    for (const SAppString& entry : table)
        EXPECT_TRUE(texts.emplace(entry.nId, entry.pszText).second) << "repeated id " << entry.nId;
    return texts;
}

// What a caller relies on: the printf conversions in order, the key after a tab, whether a
// mnemonic is marked.
std::string Shape(const std::string& strText)
{
    static const std::regex conversion("%[-+ #0]*[0-9]*(\\.[0-9]+)?[dsfgc%]");
    std::string strShape;
    for (std::sregex_iterator it(strText.begin(), strText.end(), conversion), end; it != end; ++it)
        strShape += it->str();
    const std::size_t nTab = strText.find('\t');
    strShape += '|';
    if (nTab != std::string::npos)
        strShape += strText.substr(nTab);
    const std::string strNoDoubles = std::regex_replace(strText, std::regex("&&"), "");
    strShape += strNoDoubles.find('&') != std::string::npos ? "|&" : "|";
    return strShape;
}

bool HasChinese(const std::string& strText)
{
    // Every CJK character is three bytes in UTF-8, led by 0xE3 to 0xE9 (U+3000 to U+9FFF);
    // full-width punctuation (U+FF00 on) is led by 0xEF 0xBC or 0xEF 0xBD.
    for (std::size_t i = 0; i < strText.size(); ++i)
    {
        const auto c = static_cast<unsigned char>(strText[i]);
        if (c >= 0xE3 && c <= 0xE9)
            return true;
        if (c == 0xEF && i + 1 < strText.size() &&
            (static_cast<unsigned char>(strText[i + 1]) & 0xFE) == 0xBC)
            return true;
    }
    return false;
}

TEST(LanguageTest, BothTablesHoldEveryTextInTheSameShape)
{
    const std::map<unsigned, std::string> chinese = ById(ChineseStrings());
    const std::map<unsigned, std::string> english = ById(EnglishStrings());
    std::set<unsigned> ids;
    for (const auto& [nId, strText] : chinese)
        ids.insert(nId);
    for (const auto& [nId, strText] : english)
        ids.insert(nId);
    for (unsigned nId : ids)
    {
        SCOPED_TRACE(nId);
        ASSERT_TRUE(chinese.contains(nId));
        ASSERT_TRUE(english.contains(nId));
        EXPECT_EQ(Shape(english.at(nId)), Shape(chinese.at(nId))) << english.at(nId);
        EXPECT_FALSE(english.at(nId).empty());
        EXPECT_FALSE(HasChinese(english.at(nId))) << english.at(nId);
    }
    // The texts the window shows today stay as they are.
    EXPECT_EQ(chinese.at(IDS_MAIN_CAPTION), "K线交易练习");
    EXPECT_EQ(chinese.at(IDS_INFO_PROGRESS), "加载:%s; 数据量:(%d); 播放进度:[%d of %d]");
    EXPECT_EQ(chinese.at(IDS_PROFIT), "Profit:%.2f");
}

class EnglishWindowTest : public CMainWindowTest
{
protected:
    void SetUp() override { SetAppLanguage(ELanguage::English); }
};

TEST_F(EnglishWindowTest, EveryTextOfTheWindowMenusAndDialogsIsEnglish)
{
    LoadAtStart(WriteBars(40));
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("K-line Trading Practice"));
    for (const char* pszButton : {"Load", "Play", "Buy", "Sell"})
        EXPECT_NE(Button(QString::fromLatin1(pszButton)), nullptr) << pszButton;
    // What the user reads: labels, buttons, the information line, menus, the dialogs.
    std::vector<QWidget*> vecWindows = {&Window()};
    CDlgSetting settings(1000, STradeSettings{}, true, &Window());
    COrderDlg order(Window().Session(), SOrderRequest{}, {}, &Window());
    CTradeDesk desk;
    COrdersDlg orders(desk, 2, {}, &Window());
    CAboutDlg about(&Window());
    CStartDateDlg start(&Window());
    CTradeJournal journal;
    CReportDlg report(journal, &Window());
    vecWindows.insert(vecWindows.end(), {&settings, &about, &start, &report, &order, &orders});
    std::vector<std::string> vecShown;
    for (QWidget* pWindow : vecWindows)
    {
        vecShown.push_back(pWindow->windowTitle().toStdString());
        for (QLabel* pLabel : pWindow->findChildren<QLabel*>())
            vecShown.push_back(pLabel->text().toStdString());
        for (QAbstractButton* pButton : pWindow->findChildren<QAbstractButton*>())
            vecShown.push_back(pButton->text().toStdString());
        for (QLineEdit* pEdit : pWindow->findChildren<QLineEdit*>())
            vecShown.push_back(pEdit->text().toStdString());
        for (QAction* pAction : pWindow->findChildren<QAction*>())
            vecShown.push_back(pAction->text().toStdString());
        for (QComboBox* pCombo : pWindow->findChildren<QComboBox*>())
            for (int i = 0; i < pCombo->count(); ++i)
                vecShown.push_back(pCombo->itemText(i).toStdString());
        for (QAbstractItemView* pView : pWindow->findChildren<QAbstractItemView*>())
            for (int c = 0; pView->model() != nullptr && c < pView->model()->columnCount(); ++c)
                vecShown.push_back(
                    pView->model()->headerData(c, Qt::Horizontal).toString().toStdString());
    }
    EXPECT_GT(vecShown.size(), 80u) << "the menus and dialogs are among them";
    for (const std::string& strShown : vecShown)
        EXPECT_FALSE(HasChinese(strShown)) << strShown;
    for (const char* pszText : {"&Quit", "0.5 s", "Settings", "OK", "Cancel"})
        EXPECT_NE(std::find(vecShown.begin(), vecShown.end(), pszText), vecShown.end()) << pszText;
}

} // namespace
