#include "core/Timeframe.h"

#include "chart/ChartCandlestickPoint.h"
#include "platform/OleDate.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace
{

constexpr std::int64_t kMsPerMinute = 60'000;
constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr double kOleDateLimit = 3e6; // past 9999-12-31
constexpr std::int64_t kSecondsPerDay = 86'400;

struct STimeframeName
{
    ETimeframe eFrame;
    const char* szCode;
    std::int64_t nSeconds;
};

constexpr STimeframeName kNames[kTimeframeCount] = {
    {ETimeframe::Minute1, "M1", 60},
    {ETimeframe::Minute5, "M5", 5 * 60},
    {ETimeframe::Minute15, "M15", 15 * 60},
    {ETimeframe::Minute30, "M30", 30 * 60},
    {ETimeframe::Hour1, "H1", 3600},
    {ETimeframe::Hour4, "H4", 4 * 3600},
    {ETimeframe::Day, "D1", kSecondsPerDay},
    {ETimeframe::Week, "W1", 7 * kSecondsPerDay},
    {ETimeframe::Month, "MN", 28 * kSecondsPerDay},
};

std::int64_t FloorDiv(std::int64_t n, std::int64_t d)
{
    const std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// Milliseconds since 1899-12-30 00:00 on one straight line, which OLE dates before the epoch are
// not: -1.25 is 18 hours before it. The time of day rounds to the millisecond as the calendar
// conversions do. Callers pass dates those conversions accept.
std::int64_t OleDateToMs(double dDate)
{
    const double dWhole = std::trunc(dDate);
    const auto nDays = static_cast<std::int64_t>(dWhole);
    const std::int64_t nTime =
        std::llround(std::fabs(dDate - dWhole) * static_cast<double>(kMsPerDay));
    return nDays * kMsPerDay + nTime;
}

double MsToOleDate(std::int64_t nMs)
{
    const std::int64_t nDays = FloorDiv(nMs, kMsPerDay);
    const double dTime =
        static_cast<double>(nMs - nDays * kMsPerDay) / static_cast<double>(kMsPerDay);
    const auto dDays = static_cast<double>(nDays);
    return nDays >= 0 ? dDays + dTime : dDays - dTime;
}

} // namespace

int TimeframeIndex(ETimeframe eFrame)
{
    return static_cast<int>(eFrame);
}

bool TimeframeFromIndex(int nIndex, ETimeframe* peFrame)
{
    if (nIndex < 0 || nIndex >= kTimeframeCount || peFrame == nullptr)
        return false;
    *peFrame = kNames[nIndex].eFrame;
    return true;
}

const char* TimeframeCode(ETimeframe eFrame)
{
    return kNames[TimeframeIndex(eFrame)].szCode;
}

std::int64_t TimeframeSeconds(ETimeframe eFrame)
{
    return kNames[TimeframeIndex(eFrame)].nSeconds;
}

bool TimeframePeriodStart(ETimeframe eFrame, double dDate, double* pdStart)
{
    UDATE udate;
    if (pdStart == nullptr || !VarUdateFromDate(dDate, 0, &udate))
        return false;
    const std::int64_t nMs = OleDateToMs(dDate);
    const std::int64_t nDay = FloorDiv(nMs, kMsPerDay);
    std::int64_t nStartDay = nDay;
    switch (eFrame)
    {
    case ETimeframe::Day:
        break;
    case ETimeframe::Week:
        nStartDay -= (udate.st.wDayOfWeek + 6) % 7; // days since Monday
        break;
    case ETimeframe::Month:
        nStartDay -= udate.st.wDay - 1;
        break;
    default:
    {
        // Every minute and hour period divides a day, so counting from the epoch aligns them to
        // the clock of every day.
        const std::int64_t nPeriodMs = TimeframeSeconds(eFrame) / 60 * kMsPerMinute;
        *pdStart = MsToOleDate(FloorDiv(nMs, nPeriodMs) * nPeriodMs);
        return true;
    }
    }
    *pdStart = MsToOleDate(nStartDay * kMsPerDay);
    return true;
}

std::int64_t BarSpacingSeconds(const SChartCandlestickPoint* pBars, std::size_t nCount)
{
    std::vector<std::int64_t> vecGaps;
    vecGaps.reserve(nCount);
    std::int64_t nPreviousMs = 0;
    bool bPrevious = false;
    for (std::size_t i = 0; i < nCount; ++i)
    {
        // The loader gives only calendar dates; this keeps the conversion defined regardless.
        if (!(std::fabs(pBars[i].dDate) < kOleDateLimit))
            continue;
        const std::int64_t nMs = OleDateToMs(pBars[i].dDate);
        if (bPrevious && nMs > nPreviousMs)
        {
            const std::int64_t nSeconds = (nMs - nPreviousMs + 500) / 1000;
            if (nSeconds > 0)
                vecGaps.push_back(nSeconds);
        }
        nPreviousMs = nMs;
        bPrevious = true;
    }
    if (vecGaps.empty())
        return 0;

    std::unordered_map<std::int64_t, std::size_t> mapCounts;
    for (const std::int64_t nGap : vecGaps)
        ++mapCounts[nGap];
    std::int64_t nMode = 0;
    std::size_t nModeCount = 0;
    for (const auto& [nGap, nTimes] : mapCounts)
    {
        if (nTimes > nModeCount || (nTimes == nModeCount && nGap < nMode))
        {
            nMode = nGap;
            nModeCount = nTimes;
        }
    }
    if (nModeCount * 4 >= vecGaps.size())
        return nMode;
    const auto itMedian = vecGaps.begin() + static_cast<std::ptrdiff_t>((vecGaps.size() - 1) / 2);
    std::nth_element(vecGaps.begin(), itMedian, vecGaps.end());
    return *itMedian;
}

ETimeframe FinestTimeframeFor(std::int64_t nSpacingSeconds)
{
    for (const STimeframeName& name : kNames)
    {
        if (name.nSeconds >= nSpacingSeconds)
            return name.eFrame;
    }
    return ETimeframe::Month;
}
