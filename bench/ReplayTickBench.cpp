// The real main window's work per user step: one replay tick while a position is open (step the
// window, redraw the chart's back buffer, mark the account with one log line, update the labels
// and the information line), and one Buy press once thousands of trades came before it.
//
//   QT_QPA_PLATFORM=offscreen ./build/release/bench/orvanta_tick_bench
//
// Prints, after the table, how much dearer the 10,000th trade is than the 10th; at most 1.5.
#include "RatioReporter.h"
#include "app/OrvantaDlg.h"
#include "platform/PlatformApp.h"
#include "tools/samplegen/RandomWalk.h"

#include <QAction>
#include <QPushButton>

#include <filesystem>
#include <fstream>

namespace
{

// Enough bars that the replay never reaches the end while it is timed.
constexpr long kBars = 300'000;

std::filesystem::path g_barsFile;

// A window with the bench's file loaded and its first window of bars shown.
class CBenchWindow
{
public:
    CBenchWindow()
    {
        m_window.show();
        m_window.LoadAtStart(g_barsFile.string(), {});
        CPlatformApp::ProcessEvents();
        Trigger("前进一根");
    }

    void Trigger(const char* pszText)
    {
        for (QAction* pAction : m_window.findChildren<QAction*>())
            if (pAction->text().startsWith(QString::fromUtf8(pszText)))
            {
                pAction->trigger();
                return;
            }
    }

    void PressBuy() { m_pBuy->click(); }

private:
    COrvantaDlg m_window;
    QPushButton* m_pBuy = [this]
    {
        for (QPushButton* pButton : m_window.findChildren<QPushButton*>())
            if (pButton->text() == QStringLiteral("Buy"))
                return pButton;
        return static_cast<QPushButton*>(nullptr);
    }();
};

void BM_ReplayTick(benchmark::State& state)
{
    CBenchWindow window;
    window.PressBuy(); // an open position: every tick also writes its mark
    for (auto _ : state)
        window.Trigger("前进一根");
}
BENCHMARK(BM_ReplayTick)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// The Buy presses after state.range(0) - 1 trades, the markers and labels they redraw included.
// A fixed count of presses, so the trades timed stay near the count asked for.
void BM_WindowTradeAfter(benchmark::State& state)
{
    CBenchWindow window;
    for (long i = 1; i < state.range(0); ++i)
        window.PressBuy();
    for (auto _ : state)
        window.PressBuy();
}
BENCHMARK(BM_WindowTradeAfter)->Arg(10)->Arg(10000)->Iterations(200)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    // The replay's trade log lands in the working directory: keep it out of the user's way.
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "orvanta-tick-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    g_barsFile = dir / "bars.csv";
    {
        std::ofstream out(g_barsFile, std::ios::binary);
        WriteRandomWalkKLines(out, kBars, 42);
    }
    {
        CPlatformApp toolkit(argc, argv);
        CRatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.PrintRatio("BM_WindowTradeAfter", "10000", "10",
                            "the 10,000th trade against the 10th takes", 1.5);
    }
    benchmark::Shutdown();
    std::filesystem::current_path(dir.parent_path());
    std::filesystem::remove_all(dir);
    return 0;
}
