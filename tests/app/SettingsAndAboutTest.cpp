#include "AppTestSupport.h"

#include "app/AboutDlg.h"
#include "app/DlgSetting.h"
#include "app/OrvantaApp.h"
#include "app/OrvantaDlg.h"
#include "platform/Resource.h"
#include "platform/WinUser.h"

#include <QLabel>

#include <climits>

namespace
{

class SettingsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureAppTestToolkit();
        ReplaySettings() = SReplaySettings{};
    }
    void TearDown() override { ReplaySettings() = SReplaySettings{}; }

    // Opens the settings dialog, types strTyped over the edit's text, presses pszButton and
    // returns the dialog's result. *pShown receives what the edit showed when it opened.
    INT_PTR EnterAndPress(const QString& strTyped, const char* pszButton, QString* pShown = nullptr,
                          QString* pAfterTyping = nullptr)
    {
        CDlgSetting dlg;
        WhenModal(TitleIs(QString::fromUtf8("设置")),
                  [&](QWidget*)
                  {
                      QLineEdit* pEdit = FindEdit();
                      ASSERT_NE(pEdit, nullptr);
                      if (pShown)
                          *pShown = pEdit->text();
                      // Select everything and delete it, so an empty entry really leaves the edit
                      // empty.
                      pEdit->selectAll();
                      QTest::keyClick(pEdit, Qt::Key_Delete);
                      QTest::keyClicks(pEdit, strTyped);
                      if (pAfterTyping)
                          *pAfterTyping = pEdit->text();
                      EXPECT_TRUE(ClickButton(QString::fromUtf8(pszButton)));
                  });
        return dlg.DoModal();
    }
};

TEST_F(SettingsDialogTest, OpensShowingTheCurrentPeriod)
{
    QString strShown;
    EXPECT_EQ(EnterAndPress("", "取消", &strShown), IDCANCEL);
    EXPECT_EQ(strShown, "1");

    ReplaySettings().m_nRefreshSeconds = -25;
    EXPECT_EQ(EnterAndPress("", "取消", &strShown), IDCANCEL);
    EXPECT_EQ(strShown, "-25");
}

TEST_F(SettingsDialogTest, TheEditTakesAtMostFourCharacters)
{
    QString strTyped;
    EXPECT_EQ(EnterAndPress("123456", "确定", nullptr, &strTyped), IDOK);
    EXPECT_EQ(strTyped, "1234");
    EXPECT_EQ(ReplaySettings().m_nRefreshSeconds, 1234);
}

TEST_F(SettingsDialogTest, OkStoresTheNumberTheTextStartsWith)
{
    const struct
    {
        const char* pszTyped;
        int nStored;
    } cases[] = {
        {"3", 3},  {"abc", 0}, {"1.5", 1}, {"-7", -7},   {" 42", 42},
        {"+9", 9}, {"0", 0},   {"", 0},    {"12ab", 12},
    };
    for (const auto& c : cases)
    {
        ReplaySettings().m_nRefreshSeconds = 77;
        EXPECT_EQ(EnterAndPress(c.pszTyped, "确定"), IDOK) << c.pszTyped;
        EXPECT_EQ(ReplaySettings().m_nRefreshSeconds, c.nStored) << '"' << c.pszTyped << '"';
    }
}

TEST_F(SettingsDialogTest, CancelAndEscapeKeepThePeriod)
{
    EXPECT_EQ(EnterAndPress("3", "取消"), IDCANCEL);
    EXPECT_EQ(ReplaySettings().m_nRefreshSeconds, 1);

    CDlgSetting dlg;
    WhenModal(TitleIs(QString::fromUtf8("设置")),
              [](QWidget* pWindow)
              {
                  QLineEdit* pEdit = FindEdit();
                  ASSERT_NE(pEdit, nullptr);
                  pEdit->selectAll();
                  QTest::keyClicks(pEdit, "5");
                  QTest::keyClick(pWindow, Qt::Key_Escape);
              });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(ReplaySettings().m_nRefreshSeconds, 1);
}

TEST(ReplayTimerPeriodTest, SecondsBecomeMillisecondsWithinTheTimersLimits)
{
    const struct
    {
        int nSeconds;
        UINT nMilliseconds;
    } cases[] = {
        {1, 1000},
        {2, 2000},
        {9999, 9999000},
        {0, 10},          // fastest replay
        {-1, 0x7FFFFFFF}, // a negative product pauses
        {-9999, 0x7FFFFFFF},
        {INT_MIN, 0x7FFFFFFF},
        {2147483, 2147483000}, // largest product that fits
        {2147484, 0x7FFFFFFF}, // past 2^31 - 1 ms, no wrap
        {INT_MAX, 0x7FFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplayTimerPeriod(c.nSeconds), c.nMilliseconds) << c.nSeconds;
}

TEST(AboutDialogTest, ShowsTheIconNameAndVersion)
{
    EnsureAppTestToolkit();
    CAboutDlg dlg;
    bool bIconShown = false;
    QStringList texts;
    WhenModal(TitleIs(QString::fromUtf8("关于 Orvanta")),
              [&](QWidget* pWindow)
              {
                  for (QLabel* pLabel : pWindow->findChildren<QLabel*>())
                  {
                      if (!pLabel->pixmap().isNull())
                          bIconShown = true;
                      texts << pLabel->text();
                  }
                  EXPECT_TRUE(ClickButton(QString::fromUtf8("确定")));
              });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bIconShown);
    EXPECT_TRUE(texts.join('\n').contains("Orvanta")) << texts.join('\n').toStdString();
    EXPECT_TRUE(texts.join('\n').contains("1.0.0.1")) << texts.join('\n').toStdString();
}

TEST(ApplicationTest, EveryStartBeginsWithOneSecondAndTwentySixBarsInTheSharedSettings)
{
    ReplaySettings().m_nRefreshSeconds = 5;
    ReplaySettings().m_nWindowBars = 3;
    {
        COrvantaApp app;
        EXPECT_EQ(app.m_nRefreshSeconds, 1);
        EXPECT_EQ(app.m_nWindowBars, 26);
        EXPECT_EQ(ReplaySettings().m_nRefreshSeconds, 1);
        EXPECT_EQ(ReplaySettings().m_nWindowBars, 26);
        // What the settings dialog stores is what the application holds.
        ReplaySettings().m_nRefreshSeconds = 2;
        EXPECT_EQ(app.m_nRefreshSeconds, 2);
        EXPECT_EQ(app.m_dwRestartManagerSupportFlags, 1u);
    }
    ReplaySettings() = SReplaySettings{};
}

TEST(ResourcesTest, RegisteringAgainKeepsTheIconHandleThatWindowsHold)
{
    EnsureAppTestToolkit();
    const HICON hIcon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
    ASSERT_NE(hIcon, nullptr);
    RegisterOrvantaResources();
    EXPECT_EQ(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME)), hIcon);
}

} // namespace
