#include "CoreTestApp.h"
#include "TempDir.h"
#include "chart/ChartAxis.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "core/KLinePlayer.h"
#include "core/ReplaySettings.h"
#include "tests/chart/CountingChart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Bar i closes at 100 + i on the i-th day after 2017-01-02.
std::string Bars(int nCount)
{
    std::string text;
    for (int i = 0; i < nCount; ++i)
    {
        char line[96];
        std::snprintf(line, sizeof line, "2017-%02d-%02d,%d,%d,%d,%d\n", 1 + i / 28, 1 + i % 28,
                      100 + i, 102 + i, 98 + i, 100 + i);
        text += line;
    }
    return text;
}

// The replay as the main dialog sets it up: a chart window with both axes fitted to all points.
class KLinePlayerStep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureCoreTestApp();
        ASSERT_TRUE(
            m_chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0));
        m_chart.NewDateTimeAxis()->SetRangeMode(AllPoints);
        m_chart.NewStandardAxis()->SetRangeMode(AllPoints);
        m_player.m_pChart = &m_chart;
    }
    void TearDown() override { ReplaySettings() = SReplaySettings(); }

    void Load(int nBars) { m_player.Load(m_dir.Write("bars.csv", Bars(nBars))); }

    // Closes of the bars on the chart, in order; the chart must hold exactly one series.
    std::vector<double> ShownCloses()
    {
        m_chart.RewindSeries();
        auto* pSerie = dynamic_cast<CChartCandlestickSerie*>(m_chart.NextSerie());
        EXPECT_NE(pSerie, nullptr);
        EXPECT_EQ(m_chart.NextSerie(), nullptr) << "the previous window must be gone";
        std::vector<double> closes;
        for (unsigned i = 0; pSerie != nullptr && i < pSerie->PointCount(); ++i)
            closes.push_back(pSerie->GetPoint(i).dClose);
        return closes;
    }

    static std::vector<double> Closes(int nFirst, int nCount)
    {
        std::vector<double> closes;
        for (int i = 0; i < nCount; ++i)
            closes.push_back(100 + nFirst + i);
        return closes;
    }

    CTempDir m_dir;
    CCountingChart m_chart;
    CKLinePlayer m_player;
};

} // namespace

TEST_F(KLinePlayerStep, AFileOfExactlyNBarsEndsAtTheFirstStep)
{
    Load(26);
    EXPECT_EQ(m_player.Step(), 26);
    EXPECT_EQ(m_player.m_nBarCount, 26);
    EXPECT_EQ(ShownCloses(), Closes(0, 26));
    EXPECT_EQ(m_player.m_dClose, 125);
}

TEST_F(KLinePlayerStep, SlidesOneBarPerStepAndRepeatsTheLastWindow)
{
    Load(27);
    EXPECT_EQ(m_player.Step(), 26);
    EXPECT_EQ(m_player.m_dOpen, 125);
    EXPECT_EQ(m_player.m_dHigh, 127);
    EXPECT_EQ(m_player.m_dLow, 123);
    EXPECT_EQ(m_player.m_dClose, 125) << "the newest bar drawn is current";
    EXPECT_EQ(m_player.Step(), 27);
    EXPECT_EQ(ShownCloses(), Closes(1, 26));
    EXPECT_EQ(m_player.m_dClose, 126);
    EXPECT_EQ(m_player.Step(), 27);
    EXPECT_EQ(ShownCloses(), Closes(1, 26));
    EXPECT_EQ(m_player.m_dClose, 126);
}

TEST_F(KLinePlayerStep, TheAxesFollowTheWindow)
{
    Load(40);
    m_player.Step();
    m_player.Step();
    const CChartAxis* pDates = m_chart.GetAxis(SlotBottom);
    const CChartAxis* pPrices = m_chart.GetAxis(SlotLeft);
    ASSERT_NE(pDates, nullptr);
    ASSERT_NE(pPrices, nullptr);
    EXPECT_EQ(pDates->m_dMin, 42737);      // 2017-01-02, bar 1
    EXPECT_EQ(pDates->m_dMax, 42737 + 25); // bar 26
    EXPECT_EQ(pPrices->m_dMin, 99);
    EXPECT_EQ(pPrices->m_dMax, 128);
}

