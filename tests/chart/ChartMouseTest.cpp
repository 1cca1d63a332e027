// Real mouse input on a chart window: zoom box, restore, panning, scroll bars, cursor and the
// routing of events to the mouse sink and the series.
#include "chart/ChartAxis.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartLegend.h"
#include "chart/ChartMouseSink.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartStandardAxis.h"
#include "chart/ChartTitle.h"
#include "platform/DC.h"
#include "platform/testsupport/TestSupport.h"

#include "AxisTestSerie.h"
#include "ChartTestApp.h"
#include "CountingChart.h"
#include "HostedChartTest.h"
#include "tests/WindowMouse.h"

#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{

constexpr COLORREF kWhite = RGB(255, 255, 255);

struct SRange
{
    double dMin;
    double dMax;
};

SRange RangeOf(const CChartAxis* pAxis)
{
    return {pAxis->m_dMin, pAxis->m_dMax};
}

// The value under a pixel, worked out from the axis' ends rather than through the axis.
double ValueAt(const CChartAxis* pAxis, int nPixel)
{
    const double dFraction =
        double(nPixel - pAxis->m_nStartPixel) / double(pAxis->m_nEndPixel - pAxis->m_nStartPixel);
    return pAxis->m_dMin + dFraction * (pAxis->m_dMax - pAxis->m_dMin);
}

// The replay's chart, 640 x 400: 101 falling daily bars from day 42000, prices 10 to 30.
class ChartMouseTest : public CHostedChartTest
{
protected:
    void SetUp() override
    {
        CHostedChartTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(m_pDates->m_dMin, 42000.0);
        ASSERT_EQ(m_pPrices->m_dMax, 30.0);
    }

    void AddContent() override
    {
        auto* pSerie = new CChartCandlestickSerie(&m_chart);
        m_chart.AttachSerie(pSerie);
        std::vector<SChartCandlestickPoint> bars;
        for (int i = 0; i <= 100; ++i)
        {
            SChartCandlestickPoint bar;
            bar.dDate = 42000 + i;
            bar.dLow = 10;
            bar.dHigh = 30;
            bar.dOpen = 25 - i % 7;
            bar.dClose = 15 - i % 4;
            bars.push_back(bar);
        }
        pSerie->AddPoints(bars.data(), unsigned(bars.size()));
    }

    void Drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(m_pWidget, button, Qt::NoModifier, from);
        QTest::mouseMove(m_pWidget, to);
        QTest::mouseRelease(m_pWidget, button, Qt::NoModifier, to);
    }
};

