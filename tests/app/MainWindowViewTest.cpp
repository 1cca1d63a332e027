// The main window's size, the chart's crosshair, the moving averages and the saved picture,
// driven through the dialog's own handlers.
#include "app/OrvantaDlg.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCrosshair.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartLineSerie.h"
#include "chart/ChartScrollBar.h"
#include "platform/ProfileFile.h"
#include "platform/testsupport/TestSupport.h"

#include "AppTestSupport.h"

#include <QImage>
#include <QMessageBox>

#include <cstdlib>

namespace
{

constexpr int kQuietSeconds = 3600;

class MainWindowViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureAppTestToolkit();
        ReplaySettings() = SReplaySettings{};
        ReplaySettings().m_nRefreshSeconds = kQuietSeconds;
        // The settings file goes to this test's own folder, never the user's.
        const char* pszOld = std::getenv("XDG_CONFIG_HOME");
        m_strOldConfig = pszOld ? pszOld : "";
        m_bHadConfig = pszOld != nullptr;
        ::setenv("XDG_CONFIG_HOME", (m_dir.Path() / "config").c_str(), 1);
    }
    void TearDown() override
    {
        ReplaySettings() = SReplaySettings{};
        if (m_bHadConfig)
            ::setenv("XDG_CONFIG_HOME", m_strOldConfig.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    void RunDialog(COrvantaDlg& dlg, const std::function<void()>& body)
    {
        RunModalDialog(dlg, body);
    }

    static QRect Geometry(const COrvantaDlg& dlg, int nId)
    {
        return WidgetFromHwnd(dlg.GetDlgItem(nId)->GetSafeHwnd())->geometry();
    }

    static std::vector<CChartSerie*> Series(COrvantaDlg& dlg)
    {
        std::vector<CChartSerie*> vec;
        for (auto& [nId, pSerie] : dlg.m_chart.m_seriesById)
            vec.push_back(pSerie);
        return vec;
    }

    CWorkDir m_dir;
    COrvantaDlg m_dlg;
    std::string m_strOldConfig;
    bool m_bHadConfig = false;
};

TEST_F(MainWindowViewTest, TheChartGrowsWithTheWindowAndTheControlsKeepToTheirEdges)
{
    RunDialog(m_dlg,
              [&]
              {
                  QWidget* pWindow = WidgetFromHwnd(m_dlg.GetSafeHwnd());
                  const QSize start = pWindow->size();
                  const QRect chart = Geometry(m_dlg, IDC_CHART);
                  const QRect buy = Geometry(m_dlg, IDC_BTN_BUY);
                  const QRect play = Geometry(m_dlg, IDC_BTN_PLAY);
                  const QRect open = Geometry(m_dlg, IDC_STATIC_OPEN);
                  const QRect info = Geometry(m_dlg, IDC_EDIT_INFO);

                  pWindow->resize(start.width() + 300, start.height() + 200);
                  CPlatformApp::ProcessEvents();
                  EXPECT_EQ(Geometry(m_dlg, IDC_CHART), chart.adjusted(0, 0, 300, 200));
                  EXPECT_EQ(Geometry(m_dlg, IDC_BTN_BUY), buy.translated(300, 200));
                  EXPECT_EQ(Geometry(m_dlg, IDC_BTN_PLAY), play.translated(300, 0));
                  EXPECT_EQ(Geometry(m_dlg, IDC_STATIC_OPEN), open.translated(0, 200));
                  EXPECT_EQ(Geometry(m_dlg, IDC_EDIT_INFO), info.adjusted(0, 0, 300, 0));
                  // The chart's picture is made anew at the new size.
                  RECT rcClient = {};
                  m_dlg.m_chart.GetClientRect(&rcClient);
                  EXPECT_EQ(rcClient.right, chart.width() + 300);
                  EXPECT_GT(m_dlg.m_chart.GetPlotRect().right, chart.width());

                  pWindow->resize(start.width() - 100, start.height() - 100);
                  CPlatformApp::ProcessEvents();
                  EXPECT_EQ(pWindow->size(), start) << "never smaller than at start";
                  EXPECT_EQ(Geometry(m_dlg, IDC_CHART), chart);
                  EXPECT_EQ(Geometry(m_dlg, IDC_BTN_BUY), buy);
              });
}

TEST_F(MainWindowViewTest, AveragesFollowTheMenuAreDrawnEachStepAndAreRemembered)
{
    m_dlg.m_strStartFile = m_dir.Write("bars.csv", KLineText(100));
    RunDialog(m_dlg,
              [&]
              {
                  EXPECT_EQ(m_dlg.m_arrAverageShown, (std::array<bool, 4>{})) << "off by default";
                  m_dlg.SendMessage(WM_COMMAND, ID_MENU_PLAY, 0);
                  EXPECT_EQ(Series(m_dlg).size(), 1u);

                  ASSERT_TRUE(ChooseMenuItem("MA5"));
                  ASSERT_TRUE(ChooseMenuItem("MA60"));
                  std::vector<CChartSerie*> vec = Series(m_dlg);
                  ASSERT_EQ(vec.size(), 3u) << "shown at once, over the same window";
                  ASSERT_NE(dynamic_cast<CChartCandlestickSerie*>(vec[0]), nullptr);
                  auto* pMa5 = dynamic_cast<CChartLineSerie*>(vec[1]);
                  auto* pMa60 = dynamic_cast<CChartLineSerie*>(vec[2]);
                  ASSERT_NE(pMa5, nullptr);
                  ASSERT_NE(pMa60, nullptr);
                  EXPECT_NE(pMa5->m_crColor, vec[0]->m_crColor);
                  EXPECT_NE(pMa5->m_crColor, pMa60->m_crColor);
                  EXPECT_NE(pMa5->m_crColor, RGB(255, 0, 0));
                  // Bars 0..25 are shown; the average at bar 25 is of closes 21..25.
                  ASSERT_EQ(pMa5->PointCount(), 26u);
                  EXPECT_DOUBLE_EQ(pMa5->GetPoint(25).dClose, 10.5 + 23);
                  EXPECT_EQ(pMa5->GetPoint(25).dDate, FixtureDate(25));

                  // Each step brings the averages back over the new window.
                  m_dlg.SendMessage(WM_TIMER, COrvantaDlg::kReplayTimer, 0);
                  vec = Series(m_dlg);
                  ASSERT_EQ(vec.size(), 3u);
                  auto* pStepped = dynamic_cast<CChartLineSerie*>(vec[1]);
                  ASSERT_NE(pStepped, nullptr);
                  EXPECT_EQ(pStepped->GetPoint(0).dDate, FixtureDate(1));
                  EXPECT_DOUBLE_EQ(pStepped->GetPoint(25).dClose, 10.5 + 24);
                  // Sixty bars are not there yet: that line is all gaps.
                  EXPECT_FALSE(dynamic_cast<CChartLineSerie*>(vec[2])->m_bHasY);

                  ASSERT_TRUE(ChooseMenuItem("MA60"));
                  EXPECT_EQ(Series(m_dlg).size(), 2u);
              });
    EXPECT_EQ(GetProfileInt("Indicators", "MA5", -1), 1);
    EXPECT_EQ(GetProfileInt("Indicators", "MA60", -1), 0);

    COrvantaDlg again;
    RunDialog(again, [&] { EXPECT_EQ(again.m_arrAverageShown, (std::array<bool, 4>{true})); });
}

TEST_F(MainWindowViewTest, TheCrosshairIsOnTheChartWithTwoDecimalsByDefault)
{
    RunDialog(m_dlg,
              [&]
              {
                  ASSERT_NE(m_dlg.m_pCrosshair, nullptr);
                  EXPECT_EQ(m_dlg.m_pCrosshair->GetDecimals(), 2);
                  EXPECT_EQ(m_dlg.m_chart.m_overlaysById.size(), 1u);
              });
}

TEST_F(MainWindowViewTest, ThePictureGetsItsExtensionAndAFailureIsShownWithoutAFile)
{
    m_dlg.m_strStartFile = m_dir.Write("bars.csv", KLineText(40));
    RunDialog(
        m_dlg,
        [&]
        {
            m_dlg.SendMessage(WM_COMMAND, ID_MENU_PLAY, 0);
            const std::string strBase = (m_dir.Path() / "chart").string();
            ASSERT_TRUE(m_dlg.SaveChartImage(strBase));
            const QImage saved(QString::fromStdString(strBase + ".png"));
            RECT rc = {};
            m_dlg.m_chart.GetClientRect(&rc);
            ASSERT_EQ(saved.size(), QSize(rc.right, rc.bottom));
            // The date scroll bar hides itself as soon as the mouse is over the chart.
            if (CChartScrollBar* pBar = m_dlg.m_pTimeAxis->m_pAxisScrollBar)
                pBar->ShowWindow(SW_HIDE);
            const QImage shown = WidgetFromHwnd(m_dlg.m_chart.GetSafeHwnd())->grab().toImage();
            EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32),
                      shown.convertToFormat(QImage::Format_RGB32));

            QString strShown;
            WhenModal([](QWidget* p) { return qobject_cast<QMessageBox*>(p) != nullptr; },
                      [&](QWidget* p)
                      {
                          strShown = qobject_cast<QMessageBox*>(p)->text();
                          p->close();
                      });
            const std::string strMissing = (m_dir.Path() / "gone" / "x.png").string();
            EXPECT_FALSE(m_dlg.SaveChartImage(strMissing));
            EXPECT_TRUE(strShown.startsWith(QString::fromStdString("无法保存图片 " + strMissing)))
                << strShown.toStdString();
            EXPECT_FALSE(std::filesystem::exists(strMissing));
        });
}

} // namespace
