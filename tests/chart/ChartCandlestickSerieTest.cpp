#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartMouseEvent.h"
#include "chart/ChartSerieMouseHandler.h"
#include "chart/ChartStandardAxis.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"

#include "tests/chart/CandleCanvas.h"
#include "tests/chart/ChartTestApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(150, 150, 150);

constexpr auto Bar = CandleBar;

// A back buffer of W x 200 pixels and axes on which a value is its own pixel: x = date,
// y = 200 - price.
class CandleTest : public CCandleCanvas
{
protected:
    void SetUp() override { Prepare(200); }

    void Prepare(int nWidth)
    {
        CCandleCanvas::Prepare(nWidth, 200, {0, 0, nWidth, 200});
        m_xAxis.SetRange(0, nWidth, ERangeChange::Reset);
        m_yAxis.SetRange(0, 200, ERangeChange::Reset);
        m_pSerie->m_crColor = kRed;
    }

    void Add(const SChartCandlestickPoint& bar) { m_pSerie->AddPoints(&bar, 1); }

    int Count(COLORREF cr) const
    {
        int n = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < m_nWidth; ++x)
                n += At(x, y) == cr;
        return n;
    }
};

TEST_F(CandleTest, RisingCandleHasAWhiteBodyWicksAndAShadow)
{
    Add(Bar(100, 50, 100, 40, 80)); // open y 150, close y 120, high y 100, low y 160
    m_pSerie->DrawVisiblePoints(&m_dc);
    // Body columns 97..103, rows 120..150: outline in the series colour, white inside.
    EXPECT_EQ(At(97, 135), kRed);
    EXPECT_EQ(At(103, 135), kRed);
    EXPECT_EQ(At(100, 120), kRed);
    EXPECT_EQ(At(100, 150), kRed);
    EXPECT_EQ(At(100, 135), kWhite);
    EXPECT_EQ(At(96, 135), kBackground);
    // Wicks stop one pixel short of high and low: lines leave their end pixel unset.
    EXPECT_EQ(At(100, 101), kRed);
    EXPECT_EQ(At(100, 100), kBackground);
    EXPECT_EQ(At(100, 159), kRed);
    EXPECT_EQ(At(100, 160), kBackground);
    // The shadow lies 2 px right and down: its right columns and bottom rows show.
    EXPECT_EQ(At(104, 140), kShadow);
    EXPECT_EQ(At(105, 140), kShadow);
    EXPECT_EQ(At(106, 140), kBackground);
    EXPECT_EQ(At(99, 152), kShadow);
    EXPECT_EQ(At(105, 152), kShadow);
    EXPECT_EQ(At(105, 153), kBackground);
    EXPECT_EQ(At(102, 110), kShadow) << "the shadow wick, shifted right";
    EXPECT_EQ(At(102, 161), kShadow);
}

TEST_F(CandleTest, FallingCandleIsFilledAndDojiIsOneLine)
{
    Add(Bar(50, 80, 100, 40, 50)); // falling: open above close
    Add(Bar(150, 60, 70, 50, 60)); // unchanged: open = close at y 140
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(At(50, 135), kRed);
    EXPECT_EQ(At(48, 121), kRed);
    EXPECT_EQ(At(52, 149), kRed);

    for (int x = 147; x <= 153; ++x)
        EXPECT_EQ(At(x, 140), kRed) << x;
    EXPECT_EQ(At(148, 139), kBackground);
    EXPECT_EQ(At(148, 141), kBackground);
}

TEST_F(CandleTest, WithoutShadowNothingIsDrawnInTheShadowColour)
{
    m_pSerie->m_bDrawShadow = false;
    Add(Bar(100, 50, 100, 40, 80));
    Add(Bar(60, 80, 100, 40, 50));
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(Count(kShadow), 0);
    EXPECT_GT(Count(kRed), 0);
}

TEST_F(CandleTest, DrawingIsClippedToTheClipRectangle)
{
    m_pSerie->m_rcClip = {0, 50, 200, 200};
    Add(Bar(100, 50, 190, 40, 80)); // high at y 10, above the clip
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(At(100, 30), kBackground);
    EXPECT_EQ(At(100, 49), kBackground);
    EXPECT_EQ(At(100, 50), kRed);
    // No clip is left behind, and a clip the caller had set stays.
    m_dc.FillSolidRect(0, 0, 10, 10, kRed);
    EXPECT_EQ(At(5, 5), kRed);
    m_dc.IntersectClipRect(0, 0, 150, 200);
    m_pSerie->DrawVisiblePoints(&m_dc);
    m_pSerie->DrawNewPoints(&m_dc);
    m_dc.FillSolidRect(140, 0, 20, 10, kRed);
    m_dc.SelectClipRgn(nullptr);
    EXPECT_EQ(At(145, 5), kRed);
    EXPECT_EQ(At(155, 5), kBackground);
}

