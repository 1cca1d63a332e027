// Candles wide enough to stand apart must look exactly as they always have: the pictures below
// are compared with fingerprints taken from the candle drawing before columns existed.

#include "tests/chart/CandleCanvas.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace
{

constexpr int kWidth = 640;
constexpr int kHeight = 400;

// Daily bars in a random walk, from integer draws only so every standard library makes the
// same bars.
std::vector<SChartCandlestickPoint> Walk(int nCount)
{
    std::mt19937 rng(7);
    std::vector<SChartCandlestickPoint> bars(static_cast<std::size_t>(nCount));
    double dClose = 50.0;
    for (int i = 0; i < nCount; ++i)
    {
        SChartCandlestickPoint& bar = bars[static_cast<std::size_t>(i)];
        bar.dDate = 36528.0 + i;
        bar.dOpen = dClose;
        dClose = std::max(1.0, dClose + (int(rng() % 121) - 60) / 100.0);
        bar.dClose = dClose;
        bar.dHigh = std::max(bar.dOpen, bar.dClose) + int(rng() % 80) / 100.0;
        bar.dLow = std::min(bar.dOpen, bar.dClose) - int(rng() % 80) / 100.0;
    }
    return bars;
}

// A 640 x 400 buffer with a plot from (50, 10) to (630, 380) and a series drawn on it.
class CandlePicture : public CCandleCanvas
{
protected:
    void SetUp() override
    {
        Prepare(kWidth, kHeight, {50, 10, 630, 380});
        m_pSerie->m_rcClip = {50, 10, 631, 381};
    }

    // Shows dates dFrom to dTo and every price of the bars.
    void Show(const std::vector<SChartCandlestickPoint>& bars, double dFrom, double dTo)
    {
        m_pSerie->AddPoints(bars.data(), unsigned(bars.size()));
        m_xAxis.SetRange(dFrom, dTo, ERangeChange::Reset);
        m_yAxis.SetRange(m_pSerie->m_Points.m_dMinY, m_pSerie->m_Points.m_dMaxY,
                         ERangeChange::Reset);
        m_pSerie->DrawVisiblePoints(&m_dc);
    }

    // FNV-1a over every pixel, row by row.
    std::uint64_t Fingerprint() const
    {
        std::uint64_t nHash = 14695981039346656037ull;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                nHash ^= At(x, y);
                nHash *= 1099511628211ull;
            }
        return nHash;
    }
};

TEST_F(CandlePicture, TheReplayWindowIsUnchanged)
{
    const std::vector<SChartCandlestickPoint> bars = Walk(26);
    Show(bars, bars.front().dDate, bars.back().dDate);
    EXPECT_EQ(m_pSerie->m_nDrawnCandles, 26u);
    EXPECT_EQ(Fingerprint(), 5535382246106060807ull);
}

TEST_F(CandlePicture, TwoHundredVisibleBarsOfAThousandAreUnchanged)
{
    const std::vector<SChartCandlestickPoint> bars = Walk(1000);
    Show(bars, bars[400].dDate - 0.5, bars[599].dDate + 0.5);
    EXPECT_EQ(m_pSerie->m_nDrawnCandles, 202u) << "one bar beyond each end";
    EXPECT_EQ(Fingerprint(), 10582368517501237317ull);
}

} // namespace