TEST_F(KLinePlayerStep, ALoadWhileHalfReplayedStartsTheNewFileFromItsFirstWindow)
{
    Load(60);
    for (int i = 0; i < 10; ++i)
        m_player.Step();
    ASSERT_TRUE(m_player.HasCurrentBar());
    ASSERT_TRUE(m_player.Load(m_dir.Write("other.csv", Bars(30))));
    // The old file's bar is gone with it: nothing to trade at until the next step.
    EXPECT_FALSE(m_player.HasCurrentBar());
    EXPECT_EQ(m_player.m_dOpen, 0);
    EXPECT_EQ(m_player.m_dHigh, 0);
    EXPECT_EQ(m_player.m_dLow, 0);
    EXPECT_EQ(m_player.m_dClose, 0);
    EXPECT_EQ(m_player.Step(), 26);
    EXPECT_TRUE(m_player.HasCurrentBar());
    EXPECT_EQ(ShownCloses(), Closes(0, 26));
}

TEST_F(KLinePlayerStep, FewerThanNBarsShowWhatThereIsAndEndAtOnce)
{
    EXPECT_EQ(m_player.Step(), 0) << "before any file";
    EXPECT_TRUE(ShownCloses().empty());
    EXPECT_EQ(m_player.m_dClose, 0);
    EXPECT_FALSE(m_player.HasCurrentBar());

    Load(3);
    EXPECT_EQ(m_player.Step(), 3);
    EXPECT_EQ(ShownCloses(), Closes(0, 3));
    EXPECT_EQ(m_player.m_dClose, 102);
    EXPECT_EQ(m_player.Step(), 3);
}

TEST_F(KLinePlayerStep, ReadsTheWindowSizeAtEveryStep)
{
    Load(10);
    ReplaySettings().m_nWindowBars = 4;
    EXPECT_EQ(m_player.Step(), 4);
    EXPECT_EQ(ShownCloses(), Closes(0, 4));
    EXPECT_EQ(m_player.Step(), 5);
    EXPECT_EQ(ShownCloses(), Closes(1, 4));
}

TEST_F(KLinePlayerStep, EachStepDrawsEveryCandleOfTheWindowOnce)
{
    Load(60);
    for (int nTick = 0; nTick < 4; ++nTick)
    {
        m_player.Step();
        m_chart.RewindSeries();
        auto* pSerie = dynamic_cast<CChartCandlestickSerie*>(m_chart.NextSerie());
        ASSERT_NE(pSerie, nullptr);
        // The held redraw draws them; nothing draws them into the buffer before it.
        EXPECT_EQ(pSerie->m_nDrawnCandles, 26u) << nTick;
        EXPECT_EQ(pSerie->m_nNextToDraw, 26u) << nTick;
    }
}

TEST_F(KLinePlayerStep, EachStepRedrawsTheChartOnceWithTheWholeWindow)
{
    Load(40);
    m_player.Step();
    for (int i = 0; i < 3; ++i)
    {
        m_chart.m_nRedraws = 0;
        m_player.Step();
        EXPECT_EQ(m_chart.m_nRedraws, 1);
    }
    // The window now holds bars 3 to 28: dates 2017-01-04 to 01-28 and then 02-01, 28 days in
    // all, prices from the low of bar 3 (101) to the high of bar 28 (130). Both axes fit them
    // exactly, so bar i stands at x = left + floor(width * days / 28), its close at
    // y = bottom - floor(height * (close - 101) / 29), and its wick reaches up to the pixel
    // below its high.
    CDC* pBuffer = m_chart.GetBufferDC();
    const RECT rc = m_chart.GetPlotRect();
    const int nWidth = rc.right - rc.left;
    const int nHeight = rc.bottom - rc.top;
    const auto priceY = [&](int nPrice) { return rc.bottom - nHeight * (nPrice - 101) / 29; };
    constexpr COLORREF kSerie = RGB(255, 0, 0);
    for (int i = 3; i <= 28; ++i)
    {
        const int nDays = i <= 27 ? i - 3 : 28;
        const int x = rc.left + nWidth * nDays / 28;
        EXPECT_EQ(pBuffer->GetPixel(x, priceY(100 + i)), kSerie) << "close of bar " << i;
        EXPECT_EQ(pBuffer->GetPixel(x, priceY(102 + i) + 1), kSerie) << "wick of bar " << i;
        EXPECT_NE(pBuffer->GetPixel(x, priceY(102 + i)), kSerie) << "above bar " << i;
    }
}
