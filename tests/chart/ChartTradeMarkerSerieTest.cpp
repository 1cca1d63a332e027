#include "chart/ChartTradeMarkerSerie.h"
#include "ChartTextRecordingDC.h"
#include "PixelAxesCanvas.h"

#include <vector>

namespace
{

class TradeMarkers : public CPixelAxesCanvas
{
protected:
    void SetUp() override
    {
        CPixelAxesCanvas::SetUp();
        Bind(m_serie);
        // Bars at x 50 (low 60, high 120) and x 150 (low 100, high 180).
        const std::vector<SChartCandlestickPoint> vecBars = {{50, 60, 120, 70, 110},
                                                             {150, 100, 180, 170, 110}};
        m_serie.SetBars(vecBars.data(), unsigned(vecBars.size()));
    }

    void Mark(const std::vector<SChartTradeMarker>& vecMarkers)
    {
        m_serie.SetMarkers(vecMarkers.data(), unsigned(vecMarkers.size()));
    }

    CChartTradeMarkerSerie m_serie{nullptr};
};

} // namespace

TEST_F(TradeMarkers, ColoursDifferFromTheCandles)
{
    // The candles' default colour, hollow body and shadow.
    for (const COLORREF cr : {RGB(255, 0, 0), RGB(255, 255, 255), RGB(150, 150, 150)})
    {
        EXPECT_NE(m_serie.m_crBuy, cr);
        EXPECT_NE(m_serie.m_crSell, cr);
        EXPECT_NE(m_serie.m_crAverage, cr);
    }
    EXPECT_NE(m_serie.m_crBuy, m_serie.m_crSell);
}

TEST_F(TradeMarkers, BuysPointUpUnderTheLowAndSellsPointDownOverTheHigh)
{
    Mark({{150, 110, false}, {50, 70, true}});
    m_serie.DrawVisiblePoints(&m_dc);
    const COLORREF crBuy = m_serie.m_crBuy;
    const COLORREF crSell = m_serie.m_crSell;
    // Low 60 is row 140: the tip 3 rows below, five rows widening to nine pixels.
    EXPECT_EQ(At(50, 142), kBackground);
    EXPECT_EQ(At(50, 143), crBuy);
    EXPECT_EQ(At(49, 143), kBackground);
    EXPECT_EQ(At(46, 147), crBuy);
    EXPECT_EQ(At(54, 147), crBuy);
    EXPECT_EQ(At(45, 147), kBackground);
    EXPECT_EQ(At(55, 147), kBackground);
    EXPECT_EQ(At(50, 148), kBackground);
    EXPECT_EQ(Count(crBuy), 1 + 3 + 5 + 7 + 9);
    // High 180 is row 20: tip at row 17, base at row 13.
    EXPECT_EQ(At(150, 17), crSell);
    EXPECT_EQ(At(150, 18), kBackground);
    EXPECT_EQ(At(146, 13), crSell);
    EXPECT_EQ(At(150, 12), kBackground);
    EXPECT_EQ(Count(crSell), 25);

    // Markers are the series' points, sorted by date; the tip is their screen position.
    EXPECT_EQ(m_serie.PointCount(), 2u);
    EXPECT_EQ(m_serie.PointToScreen(0).y, 143);
}

TEST_F(TradeMarkers, TradesOnOneBarStackAndAMissingBarUsesThePrice)
{
    Mark({{50, 70, true}, {50, 90, false}, {50, 80, true}, {100, 40, true}});
    m_serie.DrawVisiblePoints(&m_dc);
    EXPECT_EQ(At(50, 143), m_serie.m_crBuy);
    EXPECT_EQ(At(50, 150), m_serie.m_crBuy) << "the second buy sits one triangle lower";
    EXPECT_EQ(At(50, 149), kBackground);
    EXPECT_EQ(At(50, 77), m_serie.m_crSell) << "the sell on that bar is not pushed away";
    // No bar at 100: the tip sits 3 rows below the price 40 (row 160).
    EXPECT_EQ(At(100, 163), m_serie.m_crBuy);
    EXPECT_EQ(At(100, 162), kBackground);
}

TEST_F(TradeMarkers, MarkersFollowTheAxesAndAreClipped)
{
    Mark({{50, 70, true}, {150, 110, false}});
    // Zoomed to dates 25 to 125 over the 200 pixels: the buy moves to x 50, the sell leaves.
    m_xAxis.SetRange(25, 125, ERangeChange::Reset);
    m_serie.DrawVisiblePoints(&m_dc);
    EXPECT_EQ(At(50, 143), m_serie.m_crBuy);
    EXPECT_EQ(At(46, 147), m_serie.m_crBuy);
    EXPECT_EQ(At(45, 147), kBackground) << "the triangle keeps its size";
    EXPECT_EQ(Count(m_serie.m_crSell), 0);

    // Only the rows inside the clip rectangle are drawn.
    Clear();
    m_xAxis.SetRange(0, 200, ERangeChange::Reset);
    m_serie.m_rcClip = {0, 0, 200, 145};
    m_serie.DrawVisiblePoints(&m_dc);
    EXPECT_EQ(Count(m_serie.m_crBuy), 1 + 3);
    EXPECT_EQ(At(150, 17), m_serie.m_crSell);
}

