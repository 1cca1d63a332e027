// Times CKLinePlayer::Load on a generated 1,000,000-line, six-column K-line file.
#include "core/KLinePlayer.h"
#include "tools/samplegen/RandomWalk.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{

constexpr long kBars = 1'000'000;

const std::string& GeneratedFile()
{
    static const std::string path = [] {
        const std::string file = (std::filesystem::temp_directory_path() / "orvanta-load-bench.csv").string();
        std::ofstream out(file, std::ios::binary);
        WriteRandomWalkKLines(out, kBars, 42);
        return file;
    }();
    return path;
}

void BM_LoadMillionBars(benchmark::State& state)
{
    const std::string& path = GeneratedFile();
    CKLinePlayer player;
    for (auto _ : state)
    {
        player.Load(path);
        benchmark::DoNotOptimize(player.m_nBarCount);
    }
    if (player.m_nBarCount != kBars)
        state.SkipWithError("the generated file did not load completely");
    state.SetItemsProcessed(state.iterations() * kBars);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadMillionBars)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
