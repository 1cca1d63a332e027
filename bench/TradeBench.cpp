// What one more trade costs once thousands came before it, and what a bar costs the working orders
// when nothing fills (the replay runs through every bar, also when it fast-forwards).
//
//   ./build/release/bench/orvanta_trade_bench
//
// Prints, after the table, how much dearer the 10,000th trade is than the 10th; at most 1.5.
#include "core/PracticeSession.h"
#include "core/TradeAccount.h"
#include "core/TradeDesk.h"
#include "core/TradeJournal.h"
#include "RatioReporter.h"
#include "tools/samplegen/RandomWalk.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <unistd.h>

namespace
{

std::atomic<long> g_nAllocations{0};

} // namespace

// Counts allocations; the pair stays malloc and free, which GCC cannot see once inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t nSize)
{
    ++g_nAllocations;
    if (void* p = std::malloc(nSize == 0 ? 1 : nSize))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

namespace
{

// The trade log goes to a folder of its own, removed at the end.
class CBenchDir
{
public:
    CBenchDir()
    {
        char pattern[] = "/tmp/orvanta-trade-bench-XXXXXX";
        m_path = ::mkdtemp(pattern);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_path);
    }
    ~CBenchDir()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

using SClock = std::chrono::steady_clock;

// The trader presses Buy state.range(0) times; one iteration times the last press, with what the
// window then reads to draw the new marker, and steps back before the next.
void BM_DeskTradeAfter(benchmark::State& state)
{
    const CBenchDir dir;
    CTradeDesk desk;
    desk.SetInstrument("bench.csv", 2);
    desk.EvaluateBar({42000, 9.5, 10.5, 10, 10});
    const long nBefore = state.range(0) - 1;
    for (long i = 0; i < nBefore; ++i)
        desk.Trade(i % 3 == 2 ? ETradeSide::Sell : ETradeSide::Buy, 1);
    const STradeDeskSnapshot before = desk.Snapshot();
    for (auto _ : state)
    {
        const SClock::time_point tStart = SClock::now();
        desk.Trade(ETradeSide::Buy, 1);
        const std::vector<SChartTradeMarker>& vecMarkers = desk.Journal().Markers();
        benchmark::DoNotOptimize(vecMarkers.back());
        state.SetIterationTime(std::chrono::duration<double>(SClock::now() - tStart).count());
        desk.Restore(before);
    }
}
BENCHMARK(BM_DeskTradeAfter)->Arg(10)->Arg(10000)->UseManualTime()->MinTime(1.0);

// The same through the journal's one-unit trade, which the window calls today.
void BM_JournalTradeAfter(benchmark::State& state)
{
    const CBenchDir dir;
    CTradeAccount account;
    CTradeJournal journal;
    const long nBefore = state.range(0) - 1;
    for (long i = 0; i < nBefore; ++i)
        journal.Trade(account, i % 3 == 2 ? ETradeSide::Sell : ETradeSide::Buy, 10, 42000, 0);
    const CTradeAccount accountBefore = account;
    for (auto _ : state)
    {
        const SClock::time_point tStart = SClock::now();
        journal.Trade(account, ETradeSide::Buy, 10, 42000, 0);
        benchmark::DoNotOptimize(journal.Markers().back());
        state.SetIterationTime(std::chrono::duration<double>(SClock::now() - tStart).count());
        account = accountBefore;
        journal.Truncate(static_cast<std::size_t>(nBefore), 0);
    }
}
BENCHMARK(BM_JournalTradeAfter)->Arg(10)->Arg(10000)->UseManualTime()->MinTime(1.0);

// 100,000 bars past a position with its stop loss and take profit and two entries, none of
// which the bars reach. Reports the allocations per bar, which must be 0.
void BM_EvaluateBarsWithoutFills(benchmark::State& state)
{
    const CBenchDir dir;
    constexpr int kBars = 100000;
    std::vector<SChartCandlestickPoint> vecBars;
    for (int i = 0; i < kBars; ++i)
    {
        const double dClose = 10.0 + 0.5 * ((i * 7919) % 100) / 100.0;
        vecBars.push_back({42000.0 + i, dClose - 0.3, dClose + 0.3, dClose - 0.1, dClose});
    }
    CTradeDesk desk;
    desk.EvaluateBar({41999, 10, 10, 10, 10});
    desk.Trade(ETradeSide::Buy, 100);
    desk.PlaceOrder(ETradeOrderKind::StopLoss, 0, 5, 0, nullptr);
    desk.PlaceOrder(ETradeOrderKind::TakeProfit, 0, 20, 0, nullptr);
    int nEntry = 0;
    desk.PlaceOrder(ETradeOrderKind::BuyLimit, 10, 6, 0, &nEntry);
    desk.PlaceOrder(ETradeOrderKind::StopLoss, 0, 4, nEntry, nullptr);
    desk.PlaceOrder(ETradeOrderKind::SellStop, 10, 7, 0, nullptr);
    long nAllocations = 0;
    for (auto _ : state)
    {
        const long nStart = g_nAllocations;
        int nFills = 0;
        for (const SChartCandlestickPoint& bar : vecBars)
            nFills += desk.EvaluateBar(bar);
        nAllocations += g_nAllocations - nStart;
        benchmark::DoNotOptimize(nFills);
    }
    state.SetItemsProcessed(state.iterations() * kBars);
    state.counters["allocs_per_bar"] =
        static_cast<double>(nAllocations) / (static_cast<double>(state.iterations()) * kBars);
}
BENCHMARK(BM_EvaluateBarsWithoutFills)->Unit(benchmark::kMillisecond);

// A fast-forward over 100,000 bars of a file with a position open and orders working: every bar
// evaluated, marked and logged, the chart drawn once at the end (here there is none to draw).
void BM_FastForward100000Bars(benchmark::State& state)
{
    const CBenchDir dir;
    {
        std::ofstream out("bars.csv", std::ios::binary);
        WriteRandomWalkKLines(out, 100'100, 7);
    }
    for (auto _ : state)
    {
        state.PauseTiming();
        CPracticeSession session;
        SReadFile file;
        std::string strReason;
        if (!CPracticeSession::ReadFile("bars.csv", &file, &strReason))
            state.SkipWithError(strReason.c_str());
        session.Open(std::move(file));
        session.StepBar();
        session.Buy(10);
        const double dClose = session.Player().m_dClose;
        session.PlaceOrder(ETradeOrderKind::StopLoss, 0, dClose * 0.01, 0, nullptr, nullptr);
        session.PlaceOrder(ETradeOrderKind::BuyLimit, 1, dClose * 0.01, 0, nullptr, nullptr);
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            session.FastForward(CPracticeSession::EForwardUntil::Bars, 100'000));
    }
}
BENCHMARK(BM_FastForward100000Bars)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* pszName : {"BM_DeskTradeAfter", "BM_JournalTradeAfter"})
        reporter.PrintRatio(pszName, "10000", "10", "the 10,000th trade against the 10th takes",
                            1.5);
    benchmark::Shutdown();
    return 0;
}