TEST_F(TradeMarkers, HitTestFindsTheTriangle)
{
    Mark({{50, 70, true}, {150, 110, false}});
    unsigned nIndex = 0;
    POINT pt = {54, 147};
    EXPECT_TRUE(m_serie.HitTest(&pt, &nIndex));
    EXPECT_EQ(nIndex, 0u);
    pt = {150, 14};
    EXPECT_TRUE(m_serie.HitTest(&pt, &nIndex));
    EXPECT_EQ(nIndex, 1u);
    pt = {55, 147};
    EXPECT_FALSE(m_serie.HitTest(&pt, &nIndex));
    EXPECT_EQ(nIndex, 0xFFFFFFFFu);
}

TEST_F(TradeMarkers, MarkersNeverWidenTheAxes)
{
    Mark({{50, 70, true}});
    double dMin = -1;
    double dMax = -1;
    EXPECT_FALSE(m_serie.GetXRange(&dMin, &dMax));
    EXPECT_FALSE(m_serie.GetYRange(&dMin, &dMax));
    EXPECT_FALSE(m_serie.GetVisibleXRange(&dMin, &dMax));
    EXPECT_FALSE(m_serie.GetVisibleYRange(&dMin, &dMax));
    EXPECT_EQ(dMin, -1);
}

TEST(TradeMarkerAverage, ADashedLineSpansThePlotWithItsPriceAtTheRight)
{
    EnsureChartTestApp();
    CTextRecordingDC dc;
    constexpr COLORREF kBackground = RGB(240, 240, 240);
    ASSERT_TRUE(dc.Open(200, 200, kBackground));
    CChartStandardAxis xAxis;
    CChartStandardAxis yAxis;
    xAxis.m_nEndPixel = 200;
    xAxis.SetRange(xAxis.m_dMin, 200, ERangeChange::Reset);
    yAxis.m_bHorizontal = false;
    yAxis.m_nStartPixel = 200;
    yAxis.SetRange(yAxis.m_dMin, 200, ERangeChange::Reset);
    CChartTradeMarkerSerie serie(nullptr);
    serie.m_pXAxis = &xAxis;
    serie.m_pYAxis = &yAxis;
    serie.m_rcClip = {10, 10, 190, 190};
    serie.SetAveragePrice(100.125);
    serie.SetPriceDecimals(3);
    serie.DrawVisiblePoints(&dc);

    const COLORREF cr = serie.m_crAverage;
    // Dashes of five pixels, three apart, from the left edge to the right one, at row 100.
    for (int x = 10; x <= 14; ++x)
        EXPECT_EQ(dc.GetPixel(x, 100), cr) << x;
    for (int x = 15; x <= 17; ++x)
        EXPECT_EQ(dc.GetPixel(x, 100), kBackground) << x;
    EXPECT_EQ(dc.GetPixel(18, 100), cr);
    EXPECT_EQ(dc.GetPixel(186, 100), cr);
    EXPECT_EQ(dc.GetPixel(189, 100), cr) << "the last dash is cut at the right edge";
    EXPECT_EQ(dc.GetPixel(190, 100), kBackground);
    EXPECT_EQ(dc.GetPixel(100, 99), kBackground);

    ASSERT_EQ(dc.m_texts.size(), 1u);
    EXPECT_EQ(dc.m_texts[0].str, "100.125");
    const CSize size = dc.Measure("Microsoft Sans Serif", 80, "100.125");
    EXPECT_EQ(dc.m_texts[0].x + size.cx, 187) << "right-aligned inside the plot";
    EXPECT_EQ(dc.m_texts[0].y + size.cy, 99) << "just above the line";

    // Off the axis, nothing; cleared, nothing.
    dc.FillSolidRect(0, 0, 200, 200, kBackground);
    dc.m_texts.clear();
    serie.SetAveragePrice(500);
    serie.DrawVisiblePoints(&dc);
    serie.SetAveragePrice(100);
    serie.ClearAveragePrice();
    serie.DrawVisiblePoints(&dc);
    EXPECT_TRUE(dc.m_texts.empty());
    EXPECT_EQ(dc.GetPixel(12, 100), kBackground);
}
