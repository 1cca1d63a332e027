// Real mouse input on the chart inside the running main dialog: zoom box, restore, zero-size box,
// panning, the date axis's scroll bar, and the next replay tick fitting the axes to the window.
#include "AppTestSupport.h"

#include "app/OrvantaDlg.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartSerie.h"
#include "chart/ChartStandardAxis.h"
#include "platform/testsupport/TestSupport.h"
#include "tests/WindowMouse.h"

#include <QImage>
#include <QScrollBar>
#include <QStyle>

#include <cmath>

namespace
{

constexpr int kQuietSeconds = 3600; // ticks come only from Tick()

// The value under a pixel, worked out from the axis' ends rather than through the axis.
double ValueAt(const CChartAxis* pAxis, int nPixel)
{
    const double dFraction =
        double(nPixel - pAxis->m_nStartPixel) / double(pAxis->m_nEndPixel - pAxis->m_nStartPixel);
    return pAxis->m_dMin + dFraction * (pAxis->m_dMax - pAxis->m_dMin);
}

// The dialog playing a 100-bar file: bars 0 to 25 on the chart, dates 43831 to 43856, prices
// from the low of bar 0 (9) to the high of bar 25 (37).
class ChartInDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureAppTestToolkit();
        ReplaySettings() = SReplaySettings{};
        ReplaySettings().m_nRefreshSeconds = kQuietSeconds;
        m_dlg.m_strStartFile = m_dir.Write("bars.csv", KLineText(100));
    }
    void TearDown() override { ReplaySettings() = SReplaySettings{}; }

    // Runs body in the playing dialog, with the chart's widget and axes at hand.
    void RunPlaying(const std::function<void()>& body)
    {
        WhenModal(TitleIs(QString::fromUtf8("K线交易练习")),
                  [&](QWidget*)
                  {
                      ASSERT_TRUE(ClickButton(QString::fromUtf8("播放K线")));
                      CPlatformApp::ProcessEvents();
                      m_pChart = WidgetFromHwnd(m_dlg.m_chart.GetSafeHwnd());
                      m_pDates = m_dlg.m_pTimeAxis;
                      m_pPrices = m_dlg.m_pPriceAxis;
                      ASSERT_NE(m_pChart, nullptr);
                      ASSERT_EQ(m_pDates->m_dMin, FirstDateShown(0));
                      ASSERT_EQ(m_pDates->m_dMax, LastDateShown(25));
                      ASSERT_EQ(m_pPrices->m_dMin, FixtureLow(0));
                      ASSERT_EQ(m_pPrices->m_dMax, FixtureHigh(25));
                      m_rcPlot = m_dlg.m_chart.GetPlotRect();
                      ASSERT_GT(m_rcPlot.right - m_rcPlot.left, 200);
                      ASSERT_GT(m_rcPlot.bottom - m_rcPlot.top, 200);
                      body();
                      m_dlg.EndDialog(IDCANCEL);
                  });
        m_dlg.DoModal();
    }

    // A point of the plot at these fractions of its width and height.
    QPoint InPlot(double dX, double dY) const
    {
        return QPoint(m_rcPlot.left + int(dX * (m_rcPlot.right - m_rcPlot.left)),
                      m_rcPlot.top + int(dY * (m_rcPlot.bottom - m_rcPlot.top)));
    }

    void Drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(m_pChart, button, Qt::NoModifier, from);
        QTest::mouseMove(m_pChart, to);
        QTest::mouseRelease(m_pChart, button, Qt::NoModifier, to);
    }

    void Tick() { m_dlg.SendMessage(WM_TIMER, COrvantaDlg::kReplayTimer, 0); }

    // The date axis leaves half a bar (half a day) beyond the outer candles.
    static double FirstDateShown(int nBar) { return FixtureDate(nBar) - 0.5; }
    static double LastDateShown(int nBar) { return FixtureDate(nBar) + 0.5; }

    // After tick k the window holds bars k to k + 25, and AllPoints axes show exactly them.
    void ExpectAxesOnTheWindowAfterTick(int k)
    {
        EXPECT_EQ(m_pDates->m_dMin, FirstDateShown(k));
        EXPECT_EQ(m_pDates->m_dMax, LastDateShown(k + 25));
        EXPECT_EQ(m_pPrices->m_dMin, FixtureLow(k));
        EXPECT_EQ(m_pPrices->m_dMax, FixtureHigh(k + 25));
    }

    CWorkDir m_dir;
    COrvantaDlg m_dlg;
    QWidget* m_pChart = nullptr;
    CChartDateTimeAxis* m_pDates = nullptr;
    CChartStandardAxis* m_pPrices = nullptr;
    RECT m_rcPlot = {0, 0, 0, 0};
};

