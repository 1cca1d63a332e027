// Times the loader on generated 1,000,000-line files of three text layouts and two binary ones,
// against the plain-file reader as it was before layouts were recognised (YardstickReader).
// Each text case alternates the loader on its layout with the yardstick on the plain file, so
// a busy machine slows both alike; "x_yardstick" is the yardstick's time over the loader's.
#include "bench/YardstickReader.h"
#include "core/KLineFile.h"
#include "core/KLinePlayer.h"
#include "tools/samplegen/RandomWalk.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace
{

constexpr long kBars = 1'000'000;
constexpr std::int64_t kFirstHour = 1'420'070'400; // 2015-01-01 00:00 UTC

std::string TempPath(const char* pszName)
{
    return (std::filesystem::temp_directory_path() / pszName).string();
}

// The random walk's prices, one bar an hour, in the three text layouts the loader must read as
// fast as the old one read plain files.
struct SFiles
{
    std::string strPlain = TempPath("orvanta-load-bench.csv");
    std::string strMetaTrader = TempPath("orvanta-load-bench-mt.csv");
    std::string strUnixMs = TempPath("orvanta-load-bench-unixms.csv");
    std::string strDay = TempPath("orvanta-load-bench.day");
    std::string strHistory = TempPath("orvanta-load-bench.hst");

    SFiles()
    {
        std::ostringstream walk;
        WriteRandomWalkKLines(walk, kBars, 42);
        std::ofstream(strPlain, std::ios::binary) << walk.str();
        std::ofstream mt(strMetaTrader, std::ios::binary);
        std::ofstream unix(strUnixMs, std::ios::binary);
        std::ofstream day(strDay, std::ios::binary);
        std::ofstream history(strHistory, std::ios::binary);
        std::string header(148, '\0');
        header[0] = char(401 & 0xFF);
        header[1] = char(401 >> 8);
        header[84] = 2; // digits
        history << header;
        std::istringstream lines(walk.str());
        std::string line;
        for (std::int64_t i = 0; std::getline(lines, line); ++i)
        {
            const std::string prices = line.substr(11); // open,high,low,close,volume
            const std::int64_t nSeconds = kFirstHour + i * 3600;
            const std::time_t t = static_cast<std::time_t>(nSeconds);
            std::tm tm;
            gmtime_r(&t, &tm);
            char date[32];
            std::strftime(date, sizeof date, "%Y.%m.%d,%H:%M", &tm);
            mt << date << ',' << prices << "\r\n";
            unix << nSeconds * 1000 << ',' << prices << '\n';

            double o = 0, h = 0, l = 0, c = 0;
            unsigned long long v = 0;
            std::sscanf(prices.c_str(), "%lf,%lf,%lf,%lf,%llu", &o, &h, &l, &c, &v);
            char record[60] = {};
            const std::uint32_t nDate =
                std::uint32_t((tm.tm_year + 1900) * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday);
            const std::int32_t cents[4] = {std::int32_t(o * 100 + 0.5), std::int32_t(h * 100 + 0.5),
                                           std::int32_t(l * 100 + 0.5),
                                           std::int32_t(c * 100 + 0.5)};
            std::memcpy(record, &nDate, 4);
            std::memcpy(record + 4, cents, 16);
            std::memcpy(record + 24, &v, 4);
            day.write(record, 32);
            std::memset(record, 0, sizeof record);
            const std::int64_t nTime = nSeconds;
            const double prices4[4] = {o, h, l, c};
            std::memcpy(record, &nTime, 8);
            std::memcpy(record + 8, prices4, 32);
            std::memcpy(record + 40, &v, 8);
            history.write(record, 60);
        }
    }
};

const SFiles& Files()
{
    static const SFiles files;
    return files;
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The loader on one file, alternating with the yardstick on the plain file.
void LoadAgainstYardstick(benchmark::State& state, const std::string& strPath)
{
    const std::string& strPlain = Files().strPlain;
    double dLoader = 0, dYardstick = 0;
    size_t nBars = 0;
    for (auto _ : state)
    {
        auto start = std::chrono::steady_clock::now();
        SKLineLoad load;
        LoadKLineFile(strPath, &load);
        const double dThis = Seconds(std::chrono::steady_clock::now() - start);
        nBars = load.m_vecBars.size();
        benchmark::DoNotOptimize(load.m_vecBars.data());

        start = std::chrono::steady_clock::now();
        std::vector<SChartCandlestickPoint> bars;
        yardstick::SKLineReadStats stats;
        yardstick::ReadKLineFile(strPlain, &bars, &stats);
        dYardstick += Seconds(std::chrono::steady_clock::now() - start);
        benchmark::DoNotOptimize(bars.data());
        dLoader += dThis;
        state.SetIterationTime(dThis);
    }
    if (nBars != size_t(kBars))
        state.SkipWithError("the generated file did not load completely");
    state.SetItemsProcessed(state.iterations() * kBars);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(strPath)));
    state.counters["x_yardstick"] = dYardstick / dLoader;
    state.counters["yardstick_Mbars/s"] = double(state.iterations()) * kBars / dYardstick / 1e6;
}

void BM_LoadPlain(benchmark::State& state)
{
    LoadAgainstYardstick(state, Files().strPlain);
}
void BM_LoadMetaTraderTwoColumns(benchmark::State& state)
{
    LoadAgainstYardstick(state, Files().strMetaTrader);
}
void BM_LoadUnixMilliseconds(benchmark::State& state)
{
    LoadAgainstYardstick(state, Files().strUnixMs);
}
BENCHMARK(BM_LoadPlain)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);
BENCHMARK(BM_LoadMetaTraderTwoColumns)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(3.0);
BENCHMARK(BM_LoadUnixMilliseconds)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

void LoadBinary(benchmark::State& state, const std::string& strPath)
{
    size_t nBars = 0;
    for (auto _ : state)
    {
        SKLineLoad load;
        LoadKLineFile(strPath, &load);
        nBars = load.m_vecBars.size();
        benchmark::DoNotOptimize(load.m_vecBars.data());
    }
    if (nBars != size_t(kBars))
        state.SkipWithError("the generated file did not load completely");
    state.SetItemsProcessed(state.iterations() * kBars);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(strPath)));
}

void BM_LoadChineseDayFile(benchmark::State& state)
{
    LoadBinary(state, Files().strDay);
}
void BM_LoadMetaTraderHistory(benchmark::State& state)
{
    LoadBinary(state, Files().strHistory);
}
BENCHMARK(BM_LoadChineseDayFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadMetaTraderHistory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What the program does on loading: read, then hand the bars to the replay.
void BM_LoadMillionBars(benchmark::State& state)
{
    const std::string& path = Files().strPlain;
    CKLinePlayer player;
    for (auto _ : state)
    {
        player.Load(path);
        benchmark::DoNotOptimize(player.m_nBarCount);
    }
    if (player.m_nBarCount != kBars)
        state.SkipWithError("the generated file did not load completely");
    state.SetItemsProcessed(state.iterations() * kBars);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadMillionBars)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
