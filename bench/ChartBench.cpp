// Full redraws of the replay's chart: the 26-bar window, 200 bars out of 100,000 (the binary
// search keeps this close to a 200-bar chart) and all 100,000 bars.

#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "platform/PlatformApp.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace
{

// Daily bars from 2000-01-03 on, a random walk around 50.
std::vector<SChartCandlestickPoint> MakeBars(int nCount)
{
    std::mt19937 rng(20170105);
    std::normal_distribution<double> step(0.0, 0.6);
    std::uniform_real_distribution<double> reach(0.0, 0.8);
    std::vector<SChartCandlestickPoint> bars(nCount);
    double dClose = 50.0;
    for (int i = 0; i < nCount; ++i)
    {
        SChartCandlestickPoint& bar = bars[i];
        bar.dDate = 36528.0 + i;
        bar.dOpen = dClose;
        dClose = std::max(1.0, dClose + step(rng));
        bar.dClose = dClose;
        bar.dHigh = std::max(bar.dOpen, bar.dClose) + reach(rng);
        bar.dLow = std::min(bar.dOpen, bar.dClose) - reach(rng);
    }
    return bars;
}

// The replay's chart in an offscreen window of 640 x 400 holding the given bars.
struct SReplayChart
{
    explicit SReplayChart(const std::vector<SChartCandlestickPoint>& bars)
    {
        m_chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0);
        m_pDateAxis = m_chart.NewDateTimeAxis();
        m_pDateAxis->SetTickLabelFormat(false, "%Y-%m-%d");
        m_pDateAxis->SetRangeMode(AllPoints);
        m_chart.NewStandardAxis()->SetRangeMode(AllPoints);
        auto* pSerie = new CChartCandlestickSerie(&m_chart);
        m_chart.AttachSerie(pSerie);
        pSerie->AddPoints(bars.data(), unsigned(bars.size()));
    }

    CChartCtrl m_chart;
    CChartDateTimeAxis* m_pDateAxis = nullptr;
};

void RefreshLoop(benchmark::State& state, CChartCtrl& chart)
{
    for (auto _ : state)
    {
        chart.RefreshChart();
        benchmark::ClobberMemory();
    }
}

void BM_RefreshReplayWindow(benchmark::State& state)
{
    SReplayChart chart(MakeBars(26));
    RefreshLoop(state, chart.m_chart);
}
BENCHMARK(BM_RefreshReplayWindow)->Unit(benchmark::kMillisecond);

void BM_Refresh200Of100000(benchmark::State& state)
{
    const std::vector<SChartCandlestickPoint> bars = MakeBars(100000);
    SReplayChart chart(bars);
    chart.m_pDateAxis->SetZoomRange(bars[50000].dDate - 0.5, bars[50199].dDate + 0.5);
    RefreshLoop(state, chart.m_chart);
}
BENCHMARK(BM_Refresh200Of100000)->Unit(benchmark::kMillisecond);

void BM_Refresh200(benchmark::State& state)
{
    SReplayChart chart(MakeBars(200));
    RefreshLoop(state, chart.m_chart);
}
BENCHMARK(BM_Refresh200)->Unit(benchmark::kMillisecond);

void BM_RefreshAll100000(benchmark::State& state)
{
    SReplayChart chart(MakeBars(100000));
    RefreshLoop(state, chart.m_chart);
}
BENCHMARK(BM_RefreshAll100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    CPlatformApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
