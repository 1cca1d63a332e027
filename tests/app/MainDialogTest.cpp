#include "AppTestSupport.h"

#include "app/OrvantaDlg.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartStandardAxis.h"
#include "core/ReplaySpeed.h"
#include "platform/Menu.h"
#include "platform/testsupport/TestSupport.h"

#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace
{

constexpr int kQuietSeconds = 3600; // the dialog's own timer never ticks during a test
const char* const kCaption = "K线交易练习";
const char* const kPlay = "播放K线";
const char* const kStop = "停止播放";

// The main dialog, noting when each timer tick reaches it.
class CTickTimedDlg : public COrvantaDlg
{
public:
    CTickTimedDlg() { m_clock.start(); }

    QElapsedTimer m_clock;
    std::vector<qint64> m_vecTickTimes;

protected:
    void OnTimer(UINT_PTR nIDEvent) override
    {
        if (nIDEvent == kReplayTimer)
            m_vecTickTimes.push_back(m_clock.elapsed());
        COrvantaDlg::OnTimer(nIDEvent);
    }
};

class MainDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureAppTestToolkit();
        ReplaySettings() = SReplaySettings{};
        ReplaySettings().m_nRefreshSeconds = kQuietSeconds;
    }
    void TearDown() override { ReplaySettings() = SReplaySettings{}; }

    // Shows the main dialog, runs body from its modal loop, then closes it unless body did.
    INT_PTR RunDialog(const std::function<void()>& body, bool bBodyEndsDialog = false)
    {
        return RunModalDialog(m_dlg, body, bBodyEndsDialog);
    }

    std::string Text(int nId) const
    {
        std::string strText;
        m_dlg.GetDlgItemText(nId, strText);
        return strText;
    }

    bool Enabled(int nId) const
    {
        CWnd* pControl = m_dlg.GetDlgItem(nId);
        return pControl != nullptr && pControl->IsWindowEnabled();
    }
    bool PlayButtonEnabled() const { return Enabled(IDC_BTN_PLAY); }

    // Whether the menu bar offers the item with this text (mnemonic marks ignored).
    bool MenuItemEnabled(const char* pszText) const
    {
        auto* pBar = WidgetFromHwnd(m_dlg.GetSafeHwnd())->findChild<QMenuBar*>();
        for (QAction* pTop : pBar != nullptr ? pBar->actions() : QList<QAction*>())
            for (QAction* pAction : pTop->menu() ? pTop->menu()->actions() : QList<QAction*>())
                if (Plain(pAction->text()) == QString::fromUtf8(pszText))
                    return pAction->isEnabled();
        ADD_FAILURE() << "no menu item " << pszText;
        return false;
    }

    // One tick of timer 1, delivered as the platform delivers timer messages.
    void Tick() { m_dlg.SendMessage(WM_TIMER, COrvantaDlg::kReplayTimer, 0); }
    // A command as the menu bar or a button sends it, whether or not it is offered.
    void Command(UINT nId) { m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0); }

    // The labels and the information field, as the user reads them.
    std::vector<std::string> ShownTexts() const
    {
        std::vector<std::string> vecTexts;
        for (int nId :
             {IDC_EDIT_INFO, IDC_STATIC_OPEN, IDC_STATIC_HIGH, IDC_STATIC_LOW, IDC_STATIC_CLOSE,
              IDC_STATIC_ACCOUNT, IDC_STATIC_POSITION, IDC_STATIC_PROFIT})
            vecTexts.push_back(Text(nId));
        return vecTexts;
    }

    void ExpectBarLabels(int nBar) const
    {
        EXPECT_EQ(Text(IDC_STATIC_OPEN), StringFormat("Open:%.2f", FixtureOpen(nBar)));
        EXPECT_EQ(Text(IDC_STATIC_HIGH), StringFormat("High:%.2f", FixtureHigh(nBar)));
        EXPECT_EQ(Text(IDC_STATIC_LOW), StringFormat("Low:%.2f", FixtureLow(nBar)));
        EXPECT_EQ(Text(IDC_STATIC_CLOSE), StringFormat("Close:%.2f", FixtureClose(nBar)));
    }

    void ExpectStartBarLabels() const
    {
        EXPECT_EQ(Text(IDC_STATIC_OPEN), "Open:0");
        EXPECT_EQ(Text(IDC_STATIC_HIGH), "High:0");
        EXPECT_EQ(Text(IDC_STATIC_LOW), "Low:0");
        EXPECT_EQ(Text(IDC_STATIC_CLOSE), "Close:0");
    }

    // The dates of the bars the chart shows, oldest first.
    std::vector<double> ShownDates()
    {
        std::vector<double> vecDates;
        m_dlg.m_chart.RewindSeries();
        while (CChartSerie* pSerie = m_dlg.m_chart.NextSerie())
        {
            auto* pCandles = dynamic_cast<CChartCandlestickSerie*>(pSerie);
            if (pCandles == nullptr)
                continue;
            for (unsigned i = 0; i < pCandles->PointCount(); ++i)
                vecDates.push_back(pCandles->GetPoint(i).dDate);
        }
        return vecDates;
    }

    static std::vector<double> FixtureDates(int nFirst, int nLast)
    {
        std::vector<double> vecDates;
        for (int i = nFirst; i <= nLast; ++i)
            vecDates.push_back(FixtureDate(i));
        return vecDates;
    }

    // Presses the load button and picks strPath in the file dialog (or cancels it).
    void LoadThroughFileDialog(const std::string& strPath, bool bCancel = false)
    {
        WhenModal([](QWidget* pWindow) { return qobject_cast<QFileDialog*>(pWindow) != nullptr; },
                  [=](QWidget* pWindow)
                  {
                      auto* pFileDialog = qobject_cast<QFileDialog*>(pWindow);
                      if (bCancel)
                      {
                          pFileDialog->reject();
                          return;
                      }
                      pFileDialog->selectFile(QString::fromStdString(strPath));
                      static_cast<QDialog*>(pFileDialog)->accept();
                  });
        ASSERT_TRUE(ClickButton(QString::fromUtf8("加载K线")));
    }

    std::string ProgressInfo(const std::string& strPath, int nCursor, int nBars) const
    {
        return StringFormat("加载:%s; 数据量:(%d); 播放进度:[%d of %d]", strPath.c_str(), nBars,
                            nCursor, nBars) +
               SpeedShown();
    }

    // Starts the dialog with a file given as on the command line.
    std::string StartWithFile(int nBars)
    {
        const std::string strPath = m_dir.Write("bars.csv", KLineText(nBars));
        m_dlg.m_strStartFile = strPath;
        return strPath;
    }

    CWorkDir m_dir;
    CTickTimedDlg m_dlg;
};