TEST_F(ChartMouseTest, TheZoomBoxIsDrawnOverThePictureAndZoomsEveryAxisOnRelease)
{
    const double dLeft = ValueAt(m_pDates, 100);
    const double dRight = ValueAt(m_pDates, 200);
    const double dBottom = ValueAt(m_pPrices, 150);
    const double dTop = ValueAt(m_pPrices, 50);

    QTest::mousePress(m_pWidget, Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
    QTest::mouseMove(m_pWidget, QPoint(200, 150));
    EXPECT_TRUE(m_chart.m_bZooming);
    const RECT box = {100, 50, 200, 150};
    EXPECT_TRUE(EqualRect(&m_chart.m_rcZoomBox, &box));
    // On the screen the white box lies over the picture; the back buffer never holds it.
    const QImage shown = m_pWidget->grab().toImage();
    for (const QPoint pt : {QPoint(150, 50), QPoint(200, 100), QPoint(150, 150), QPoint(100, 80)})
    {
        EXPECT_EQ(QColor(shown.pixel(pt)), QColor(Qt::white)) << pt.x() << "," << pt.y();
        EXPECT_NE(m_chart.GetBufferDC()->GetPixel(pt.x(), pt.y()), kWhite);
    }

    const int nBefore = m_chart.m_nRedraws;
    QTest::mouseRelease(m_pWidget, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    EXPECT_FALSE(m_chart.m_bZooming);
    EXPECT_EQ(m_chart.m_nRedraws, nBefore + 1) << "one redraw for all axes";
    EXPECT_DOUBLE_EQ(m_pDates->m_dMin, dLeft);
    EXPECT_DOUBLE_EQ(m_pDates->m_dMax, dRight);
    EXPECT_DOUBLE_EQ(m_pPrices->m_dMin, dBottom) << "the box's bottom is the new minimum";
    EXPECT_DOUBLE_EQ(m_pPrices->m_dMax, dTop);
    EXPECT_EQ(m_pDates->m_dSavedMin, 42000.0) << "zooming keeps the saved range";
    EXPECT_EQ(m_pPrices->m_dSavedMax, 30.0);
}

TEST_F(ChartMouseTest, ADragBackwardsRestoresTheSavedRanges)
{
    Drag(Qt::LeftButton, QPoint(100, 50), QPoint(200, 150));
    ASSERT_GT(m_pDates->m_dMin, 42000.0);

    Drag(Qt::LeftButton, QPoint(200, 150), QPoint(100, 50));
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
    EXPECT_EQ(m_pDates->m_dMax, 42100.0);
    EXPECT_EQ(m_pPrices->m_dMin, 10.0);
    EXPECT_EQ(m_pPrices->m_dMax, 30.0);

    // Upwards alone is backwards too.
    Drag(Qt::LeftButton, QPoint(100, 50), QPoint(200, 150));
    Drag(Qt::LeftButton, QPoint(100, 150), QPoint(200, 50));
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
    EXPECT_EQ(m_pPrices->m_dMax, 30.0);
}

TEST_F(ChartMouseTest, ABoxUnderFourPixelsEitherWayChangesNothing)
{
    const int nBefore = m_chart.m_nRedraws;
    QTest::mouseClick(m_pWidget, Qt::LeftButton, Qt::NoModifier, QPoint(150, 100));
    // Thin boxes forwards, and slips of the hand in any direction.
    for (const QPoint end : {QPoint(250, 100), QPoint(100, 200), QPoint(250, 103), QPoint(103, 200),
                             QPoint(101, 101), QPoint(97, 97), QPoint(103, 97)})
        Drag(Qt::LeftButton, QPoint(100, 100), end);
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
    EXPECT_EQ(m_pDates->m_dMax, 42100.0);
    EXPECT_EQ(m_pPrices->m_dMin, 10.0);
    EXPECT_EQ(m_pPrices->m_dMax, 30.0);
    EXPECT_EQ(m_chart.m_nRedraws, nBefore);
    EXPECT_FALSE(m_chart.m_bZooming);
}

TEST_F(ChartMouseTest, RightDragPansWithOneRedrawPerMoveAndKeepsTheButtonToItself)
{
    // Through the window, as the window system delivers it: on X a right press is followed by a
    // context menu request, which must not go on to the chart's parent.
    CWindowMouse mouse(m_pWidget);
    const double dDateShift = ValueAt(m_pDates, 300) - ValueAt(m_pDates, 340);
    mouse.Press(Qt::RightButton, QPoint(300, 200));
    EXPECT_TRUE(m_chart.m_bPanning);
    EXPECT_EQ(mouse.MenuRequestsAbove(), 0) << "the right button is the chart's own";

    int nBefore = m_chart.m_nRedraws;
    mouse.Move(QPoint(340, 200));
    EXPECT_EQ(m_chart.m_nRedraws, nBefore + 1);
    EXPECT_NEAR(m_pDates->m_dMin, 42000.0 + dDateShift, 1e-9);
    EXPECT_NEAR(m_pDates->m_dMax, 42100.0 + dDateShift, 1e-9);
    EXPECT_LT(dDateShift, 0.0) << "dragging right shows earlier dates";
    EXPECT_EQ(m_pPrices->m_dMin, 10.0) << "no vertical movement";
    EXPECT_EQ(m_pPrices->m_dMax, 30.0);

    nBefore = m_chart.m_nRedraws;
    mouse.Move(QPoint(340, 200));
    EXPECT_EQ(m_chart.m_nRedraws, nBefore) << "the same point again does nothing";

    const double dPriceShift = ValueAt(m_pPrices, 200) - ValueAt(m_pPrices, 230);
    mouse.Move(QPoint(340, 230));
    EXPECT_GT(dPriceShift, 0.0);
    EXPECT_NEAR(m_pPrices->m_dMin, 10.0 + dPriceShift, 1e-9);
    EXPECT_NEAR(m_pPrices->m_dMax, 30.0 + dPriceShift, 1e-9);

    // Beyond the window's edge the drag still belongs to the chart, up to the release there.
    const double dOutsideShift = ValueAt(m_pDates, 340) - ValueAt(m_pDates, 700);
    const SRange inside = RangeOf(m_pDates);
    mouse.Move(QPoint(700, 230));
    EXPECT_NEAR(m_pDates->m_dMin, inside.dMin + dOutsideShift, 1e-9);
    mouse.Release(Qt::RightButton, QPoint(700, 230));
    EXPECT_FALSE(m_chart.m_bPanning);
    EXPECT_EQ(mouse.PopupMenus(), 0);
    EXPECT_EQ(mouse.MenuRequestsAbove(), 0);
    const SRange dates = RangeOf(m_pDates);
    mouse.Move(QPoint(100, 100));
    EXPECT_EQ(m_pDates->m_dMin, dates.dMin) << "no panning after the release";

    // The next replay tick fits the axes to the data again.
    auto* pNext = new CChartCandlestickSerie(&m_chart);
    m_chart.DeleteAllSeries();
    m_chart.AttachSerie(pNext);
    SChartCandlestickPoint bars[2] = {{42000, 10, 30, 20, 20}, {42100, 10, 30, 20, 20}};
    pNext->AddPoints(bars, 2);
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
    EXPECT_EQ(m_pPrices->m_dMin, 10.0);
}

TEST_F(ChartMouseTest, NoNonFiniteValueEntersARangeByZoomOrPan)
{
    // A price range so wide that a long drag would carry it past the largest double.
    m_pPrices->m_eRangeMode = Manual;
    m_pPrices->SetRange(1e308, 1.7e308, ERangeChange::Reset);
    m_chart.RefreshChart();
    Drag(Qt::RightButton, QPoint(300, 50), QPoint(300, 1500));
    EXPECT_TRUE(std::isfinite(m_pPrices->m_dMin));
    EXPECT_TRUE(std::isfinite(m_pPrices->m_dMax));
    EXPECT_EQ(m_pPrices->m_dMax, 1.7e308);

    Drag(Qt::LeftButton, QPoint(100, 50), QPoint(200, 150));
    EXPECT_TRUE(std::isfinite(m_pPrices->m_dMin));
    EXPECT_TRUE(std::isfinite(m_pPrices->m_dMax));
    EXPECT_LT(m_pPrices->m_dMin, m_pPrices->m_dMax);
}

TEST_F(ChartMouseTest, AnAutoHidingScrollBarShowsOnlyUnderTheMouse)
{
    CChartScrollBar* pBar = m_pDates->m_pAxisScrollBar;
    ASSERT_NE(pBar, nullptr);
    EXPECT_FALSE(pBar->IsWindowVisible()) << "created hidden";
    pBar->m_bEnabled = true;
    pBar->ShowWindow(SW_SHOW);

    RECT rcBar = {0, 0, 0, 0};
    pBar->GetWindowRect(&rcBar);
    m_chart.ScreenToClient(&rcBar);
    const QPoint overBar((rcBar.left + rcBar.right) / 2, (rcBar.top + rcBar.bottom) / 2);
    const RECT rcPlot = m_chart.GetPlotRect();
    ASSERT_EQ(rcBar.bottom, rcPlot.bottom) << "along the bottom of the plot";

    QTest::mouseMove(m_pWidget, QPoint(overBar.x(), rcPlot.top + 20));
    EXPECT_FALSE(pBar->IsWindowVisible());
    QTest::mouseMove(m_pWidget, overBar);
    EXPECT_TRUE(pBar->IsWindowVisible());
    QTest::mouseMove(m_pWidget, QPoint(5, 5));
    EXPECT_FALSE(pBar->IsWindowVisible());

    // A bar that is not in use is left alone.
    pBar->m_bEnabled = false;
    pBar->ShowWindow(SW_SHOW);
    QTest::mouseMove(m_pWidget, QPoint(overBar.x(), rcPlot.top + 20));
    EXPECT_TRUE(pBar->IsWindowVisible());
}

TEST_F(ChartMouseTest, APageDownClickScrollsTheDateAxisByTheTenthsLeft)
{
    CChartScrollBar* pBar = m_pDates->m_pAxisScrollBar;
    pBar->m_bEnabled = true;
    pBar->ShowWindow(SW_SHOW);
    // 25 of the 100 days, from day 62.5: 40 steps of 2.5 days, the thumb at step 25.
    m_pDates->SetZoomRange(42062.5, 42087.5);
    m_chart.RefreshChart();
    CPlatformApp::ProcessEvents();
    int nLow = 0;
    int nHigh = 0;
    pBar->GetScrollRange(&nLow, &nHigh);
    ASSERT_EQ(nHigh, 39);
    ASSERT_EQ(pBar->GetScrollPos(), 25);

    auto* pWidget = qobject_cast<QScrollBar*>(WidgetFromHwnd(pBar->GetSafeHwnd()));
    ASSERT_NE(pWidget, nullptr);
    const QRect addPage = ScrollBarPartRect(pWidget, QStyle::SC_ScrollBarAddPage);
    ASSERT_FALSE(addPage.isEmpty());
    const int nBefore = m_chart.m_nRedraws;
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier, addPage.center());

    // Only 5 steps remain before the last page: the axis moves 5 tenths of 25 days.
    EXPECT_EQ(pBar->GetScrollPos(), 30);
    EXPECT_DOUBLE_EQ(m_pDates->m_dMin, 42075.0);
    EXPECT_DOUBLE_EQ(m_pDates->m_dMax, 42100.0);
    EXPECT_GT(m_chart.m_nRedraws, nBefore);
}

TEST_F(ChartMouseTest, TheCursorHidesOverThePlotOnlyWhenAsked)
{
    const RECT rcPlot = m_chart.GetPlotRect();
    const QPoint inPlot((rcPlot.left + rcPlot.right) / 2, (rcPlot.top + rcPlot.bottom) / 2);
    const QPoint inAxisBand(rcPlot.left - 5, inPlot.y());
    QTest::mouseMove(m_pWidget, inPlot);
    EXPECT_EQ(m_pWidget->cursor().shape(), Qt::ArrowCursor);

    m_chart.m_bShowCursorInPlot = false;
    QTest::mouseMove(m_pWidget, inPlot + QPoint(1, 1));
    EXPECT_EQ(m_pWidget->cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(m_pWidget, inAxisBand);
    EXPECT_EQ(m_pWidget->cursor().shape(), Qt::ArrowCursor);
}

// Records which series saw an event, in order, and takes it when told to.
class CRecordingSerie : public CAxisTestSerie
{
public:
    CRecordingSerie(CChartCtrl* pOwner, std::vector<unsigned>* pLog, bool bTakes)
        : CAxisTestSerie(pOwner), m_pLog(pLog), m_bTakes(bTakes)
    {
    }
    bool HandleMouseEvent(int nEvent, const POINT*) override
    {
        if (nEvent == LeftPress)
            m_pLog->push_back(m_nId);
        return m_bTakes;
    }

private:
    std::vector<unsigned>* m_pLog;
    bool m_bTakes;
};

class CRecordingSink : public IChartMouseSink
{
public:
    void OnTitleMouse(int nEvent, int, int) override { Note(nEvent, "title"); }
    void OnAxisMouse(int nEvent, int, int, CChartAxis* pAxis) override
    {
        Note(nEvent, "axis");
        m_pLastAxis = pAxis;
    }
    void OnLegendMouse(int nEvent, int, int) override { Note(nEvent, "legend"); }
    void OnPlotMouse(int nEvent, int, int) override { Note(nEvent, "plot"); }

    std::vector<std::string> m_vecNotes;
    CChartAxis* m_pLastAxis = nullptr;

private:
    void Note(int nEvent, const char* pszArea)
    {
        if (nEvent == LeftPress)
            m_vecNotes.push_back(pszArea);
    }
};

TEST(ChartMouseRouting, TheSinkHearsByAreaAndTheNewestSeriesFirst)
{
    EnsureChartTestApp();
    CChartCtrl chart;
    ASSERT_TRUE(chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 400, 300}, nullptr, 0));
    chart.NewDateTimeAxis()->SetRangeMode(AllPoints);
    chart.NewStandardAxis()->SetRangeMode(AllPoints);
    std::vector<unsigned> vecLog;
    auto* pOlder = new CRecordingSerie(&chart, &vecLog, false);
    pOlder->WithRange(42000, 42030, 1, 2);
    auto* pNewer = new CRecordingSerie(&chart, &vecLog, false);
    pNewer->WithRange(42000, 42030, 1, 2);
    chart.AttachSerie(pOlder);
    chart.AttachSerie(pNewer);
    CRecordingSink sink;
    chart.m_pMouseSink = &sink;
    chart.ShowWindow(SW_SHOW);
    CPlatformApp::ProcessEvents();
    QWidget* pWidget = WidgetFromHwnd(chart.GetSafeHwnd());

    const RECT rcPlot = chart.GetPlotRect();
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier,
                      QPoint((rcPlot.left + rcPlot.right) / 2, (rcPlot.top + rcPlot.bottom) / 2));
    EXPECT_EQ(sink.m_vecNotes, std::vector<std::string>{"plot"});
    EXPECT_EQ(vecLog, (std::vector<unsigned>{pNewer->m_nId, pOlder->m_nId}));

    sink.m_vecNotes.clear();
    vecLog.clear();
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier,
                      QPoint(rcPlot.left - 5, (rcPlot.top + rcPlot.bottom) / 2));
    EXPECT_EQ(sink.m_vecNotes, std::vector<std::string>{"axis"});
    EXPECT_EQ(sink.m_pLastAxis, chart.GetAxis(SlotLeft));

    // A named series, a title line and the legend give the sink two more areas.
    pNewer->SetName("Bars");
    chart.GetTitle()->AddLine("Replay");
    chart.GetLegend()->SetVisible(true);
    const RECT rcTitle = chart.GetTitle()->m_rcTitle;
    const RECT rcLegend = chart.GetLegend()->m_rcLegend;
    ASSERT_FALSE(IsRectEmpty(&rcLegend));
    sink.m_vecNotes.clear();
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier,
                      QPoint((rcTitle.left + rcTitle.right) / 2, rcTitle.top + 2));
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier,
                      QPoint(rcLegend.right - 2, rcLegend.bottom - 2));
    EXPECT_EQ(sink.m_vecNotes, (std::vector<std::string>{"title", "legend"}));

    // A series that takes the event keeps it from the older one.
    chart.m_pMouseSink = nullptr;
    vecLog.clear();
    auto* pTaker = new CRecordingSerie(&chart, &vecLog, true);
    pTaker->WithRange(42000, 42030, 1, 2);
    chart.AttachSerie(pTaker);
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    EXPECT_EQ(vecLog, std::vector<unsigned>{pTaker->m_nId});
}

} // namespace
