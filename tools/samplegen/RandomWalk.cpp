#include "tools/samplegen/RandomWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace
{

// std::normal_distribution differs between libraries; Box-Muller over mt19937_64 does not.
class CGaussian
{
public:
    explicit CGaussian(std::uint64_t nSeed) : m_engine(nSeed) {}

    double Next()
    {
        const double u1 = (static_cast<double>(m_engine() >> 11) + 1.0) * 0x1.0p-53;
        const double u2 = static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

    std::uint64_t NextInteger(std::uint64_t nBound) { return m_engine() % nBound; }

private:
    std::mt19937_64 m_engine;
};

double Cents(double dPrice)
{
    return std::max(0.01, std::round(dPrice * 100.0) / 100.0);
}

struct SCalendarDay
{
    int nYear = 2015, nMonth = 1, nDay = 5, nWeekday = 1; // a Monday

    void NextWeekday()
    {
        do
        {
            static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
            const int nInMonth = kDays[nMonth - 1] + (nMonth == 2 && bLeap ? 1 : 0);
            if (++nDay > nInMonth)
            {
                nDay = 1;
                if (++nMonth > 12)
                {
                    nMonth = 1;
                    ++nYear;
                }
            }
            nWeekday = (nWeekday + 1) % 7;
        } while (nWeekday == 0 || nWeekday == 6);
    }
};

} // namespace

void WriteRandomWalkKLines(std::ostream& out, long nBars, std::uint64_t nSeed)
{
    CGaussian random(nSeed);
    SCalendarDay day;
    double dClose = 50.0;
    char line[160];
    for (long i = 0; i < nBars; ++i, day.NextWeekday())
    {
        const double dOpen = Cents(dClose * (1.0 + 0.004 * random.Next()));
        dClose = Cents(dOpen * (1.0 + 0.015 * random.Next()));
        const double dHigh = Cents(std::max(dOpen, dClose) * (1.0 + std::fabs(0.006 * random.Next())));
        const double dLow = Cents(std::min(dOpen, dClose) * (1.0 - std::fabs(0.006 * random.Next())));
        const unsigned long long nVolume = 100000 + random.NextInteger(900000);
        const int nLength = std::snprintf(line, sizeof line, "%04d-%02d-%02d,%.2f,%.2f,%.2f,%.2f,%llu\n",
                                          day.nYear, day.nMonth, day.nDay, dOpen,
                                          std::max({dHigh, dOpen, dClose}),
                                          std::min({dLow, dOpen, dClose}), dClose, nVolume);
        out.write(line, nLength);
    }
}