TEST_F(ChartInDialogTest, AZoomBoxZoomsBothAxesAndTheNextTickFitsThemToTheWindowAgain)
{
    RunPlaying(
        [&]
        {
            const QPoint from = InPlot(0.25, 0.2);
            const QPoint to = InPlot(0.6, 0.7);
            const double dLeft = ValueAt(m_pDates, from.x());
            const double dRight = ValueAt(m_pDates, to.x());
            const double dTop = ValueAt(m_pPrices, from.y());
            const double dBottom = ValueAt(m_pPrices, to.y());

            QTest::mousePress(m_pChart, Qt::LeftButton, Qt::NoModifier, from);
            QTest::mouseMove(m_pChart, to);
            EXPECT_TRUE(m_dlg.m_chart.m_bZooming);
            EXPECT_EQ(m_pDates->m_dMin, FirstDateShown(0)) << "nothing zooms before the release";
            QTest::mouseRelease(m_pChart, Qt::LeftButton, Qt::NoModifier, to);

            EXPECT_FALSE(m_dlg.m_chart.m_bZooming);
            EXPECT_DOUBLE_EQ(m_pDates->m_dMin, dLeft);
            EXPECT_DOUBLE_EQ(m_pDates->m_dMax, dRight);
            EXPECT_DOUBLE_EQ(m_pPrices->m_dMin, dBottom);
            EXPECT_DOUBLE_EQ(m_pPrices->m_dMax, dTop);
            EXPECT_GT(m_pDates->m_dMin, FirstDateShown(0));
            EXPECT_LT(m_pPrices->m_dMax, FixtureHigh(25));
            EXPECT_EQ(m_pDates->m_dSavedMin, FirstDateShown(0)) << "zooming keeps the saved range";
            EXPECT_EQ(m_pPrices->m_dSavedMax, FixtureHigh(25));

            Tick();
            ExpectAxesOnTheWindowAfterTick(1);
        });
}

TEST_F(ChartInDialogTest, ABackwardDragRestoresTheWindowsRanges)
{
    RunPlaying(
        [&]
        {
            Drag(Qt::LeftButton, InPlot(0.2, 0.2), InPlot(0.5, 0.5));
            ASSERT_GT(m_pDates->m_dMin, FirstDateShown(0));

            Drag(Qt::LeftButton, InPlot(0.5, 0.5), InPlot(0.3, 0.3));
            ExpectAxesOnTheWindowAfterTick(0);

            // Upwards alone is backwards too, also after the replay moved on.
            Tick();
            Drag(Qt::LeftButton, InPlot(0.2, 0.2), InPlot(0.5, 0.5));
            ASSERT_GT(m_pDates->m_dMin, FirstDateShown(1));
            Drag(Qt::LeftButton, InPlot(0.2, 0.6), InPlot(0.5, 0.4));
            ExpectAxesOnTheWindowAfterTick(1);
        });
}

