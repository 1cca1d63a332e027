#include "chart/ChartCtrl.h"
#include "AxisTestSerie.h"
#include "ChartTestApp.h"
#include "CountingChart.h"
#include "chart/ChartAxisLabel.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartGradient.h"
#include "chart/ChartGrid.h"
#include "chart/ChartLegend.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartStandardAxis.h"
#include "chart/RefreshHold.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

// An axis that reports its destruction.
class CWatchedAxis : public CChartStandardAxis
{
public:
    explicit CWatchedAxis(bool* pDestroyed) : m_pDestroyed(pDestroyed) {}
    ~CWatchedAxis() override { *m_pDestroyed = true; }

private:
    bool* m_pDestroyed;
};

constexpr int kWidth = 400;
constexpr int kHeight = 300;

bool CreateChartWindow(CChartCtrl& chart, int nWidth = kWidth, int nHeight = kHeight)
{
    EnsureChartTestApp();
    return chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, nWidth, nHeight}, nullptr, 0) !=
           FALSE;
}

// The two axes the replay uses, both fitted to all points.
void AddReplayAxes(CChartCtrl& chart)
{
    chart.NewDateTimeAxis()->SetRangeMode(AllPoints);
    chart.NewStandardAxis()->SetRangeMode(AllPoints);
}

CAxisTestSerie* NewSerie(CChartCtrl& chart)
{
    return new CAxisTestSerie(&chart);
}

} // namespace

TEST(ChartCtrl, RefreshWithoutAWindowDoesNothing)
{
    CCountingChart chart;
    EXPECT_EQ(chart.m_nRefreshLevel, 1);
    chart.RefreshChart();
    EXPECT_FALSE(chart.m_bRefreshDeferred);
    EXPECT_EQ(chart.m_nRedraws, 0);
    EXPECT_EQ(chart.GetBufferDC()->GetSafeHdc(), nullptr);
}

TEST(ChartCtrl, HeldRefreshesRunOnceAtTheOuterRelease)
{
    CCountingChart chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    const int nBase = chart.m_nRedraws;
    chart.RefreshChart();
    ASSERT_EQ(chart.m_nRedraws, nBase + 1);

    chart.HoldRefresh();
    chart.RefreshChart();
    chart.RefreshChart();
    chart.RefreshChart();
    EXPECT_EQ(chart.m_nRedraws, nBase + 1);
    EXPECT_TRUE(chart.m_bRefreshDeferred);
    chart.ReleaseRefresh();
    EXPECT_EQ(chart.m_nRedraws, nBase + 2);
    EXPECT_FALSE(chart.m_bRefreshDeferred);

    chart.HoldRefresh();
    chart.HoldRefresh();
    chart.RefreshChart();
    chart.ReleaseRefresh();
    EXPECT_EQ(chart.m_nRedraws, nBase + 2);
    chart.ReleaseRefresh();
    EXPECT_EQ(chart.m_nRedraws, nBase + 3);

    // A release with nothing asked for draws nothing.
    chart.HoldRefresh();
    chart.ReleaseRefresh();
    EXPECT_EQ(chart.m_nRedraws, nBase + 3);

    // An unmatched release lifts the level, so one hold no longer suspends.
    chart.ReleaseRefresh();
    chart.HoldRefresh();
    chart.RefreshChart();
    EXPECT_EQ(chart.m_nRedraws, nBase + 4);
}

TEST(ChartCtrl, ARefreshHoldRedrawsOnceWhenItsScopeEnds)
{
    CCountingChart chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    const int nBase = chart.m_nRedraws;
    {
        CRefreshHold outer(&chart);
        {
            CRefreshHold inner(&chart);
            chart.RefreshChart();
        }
        chart.RefreshChart();
        EXPECT_EQ(chart.m_nRedraws, nBase);
    }
    EXPECT_EQ(chart.m_nRedraws, nBase + 1);
    EXPECT_EQ(chart.m_nRefreshLevel, 1);
}

