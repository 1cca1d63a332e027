#include "AppTestSupport.h"

#include "../platform/ConfigHome.h"
#include "app/OrvantaDlg.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartTradeMarkerSerie.h"
#include "platform/Menu.h"
#include "platform/ProfileFile.h"
#include "platform/testsupport/TestSupport.h"

#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

namespace
{

constexpr int kQuietSeconds = 3600; // the dialog's own timer never ticks during a test
const QString kCaption = QString::fromUtf8("K线交易练习");

class PracticeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureAppTestToolkit();
        ReplaySettings() = SReplaySettings{};
        ReplaySettings().m_nRefreshSeconds = kQuietSeconds;
    }
    void TearDown() override { ReplaySettings() = SReplaySettings{}; }

    // Shows the main dialog with nBars fixture bars loaded, runs body from its modal loop, then
    // ends it without asking.
    INT_PTR RunWithFile(int nBars, const std::function<void()>& body, bool bBodyEnds = false)
    {
        if (nBars > 0)
            m_dlg.m_strStartFile = m_dir.Write("bars.csv", KLineText(nBars));
        return RunModalDialog(m_dlg, body, bBodyEnds);
    }

    // A key typed into whatever control of the main window has the focus.
    void Key(QWidget* pFocus, Qt::Key eKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(pFocus, eKey, modifiers);
    }
    QWidget* PlayButton() { return WidgetFromHwnd(m_dlg.GetDlgItem(IDC_BTN_PLAY)->GetSafeHwnd()); }
    void Command(UINT nId) { m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nId, 0), 0); }

    UINT TimerPeriod()
    {
        UINT uElapse = 0;
        EXPECT_TRUE(GetTimerPeriod(m_dlg.GetSafeHwnd(), COrvantaDlg::kReplayTimer, &uElapse));
        return uElapse;
    }

    // The item the menu bar shows now (a rebuilt bar leaves its old actions for a while).
    QAction* MenuAction(const QString& strText)
    {
        std::function<QAction*(const QList<QAction*>&)> find = [&](const QList<QAction*>& actions)
        {
            for (QAction* pAction : actions)
            {
                if (pAction->menu() != nullptr)
                {
                    if (QAction* pFound = find(pAction->menu()->actions()))
                        return pFound;
                }
                else if (Plain(pAction->text()) == strText)
                    return pAction;
            }
            return static_cast<QAction*>(nullptr);
        };
        auto* pBar = WidgetFromHwnd(m_dlg.GetSafeHwnd())->findChild<QMenuBar*>();
        QAction* pAction = pBar != nullptr ? find(pBar->actions()) : nullptr;
        if (pAction == nullptr)
            ADD_FAILURE() << "no menu item " << strText.toStdString();
        return pAction;
    }

    CChartTradeMarkerSerie* Markers()
    {
        m_dlg.m_chart.RewindSeries();
        while (CChartSerie* pSerie = m_dlg.m_chart.NextSerie())
            if (auto* p = dynamic_cast<CChartTradeMarkerSerie*>(pSerie))
                return p;
        return nullptr;
    }

    // The newest bar on the chart, by its close.
    int ShownBar() const { return static_cast<int>(m_dlg.m_player.m_dClose - 10.5 + 0.5); }

    CConfigHome m_configHome;
    CWorkDir m_dir;
    COrvantaDlg m_dlg;
};

TEST_F(PracticeTest, KeysActWhateverControlHasTheFocus)
{
    RunWithFile(60,
                [&]
                {
                    QWidget* pButton = PlayButton();
                    pButton->setFocus();
                    // Space on a focused push button plays, it does not click the button twice.
                    Key(pButton, Qt::Key_Space);
                    EXPECT_TRUE(m_dlg.m_bPlaying);
                    EXPECT_EQ(m_dlg.m_player.m_nCursor, 26);
                    Key(pButton, Qt::Key_Space);
                    EXPECT_FALSE(m_dlg.m_bPlaying);

                    Key(pButton, Qt::Key_Right);
                    EXPECT_EQ(m_dlg.m_player.m_nCursor, 27);
                    EXPECT_EQ(ShownBar(), 26);
                    EXPECT_NE(m_dlg.m_strInfo.find("[27 of 60]"), std::string::npos);

                    Key(pButton, Qt::Key_B);
                    Key(pButton, Qt::Key_Right);
                    Key(pButton, Qt::Key_S, Qt::ShiftModifier);
                    ASSERT_EQ(m_dlg.m_journal.Records().size(), 2U);
                    EXPECT_EQ(m_dlg.m_journal.Records()[0].eSide, ETradeSide::Buy);
                    EXPECT_EQ(m_dlg.m_journal.Records()[0].dPrice, FixtureClose(26));
                    EXPECT_EQ(m_dlg.m_journal.Records()[1].eSide, ETradeSide::Sell);
                    EXPECT_EQ(m_dlg.m_journal.Records()[1].dPrice, FixtureClose(27));
                    EXPECT_EQ(m_dlg.m_account.m_nPosition, 0);
                    EXPECT_EQ(m_dlg.m_strPosition, "Position:0");
                });
}