TEST_F(MainDialogTest, StartsWithZeroLabelsAnEmptyInfoFieldAndTheChartSetUp)
{
    RunDialog(
        [&]
        {
            EXPECT_EQ(Text(IDC_STATIC_OPEN), "Open:0");
            EXPECT_EQ(Text(IDC_STATIC_HIGH), "High:0");
            EXPECT_EQ(Text(IDC_STATIC_LOW), "Low:0");
            EXPECT_EQ(Text(IDC_STATIC_CLOSE), "Close:0");
            EXPECT_EQ(Text(IDC_STATIC_ACCOUNT), "Account:1000000");
            EXPECT_EQ(Text(IDC_STATIC_POSITION), "Position:0");
            EXPECT_EQ(Text(IDC_STATIC_PROFIT), "Profit:0");
            EXPECT_EQ(Text(IDC_EDIT_INFO), "");
            EXPECT_NE(FindButton(QString::fromUtf8(kPlay)), nullptr);
            EXPECT_TRUE(PlayButtonEnabled());
            // No bar, no price: nothing to trade at and nothing to stop.
            EXPECT_FALSE(Enabled(IDC_BTN_BUY));
            EXPECT_FALSE(Enabled(IDC_BTN_SELL));
            EXPECT_TRUE(MenuItemEnabled("播放K线(P)"));
            EXPECT_FALSE(MenuItemEnabled("停止播放(S)"));

            CChartDateTimeAxis* pTime = m_dlg.m_pTimeAxis;
            ASSERT_NE(pTime, nullptr);
            EXPECT_EQ(m_dlg.m_chart.GetAxis(SlotBottom), pTime);
            EXPECT_EQ(pTime->m_eRangeMode, AllPoints);
            EXPECT_FALSE(pTime->m_bAutoTickFormat);
            EXPECT_EQ(pTime->m_strTickFormat, "%Y-%m-%d");
            ASSERT_NE(pTime->m_pAxisScrollBar, nullptr);
            EXPECT_TRUE(pTime->m_pAxisScrollBar->m_bEnabled);
            EXPECT_TRUE(pTime->m_pAxisScrollBar->IsWindowVisible());
            ASSERT_NE(m_dlg.m_pPriceAxis, nullptr);
            EXPECT_EQ(m_dlg.m_chart.GetAxis(SlotLeft), m_dlg.m_pPriceAxis);
            EXPECT_EQ(m_dlg.m_pPriceAxis->m_eRangeMode, AllPoints);

            ASSERT_NE(m_dlg.m_hIcon, nullptr);
            EXPECT_EQ(m_dlg.GetIcon(TRUE), m_dlg.m_hIcon);
            EXPECT_EQ(m_dlg.GetIcon(FALSE), m_dlg.m_hIcon);

            // The About item closes the system menu, after a separator.
            CMenu* pSysMenu = m_dlg.GetSystemMenu(FALSE);
            ASSERT_NE(pSysMenu, nullptr);
            const UINT nItems = pSysMenu->GetMenuItemCount();
            ASSERT_GE(nItems, 2u);
            EXPECT_EQ(pSysMenu->GetMenuItemID(static_cast<int>(nItems) - 2), 0u);
            EXPECT_EQ(pSysMenu->GetMenuItemID(static_cast<int>(nItems) - 1), IDM_ABOUTBOX);
            std::string strAbout;
            pSysMenu->GetMenuString(IDM_ABOUTBOX, strAbout, MF_BYCOMMAND);
            EXPECT_EQ(strAbout, "关于 Orvanta(&A)...");

            // Ticks before anything plays change nothing.
            Tick();
            EXPECT_EQ(Text(IDC_STATIC_CLOSE), "Close:0");
            EXPECT_EQ(Text(IDC_EDIT_INFO), "");
        });
}

