// Full redraws of the replay's chart: the 26-bar window, 200 bars out of 100,000 (the binary
// search keeps this close to a 200-bar chart) and all 100,000 bars.

#include "bench/BenchCharts.h"
#include "platform/PlatformApp.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace
{

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
    SBenchChart chart(MakeBenchBars(26));
    RefreshLoop(state, chart.m_chart);
}
BENCHMARK(BM_RefreshReplayWindow)->Unit(benchmark::kMillisecond);

void BM_Refresh200Of100000(benchmark::State& state)
{
    const std::vector<SChartCandlestickPoint> bars = MakeBenchBars(100000);
    SBenchChart chart(bars);
    chart.m_pDateAxis->SetZoomRange(bars[50000].dDate - 0.5, bars[50199].dDate + 0.5);
    RefreshLoop(state, chart.m_chart);
}
BENCHMARK(BM_Refresh200Of100000)->Unit(benchmark::kMillisecond);

void BM_Refresh200(benchmark::State& state)
{
    SBenchChart chart(MakeBenchBars(200));
    RefreshLoop(state, chart.m_chart);
}
BENCHMARK(BM_Refresh200)->Unit(benchmark::kMillisecond);

void BM_RefreshAll100000(benchmark::State& state)
{
    SBenchChart chart(MakeBenchBars(100000));
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