TEST_F(PracticeTest, RightArrowOnlyStepsWhileStopped)
{
    RunWithFile(30,
                [&]
                {
                    Command(ID_KEY_PLAY_STOP);
                    Key(PlayButton(), Qt::Key_Right); // playing: the timer steps, not the key
                    EXPECT_EQ(m_dlg.m_player.m_nCursor, 26);
                    Command(ID_KEY_PLAY_STOP);
                    for (int i = 0; i < 10; ++i)
                        Command(ID_MENU_STEP_BAR);
                    EXPECT_EQ(m_dlg.m_player.m_nCursor, 30); // stops at the last bar
                    EXPECT_TRUE(m_dlg.m_bFinished);
                });
}

TEST_F(PracticeTest, TradeKeysNeedAShownBar)
{
    RunWithFile(30,
                [&]
                {
                    Key(PlayButton(), Qt::Key_B);
                    EXPECT_TRUE(m_dlg.m_journal.Records().empty());
                    EXPECT_EQ(m_dlg.m_account.m_nPosition, 0);
                });
}

TEST_F(PracticeTest, SpeedStepsFromKeysMenuAndSettingsShareOnePeriod)
{
    RunWithFile(30,
                [&]
                {
                    Command(ID_MENU_SPEED_FIRST + 3); // 1 s
                    EXPECT_EQ(TimerPeriod(), 1000U);
                    EXPECT_TRUE(MenuAction(QString::fromUtf8("1秒"))->isChecked());
                    Key(PlayButton(), Qt::Key_Plus, Qt::ShiftModifier);
                    EXPECT_EQ(TimerPeriod(), 500U);
                    Key(PlayButton(), Qt::Key_Equal); // the same key without Shift
                    EXPECT_EQ(TimerPeriod(), 200U);
                    Key(PlayButton(), Qt::Key_Minus);
                    EXPECT_EQ(TimerPeriod(), 500U);
                    EXPECT_TRUE(MenuAction(QString::fromUtf8("0.5秒"))->isChecked());
                    EXPECT_FALSE(MenuAction(QString::fromUtf8("1秒"))->isChecked());
                    EXPECT_EQ(GetProfileInt("Replay", "PeriodMs", 0), 500);

                    Command(ID_MENU_SPEED_FIRST + 5);
                    for (int i = 0; i < 3; ++i)
                        Command(ID_MENU_SLOWER); // the slowest step stays
                    EXPECT_EQ(TimerPeriod(), 5000U);
                    for (int i = 0; i < 9; ++i)
                        Command(ID_MENU_FASTER);
                    EXPECT_EQ(TimerPeriod(), 100U);

                    // The settings dialog's whole seconds replace a step when their number changes.
                    WhenModal(TitleIs(QString::fromUtf8("设置")),
                              [](QWidget*)
                              {
                                  FindEdit()->setText("2");
                                  ClickButton(QString::fromUtf8("确定"));
                              });
                    Command(ID_MENU_SETTINGS);
                    EXPECT_EQ(TimerPeriod(), 2000U);
                    EXPECT_EQ(GetProfileInt("Replay", "PeriodMs", 0), 2000);
                });
}

TEST_F(PracticeTest, TheRememberedSpeedIsReadAtStartAndShown)
{
    ASSERT_TRUE(WriteProfileInt("Replay", "PeriodMs", 200));
    RunWithFile(30,
                [&]
                {
                    EXPECT_EQ(TimerPeriod(), 200U);
                    EXPECT_TRUE(MenuAction(QString::fromUtf8("0.2秒"))->isChecked());
                    EXPECT_NE(m_dlg.m_strInfo.find("速度:0.2秒/根"), std::string::npos);
                });
}