TEST_F(MainDialogTest, LoadingShowsThePathAndTheBarCountAndACancelChangesNothing)
{
    const std::string strPath = m_dir.Write("hundred.csv", KLineText(100));
    const std::string strOther = m_dir.Write("forty.csv", KLineText(40));
    RunDialog(
        [&]
        {
            LoadThroughFileDialog(strPath);
            EXPECT_EQ(Text(IDC_EDIT_INFO), LoadedInfo(strPath, 100));
            EXPECT_EQ(m_dlg.m_player.m_nBarCount, 100);
            EXPECT_TRUE(PlayButtonEnabled());

            LoadThroughFileDialog(strOther, true);
            EXPECT_EQ(Text(IDC_EDIT_INFO), LoadedInfo(strPath, 100));
            EXPECT_EQ(m_dlg.m_player.m_nBarCount, 100);
        });
}

TEST_F(MainDialogTest, AFileOnTheCommandLineLoadsAtStartWithItsFullPath)
{
    m_dir.Write("hundred.csv", KLineText(100));
    m_dlg.m_strStartFile = "hundred.csv";
    const std::string strFull = (std::filesystem::current_path() / "hundred.csv").string();
    RunDialog(
        [&]
        {
            EXPECT_EQ(Text(IDC_EDIT_INFO), LoadedInfo(strFull, 100));
            EXPECT_TRUE(PlayButtonEnabled());
            EXPECT_NE(FindButton(QString::fromUtf8(kPlay)), nullptr);
        });
}

TEST_F(MainDialogTest, AStartFileThatCannotBeReadIsReportedInABoxAndNothingIsLoaded)
{
    const std::string strMissing = (m_dir.Path() / "missing.csv").string();
    m_dlg.m_strStartFile = strMissing;
    QString strBoxText;
    WhenModal([](QWidget* pWindow) { return qobject_cast<QMessageBox*>(pWindow) != nullptr; },
              [&](QWidget* pWindow)
              {
                  auto* pBox = qobject_cast<QMessageBox*>(pWindow);
                  strBoxText = pBox->text();
                  EXPECT_EQ(pBox->windowTitle(), QString::fromUtf8(kCaption));
                  pBox->button(QMessageBox::Ok)->click();
              });
    testing::internal::CaptureStderr();
    RunDialog(
        [&]
        {
            EXPECT_EQ(Text(IDC_EDIT_INFO), LoadedInfo(strMissing, 0));
            EXPECT_FALSE(Enabled(IDC_BTN_BUY));
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            EXPECT_TRUE(ShownDates().empty());
            EXPECT_FALSE(m_dlg.m_bPlaying);
            Command(IDC_BTN_BUY);
            EXPECT_TRUE(m_dir.TradeLogLines().empty());
        });
    // The toolkit may add lines of its own.
    const std::string strErr = testing::internal::GetCapturedStderr();
    EXPECT_NE(strErr.find("Error opening file: No such file or directory\n"), std::string::npos)
        << strErr;
    EXPECT_TRUE(strBoxText.contains(QString::fromStdString(strMissing)))
        << strBoxText.toStdString();
    EXPECT_TRUE(strBoxText.contains(QStringLiteral("No such file or directory")))
        << strBoxText.toStdString();
}