TEST_F(CandleTest, NewPointsAreDrawnFromWhereTheFullDrawStopped)
{
    TearDown();
    Prepare(1700);
    // Dates 0, 10, ..., 190 on a 600 px axis showing 25..85: x = 10 * (date - 25).
    m_xAxis.m_nEndPixel = 600;
    m_xAxis.SetRange(25, 85, ERangeChange::Reset);
    std::vector<SChartCandlestickPoint> bars;
    for (int i = 0; i < 20; ++i)
        bars.push_back(Bar(10 * i, 50, 60, 40, 55));
    m_pSerie->m_Points.AddPoints(bars.data(), 20);
    unsigned nFirst = 0;
    unsigned nLast = 0;
    ASSERT_TRUE(m_pSerie->FindVisibleRange(&nFirst, &nLast));
    EXPECT_EQ(nFirst, 2u) << "the last point before the range, clipped away";
    EXPECT_EQ(nLast, 9u);

    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(m_pSerie->m_nNextToDraw, nLast + 1);
    EXPECT_EQ(At(10 * (80 - 25), 150), kRed);
    EXPECT_EQ(At(10 * (90 - 25), 150), kRed);
    EXPECT_EQ(At(10 * (100 - 25), 150), kBackground);

    m_pSerie->DrawNewPoints(&m_dc);
    EXPECT_EQ(m_pSerie->m_nNextToDraw, 20u);
    for (int nDate = 100; nDate <= 190; nDate += 10)
        EXPECT_EQ(At(10 * (nDate - 25), 150), kRed) << nDate;

    // Nothing new: nothing drawn, nothing moved.
    m_dc.FillSolidRect(0, 0, 1700, 200, kBackground);
    m_pSerie->DrawNewPoints(&m_dc);
    EXPECT_EQ(Count(kRed), 0);
}

TEST_F(CandleTest, NothingHappensWithoutADeviceContextOrWhenHidden)
{
    Add(Bar(100, 50, 100, 40, 80));
    CDC noOutput;
    m_pSerie->DrawNewPoints(nullptr);
    m_pSerie->DrawNewPoints(&noOutput);
    m_pSerie->DrawVisiblePoints(&noOutput);
    EXPECT_EQ(m_pSerie->m_nNextToDraw, 0u);
    m_pSerie->m_bVisible = false;
    m_pSerie->DrawNewPoints(&m_dc);
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(m_pSerie->m_nNextToDraw, 0u);
    EXPECT_EQ(Count(kRed), 0);
}

TEST_F(CandleTest, HitTestCoversTheWholeCandleAtBodyWidth)
{
    Add(Bar(100, 50, 100, 40, 80));
    unsigned nIndex = 5;
    struct SCase
    {
        int x, y;
        bool bHit;
    };
    const SCase cases[] = {
        {100, 135, true}, {97, 135, true},   {103, 135, true}, {104, 135, false},
        {96, 135, false}, {100, 100, true},  {101, 105, true}, {100, 99, false},
        {100, 160, true}, {100, 161, false}, {103, 100, true},
    };
    for (const SCase& c : cases)
    {
        const POINT pt = {c.x, c.y};
        nIndex = 5;
        EXPECT_EQ(m_pSerie->HitTest(&pt, &nIndex), c.bHit) << c.x << "," << c.y;
        EXPECT_EQ(nIndex, c.bHit ? 0u : 5u) << "a miss leaves the index alone";
    }

    m_pSerie->m_bVisible = false;
    const POINT pt = {100, 135};
    nIndex = 5;
    EXPECT_FALSE(m_pSerie->HitTest(&pt, &nIndex));
    EXPECT_EQ(nIndex, 5u);
}

TEST_F(CandleTest, HitTestPrefersTheLowerIndexAndLooksOneBeforeTheRange)
{
    Add(Bar(20, 50, 100, 40, 80));
    Add(Bar(21, 50, 100, 40, 80));
    Add(Bar(120, 50, 100, 40, 80));
    unsigned nIndex = 0;
    POINT pt = {22, 130};
    ASSERT_TRUE(m_pSerie->HitTest(&pt, &nIndex));
    EXPECT_EQ(nIndex, 0u);

    // The range starts between the first two dates, so the search starts at the second; the
    // first candle still reaches into the plot.
    m_xAxis.SetRange(20.5, 220.5, ERangeChange::Reset);
    pt = {-4, 130}; // date 20 lands on x -1: columns -4..2
    ASSERT_TRUE(m_pSerie->HitTest(&pt, &nIndex));
    EXPECT_EQ(nIndex, 0u);
}

class CRecordingHandler : public ChartSerieMouseHandler
{
public:
    void OnPointEvent(int nEvent, int x, int y, CChartSerie* pSerie, unsigned nIndex) override
    {
        m_nCalls++;
        m_nEvent = nEvent;
        m_pt = {x, y};
        m_pSerie = pSerie;
        m_nIndex = nIndex;
    }
    int m_nCalls = 0;
    int m_nEvent = -1;
    POINT m_pt = {0, 0};
    CChartSerie* m_pSerie = nullptr;
    unsigned m_nIndex = 0;
};

