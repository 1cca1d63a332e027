// What a replay step costs in a higher timeframe: the chart's window of 26 aggregate bars with the
// forming one, after every one of 100,000 one-minute bars, forward as a fast-forward runs and
// back as step back does; and what building the series once per file and timeframe costs.
//
//   ./build/release/bench/orvanta_timeframe_bench
//
// The "step" counter is the time per step.
#include "core/Timeframe.h"
#include "core/TimeframeSeries.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace
{

constexpr std::size_t kFileBars = 100000;
constexpr std::size_t kWindowBars = 26;

// One-minute bars around the clock from Monday 2024-01-01, none on Saturdays and Sundays.
const std::vector<SChartCandlestickPoint>& MinuteFile()
{
    static const std::vector<SChartCandlestickPoint> vecBars = []
    {
        std::vector<SChartCandlestickPoint> vecOut;
        const double dMonday = 45292.0;
        double dPrice = 100.0;
        for (long nMinute = 0; vecOut.size() < kFileBars; ++nMinute)
        {
            if (nMinute / 1440 % 7 >= 5)
                continue;
            const double dOpen = dPrice;
            dPrice += ((nMinute * 7919) % 101 - 50) / 100.0;
            vecOut.push_back({dMonday + static_cast<double>(nMinute) / 1440.0,
                              std::min(dOpen, dPrice) - 0.2, std::max(dOpen, dPrice) + 0.2, dOpen,
                              dPrice});
        }
        return vecOut;
    }();
    return vecBars;
}

ETimeframe Frame(const benchmark::State& state)
{
    ETimeframe eFrame = ETimeframe::Minute1;
    TimeframeFromIndex(static_cast<int>(state.range(0)), &eFrame);
    return eFrame;
}

void SetStepCounter(benchmark::State& state)
{
    state.counters["step"] = benchmark::Counter(static_cast<double>(kFileBars),
                                                benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
    state.SetLabel(TimeframeCode(Frame(state)));
}

void BM_StepForward(benchmark::State& state)
{
    const auto& vecFile = MinuteFile();
    const CTimeframeSeries series(vecFile.data(), vecFile.size(), Frame(state));
    std::vector<SChartCandlestickPoint> vecWindow;
    for (auto _ : state)
    {
        for (std::size_t nCursor = 1; nCursor <= kFileBars; ++nCursor)
        {
            series.RevealedWindow(nCursor, kWindowBars, &vecWindow);
            benchmark::DoNotOptimize(vecWindow.back());
        }
    }
    SetStepCounter(state);
}
BENCHMARK(BM_StepForward)->Arg(0)->Arg(5)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_StepBack(benchmark::State& state)
{
    const auto& vecFile = MinuteFile();
    const CTimeframeSeries series(vecFile.data(), vecFile.size(), Frame(state));
    std::vector<SChartCandlestickPoint> vecWindow;
    for (auto _ : state)
    {
        for (std::size_t nCursor = kFileBars; nCursor >= 1; --nCursor)
        {
            series.RevealedWindow(nCursor, kWindowBars, &vecWindow);
            benchmark::DoNotOptimize(vecWindow.back());
        }
    }
    SetStepCounter(state);
}
BENCHMARK(BM_StepBack)->Arg(0)->Arg(5)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_BuildSeries(benchmark::State& state)
{
    const auto& vecFile = MinuteFile();
    for (auto _ : state)
    {
        const CTimeframeSeries series(vecFile.data(), vecFile.size(), Frame(state));
        benchmark::DoNotOptimize(series.Bars().data());
    }
    state.SetLabel(TimeframeCode(Frame(state)));
}
BENCHMARK(BM_BuildSeries)->Arg(0)->Arg(5)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_DetectSpacing(benchmark::State& state)
{
    const auto& vecFile = MinuteFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(BarSpacingSeconds(vecFile.data(), vecFile.size()));
}
BENCHMARK(BM_DetectSpacing)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