TEST(ChartCtrl, SeriesTakeColoursFromTheTableInTurn)
{
    const COLORREF expected[10] = {
        RGB(255, 0, 0),   RGB(0, 150, 0),   RGB(0, 0, 255),   RGB(255, 255, 0), RGB(0, 255, 255),
        RGB(255, 128, 0), RGB(128, 0, 128), RGB(128, 128, 0), RGB(255, 0, 255), RGB(64, 128, 128),
    };
    CChartCtrl chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    AddReplayAxes(chart);
    std::vector<CChartSerie*> series;
    for (int i = 0; i < 11; ++i)
    {
        series.push_back(NewSerie(chart));
        chart.AttachSerie(series.back());
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(series[i]->m_crColor, expected[i]) << "series " << i;
    EXPECT_EQ(series[10]->m_crColor, expected[0]);

    chart.DeleteAllSeries();
    EXPECT_EQ(chart.SerieCount(), 0u);
    CChartSerie* pNext = NewSerie(chart);
    chart.AttachSerie(pNext);
    EXPECT_EQ(pNext->m_crColor, expected[0]);
    chart.AttachSerie(nullptr);
    EXPECT_EQ(chart.SerieCount(), 1u);
}

TEST(ChartCtrl, InstallingAnAxisBindsItAndReplacesTheOldOne)
{
    CChartCtrl chart;
    ASSERT_TRUE(CreateChartWindow(chart));

    CChartDateTimeAxis* pBottom = chart.NewDateTimeAxis();
    EXPECT_EQ(chart.GetAxis(SlotBottom), pBottom);
    EXPECT_TRUE(pBottom->m_bHorizontal);
    EXPECT_EQ(pBottom->m_pOwner, &chart);
    EXPECT_EQ(pBottom->m_pGrid->m_pOwner, &chart);
    EXPECT_TRUE(pBottom->m_pGrid->m_bHorizontal);
    EXPECT_EQ(pBottom->m_pCaption->m_pOwner, &chart);
    EXPECT_TRUE(pBottom->m_pCaption->m_bHorizontal);
    EXPECT_FALSE(pBottom->m_pCaption->m_Font.m_bVertical);
    ASSERT_NE(pBottom->m_pAxisScrollBar, nullptr);
    EXPECT_NE(pBottom->m_pAxisScrollBar->GetSafeHwnd(), nullptr);

    bool bOldDestroyed = false;
    auto* pOld = new CWatchedAxis(&bOldDestroyed);
    chart.InstallAxis(pOld, SlotLeft);
    EXPECT_FALSE(pOld->m_bHorizontal);
    EXPECT_FALSE(pOld->m_pGrid->m_bHorizontal);
    EXPECT_FALSE(pOld->m_pCaption->m_bHorizontal);
    EXPECT_TRUE(pOld->m_pCaption->m_Font.m_bVertical);
    EXPECT_TRUE(pOld->m_pCaption->m_Font.m_bDirty);

    CChartStandardAxis* pNew = chart.NewStandardAxis();
    EXPECT_TRUE(bOldDestroyed);
    EXPECT_EQ(chart.GetAxis(SlotLeft), pNew);
    EXPECT_FALSE(pNew->m_bHorizontal);
    EXPECT_EQ(chart.GetAxis(SlotRight), nullptr);
    EXPECT_EQ(chart.GetAxis(7), nullptr);
}

TEST(ChartCtrl, AttachingASerieRegistersAndReRangesBothAxes)
{
    CCountingChart chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    AddReplayAxes(chart);
    chart.RefreshChart();

    CAxisTestSerie* pSerie = NewSerie(chart);
    pSerie->WithRange(36500, 36525, 10.5, 12.25);
    const int nBefore = chart.m_nRedraws;
    chart.AttachSerie(pSerie);

    CChartAxis* pLeft = chart.GetAxis(SlotLeft);
    CChartAxis* pBottom = chart.GetAxis(SlotBottom);
    EXPECT_EQ(pSerie->m_pYAxis, pLeft);
    EXPECT_EQ(pSerie->m_pXAxis, pBottom);
    EXPECT_EQ(pLeft->RegisteredSerieCount(), 1u);
    EXPECT_EQ(pBottom->RegisteredSerieCount(), 1u);
    EXPECT_EQ(pBottom->m_dMin, 36500);
    EXPECT_EQ(pBottom->m_dMax, 36525);
    EXPECT_EQ(pLeft->m_dMin, 10.5);
    EXPECT_EQ(pLeft->m_dMax, 12.25);
    // One redraw before the series counts, one for both re-rangings together.
    EXPECT_EQ(chart.m_nRedraws, nBefore + 2);
    EXPECT_EQ(chart.m_nRefreshLevel, 1);

    chart.DeleteAllSeries();
    EXPECT_EQ(pLeft->RegisteredSerieCount(), 0u);
    EXPECT_EQ(pBottom->RegisteredSerieCount(), 0u);
}

TEST(ChartCtrl, SeriesAreWalkedAndPaintedInAscendingIdOrder)
{
    CChartCtrl chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    AddReplayAxes(chart);
    std::vector<CAxisTestSerie*> series;
    for (int i = 0; i < 3; ++i)
    {
        series.push_back(NewSerie(chart));
        series.back()->WithRange(i, i + 10, i, i + 5);
        chart.AttachSerie(series.back());
    }

    chart.RewindSeries();
    for (CAxisTestSerie* pSerie : series)
        EXPECT_EQ(chart.NextSerie(), pSerie);
    EXPECT_EQ(chart.NextSerie(), nullptr);

    chart.RefreshChart();
    const RECT rcPlot = chart.GetPlotRect();
    for (std::size_t i = 0; i < series.size(); ++i)
    {
        EXPECT_GT(series[i]->m_nLabelDraws, 0);
        EXPECT_EQ(series[i]->m_rcClip.right, rcPlot.right + 1);
        EXPECT_EQ(series[i]->m_rcClip.bottom, rcPlot.bottom + 1);
        EXPECT_EQ(series[i]->m_rcClip.left, rcPlot.left);
        EXPECT_EQ(series[i]->m_rcClip.top, rcPlot.top);
        if (i > 0)
        {
            EXPECT_GT(series[i]->m_nDrawOrder, series[i - 1]->m_nDrawOrder);
        }
    }
}

TEST(ChartCtrl, RestoringAndResyncingPutAxesBackOnTheirData)
{
    CCountingChart chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    AddReplayAxes(chart);
    CAxisTestSerie* pSerie = NewSerie(chart);
    pSerie->WithRange(0, 100, 0, 50).WithVisibleRange(10, 20, 5, 8);
    chart.AttachSerie(pSerie);
    CChartAxis* pBottom = chart.GetAxis(SlotBottom);
    CChartAxis* pLeft = chart.GetAxis(SlotLeft);

    pBottom->SetZoomRange(30, 40);
    pLeft->SetZoomRange(1, 2);
    const int nBefore = chart.m_nRedraws;
    chart.RestoreAxisRanges();
    EXPECT_EQ(pBottom->m_dMin, 0);
    EXPECT_EQ(pBottom->m_dMax, 100);
    EXPECT_EQ(pLeft->m_dMin, 0);
    EXPECT_EQ(pLeft->m_dMax, 50);
    EXPECT_EQ(chart.m_nRedraws, nBefore + 1);

    // Only axes fitted to the visible points follow a resync.
    pLeft->m_eRangeMode = VisiblePoints;
    pBottom->SetZoomRange(30, 40);
    chart.ResyncAxes();
    EXPECT_EQ(pLeft->m_dMin, 5);
    EXPECT_EQ(pLeft->m_dMax, 8);
    EXPECT_EQ(pBottom->m_dMin, 30);
}

TEST(ChartCtrl, SeriesCoverTheFrameAndTheLegendCoversTheSeries)
{
    CChartCtrl chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    AddReplayAxes(chart);
    CAxisTestSerie* pSerie = NewSerie(chart);
    pSerie->WithRange(0, 10, 0, 10);
    pSerie->m_bFillsClip = true;
    pSerie->m_strName = "bars";
    chart.AttachSerie(pSerie);
    CChartLegend* pLegend = chart.GetLegend();
    pLegend->m_bVisible = true;
    pLegend->m_bDocked = false;
    pLegend->m_nLeft = 150;
    pLegend->m_nTop = 100;
    chart.RefreshChart();

    const RECT rcPlot = chart.GetPlotRect();
    CDC* pBuffer = chart.GetBufferDC();
    const COLORREF crSerie = pSerie->m_crColor;
    // The series paints up to and over the frame's right and bottom lines, not beyond.
    EXPECT_EQ(pBuffer->GetPixel(rcPlot.right, rcPlot.top + 5), crSerie);
    EXPECT_EQ(pBuffer->GetPixel(rcPlot.left + 5, rcPlot.bottom), crSerie);
    EXPECT_EQ(pBuffer->GetPixel(rcPlot.left + 5, rcPlot.top), crSerie);
    EXPECT_NE(pBuffer->GetPixel(rcPlot.right + 1, rcPlot.top + 5), crSerie);
    EXPECT_NE(pBuffer->GetPixel(rcPlot.left + 5, rcPlot.bottom + 1), crSerie);
    // The floating legend is drawn last, over the series.
    const RECT rcLegend = pLegend->m_rcLegend;
    ASSERT_LT(rcLegend.left, rcLegend.right);
    EXPECT_EQ(pBuffer->GetPixel(rcLegend.left + 1, rcLegend.top + 1), RGB(255, 255, 255));
}

TEST(ChartCtrl, BackgroundIsButtonFaceInsideARaisedEdge)
{
    CChartCtrl chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    chart.RefreshChart();
    CDC* pBuffer = chart.GetBufferDC();
    ASSERT_NE(pBuffer->GetSafeHdc(), nullptr);

    // The classic raised edge: an outer ring light at the top and left, dark at the bottom and
    // right, and an inner ring white and grey the same way round; the bottom and right sides
    // take the corners they share with the others.
    constexpr COLORREF kLight = RGB(227, 227, 227);
    constexpr COLORREF kDark = RGB(105, 105, 105);
    constexpr COLORREF kWhite = RGB(255, 255, 255);
    constexpr COLORREF kGrey = RGB(160, 160, 160);
    constexpr COLORREF kFace = RGB(240, 240, 240);
    constexpr int R = kWidth - 1;
    constexpr int B = kHeight - 1;
    struct SPixel
    {
        int x, y;
        COLORREF cr;
    };
    const SPixel expected[] = {
        {0, 0, kLight},     {200, 0, kLight},    {R - 1, 0, kLight},  {R, 0, kDark},
        {0, 150, kLight},   {0, B - 1, kLight},  {0, B, kDark},       {200, B, kDark},
        {R, 150, kDark},    {R, B, kDark},       {1, 1, kWhite},      {200, 1, kWhite},
        {R - 2, 1, kWhite}, {R - 1, 1, kGrey},   {1, 150, kWhite},    {1, B - 2, kWhite},
        {1, B - 1, kGrey},  {200, B - 1, kGrey}, {R - 1, 150, kGrey}, {R - 1, B - 1, kGrey},
        {2, 2, kFace},      {200, 20, kFace},    {R - 2, 2, kFace},   {2, B - 2, kFace},
    };
    for (const SPixel& px : expected)
        EXPECT_EQ(pBuffer->GetPixel(px.x, px.y), px.cr) << px.x << "," << px.y;
}

TEST(ChartCtrl, AxesTakeTheirBandsAndThePlotFrameIncludesItsEdges)
{
    CChartCtrl chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    AddReplayAxes(chart);
    CAxisTestSerie* pSerie = NewSerie(chart);
    pSerie->WithRange(36500, 36525, 10.2, 11.0);
    chart.AttachSerie(pSerie);
    chart.RefreshChart();

    const RECT rcPlot = chart.GetPlotRect();
    CChartAxis* pLeft = chart.GetAxis(SlotLeft);
    CChartAxis* pBottom = chart.GetAxis(SlotBottom);
    // The content area is the client area less three pixels on every side.
    EXPECT_EQ(rcPlot.left, 3 + pLeft->m_nBandThickness);
    EXPECT_EQ(rcPlot.bottom, kHeight - 3 - pBottom->m_nBandThickness);
    EXPECT_GT(pLeft->m_nBandThickness, 10);
    EXPECT_GT(pBottom->m_nBandThickness, 6);
    EXPECT_EQ(pBottom->m_nStartPixel, rcPlot.left);
    EXPECT_EQ(pBottom->m_nEndPixel, rcPlot.right);
    EXPECT_EQ(pLeft->m_nStartPixel, rcPlot.bottom);
    EXPECT_EQ(pLeft->m_nEndPixel, rcPlot.top);

    CDC* pBuffer = chart.GetBufferDC();
    const int nMidX = (rcPlot.left + rcPlot.right) / 2;
    const int nMidY = (rcPlot.top + rcPlot.bottom) / 2;
    EXPECT_EQ(pBuffer->GetPixel(rcPlot.right, nMidY), RGB(0, 0, 0));
    EXPECT_EQ(pBuffer->GetPixel(nMidX, rcPlot.bottom), RGB(0, 0, 0));
    EXPECT_EQ(pBuffer->GetPixel(rcPlot.left, rcPlot.top), RGB(0, 0, 0));
    EXPECT_EQ(pBuffer->GetPixel(rcPlot.right, rcPlot.bottom), RGB(0, 0, 0));
    EXPECT_EQ(pBuffer->GetPixel(rcPlot.right + 1, nMidY), GetSysColor(COLOR_BTNFACE));

    // Labels are measured again in a bigger tick font: the bands grow.
    const int nLeftBand = pLeft->m_nBandThickness;
    const int nBottomBand = pBottom->m_nBandThickness;
    pLeft->m_nTickFontSize = 160;
    pBottom->m_nTickFontSize = 160;
    chart.RefreshChart();
    EXPECT_GT(pLeft->m_nBandThickness, nLeftBand);
    EXPECT_GT(pBottom->m_nBandThickness, nBottomBand);
    EXPECT_EQ(chart.GetPlotRect().left, 3 + pLeft->m_nBandThickness);
}

TEST(ChartCtrl, ResizingRebuildsTheBufferAtTheNewSize)
{
    CCountingChart chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    chart.ShowWindow(SW_SHOW);
    CPlatformApp::ProcessEvents();
    chart.RefreshChart();
    const int nBefore = chart.m_nRedraws;
    chart.MoveWindow(0, 0, 520, 330, TRUE);
    CPlatformApp::ProcessEvents();

    RECT rcClient = {0, 0, 0, 0};
    chart.GetClientRect(&rcClient);
    ASSERT_EQ(rcClient.right, 520);
    ASSERT_EQ(rcClient.bottom, 330);
    EXPECT_GT(chart.m_nRedraws, nBefore);
    CBitmap* pBitmap = chart.GetBufferDC()->GetCurrentBitmap();
    ASSERT_NE(pBitmap, nullptr);
    BITMAP info = {};
    pBitmap->GetBitmap(&info);
    EXPECT_EQ(info.bmWidth, 520);
    EXPECT_EQ(info.bmHeight, 330);
    // Without axes the plot is the content area: the client area less three pixels a side.
    EXPECT_EQ(chart.GetPlotRect().right, 520 - 3);
    EXPECT_EQ(chart.GetPlotRect().bottom, 330 - 3);
}

TEST(ChartCtrl, FirstPaintPrimesTheBuffer)
{
    CCountingChart chart;
    ASSERT_TRUE(CreateChartWindow(chart));
    EXPECT_FALSE(chart.m_bBufferPrimed);
    chart.ShowWindow(SW_SHOW);
    chart.Invalidate(FALSE);
    chart.UpdateWindow();
    CPlatformApp::ProcessEvents();
    EXPECT_TRUE(chart.m_bBufferPrimed);
    EXPECT_GE(chart.m_nRedraws, 1);
}

TEST(ChartGradient, MirroredStylesLeaveTheOddPixelUnfilled)
{
    EnsureChartTestApp();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, 101, 101);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    const COLORREF crMarker = RGB(1, 2, 3);
    const COLORREF crFrom = RGB(0, 0, 0);
    const COLORREF crTo = RGB(200, 100, 0);
    const RECT rc = {0, 0, 101, 101};

    dc.FillSolidRect(&rc, crMarker);
    EXPECT_TRUE(FillGradient(&dc, rc, crFrom, crTo, GradientAcrossMirrored));
    EXPECT_EQ(dc.GetPixel(0, 50), crFrom);
    EXPECT_EQ(dc.GetPixel(100, 50), crMarker);
    EXPECT_NE(dc.GetPixel(99, 50), crMarker);
    // The two halves mirror each other around column 50.
    EXPECT_EQ(dc.GetPixel(10, 30), dc.GetPixel(90, 30));
    EXPECT_GT(GetRValue(dc.GetPixel(49, 0)), GetRValue(dc.GetPixel(10, 0)));

    dc.FillSolidRect(&rc, crMarker);
    EXPECT_TRUE(FillGradient(&dc, rc, crFrom, crTo, 7)); // any other style: down, mirrored
    EXPECT_EQ(dc.GetPixel(50, 0), crFrom);
    EXPECT_EQ(dc.GetPixel(50, 100), crMarker);
    EXPECT_EQ(dc.GetPixel(30, 10), dc.GetPixel(30, 90));

    dc.FillSolidRect(&rc, crMarker);
    EXPECT_TRUE(FillGradient(&dc, rc, crFrom, crTo, GradientDown));
    EXPECT_EQ(dc.GetPixel(50, 0), crFrom);
    EXPECT_EQ(dc.GetPixel(0, 70), dc.GetPixel(100, 70));
    EXPECT_GT(GetRValue(dc.GetPixel(50, 100)), GetRValue(dc.GetPixel(50, 50)));

    dc.FillSolidRect(&rc, crMarker);
    EXPECT_TRUE(FillGradient(&dc, rc, crFrom, crTo, GradientAcross));
    EXPECT_EQ(dc.GetPixel(0, 50), crFrom);
    EXPECT_EQ(dc.GetPixel(70, 0), dc.GetPixel(70, 100));
    dc.SelectObject(pOld);
}