TEST_F(ChartInDialogTest, ABoxWithoutWidthOrHeightChangesNothing)
{
    RunPlaying(
        [&]
        {
            QTest::mouseClick(m_pChart, Qt::LeftButton, Qt::NoModifier, InPlot(0.4, 0.4));
            ExpectAxesOnTheWindowAfterTick(0);
            Drag(Qt::LeftButton, InPlot(0.2, 0.4), InPlot(0.7, 0.4));
            ExpectAxesOnTheWindowAfterTick(0);
            Drag(Qt::LeftButton, InPlot(0.4, 0.2), InPlot(0.4, 0.7));
            ExpectAxesOnTheWindowAfterTick(0);
            EXPECT_FALSE(m_dlg.m_chart.m_bZooming);
        });
}

TEST_F(ChartInDialogTest, TheRightButtonPansBothAxesAndTheNextTickFitsThemToTheWindowAgain)
{
    RunPlaying(
        [&]
        {
            // Through the dialog's window: on X the right press also asks for a context menu,
            // and the dialog's menu must not open over the chart and take the drag.
            CWindowMouse mouse(m_pChart);
            const QPoint start = InPlot(0.5, 0.5);
            const QPoint across = start + QPoint(60, 0);
            const QPoint down = across + QPoint(0, 40);
            const double dDateShift = ValueAt(m_pDates, start.x()) - ValueAt(m_pDates, across.x());
            const double dPriceShift =
                ValueAt(m_pPrices, across.y()) - ValueAt(m_pPrices, down.y());

            mouse.Press(Qt::RightButton, start);
            mouse.Move(across);
            EXPECT_LT(dDateShift, 0.0) << "dragging right shows earlier dates";
            EXPECT_NEAR(m_pDates->m_dMin, FirstDateShown(0) + dDateShift, 1e-9);
            EXPECT_NEAR(m_pDates->m_dMax, LastDateShown(25) + dDateShift, 1e-9);
            EXPECT_EQ(m_pPrices->m_dMin, FixtureLow(0)) << "no vertical movement yet";

            mouse.Move(down);
            EXPECT_GT(dPriceShift, 0.0) << "dragging down shows higher prices";
            EXPECT_NEAR(m_pPrices->m_dMin, FixtureLow(0) + dPriceShift, 1e-9);
            EXPECT_NEAR(m_pPrices->m_dMax, FixtureHigh(25) + dPriceShift, 1e-9);
            mouse.Release(Qt::RightButton, down);
            EXPECT_FALSE(m_dlg.m_chart.m_bPanning);
            EXPECT_EQ(mouse.PopupMenus(), 0) << "no menu over the chart";

            const double dPannedMin = m_pDates->m_dMin;
            mouse.Move(start);
            EXPECT_EQ(m_pDates->m_dMin, dPannedMin) << "no panning after the release";

            Tick();
            ExpectAxesOnTheWindowAfterTick(1);
        });
}

TEST_F(ChartInDialogTest, ARightDragReleasedOutsideTheDialogPansToTheReleaseAndEndsThere)
{
    RunPlaying(
        [&]
        {
            CWindowMouse mouse(m_pChart);
            const QPoint start = InPlot(0.5, 0.5);
            const QPoint outside(-40, start.y()); // left of the chart, beyond the dialog's edge
            ASSERT_LT(mouse.InWindow(outside).x(), 0);
            const double dShift = ValueAt(m_pDates, start.x()) - ValueAt(m_pDates, outside.x());

            mouse.Press(Qt::RightButton, start);
            mouse.Move(outside);
            mouse.Release(Qt::RightButton, outside);
            EXPECT_GT(dShift, 0.0) << "dragging left shows later dates";
            EXPECT_NEAR(m_pDates->m_dMin, FirstDateShown(0) + dShift, 1e-9);
            EXPECT_FALSE(m_dlg.m_chart.m_bPanning);
            EXPECT_EQ(mouse.PopupMenus(), 0);

            const double dPannedMin = m_pDates->m_dMin;
            mouse.Move(start);
            EXPECT_EQ(m_pDates->m_dMin, dPannedMin) << "the drag ended at the release";
            EXPECT_TRUE(m_dlg.GetSafeHwnd() != nullptr && m_dlg.IsWindowVisible());
        });
}