// The information field's limit is on typing; the program's own text is shown whole.
TEST_F(MainDialogTest, TheInformationFieldShowsALongPathAndTheProgressWhole)
{
    std::filesystem::path dir = m_dir.Path();
    for (char c : {'a', 'b', 'c'})
        dir /= std::string(200, c);
    std::filesystem::create_directories(dir);
    const std::string strPath = (dir / "bars.csv").string();
    std::ofstream(strPath) << KLineText(30);
    m_dlg.m_strStartFile = strPath;
    RunDialog(
        [&]
        {
            const std::string strLoaded = LoadedInfo(strPath, 30);
            ASSERT_GT(strLoaded.size(), 600u);
            EXPECT_EQ(Text(IDC_EDIT_INFO), strLoaded);
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 26, 30));
        });
}

TEST_F(MainDialogTest, PlayShowsTheFirstWindowAtOnceAndEachTickSlidesItByOneBar)
{
    const std::string strPath = StartWithFile(100);
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            EXPECT_NE(FindButton(QString::fromUtf8(kStop)), nullptr);
            EXPECT_EQ(ShownDates(), FixtureDates(0, 25));
            // Starting is a tick of its own: the newest bar drawn is the one the labels show.
            ExpectBarLabels(25);
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 26, 100));
            EXPECT_DOUBLE_EQ(m_dlg.m_account.m_dCurrentPrice, FixtureClose(25));
            EXPECT_TRUE(Enabled(IDC_BTN_BUY));
            EXPECT_TRUE(Enabled(IDC_BTN_SELL));
            EXPECT_FALSE(MenuItemEnabled("播放K线(P)"));
            EXPECT_TRUE(MenuItemEnabled("停止播放(S)"));

            Tick();
            EXPECT_EQ(ShownDates(), FixtureDates(1, 26));
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 27, 100));
            ExpectBarLabels(26);
            EXPECT_EQ(Text(IDC_STATIC_ACCOUNT), "Account:1000000.00");
            EXPECT_EQ(Text(IDC_STATIC_POSITION), "Position:0");
            EXPECT_EQ(Text(IDC_STATIC_PROFIT), "Profit:0.00");

            Tick();
            EXPECT_EQ(ShownDates(), FixtureDates(2, 27));
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 28, 100));
        });
}

// Play and Stop before the first timer tick: what was drawn is what was marked, shown and traded.
TEST_F(MainDialogTest, AQuickPlayAndStopLeavesTheScreenTheMarkAndTheTradePriceAgreeing)
{
    const std::string strPath = StartWithFile(100);
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kStop)));
            EXPECT_FALSE(m_dlg.m_bPlaying);
            EXPECT_EQ(ShownDates(), FixtureDates(0, 25));
            ExpectBarLabels(25);
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 26, 100));

            ASSERT_TRUE(ClickButton("Buy"));
            const std::vector<std::string> vecLog = m_dir.TradeLogLines();
            ASSERT_EQ(vecLog.size(), 2u);
            EXPECT_NE(vecLog[0].find(StringFormat("Buy 1 @ %.2f", FixtureClose(25))),
                      std::string::npos);

            // Playing on marks the position on the very next bar, with a log line.
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            EXPECT_EQ(ShownDates(), FixtureDates(1, 26));
            EXPECT_EQ(Text(IDC_STATIC_PROFIT), "Profit:1.00");
            ASSERT_EQ(m_dir.TradeLogLines().size(), 3u);
            EXPECT_NE(m_dir.TradeLogLines()[2].find(
                          StringFormat("SetCurrentPrice(%.2f)", FixtureClose(26))),
                      std::string::npos);
        });
}