TEST_F(PracticeTest, EscapeKeepsTheWindowAndClosingAsksOnlyAfterTrades)
{
    bool bAsked = false;
    const INT_PTR nResult = RunWithFile(
        30,
        [&]
        {
            Key(PlayButton(), Qt::Key_Escape);
            ASSERT_NE(m_dlg.GetSafeHwnd(), nullptr);
            Command(ID_MENU_STEP_BAR);
            Command(ID_MENU_BUY);
            // "No" leaves the program running.
            WhenModal([](QWidget* p) { return qobject_cast<QMessageBox*>(p) != nullptr; },
                      [&](QWidget* p)
                      {
                          bAsked = true;
                          auto* pBox = static_cast<QMessageBox*>(p);
                          QTest::mouseClick(pBox->button(QMessageBox::No), Qt::LeftButton);
                      });
            WidgetFromHwnd(m_dlg.GetSafeHwnd())->close();
            Pump(50);
            EXPECT_TRUE(bAsked);
            ASSERT_NE(m_dlg.GetSafeHwnd(), nullptr);
            WhenModal([](QWidget* p) { return qobject_cast<QMessageBox*>(p) != nullptr; },
                      [](QWidget* p)
                      {
                          auto* pBox = static_cast<QMessageBox*>(p);
                          QTest::mouseClick(pBox->button(QMessageBox::Yes), Qt::LeftButton);
                      });
            Command(ID_MENU_EXIT);
        },
        true);
    EXPECT_EQ(nResult, IDOK);
}

TEST_F(PracticeTest, ClosingWithoutTradesDoesNotAsk)
{
    const INT_PTR nResult = RunWithFile(
        30, [&] { WidgetFromHwnd(m_dlg.GetSafeHwnd())->close(); }, true);
    EXPECT_EQ(nResult, IDCANCEL);
}

TEST_F(PracticeTest, StartDateFromTheCommandLineAndTheMenu)
{
    // Bar 40 is 2020-02-10.
    m_dlg.m_strStartDate = "2020-02-10";
    RunWithFile(100,
                [&]
                {
                    EXPECT_EQ(ShownBar(), 40);
                    EXPECT_EQ(m_dlg.m_player.m_vecWindow.front().dClose, FixtureClose(15));
                    WhenModal(TitleIs(QString::fromUtf8("选择起点")),
                              [](QWidget*)
                              {
                                  EXPECT_EQ(FindEdit()->text(), "2020-02-10");
                                  FindEdit()->setText("2020-01-03");
                                  ClickButton(QString::fromUtf8("确定"));
                              });
                    Command(ID_MENU_CHOOSE_START);
                    EXPECT_EQ(ShownBar(), 25); // never fewer than a window in
                    Command(ID_MENU_STEP_BAR);
                    EXPECT_EQ(ShownBar(), 26);

                    // A day no calendar has is refused and changes nothing.
                    WhenModal(TitleIs(QString::fromUtf8("选择起点")),
                              [](QWidget*)
                              {
                                  FindEdit()->setText("2020-02-30");
                                  ClickButton(QString::fromUtf8("确定"));
                              });
                    bool bRefused = false;
                    WhenModal([](QWidget* p) { return qobject_cast<QMessageBox*>(p) != nullptr; },
                              [&](QWidget* p)
                              {
                                  bRefused = static_cast<QMessageBox*>(p)->text().contains(
                                      QString::fromUtf8("2020-02-30"));
                                  static_cast<QMessageBox*>(p)->accept();
                              });
                    Command(ID_MENU_CHOOSE_START);
                    EXPECT_TRUE(bRefused);
                    EXPECT_EQ(ShownBar(), 26);
                });
}

TEST_F(PracticeTest, RandomStartLeavesAWindowBeforeAndAFifthAfter)
{
    RunWithFile(100,
                [&]
                {
                    for (int i = 0; i < 40; ++i)
                    {
                        Command(ID_MENU_RANDOM_START);
                        EXPECT_GE(m_dlg.m_player.m_nCursor, 26);
                        EXPECT_LE(m_dlg.m_player.m_nCursor, 80);
                        EXPECT_EQ(ShownBar(), m_dlg.m_player.m_nCursor - 1);
                    }
                });
}

