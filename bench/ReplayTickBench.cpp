// Times one replay tick of the real main window: the step (the Right key while stopped runs the
// same tick as the timer) moves the window, redraws the chart's back buffer, marks the open
// position (one log line) and updates the labels.
#include "app/OrvantaDlg.h"
#include "platform/PlatformApp.h"
#include "tools/samplegen/RandomWalk.h"

#include <QAction>
#include <QKeySequence>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace
{

// Enough bars that the replay never reaches the end while it is timed.
constexpr long kBars = 300'000;

QAction* g_pStep = nullptr;

void BM_ReplayTick(benchmark::State& state)
{
    for (auto _ : state)
        g_pStep->trigger();
}
BENCHMARK(BM_ReplayTick)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// The window's action for a key, as its menus and keys use it.
QAction* ActionFor(const COrvantaDlg& dlg, Qt::Key eKey)
{
    for (QAction* pAction : dlg.findChildren<QAction*>())
        if (pAction->shortcuts().contains(QKeySequence(eKey)))
            return pAction;
    return nullptr;
}

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
    {
        std::ofstream out("bars.csv", std::ios::binary);
        WriteRandomWalkKLines(out, kBars, 42);
    }

    CPlatformApp toolkit(argc, argv);
    int nResult = 0;
    {
        COrvantaDlg dlg;
        dlg.show();
        dlg.LoadAtStart((dir / "bars.csv").string(), "");
        CPlatformApp::ProcessEvents();
        g_pStep = ActionFor(dlg, Qt::Key_Right);
        QAction* pBuy = ActionFor(dlg, Qt::Key_B);
        if (g_pStep == nullptr || pBuy == nullptr || dlg.Session().Player().m_nBarCount == 0)
        {
            nResult = 1;
        }
        else
        {
            g_pStep->trigger();
            pBuy->trigger(); // an open position: every tick also writes its mark
            const int nCursorBefore = dlg.Session().Player().m_nCursor;
            benchmark::RunSpecifiedBenchmarks();
            // Figures of a window that did not step would time nothing.
            nResult = dlg.Session().Player().m_nCursor > nCursorBefore ? 0 : 1;
        }
    }
    benchmark::Shutdown();
    std::filesystem::current_path(dir.parent_path());
    std::filesystem::remove_all(dir);
    return nResult;
}