TEST_F(ChartInDialogTest, TheDialogsMenuOpensOnItsBackgroundAndItsOpeningDragChoosesNothing)
{
    RunPlaying(
        [&]
        {
            QWidget* pDialog = m_pChart->window();
            // Just below the chart: the dialog's own background, no control there.
            const QPoint background = m_pChart->mapTo(pDialog, QPoint(2, m_pChart->height() + 2));
            ASSERT_EQ(HwndFromWidget(pDialog->childAt(background)), nullptr);
            // Press, then drag onto the menu's first item ("Close") and let go there.
            QPointer<QMenu> pMenu;
            bool bStillOpenAfterRelease = false;
            QTimer::singleShot(0, qApp,
                               [&]
                               {
                                   pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                                   ASSERT_NE(pMenu, nullptr) << "the menu opens on the press";
                                   ASSERT_FALSE(pMenu->actions().isEmpty());
                                   const QPoint onClose =
                                       pMenu->actionGeometry(pMenu->actions().first()).center();
                                   QTest::mouseMove(pMenu->windowHandle(), onClose);
                                   QTest::mouseRelease(pMenu->windowHandle(), Qt::RightButton,
                                                       Qt::NoModifier, onClose);
                                   bStillOpenAfterRelease = pMenu != nullptr && pMenu->isVisible();
                                   if (pMenu != nullptr)
                                       pMenu->close();
                               });
            QTest::mousePress(pDialog->windowHandle(), Qt::RightButton, Qt::NoModifier, background);
            EXPECT_TRUE(bStillOpenAfterRelease) << "the opening drag picked an item";
            EXPECT_TRUE(m_dlg.IsWindowVisible()) << "the dialog is still there";
        });
}

TEST_F(ChartInDialogTest, TheDateScrollBarShowsOnlyWhileTheMouseIsOverIt)
{
    RunPlaying(
        [&]
        {
            CChartScrollBar* pBar = m_pDates->m_pAxisScrollBar;
            ASSERT_NE(pBar, nullptr);
            EXPECT_TRUE(pBar->IsWindowVisible()) << "shown when the dialog opens";
            RECT rcBar = {0, 0, 0, 0};
            pBar->GetWindowRect(&rcBar);
            m_dlg.m_chart.ScreenToClient(&rcBar);
            const QPoint overBar((rcBar.left + rcBar.right) / 2, (rcBar.top + rcBar.bottom) / 2);

            QTest::mouseMove(m_pChart, InPlot(0.5, 0.3));
            EXPECT_FALSE(pBar->IsWindowVisible());
            QTest::mouseMove(m_pChart, overBar);
            EXPECT_TRUE(pBar->IsWindowVisible());
            QTest::mouseMove(m_pChart, InPlot(0.5, 0.3));
            EXPECT_FALSE(pBar->IsWindowVisible());
            // The price axis has a bar of its own, never enabled: it stays hidden.
            if (CChartScrollBar* pPriceBar = m_pPrices->m_pAxisScrollBar)
            {
                EXPECT_FALSE(pPriceBar->IsWindowVisible());
            }
        });
}