TEST_F(PracticeTest, DateAxisLeavesHalfABarAtEachEnd)
{
    RunWithFile(40,
                [&]
                {
                    Command(ID_MENU_STEP_BAR);
                    EXPECT_DOUBLE_EQ(m_dlg.m_pTimeAxis->m_dMin, FixtureDate(0) - 0.5);
                    EXPECT_DOUBLE_EQ(m_dlg.m_pTimeAxis->m_dMax, FixtureDate(25) + 0.5);
                });
}

TEST_F(PracticeTest, MarkersFollowTheTradesAndTheAverageShowsWhileOpen)
{
    RunWithFile(60,
                [&]
                {
                    Command(ID_MENU_STEP_BAR);
                    EXPECT_EQ(Markers(), nullptr); // no trade, nothing drawn over the candles
                    Command(ID_MENU_BUY);
                    Command(ID_MENU_STEP_BAR);
                    Command(ID_MENU_BUY);
                    CChartTradeMarkerSerie* pMarkers = Markers();
                    ASSERT_NE(pMarkers, nullptr);
                    ASSERT_EQ(pMarkers->m_vecMarkers.size(), 2U);
                    EXPECT_TRUE(pMarkers->m_vecMarkers[0].bBuy);
                    EXPECT_EQ(pMarkers->m_vecMarkers[0].dDate, FixtureDate(25));
                    EXPECT_TRUE(pMarkers->m_bShowAverage);
                    EXPECT_DOUBLE_EQ(pMarkers->m_dAverage,
                                     (FixtureClose(25) + FixtureClose(26)) / 2);

                    // The next step replaces the chart's series; the markers come back with it.
                    Command(ID_MENU_STEP_BAR);
                    Command(ID_MENU_SELL);
                    Command(ID_MENU_SELL);
                    pMarkers = Markers();
                    ASSERT_NE(pMarkers, nullptr);
                    EXPECT_EQ(pMarkers->m_vecMarkers.size(), 4U);
                    EXPECT_FALSE(pMarkers->m_vecMarkers[3].bBuy);
                    EXPECT_FALSE(pMarkers->m_bShowAverage);
                    EXPECT_EQ(pMarkers->m_vecBars.size(), 26U);
                });
}

TEST_F(PracticeTest, ExportWritesTheJournalAndAFailureIsShown)
{
    const std::string strGood = (m_dir.Path() / "trades.csv").string();
    // No file can be made there, whoever runs the test.
    const std::string strBlocked = "/proc/trades.csv";
    bool bFailureShown = false;
    RunWithFile(
        40,
        [&]
        {
            Command(ID_MENU_STEP_BAR);
            Command(ID_MENU_BUY);
            Command(ID_MENU_STEP_BAR);
            Command(ID_MENU_SELL);
            for (const std::string& strPath : {strGood, strBlocked})
            {
                WhenModal([](QWidget* p) { return qobject_cast<QFileDialog*>(p) != nullptr; },
                          [strPath](QWidget* p)
                          {
                              auto* pDialog = static_cast<QFileDialog*>(p);
                              pDialog->selectFile(QString::fromStdString(strPath));
                              static_cast<QDialog*>(pDialog)->accept();
                          });
                if (strPath == strBlocked)
                    WhenModal([](QWidget* p) { return qobject_cast<QMessageBox*>(p) != nullptr; },
                              [&](QWidget* p)
                              {
                                  bFailureShown = static_cast<QMessageBox*>(p)->text().contains(
                                      QString::fromStdString(strBlocked));
                                  static_cast<QMessageBox*>(p)->accept();
                              });
                Command(ID_MENU_EXPORT);
            }
        });
    std::ifstream in(strGood);
    std::vector<std::string> vecLines;
    for (std::string strLine; std::getline(in, strLine);)
        vecLines.push_back(strLine);
    ASSERT_EQ(vecLines.size(), 3U);
    EXPECT_EQ(vecLines[0], "time,side,price,position,average,realized,account");
    EXPECT_NE(vecLines[1].find(",Buy,35.50,1,35.50,"), std::string::npos) << vecLines[1];
    EXPECT_NE(vecLines[2].find(",Sell,36.50,0,"), std::string::npos) << vecLines[2];
    EXPECT_TRUE(bFailureShown);
}

} // namespace