TEST_F(MainDialogTest, TheTickThatShowsTheLastBarStopsAndDisablesPlayUntilTheNextLoad)
{
    const std::string strPath = StartWithFile(100);
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            for (int i = 0; i < 73; ++i)
                Tick();
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 99, 100));
            EXPECT_TRUE(PlayButtonEnabled());

            Tick();
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 100, 100));
            EXPECT_EQ(Text(IDC_STATIC_CLOSE), StringFormat("Close:%.2f", FixtureClose(99)));
            EXPECT_EQ(ShownDates(), FixtureDates(74, 99));
            EXPECT_FALSE(PlayButtonEnabled());
            EXPECT_NE(FindButton(QString::fromUtf8(kPlay)), nullptr);
            EXPECT_FALSE(m_dlg.m_bPlaying);
            // The last bar stays current: it can still be traded.
            EXPECT_TRUE(Enabled(IDC_BTN_BUY));

            // Finished: ticks do nothing, and neither Play nor Stop is offered or obeyed.
            Tick();
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 100, 100));
            ClickButton(QString::fromUtf8(kPlay));
            EXPECT_FALSE(MenuItemEnabled("播放K线(P)"));
            EXPECT_FALSE(MenuItemEnabled("停止播放(S)"));
            for (UINT nId : {static_cast<UINT>(IDC_BTN_PLAY), ID_MENU_PLAY, ID_MENU_STOP})
            {
                Command(nId);
                EXPECT_FALSE(m_dlg.m_bPlaying) << nId;
            }

            LoadThroughFileDialog(strPath);
            EXPECT_TRUE(PlayButtonEnabled());
            EXPECT_TRUE(MenuItemEnabled("播放K线(P)"));
            EXPECT_EQ(Text(IDC_EDIT_INFO), LoadedInfo(strPath, 100));
        });
}

// A file no longer than the window is shown whole at once and finishes at once.
TEST_F(MainDialogTest, PlayingAFileOfOneWindowFinishesOnTheFirstStep)
{
    const std::string strPath = StartWithFile(26);
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            EXPECT_EQ(ShownDates(), FixtureDates(0, 25));
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 26, 26));
            ExpectBarLabels(25);
            EXPECT_FALSE(m_dlg.m_bPlaying);
            EXPECT_FALSE(PlayButtonEnabled());
            EXPECT_TRUE(Enabled(IDC_BTN_SELL));
        });
}

TEST_F(MainDialogTest, BuyAndSellTradeAtTheShownCloseAndShowTheAccountAtOnce)
{
    StartWithFile(100);
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            Tick(); // bar 26 is current

            ASSERT_TRUE(ClickButton("Buy"));
            EXPECT_EQ(m_dlg.m_account.m_nPosition, 1);
            EXPECT_DOUBLE_EQ(m_dlg.m_account.m_dAverage, FixtureClose(26));
            EXPECT_EQ(Text(IDC_STATIC_POSITION), "Position:1");
            EXPECT_EQ(Text(IDC_STATIC_ACCOUNT), "Account:1000000.00");
            EXPECT_EQ(Text(IDC_STATIC_PROFIT), "Profit:0.00");
            std::vector<std::string> vecLog = m_dir.TradeLogLines();
            ASSERT_EQ(vecLog.size(), 2u);
            EXPECT_NE(vecLog[0].find(StringFormat("Buy 1 @ %.2f", FixtureClose(26))),
                      std::string::npos);

            Tick(); // marked at bar 27: one unit up by 1.00
            EXPECT_EQ(Text(IDC_STATIC_POSITION), "Position:1");
            EXPECT_EQ(Text(IDC_STATIC_PROFIT), "Profit:1.00");
            EXPECT_EQ(Text(IDC_STATIC_ACCOUNT), "Account:1000001.00");
            vecLog = m_dir.TradeLogLines();
            ASSERT_EQ(vecLog.size(), 3u);
            EXPECT_NE(vecLog[2].find(StringFormat("SetCurrentPrice(%.2f)", FixtureClose(27))),
                      std::string::npos);

            // Stopped, the trade still shows at once: flat, the cash, no open profit.
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kStop)));
            ASSERT_TRUE(ClickButton("Sell"));
            EXPECT_EQ(m_dlg.m_account.m_nPosition, 0);
            EXPECT_EQ(Text(IDC_STATIC_POSITION), "Position:0");
            EXPECT_EQ(Text(IDC_STATIC_ACCOUNT), "Account:1000001.00");
            EXPECT_EQ(Text(IDC_STATIC_PROFIT), "Profit:0.00");
            ASSERT_TRUE(ClickButton("Sell"));
            EXPECT_EQ(Text(IDC_STATIC_POSITION), "Position:-1");
            EXPECT_EQ(m_dir.TradeLogLines().size(), 7u);
        });
}

