// What a load says it read, and the import dialog for files whose layout the rules do not settle:
// through the real window, its menu and its settings file.
#include "AppTestSupport.h"

#include "core/KLineFile.h"
#include "core/KLineMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableView>

#include <regex>

namespace
{

const QString kCaption = QString::fromUtf8("导入设置");

// The prices are told apart by their column: open 10.x, high 11.x, low 9.x, close 10.y.
const std::string kUnknownHeader = "Datum;Wertpapier;Erster;Hoch;Tief;Letzter;Stueck\n"
                                   "01.03.2021;AT0000831706;10,50;11,00;9,50;10,80;1200\n"
                                   "02.03.2021;AT0000831706;10,80;11,20;9,60;11,10;900\n"
                                   "03.03.2021;AT0000831706;11,10;11,50;9,90;10,70;1500\n";

QComboBox* Combo(QWidget* pDialog, const char* pszName)
{
    auto* pCombo = pDialog->findChild<QComboBox*>(QString::fromLatin1(pszName));
    EXPECT_NE(pCombo, nullptr) << pszName;
    return pCombo;
}

// Chooses the drop-down's item for this column the way the keyboard does, one step at a time.
void ChooseColumn(QComboBox* pCombo, int nColumn)
{
    const int nWanted = pCombo->findData(nColumn);
    ASSERT_GE(nWanted, 0);
    pCombo->setFocus();
    while (pCombo->currentIndex() != nWanted)
        QTest::keyClick(pCombo, pCombo->currentIndex() < nWanted ? Qt::Key_Down : Qt::Key_Up);
}

// One column of the preview, top to bottom, as it shows.
std::vector<std::string> PreviewColumn(QWidget* pDialog, int nColumn)
{
    auto* pView = pDialog->findChild<QTableView*>(QStringLiteral("preview"));
    std::vector<std::string> vecTexts;
    if (pView == nullptr)
        return vecTexts;
    const QAbstractItemModel* pModel = pView->model();
    for (int r = 0; r < pModel->rowCount(); ++r)
        vecTexts.push_back(pModel->data(pModel->index(r, nColumn)).toString().toStdString());
    return vecTexts;
}

QAbstractButton* OkButton(QWidget* pDialog)
{
    for (QAbstractButton* pButton : pDialog->findChildren<QAbstractButton*>())
        if (pButton->text() == QString::fromUtf8("确定"))
            return pButton;
    ADD_FAILURE() << "no OK";
    return nullptr;
}

std::string Text(QWidget* pDialog, const char* pszName)
{
    auto* pLabel = pDialog->findChild<QLabel*>(QString::fromLatin1(pszName));
    return pLabel != nullptr ? pLabel->text().toStdString() : std::string("<none>");
}

class ImportDialogTest : public CMainWindowTest
{
protected:
    std::vector<double> Closes()
    {
        std::vector<double> vecCloses;
        for (const SChartCandlestickPoint& bar : Window().Session().Player().m_vecBars)
            vecCloses.push_back(bar.dClose);
        return vecCloses;
    }
};

TEST_F(ImportDialogTest, TheInformationLineEndsInTheLoadNoteInTheProgramsLanguage)
{
    const std::string strPath = m_dir.Write(
        "EURUSD60.csv", "Date,Time,Open,High,Low,Close,Volume\n"
                        "2021.03.01,09:00,1.2075,1.2080,1.2070,1.2078,12\n"
                        "2021.03.01,10:00,1.2075,1.2060,1.2070,1.2085,9\n" // high under low
                        "2021.03.01,11:00,1.2085,1.2095,1.2080,1.2090,7\n");
    for (ELanguage eLanguage : {ELanguage::Chinese, ELanguage::English})
    {
        SetAppLanguage(eLanguage);
        Reopen();
        LoadAtStart(strPath);
        const std::string strNote =
            eLanguage == ELanguage::Chinese
                ? " 读取:MetaTrader 导出，日期和时间两列：2根K线，2021-03-01 09:00 至 2021-03-01 "
                  "11:00；跳过2行（1行不是K线，第一处：第3行）"
                : " Read: MetaTrader export, date and time columns: 2 bars, 2021-03-01 09:00 to "
                  "2021-03-01 11:00; 2 lines skipped (1 not a bar, first: line 3)";
        EXPECT_TRUE(Info().ends_with(strNote)) << Info();
        // The line scrolls; its tooltip holds it whole.
        auto* pInfo = Window().findChild<QLineEdit*>(QStringLiteral("info"));
        EXPECT_EQ(pInfo->toolTip(), pInfo->text());
        Key(Qt::Key_Right);
        EXPECT_TRUE(Info().ends_with(strNote)) << "the note stays while the replay goes on";
    }
}

// The window's English note is the one the loader writes on standard error, for every kind of
// note: layouts by name and by the locale's order, routine and faulty skips, turned round.
TEST_F(ImportDialogTest, TheEnglishNoteSaysWhatTheLoaderSays)
{
    SetAppLanguage(ELanguage::English);
    const std::pair<const char*, const char*> files[] = {
        {"plain.csv", "Date,Open,High,Low,Close\n2021-03-02,1,2,0.5,1.5\n2021-03-01,1,2,0.5,1.5\n"},
        {"dots.csv", "01.03.2021;1,5;2,0;0,5;1,2\n02.03.2021;1,5;2,0;0,5;1,2\n"},
        {"unix.csv", "1614589200000,1,2,0.5,1.5,3\n1614592800000,1,2,0.5,1.5,3\nnull,1,2,3,4,5\n"},
        {"names.csv", "\"Date\",\"Price\",\"Open\",\"High\",\"Low\"\n"
                      "\"Mar 01, 2021\",\"1,124.90\",\"1,120.00\",\"1,130.00\",\"1,110.00\"\n"},
        {"one.txt", "20210301,1,2,0.5,1.5\nbad\nworse\n"},
    };
    for (const auto& [pszName, pszText] : files)
    {
        SCOPED_TRACE(pszName);
        const std::string strPath = m_dir.Write(pszName, pszText);
        LoadAtStart(strPath);
        SKLineLoad load;
        testing::internal::CaptureStderr();
        ASSERT_TRUE(LoadKLineFile(strPath, &load));
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(Info().ends_with(" Read: " + KLineLoadNote(load))) << Info();
    }
}

TEST_F(ImportDialogTest, ASemicolonFileWithAnUnknownHeaderIsReadAsChosenAndRemembered)
{
    const std::string strPath = m_dir.Write("wiener.csv", kUnknownHeader);
    std::string strPrompt;
    std::vector<std::string> vecBefore;
    std::vector<std::string> vecAfter;
    std::string strShared;
    bool bOkShared = true;
    bool bOkAfter = false;
    WhenModal(TitleIs(kCaption),
              [&](QWidget* pDialog)
              {
                  strPrompt = Text(pDialog, "prompt");
                  EXPECT_EQ(Combo(pDialog, "separator")->currentData().toInt(), int(';'));
                  EXPECT_EQ(Combo(pDialog, "decimal")->currentIndex(), 1) << "decimal comma";
                  EXPECT_EQ(Plain(Combo(pDialog, "close")->currentText()),
                            QString::fromUtf8("第6列: Letzter"));
                  vecBefore = PreviewColumn(pDialog, 4);
                  // The close put in the open's column: one column has one use only.
                  ChooseColumn(Combo(pDialog, "close"), 2);
                  strShared = Text(pDialog, "previewNote");
                  bOkShared = OkButton(pDialog)->isEnabled();
                  // The open in the close's: the preview shows them swapped.
                  ChooseColumn(Combo(pDialog, "open"), 5);
                  vecAfter = PreviewColumn(pDialog, 4);
                  bOkAfter = OkButton(pDialog)->isEnabled();
                  ClickButtonIn(pDialog, QString::fromUtf8("确定"));
              });
    LoadAtStart(strPath);
    EXPECT_EQ(strPrompt, "无法识别 " + strPath + " 的列，请指定各列。");
    EXPECT_EQ(vecBefore, (std::vector<std::string>{"10.80", "11.10", "10.70"}));
    EXPECT_EQ(strShared, "收盘与开盘用的是同一列，请另选一列。");
    EXPECT_FALSE(bOkShared);
    EXPECT_EQ(vecAfter, (std::vector<std::string>{"10.50", "10.80", "11.10"}));
    EXPECT_TRUE(bOkAfter);
    EXPECT_EQ(Window().Session().FilePath(), strPath);
    EXPECT_EQ(Closes(), (std::vector<double>{10.5, 10.8, 11.1}));
    EXPECT_TRUE(
        Info().ends_with(" 读取:手动设置的格式（日在前：没有日期能判断，按区域设置）：3根K线，"
                         "2021-03-01 至 2021-03-03；跳过1行（表头和无价格的行）"))
        << Info();

    // The settings file holds the layout by path, in its text form.
    const SKLineLayout chosen = Window().Session().Player().m_layout;
    EXPECT_EQ(chosen.m_nCloseColumn, 2);
    EXPECT_EQ(chosen.m_nOpenColumn, 5);
    const std::string strSettings = FileText(m_dir.SettingsFile());
    EXPECT_NE(strSettings.find("[KLineLayouts]\nFile1=" + strPath +
                               "\nLayout1=" + KLineLayoutText(chosen) + "\n"),
              std::string::npos)
        << strSettings;

    // At the next start the same path opens without the dialog, read the chosen way.
    Reopen();
    LoadAtStart(strPath);
    EXPECT_EQ(Closes(), (std::vector<double>{10.5, 10.8, 11.1}));

    // A layout damaged in the file is not used: the dialog comes again, on the loader's proposal.
    const std::string strDamaged =
        std::regex_replace(strSettings, std::regex("close=2"), "close=x");
    ReopenWithSettings(strDamaged);
    int nShownClose = -1;
    WhenModal(TitleIs(kCaption),
              [&](QWidget* pDialog)
              {
                  nShownClose = Combo(pDialog, "close")->currentData().toInt();
                  ClickButtonIn(pDialog, QString::fromUtf8("取消"));
              });
    LoadAtStart(strPath);
    EXPECT_EQ(nShownClose, 5);
}

TEST_F(ImportDialogTest, CancelKeepsTheFileLoadedBeforeAndAnAmbiguousFileAsksToo)
{
    const std::string strFirst = WriteBars(40);
    LoadAtStart(strFirst);
    Key(Qt::Key_Right);
    const std::string strInfo = Info();
    const std::pair<std::string, std::string> files[] = {
        {m_dir.Write("wiener.csv", kUnknownHeader), "无法识别 %s 的列，请指定各列。"},
        {m_dir.Write("partly.csv", "Date,Open,Hi,Lo,Close\n2021-03-01,1,2,0.5,1.5\n"),
         "%s 的列可以多种方式读取，请确认各列。"},
    };
    for (const auto& [strPath, strPrompt] : files)
    {
        SCOPED_TRACE(strPath);
        std::string strShown;
        WhenModal(TitleIs(kCaption),
                  [&](QWidget* pDialog)
                  {
                      strShown = Text(pDialog, "prompt");
                      ClickButtonIn(pDialog, QString::fromUtf8("取消"));
                  });
        WhenFileDialog(strPath);
        Click(QString::fromUtf8("加载K线"));
        EXPECT_EQ(strShown, StringFormat(strPrompt.c_str(), strPath.c_str()));
        EXPECT_EQ(Window().Session().FilePath(), strFirst);
        EXPECT_EQ(Info(), strInfo);
        EXPECT_EQ(Window().Session().Player().m_nCursor, 26);
    }
    EXPECT_EQ(FileText(m_dir.SettingsFile()).find("[KLineLayouts]"), std::string::npos);
}

TEST_F(ImportDialogTest, TheFileMenuOpensItForTheCurrentFileWhileTheReplayWaits)
{
    Window();
    QAction* pImport = Action(QString::fromUtf8("导入设置..."));
    ASSERT_NE(pImport, nullptr);
    EXPECT_FALSE(pImport->isEnabled()) << "no file yet";
    const std::string strPath = WriteBars(60);
    LoadAtStart(strPath);
    ASSERT_TRUE(pImport->isEnabled());
    Trigger(QString::fromUtf8("0.1秒"));
    Click(QString::fromUtf8("播放K线"));

    // Cancel: the replay waited while the dialog was open, and goes on as it was.
    bool bTimerWhileOpen = true;
    std::string strPrompt;
    WhenModal(TitleIs(kCaption),
              [&](QWidget* pDialog)
              {
                  bTimerWhileOpen = ReplayTimer()->isActive();
                  strPrompt = Text(pDialog, "prompt");
                  ClickButtonIn(pDialog, QString::fromUtf8("取消"));
              });
    Trigger(QString::fromUtf8("导入设置..."));
    EXPECT_FALSE(bTimerWhileOpen);
    EXPECT_EQ(strPrompt, strPath + " 的读取方式：");
    EXPECT_TRUE(ReplayTimer()->isActive());

    // OK with the close in the open's column reads the file again that way, and keeps it.
    int nShownClose = -1;
    WhenModal(TitleIs(kCaption),
              [&](QWidget* pDialog)
              {
                  nShownClose = Combo(pDialog, "close")->currentData().toInt();
                  ChooseColumn(Combo(pDialog, "close"), 1);
                  ChooseColumn(Combo(pDialog, "open"), 4);
                  ClickButtonIn(pDialog, QString::fromUtf8("确定"));
              });
    Trigger(QString::fromUtf8("导入设置..."));
    EXPECT_EQ(nShownClose, 4);
    EXPECT_FALSE(Window().Session().IsPlaying()) << "a new load starts stopped";
    EXPECT_EQ(Window().Session().Player().m_nCursor, 0);
    ASSERT_EQ(Closes().size(), 60u);
    EXPECT_EQ(Closes()[7], 17.0) << "the open of bar 7";
    EXPECT_EQ(Window().Session().Player().m_vecBars[7].dOpen, FixtureClose(7));
    EXPECT_NE(FileText(m_dir.SettingsFile()).find("File1=" + strPath), std::string::npos);
}

} // namespace
