#include "CoreTestApp.h"
#include "TempDir.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "core/KLinePlayer.h"
#include "tests/chart/CountingChart.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Bars(int nCount)
{
    std::string text;
    for (int i = 0; i < nCount; ++i)
    {
        char line[96];
        std::snprintf(line, sizeof line, "2018-%02d-%02d,%d,%d,%d,%d\n", 1 + i / 28, 1 + i % 28,
                      100 + i % 7, 104 + i % 7, 97 + i % 7, 101 + i % 5);
        text += line;
    }
    return text;
}

// A replay tick redraws the chart once, and that redraw draws every bar of the window once:
// the candles are not drawn into the buffer a second time before or after it.
TEST(ReplayTickDraws, EachCandleOnceWithOneRedrawPerTick)
{
    EnsureCoreTestApp();
    CCountingChart chart;
    ASSERT_TRUE(chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0));
    chart.NewDateTimeAxis()->SetRangeMode(AllPoints);
    chart.NewStandardAxis()->SetRangeMode(AllPoints);
    CTempDir dir;
    CKLinePlayer player;
    player.m_pChart = &chart;
    player.Load(dir.Write("bars.csv", Bars(60)));
    for (int nTick = 0; nTick < 4; ++nTick)
    {
        chart.m_nRedraws = 0;
        player.Step();
        chart.RewindSeries();
        auto* pSerie = dynamic_cast<CChartCandlestickSerie*>(chart.NextSerie());
        ASSERT_NE(pSerie, nullptr);
        EXPECT_EQ(chart.m_nRedraws, 1) << nTick;
        EXPECT_EQ(pSerie->m_nDrawnCandles, pSerie->PointCount()) << nTick;
        EXPECT_EQ(pSerie->m_nNextToDraw, pSerie->PointCount()) << nTick;
    }
}

} // namespace