TEST_F(MainDialogTest, BuyAndSellDoNothingBeforeABarIsShown)
{
    const std::string strPath = m_dir.Write("hundred.csv", KLineText(100));
    RunDialog(
        [&]
        {
            // Nothing loaded, then loaded but never played: the buttons are off, and the
            // commands, however they come, trade nothing.
            for (int nRound = 0; nRound < 2; ++nRound)
            {
                EXPECT_FALSE(Enabled(IDC_BTN_BUY));
                EXPECT_FALSE(Enabled(IDC_BTN_SELL));
                const std::vector<std::string> vecBefore = ShownTexts();
                Command(IDC_BTN_BUY);
                Command(IDC_BTN_SELL);
                Command(IDC_BTN_BUY);
                EXPECT_EQ(m_dlg.m_account.m_nPosition, 0);
                EXPECT_TRUE(m_dir.TradeLogLines().empty());
                EXPECT_EQ(ShownTexts(), vecBefore);
                LoadThroughFileDialog(strPath);
            }

            // No fake profit later: the first trade is at the first close shown.
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            Command(IDC_BTN_BUY);
            Tick();
            EXPECT_EQ(Text(IDC_STATIC_PROFIT), "Profit:1.00");
        });
}

TEST_F(MainDialogTest, ThePlayItemOnlyPlaysAndTheStopItemOnlyStops)
{
    const std::string strPath = StartWithFile(100);
    RunDialog(
        [&]
        {
            EXPECT_FALSE(MenuItemEnabled("停止播放(S)"));
            Command(ID_MENU_STOP);
            EXPECT_FALSE(m_dlg.m_bPlaying);
            EXPECT_TRUE(ShownDates().empty());
            EXPECT_EQ(Text(IDC_EDIT_INFO), LoadedInfo(strPath, 100));

            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("播放K线(P)")));
            EXPECT_TRUE(m_dlg.m_bPlaying);
            EXPECT_NE(FindButton(QString::fromUtf8(kStop)), nullptr);
            EXPECT_EQ(ShownDates(), FixtureDates(0, 25));
            EXPECT_FALSE(MenuItemEnabled("播放K线(P)"));
            Command(ID_MENU_PLAY); // playing already: no extra step
            EXPECT_TRUE(m_dlg.m_bPlaying);
            EXPECT_EQ(ShownDates(), FixtureDates(0, 25));

            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("停止播放(S)")));
            EXPECT_FALSE(m_dlg.m_bPlaying);
            EXPECT_NE(FindButton(QString::fromUtf8(kPlay)), nullptr);
            EXPECT_TRUE(MenuItemEnabled("播放K线(P)"));
            EXPECT_FALSE(MenuItemEnabled("停止播放(S)"));
            Command(ID_MENU_STOP);
            EXPECT_FALSE(m_dlg.m_bPlaying);
            Tick();
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strPath, 26, 100));
        });
}

TEST_F(MainDialogTest, LoadingWhilePlayingStopsAndClearsWhatTheOldFileLeft)
{
    const std::string strFirst = StartWithFile(100);
    const std::string strSecond = m_dir.Write("forty.csv", KLineText(40));
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            for (int i = 0; i < 10; ++i)
                Tick();
            ASSERT_TRUE(ClickButton("Buy"));
            const std::vector<std::string> vecLog = m_dir.TradeLogLines();
            LoadThroughFileDialog(strSecond);

            EXPECT_FALSE(m_dlg.m_bPlaying);
            EXPECT_NE(FindButton(QString::fromUtf8(kPlay)), nullptr);
            EXPECT_TRUE(PlayButtonEnabled());
            EXPECT_TRUE(ShownDates().empty());
            EXPECT_EQ(m_dlg.m_pTimeAxis->m_dMin, 0.0);
            EXPECT_EQ(m_dlg.m_pTimeAxis->m_dMax, 0.0);
            EXPECT_EQ(m_dlg.m_pPriceAxis->m_dMax, 0.0);
            ExpectStartBarLabels();
            EXPECT_EQ(Text(IDC_EDIT_INFO), LoadedInfo(strSecond, 40));
            // The account is not the file's: its position is still shown.
            EXPECT_EQ(Text(IDC_STATIC_POSITION), "Position:1");

            // No price until the new file plays: no trade at the old close, no tick.
            EXPECT_FALSE(Enabled(IDC_BTN_SELL));
            Command(IDC_BTN_SELL);
            Tick();
            EXPECT_EQ(m_dlg.m_account.m_nPosition, 1);
            EXPECT_EQ(m_dir.TradeLogLines(), vecLog);
            EXPECT_TRUE(ShownDates().empty());

            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            EXPECT_EQ(Text(IDC_EDIT_INFO), ProgressInfo(strSecond, 26, 40));
            EXPECT_EQ(ShownDates(), FixtureDates(0, 25));
            ExpectBarLabels(25);
        });
}

