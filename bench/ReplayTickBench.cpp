// Times one replay tick of the real main dialog: the timer message steps the window, redraws the
// chart's back buffer, marks the open position (one log line) and updates the labels.
#include "app/OrvantaApp.h"
#include "app/Resources.h"
#include "platform/PlatformApp.h"
#include "platform/WinUser.h"
#include "platform/testsupport/TestHooks.h"
#include "tools/samplegen/RandomWalk.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

COrvantaApp theApp;

namespace
{

// Enough bars that the replay never reaches the end while it is timed.
constexpr long kBars = 300'000;

HWND g_hDialog = nullptr;

void BM_ReplayTick(benchmark::State& state)
{
    for (auto _ : state)
        SendMessageA(g_hDialog, WM_TIMER, 1, 0);
}
BENCHMARK(BM_ReplayTick)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void Command(UINT nId)
{
    SendMessageA(g_hDialog, WM_COMMAND, nId, 0);
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
    theApp.m_strStartFile = (dir / "bars.csv").string();

    CPlatformApp toolkit(argc, argv);
    PlatformRunLater(0,
                     []
                     {
                         g_hDialog = GetActiveWindow();
                         Command(IDC_BTN_PLAY);
                         Command(IDC_BTN_BUY); // an open position: every tick also writes its mark
                         benchmark::RunSpecifiedBenchmarks();
                         Command(ID_MENU_EXIT);
                     });
    theApp.InitInstance();
    benchmark::Shutdown();
    std::filesystem::current_path(dir.parent_path());
    std::filesystem::remove_all(dir);
    return 0;
}
