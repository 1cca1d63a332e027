// Crowded candles: one column per pixel, and the block extremes behind it.

#include "chart/ChartPointStore.h"
#include "tests/chart/CandleCanvas.h"

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

namespace
{

using Store = CChartPointStore<SChartCandlestickPoint>;

// Lowest low and highest high by looking at every point.
std::pair<double, double> Scan(const Store& store, std::uint32_t nFirst, std::uint32_t nLast)
{
    double dLow = std::numeric_limits<double>::infinity();
    double dHigh = -dLow;
    for (std::uint32_t i = nFirst; i <= nLast; ++i)
    {
        dLow = std::min(dLow, store.GetAt(i).dLow);
        dHigh = std::max(dHigh, store.GetAt(i).dHigh);
    }
    return {dLow, dHigh};
}

void ExpectExtremesMatchAScan(const Store& store, std::mt19937& rng, int nQueries)
{
    const std::uint32_t nCount = store.GetCount();
    for (int q = 0; q < nQueries; ++q)
    {
        std::uint32_t nFirst = rng() % nCount;
        std::uint32_t nLast = rng() % nCount;
        if (nFirst > nLast)
            std::swap(nFirst, nLast);
        double dLow = 0.0;
        double dHigh = 0.0;
        store.FindExtremes(nFirst, nLast, &dLow, &dHigh);
        const auto [dScanLow, dScanHigh] = Scan(store, nFirst, nLast);
        ASSERT_EQ(dLow, dScanLow) << nFirst << ".." << nLast << " of " << nCount;
        ASSERT_EQ(dHigh, dScanHigh) << nFirst << ".." << nLast << " of " << nCount;
    }
}

TEST(ChartPointStoreExtremes, MatchAScanOfRandomRangesAsPointsArriveAndMove)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> price(0.0, 1000.0);
    Store store;
    const auto add = [&](double dDate)
    {
        const double a = price(rng);
        const double b = price(rng);
        store.AddPoint(CandleBar(dDate, a, std::max(a, b), std::min(a, b), b));
    };
    // Sizes on both sides of one block and of one block of blocks.
    for (int i = 0; i < 70; ++i)
        add(i);
    ExpectExtremesMatchAScan(store, rng, 300);
    for (int i = 70; i < 5000; ++i)
        add(i);
    ExpectExtremesMatchAScan(store, rng, 300);
    // Appends after a query extend the summaries already built.
    for (int i = 5000; i < 5200; ++i)
        add(i);
    ExpectExtremesMatchAScan(store, rng, 300);
    // Late bars are inserted in the middle and shift every point after them.
    for (int i = 0; i < 50; ++i)
        add(double(rng() % 5200) + 0.5);
    ExpectExtremesMatchAScan(store, rng, 300);
    store.SetOrdering(OrderByY);
    ExpectExtremesMatchAScan(store, rng, 300);
}

TEST(ChartPointStoreExtremes, SinglePointsAndNaNPrices)
{
    Store store;
    store.AddPoint(CandleBar(1, 5, 9, 3, 6));
    double dLow = 0.0;
    double dHigh = 0.0;
    store.FindExtremes(0, 0, &dLow, &dHigh);
    EXPECT_EQ(dLow, 3.0);
    EXPECT_EQ(dHigh, 9.0);
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    for (int i = 2; i <= 200; ++i)
        store.AddPoint(CandleBar(i, dNaN, dNaN, dNaN, dNaN));
    store.FindExtremes(0, 199, &dLow, &dHigh);
    EXPECT_EQ(dLow, 3.0) << "NaN prices are passed over";
    EXPECT_EQ(dHigh, 9.0);
    store.FindExtremes(1, 199, &dLow, &dHigh);
    EXPECT_FALSE(dLow <= dHigh) << "nothing but NaN: no extremes";
}

constexpr COLORREF kShadow = RGB(150, 150, 150);

// Thousands of bars on a 300 x 200 buffer: a value is its own pixel vertically (y = 200 -
// price) and the dates fill 250 pixels of the width.
class CandleColumns : public CCandleCanvas
{
protected:
    void SetUp() override
    {
        Prepare(300, 200, {0, 0, 250, 200});
        m_yAxis.SetRange(0, 200, ERangeChange::Reset);
    }