TEST_F(MainDialogTest, ExitEndsTheDialogWithOk)
{
    const INT_PTR nResult =
        RunDialog([&] { ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("退出(Q)"))); }, true);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(m_dlg.GetSafeHwnd(), nullptr);
}

TEST_F(MainDialogTest, AboutOpensFromTheMenuAndFromTheSystemMenu)
{
    int nAboutShown = 0;
    auto closeAbout = [&](QWidget*)
    {
        ++nAboutShown;
        EXPECT_TRUE(ClickButton(QString::fromUtf8("确定")));
    };
    RunDialog(
        [&]
        {
            WhenModal(TitleIs(QString::fromUtf8("关于 Orvanta")), closeAbout);
            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("关于")));
            EXPECT_EQ(nAboutShown, 1);

            WhenModal(TitleIs(QString::fromUtf8("关于 Orvanta")), closeAbout);
            m_dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            EXPECT_EQ(nAboutShown, 2);
        });
}

// The settings dialog's OK gives the running timer its new period; Cancel leaves it alone.
TEST_F(MainDialogTest, SettingsOkReArmsTheTimerAndCancelKeepsIt)
{
    StartWithFile(100);
    auto enterAndPress = [](const char* pszText, const char* pszButton)
    {
        return [=](QWidget*)
        {
            QLineEdit* pEdit = FindEdit();
            ASSERT_NE(pEdit, nullptr);
            EXPECT_EQ(pEdit->text(), QString::number(ReplaySettings().m_nRefreshSeconds));
            pEdit->selectAll();
            QTest::keyClicks(pEdit, pszText);
            EXPECT_TRUE(ClickButton(QString::fromUtf8(pszButton)));
        };
    };
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            Pump(300);
            EXPECT_EQ(m_dlg.m_player.m_nCursor, 26);

            WhenModal(TitleIs(QString::fromUtf8("设置")), enterAndPress("0", "取消"));
            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("属性设置")));
            EXPECT_EQ(ReplaySettings().m_nRefreshSeconds, kQuietSeconds);
            Pump(300);
            EXPECT_EQ(m_dlg.m_player.m_nCursor, 26);

            // 0 seconds is the fastest replay the timer allows, 10 ms.
            WhenModal(TitleIs(QString::fromUtf8("设置")), enterAndPress("0", "确定"));
            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("属性设置")));
            EXPECT_EQ(ReplaySettings().m_nRefreshSeconds, 0);
            QElapsedTimer elapsed;
            elapsed.start();
            while (m_dlg.m_bPlaying && elapsed.elapsed() < 60000)
                Pump(20);
            EXPECT_FALSE(m_dlg.m_bPlaying);
            EXPECT_EQ(m_dlg.m_player.m_nCursor, 100);
            EXPECT_FALSE(PlayButtonEnabled());
        });
}