TEST_F(CandleTest, MouseEventsReachTheHandlerOnlyOnAPointAndWhenSwitchedOn)
{
    Add(Bar(40, 50, 100, 40, 80));
    Add(Bar(100, 50, 100, 40, 80));
    const POINT onSecond = {101, 130};
    const POINT between = {70, 130};
    EXPECT_FALSE(m_pSerie->HandleMouseEvent(LeftPress, &onSecond)) << "no handler installed";

    CRecordingHandler handler;
    m_pSerie->SetMouseHandler(&handler);
    EXPECT_TRUE(m_pSerie->HandleMouseEvent(LeftPress, &onSecond));
    EXPECT_EQ(handler.m_nCalls, 1);
    EXPECT_EQ(handler.m_nEvent, LeftPress);
    EXPECT_EQ(handler.m_pt.x, 101);
    EXPECT_EQ(handler.m_pSerie, m_pSerie.get());
    EXPECT_EQ(handler.m_nIndex, 1u);

    EXPECT_FALSE(m_pSerie->HandleMouseEvent(LeftPress, &between));
    EXPECT_FALSE(m_pSerie->HandleMouseEvent(PointerMove, &onSecond)) << "moves are off by default";
    m_pSerie->SetMouseEvents(false, true);
    EXPECT_TRUE(m_pSerie->HandleMouseEvent(PointerMove, &onSecond));
    EXPECT_FALSE(m_pSerie->HandleMouseEvent(RightRelease, &onSecond));
    EXPECT_EQ(handler.m_nCalls, 2);
}

TEST_F(CandleTest, LegendSymbolIsAFilledCandleWiderThanOnTheChart)
{
    const RECT rc = {10, 10, 26, 26};
    m_pSerie->DrawLegendSymbol(&m_dc, &rc);
    EXPECT_EQ(Count(kRed), 0) << "a series without a name has no symbol";

    m_pSerie->m_strName = "Bars";
    m_pSerie->DrawLegendSymbol(&m_dc, &rc);
    // m = (16 - 7) / 2 = 4: the body spans columns 14..22 and rows 14..22, filled.
    EXPECT_EQ(At(14, 18), kRed);
    EXPECT_EQ(At(22, 18), kRed);
    EXPECT_EQ(At(18, 18), kRed);
    EXPECT_EQ(At(13, 18), kBackground);
    EXPECT_EQ(At(23, 18), kBackground);
    // Wicks at x = 18 towards the top and bottom edges.
    EXPECT_EQ(At(18, 11), kRed);
    EXPECT_EQ(At(18, 10), kBackground);
    EXPECT_EQ(At(18, 25), kRed);
    EXPECT_EQ(At(17, 11), kBackground);
    EXPECT_EQ(Count(kShadow), 0);
}

} // namespace

namespace
{

TEST(CandlestickSerieInAChart, AddedPointsReRangeTheAxesAndReachTheBackBuffer)
{
    EnsureChartTestApp();
    CChartCtrl chart;
    ASSERT_TRUE(chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 400, 300}, nullptr, 0));
    CChartDateTimeAxis* pDates = chart.NewDateTimeAxis();
    pDates->SetRangeMode(AllPoints);
    CChartStandardAxis* pPrices = chart.NewStandardAxis();
    pPrices->SetRangeMode(AllPoints);
    auto* pSerie = new CChartCandlestickSerie(&chart);
    chart.AttachSerie(pSerie);
    EXPECT_EQ(pSerie->m_crColor, kRed) << "the first series gets colour 0";

    std::vector<SChartCandlestickPoint> bars;
    for (int i = 0; i < 26; ++i)
        bars.push_back(Bar(42740 + i, 10 + i % 3, 13 + i % 4, 9 - i % 2, 11 + i % 3));
    pSerie->AddPoints(bars.data(), unsigned(bars.size()));
    EXPECT_EQ(pSerie->m_nNextToDraw, 26u);
    EXPECT_EQ(pDates->m_dMin, 42740.0);
    EXPECT_EQ(pDates->m_dMax, 42765.0);
    EXPECT_EQ(pPrices->m_dMin, 8.0);
    EXPECT_EQ(pPrices->m_dMax, 16.0);

    // Every candle has its colour in its own column of the plot.
    CDC* pBuffer = chart.GetBufferDC();
    for (unsigned i = 0; i < 26; ++i)
    {
        const POINT pt = pSerie->PointToScreen(i);
        int nRed = 0;
        for (int y = chart.m_rcPlot.top; y <= chart.m_rcPlot.bottom; ++y)
            nRed += pBuffer->GetPixel(pt.x, y) == kRed;
        EXPECT_GT(nRed, 3) << "candle " << i;
    }
}

} // namespace