    // nCount bars in a random walk between prices 20 and 180, dates 0 to nCount - 1 shown.
    void AddWalk(int nCount)
    {
        std::mt19937 rng(3);
        double dClose = 100.0;
        for (int i = 0; i < nCount; ++i)
        {
            const double dOpen = dClose;
            dClose = std::clamp(dClose + int(rng() % 9) - 4.0, 30.0, 170.0);
            const double dHigh = std::max(dOpen, dClose) + rng() % 8;
            const double dLow = std::min(dOpen, dClose) - rng() % 8;
            m_bars.push_back(CandleBar(i, dOpen, dHigh, dLow, dClose));
        }
        m_pSerie->AddPoints(m_bars.data(), unsigned(m_bars.size()));
        m_xAxis.SetRange(0, nCount - 1, ERangeChange::Reset);
    }

    std::vector<SChartCandlestickPoint> m_bars;
};

TEST_F(CandleColumns, EachPixelColumnSpansItsLowestLowToItsHighestHigh)
{
    AddWalk(20000);
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_LE(m_pSerie->m_nDrawnCandles, 251u) << "one candle per pixel column, not per bar";
    EXPECT_EQ(m_pSerie->m_nNextToDraw, 20000u);

    // Expected columns from the bars themselves: the price span of the bars of each column.
    std::vector<double> lows(251, 1e9);
    std::vector<double> highs(251, -1e9);
    for (const SChartCandlestickPoint& bar : m_bars)
    {
        const int x = m_xAxis.ValueToPixel(bar.dDate);
        lows[std::size_t(x)] = std::min(lows[std::size_t(x)], bar.dLow);
        highs[std::size_t(x)] = std::max(highs[std::size_t(x)], bar.dHigh);
    }
    for (int x = 0; x <= 250; x += 7)
    {
        const int yTop = 200 - int(highs[std::size_t(x)]);
        const int yBottom = 200 - int(lows[std::size_t(x)]);
        EXPECT_EQ(At(x, yTop), kBlue) << x;
        EXPECT_EQ(At(x, yBottom), kBlue) << x;
        EXPECT_EQ(At(x, (yTop + yBottom) / 2), kBlue) << x;
        EXPECT_NE(At(x, yTop - 1), kBlue) << x;
        EXPECT_NE(At(x, yBottom + 1), kBlue) << x;
    }
    // The shadow of the last column shows 2 px to the right and down, past every column.
    const int yLastBottom = 200 - int(lows[250]);
    EXPECT_EQ(At(252, yLastBottom + 2), kShadow);
    EXPECT_EQ(At(253, yLastBottom + 2), kBackground);
}

TEST_F(CandleColumns, WithoutShadowNothingIsGreyAndClippingHolds)
{
    AddWalk(5000);
    m_pSerie->m_bDrawShadow = false;
    m_pSerie->m_rcClip = {0, 0, 100, 200};
    m_pSerie->DrawVisiblePoints(&m_dc);
    int nShadow = 0;
    int nOutside = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
        {
            nShadow += At(x, y) == kShadow;
            nOutside += x >= 100 && At(x, y) != kBackground;
        }
    EXPECT_EQ(nShadow, 0);
    EXPECT_EQ(nOutside, 0);
}

TEST_F(CandleColumns, NewPointsOnACrowdedSeriesAreDrawnAsColumnsToo)
{
    AddWalk(4000);
    m_pSerie->DrawVisiblePoints(&m_dc);
    m_pSerie->m_nDrawnCandles = 0;
    std::vector<SChartCandlestickPoint> more;
    for (int i = 4000; i < 8000; ++i)
        more.push_back(CandleBar(i, 100, 101, 99, 100));
    m_xAxis.SetRange(m_xAxis.m_dMin, 7999, ERangeChange::Reset);
    m_pSerie->AddPoints(more.data(), unsigned(more.size()));
    m_pSerie->DrawNewPoints(&m_dc);
    EXPECT_EQ(m_pSerie->m_nNextToDraw, 8000u);
    EXPECT_LE(m_pSerie->m_nDrawnCandles, 130u) << "about half the width, one per column";
    EXPECT_EQ(At(200, 100), kBlue);
}

TEST_F(CandleColumns, CandlesTwoPixelsApartStayCandles)
{
    AddWalk(126); // 125 gaps over 250 pixels
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(m_pSerie->m_nDrawnCandles, 126u);
}

} // namespace