// Whatever the settings dialog stores reaches the timer only within the timer's limits: nothing is
// refused, 0 and text without digits replay as fast as the timer goes, a negative period pauses.
TEST_F(MainDialogTest, SettingsEntriesGiveTheTimerAPeriodWithinItsLimits)
{
    const struct
    {
        const char* pszTyped;
        int nStored;
        UINT nPeriod;
    } cases[] = {
        {"3", 3, 3000}, {"-999", -999, 0x7FFFFFFF}, {"0", 0, 10},
        {"abc", 0, 10}, {"9999", 9999, 9999000},
    };
    RunDialog(
        [&]
        {
            UINT nPeriod = 0;
            ASSERT_TRUE(GetTimerPeriod(m_dlg.GetSafeHwnd(), COrvantaDlg::kReplayTimer, &nPeriod));
            EXPECT_EQ(nPeriod, kQuietSeconds * 1000u);
            for (const auto& c : cases)
            {
                WhenModal(TitleIs(QString::fromUtf8("设置")),
                          [&](QWidget*)
                          {
                              QLineEdit* pEdit = FindEdit();
                              ASSERT_NE(pEdit, nullptr);
                              pEdit->selectAll();
                              QTest::keyClick(pEdit, Qt::Key_Delete);
                              QTest::keyClicks(pEdit, c.pszTyped);
                              EXPECT_TRUE(ClickButton(QString::fromUtf8("确定")));
                          });
                ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("属性设置")));
                EXPECT_EQ(ReplaySettings().m_nRefreshSeconds, c.nStored) << c.pszTyped;
                nPeriod = 0;
                ASSERT_TRUE(
                    GetTimerPeriod(m_dlg.GetSafeHwnd(), COrvantaDlg::kReplayTimer, &nPeriod));
                EXPECT_EQ(nPeriod, c.nPeriod) << c.pszTyped;
            }
        });
}

// A negative period pauses a running replay; the account and the log stay as they were.
TEST_F(MainDialogTest, ANegativePeriodPausesARunningReplay)
{
    ReplaySettings().m_nRefreshSeconds = 0; // ticks every 10 ms until the new period
    StartWithFile(1000);
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            QElapsedTimer elapsed;
            elapsed.start();
            while (m_dlg.m_player.m_nCursor <= 26 && elapsed.elapsed() < 60000)
                Pump(10);
            ASSERT_GT(m_dlg.m_player.m_nCursor, 26);
            WhenModal(TitleIs(QString::fromUtf8("设置")),
                      [](QWidget*)
                      {
                          QLineEdit* pEdit = FindEdit();
                          ASSERT_NE(pEdit, nullptr);
                          pEdit->selectAll();
                          QTest::keyClicks(pEdit, "-999");
                          EXPECT_TRUE(ClickButton(QString::fromUtf8("确定")));
                      });
            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("属性设置")));
            const int nCursor = m_dlg.m_player.m_nCursor;
            ASSERT_TRUE(ClickButton("Buy"));
            Pump(500);
            EXPECT_TRUE(m_dlg.m_bPlaying);
            EXPECT_EQ(m_dlg.m_player.m_nCursor, nCursor);
            EXPECT_EQ(m_dlg.m_account.m_nPosition, 1);
            EXPECT_EQ(m_dir.TradeLogLines().size(), 2u);
        });
}

TEST_F(MainDialogTest, SettingsOkWithTwoSecondsMakesTheTicksComeEveryTwoSeconds)
{
    StartWithFile(100);
    RunDialog(
        [&]
        {
            ASSERT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
            // Taken as OK is clicked, before the timer is re-armed: the menu bar's redraw after
            // the dialog closes must not count against the period.
            qint64 nArmed = 0;
            WhenModal(TitleIs(QString::fromUtf8("设置")),
                      [&](QWidget*)
                      {
                          QLineEdit* pEdit = FindEdit();
                          ASSERT_NE(pEdit, nullptr);
                          pEdit->selectAll();
                          QTest::keyClicks(pEdit, "2");
                          nArmed = m_dlg.m_clock.elapsed();
                          EXPECT_TRUE(ClickButton(QString::fromUtf8("确定")));
                      });
            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("属性设置")));
            ASSERT_GT(nArmed, 0);

            // Times of the next two ticks after re-arming, taken as they reach the dialog.
            m_dlg.m_vecTickTimes.clear();
            QElapsedTimer elapsed;
            elapsed.start();
            while (m_dlg.m_vecTickTimes.size() < 2 && elapsed.elapsed() < 60000)
                Pump(10);
            ASSERT_GE(m_dlg.m_vecTickTimes.size(), 2u);
            UINT nPeriod = 0;
            ASSERT_TRUE(GetTimerPeriod(m_dlg.GetSafeHwnd(), COrvantaDlg::kReplayTimer, &nPeriod));
            EXPECT_EQ(nPeriod, 2000u);
            // Coarse toolkit timers may fire up to 5 % early; late is only a busy machine, and a
            // late tick may make the next gap shorter, so only times since re-arming are bounded.
            EXPECT_GE(m_dlg.m_vecTickTimes[0] - nArmed, 1900);
            EXPECT_GE(m_dlg.m_vecTickTimes[1] - nArmed, 3800);
        });
}

} // namespace