TEST_F(ChartInDialogTest, APageDownClickMovesTheZoomedDateAxisByTheTenthsLeft)
{
    RunPlaying(
        [&]
        {
            // Zoom to the left part of the window, so a page down has room.
            Drag(Qt::LeftButton, InPlot(0.1, 0.1), InPlot(0.35, 0.9));
            const double dMin = m_pDates->m_dMin;
            const double dSpan = m_pDates->m_dMax - m_pDates->m_dMin;
            const double dFull = FixtureDate(25) - FixtureDate(0);
            ASSERT_LT(dSpan, dFull / 2);

            // Steps are tenths of the visible span; the last page starts 9 below the range's end.
            const int nCount = int(std::ceil(dFull / (dSpan / 10)));
            const int nCur = int((dMin - FixtureDate(0)) / dFull * nCount);
            const int nNew = std::min(nCur + 10, nCount - 1 - 9);
            ASSERT_GT(nNew, nCur);

            CChartScrollBar* pBar = m_pDates->m_pAxisScrollBar;
            RECT rcBar = {0, 0, 0, 0};
            pBar->GetWindowRect(&rcBar);
            m_dlg.m_chart.ScreenToClient(&rcBar);
            QTest::mouseMove(
                m_pChart, QPoint((rcBar.left + rcBar.right) / 2, (rcBar.top + rcBar.bottom) / 2));
            ASSERT_TRUE(pBar->IsWindowVisible());
            int nLow = 0;
            int nHigh = 0;
            pBar->GetScrollRange(&nLow, &nHigh);
            EXPECT_EQ(nHigh, nCount - 1);
            EXPECT_EQ(pBar->GetScrollPos(), nCur);

            auto* pWidget = qobject_cast<QScrollBar*>(WidgetFromHwnd(pBar->GetSafeHwnd()));
            ASSERT_NE(pWidget, nullptr);
            const QRect addPage = ScrollBarPartRect(pWidget, QStyle::SC_ScrollBarAddPage);
            ASSERT_FALSE(addPage.isEmpty());
            QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier, addPage.center());

            EXPECT_EQ(pBar->GetScrollPos(), nNew);
            EXPECT_NEAR(m_pDates->m_dMin, dMin + (nNew - nCur) * dSpan / 10, 1e-9);
            EXPECT_NEAR(m_pDates->m_dMax - m_pDates->m_dMin, dSpan, 1e-9);

            Tick();
            ExpectAxesOnTheWindowAfterTick(1);
        });
}

// The File menu's print item prints the chart as it is shown, on one page, and leaves the
// screen's picture as it was.
TEST_F(ChartInDialogTest, ThePrintItemPrintsTheShownChartOnOnePage)
{
    RunPlaying(
        [&]
        {
            m_dlg.m_chart.RewindSeries();
            CChartSerie* pCandles = m_dlg.m_chart.NextSerie();
            ASSERT_NE(pCandles, nullptr);
            const COLORREF crCandles = pCandles->m_crColor;
            const QRgb rgbCandles =
                qRgb(GetRValue(crCandles), GetGValue(crCandles), GetBValue(crCandles));

            PlatformCancelNextPrintDialog();
            const SPrintRecord before = PlatformLastPrintJob();
            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("打印...")));
            EXPECT_EQ(PlatformLastPrintJob().nPages, before.nPages)
                << "a cancelled dialog prints nothing";

            PlatformPrintNextToImages(1240, 1754, 150);
            ASSERT_TRUE(ChooseMenuItem(QString::fromUtf8("打印...")));
            const SPrintRecord job = PlatformLastPrintJob();
            EXPECT_TRUE(job.bEnded);
            EXPECT_FALSE(job.bAborted);
            EXPECT_EQ(job.nPages, 1);
            ASSERT_EQ(PlatformPrintedPageCount(), 1);
            const QImage page = PlatformPrintedPage(0).convertToFormat(QImage::Format_RGB32);
            int nCandlePixels = 0;
            for (int y = 0; y < page.height(); ++y)
                for (int x = 0; x < page.width(); ++x)
                    nCandlePixels += (page.pixel(x, y) & 0xFFFFFF) == (rgbCandles & 0xFFFFFF);
            EXPECT_GT(nCandlePixels, 500) << "the candles are on the page";

            const RECT rcAfter = m_dlg.m_chart.GetPlotRect();
            EXPECT_EQ(rcAfter.left, m_rcPlot.left);
            EXPECT_EQ(rcAfter.top, m_rcPlot.top);
            EXPECT_EQ(rcAfter.right, m_rcPlot.right);
            EXPECT_EQ(rcAfter.bottom, m_rcPlot.bottom);
            ExpectAxesOnTheWindowAfterTick(0);
        });
}

} // namespace
