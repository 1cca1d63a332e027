// Full redraws of the replay's chart: the 26-bar window, 200 bars out of 100,000 (the binary
// search keeps this close to a 200-bar chart) and all 100,000 bars. Then a replay step with
// twenty working orders on the chart against one without, and how much dearer the orders make it
// (at most 1.2 times).

#include "bench/BenchCharts.h"
#include "chart/RefreshHold.h"
#include "core/PracticeSession.h"
#include "core/ReplayChart.h"
#include "platform/PlatformApp.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
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

// Enough bars that the replay never reaches the end while it is timed.
constexpr int kTickBars = 300'000;

std::filesystem::path g_tickBarsFile;

// Daily bars from 2000-01-03 that all trade from 40 to 60, opening and closing on a wave around
// 50: the price axis holds still, so every order line stays in view.
void WriteTickBars(const std::filesystem::path& path)
{
    using namespace std::chrono;
    std::ofstream out(path, std::ios::binary);
    const sys_days first = year{2000} / January / 3;
    char szLine[96];
    for (int i = 0; i < kTickBars; ++i)
    {
        const year_month_day date{first + days{i}};
        const double dOpen = 50.0 + 8.0 * std::sin(i * 0.3);
        const double dClose = 50.0 + 8.0 * std::sin(i * 0.3 + 0.2);
        std::snprintf(szLine, sizeof szLine, "%04d-%02u-%02u,%.2f,60.00,40.00,%.2f\n",
                      int(date.year()), unsigned(date.month()), unsigned(date.day()), dOpen,
                      dClose);
        out << szLine;
    }
}

// Twenty working orders between 40 and 60, about a sixteenth of the plot apart: a long
// position's stop loss at 41 and take profit at 59, nine buy limits below 50, nine sell limits
// above it.
void PlaceTwentyOrders(CTradeDesk* pDesk)
{
    pDesk->SetInstrument("bars.csv", 2);
    pDesk->EvaluateBar({36528.0, 40.0, 60.0, 50.0, 50.0});
    pDesk->Trade(ETradeSide::Buy, 10);
    pDesk->PlaceOrder(ETradeOrderKind::StopLoss, 0, 41.0, 0, nullptr);
    pDesk->PlaceOrder(ETradeOrderKind::TakeProfit, 0, 59.0, 0, nullptr);
    for (int i = 0; i < 9; ++i)
    {
        pDesk->PlaceOrder(ETradeOrderKind::BuyLimit, 1, 42.0 + 0.875 * i, 0, nullptr);
        pDesk->PlaceOrder(ETradeOrderKind::SellLimit, 1, 51.0 + 0.875 * i, 0, nullptr);
    }
}

// The thread's CPU time, so other work on a shared machine does not count.
double ThreadSeconds()
{
    timespec ts = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// A replay as the main window shows it: a 640 x 400 chart, the session stepping through the
// bench's file, and the working orders of a desk of its own, placed at prices of the bench's
// choosing and shown through the call the session's orders take.
class CBenchReplay
{
public:
    explicit CBenchReplay(bool bOrders)
    {
        m_chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0);
        SReadFile file;
        std::string strReason;
        if (!CPracticeSession::ReadFile(g_tickBarsFile.string(), &file, &strReason))
            return;
        m_session.Open(std::move(file));
        m_replay.ShowNewFile(m_session);
        if (bOrders)
            PlaceTwentyOrders(&m_desk);
        Step();
    }

    bool IsReady() const { return m_session.Player().HasCurrentBar() && !m_session.IsFinished(); }
    std::size_t Orders() const { return m_desk.Orders().size(); }

    // One step as the window runs it: the player's new window, the overlays and the order
    // lines, in the one redraw of the back buffer. The window's paint, the same with or without
    // orders, is left out.
    void Step()
    {
        CRefreshHold hold(&m_chart);
        m_session.StepBar();
        m_replay.ShowReplay(m_session);
        if (!m_desk.Orders().empty())
            m_replay.ShowOrderLines(m_desk, m_session.PriceDecimals());
    }

private:
    CChartCtrl m_chart;
    CReplayChart m_replay{m_chart};
    CPracticeSession m_session;
    CTradeDesk m_desk;
};

// What each run found: a step with twenty orders over a step without.
std::vector<double> g_vecOrderRatios;

// A step of a replay with twenty working orders, alternating with a step of one without, so a
// busy machine slows both alike; "x_without" is the first's time over the second's.
void BM_ReplayStepTwentyOrders(benchmark::State& state)
{
    CBenchReplay withOrders(true);
    CBenchReplay without(false);
    if (!withOrders.IsReady() || !without.IsReady() || withOrders.Orders() != 20)
    {
        state.SkipWithError("the bench's replay did not start");
        return;
    }
    double dWith = 0.0;
    double dWithout = 0.0;
    for (auto _ : state)
    {
        double dStart = ThreadSeconds();
        withOrders.Step();
        const double dThis = ThreadSeconds() - dStart;
        dStart = ThreadSeconds();
        without.Step();
        dWithout += ThreadSeconds() - dStart;
        dWith += dThis;
        state.SetIterationTime(dThis);
    }
    if (!withOrders.IsReady() || !without.IsReady())
        state.SkipWithError("the replay reached its last bar");
    state.counters["us_without"] = dWithout / double(state.iterations()) * 1e6;
    state.counters["x_without"] = dWith / dWithout;
    g_vecOrderRatios.push_back(dWith / dWithout);
}
BENCHMARK(BM_ReplayStepTwentyOrders)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    CPlatformApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    // The replay's trades and marks land in the working directory: keep them out of the way.
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "orvanta-chart-bench";
    std::filesystem::create_directories(dir);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    g_tickBarsFile = dir / "bars.csv";
    WriteTickBars(g_tickBarsFile);

    benchmark::RunSpecifiedBenchmarks();
    if (!g_vecOrderRatios.empty())
    {
        // The median of the runs, when run with repetitions.
        std::sort(g_vecOrderRatios.begin(), g_vecOrderRatios.end());
        const double dRatio = g_vecOrderRatios[g_vecOrderRatios.size() / 2];
        std::printf("BM_ReplayStepTwentyOrders: a replay step with 20 working orders takes %.2f "
                    "times one without (at most 1.2: %s)\n",
                    dRatio, dRatio <= 1.2 ? "yes" : "NO");
    }
    benchmark::Shutdown();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
    return 0;
}
