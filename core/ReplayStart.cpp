#include "core/ReplayStart.h"

#include "core/KLineFile.h"
#include "core/KLinePlayer.h"
#include "core/ReplaySettings.h"

#include <algorithm>
#include <cmath>

namespace
{

// The OLE day of a strict "YYYY-MM-DD" text; the loader's reading does the calendar.
bool ParseDay(const std::string& strDate, double* pDay)
{
    if (strDate.size() != 10 || strDate[4] != '-' || strDate[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (strDate[i] < '0' || strDate[i] > '9')
            return false;
    return ParseKLineDate(strDate, pDay);
}

// The day of an OLE date is its whole part toward zero: -1.25 is still day -1.
double DayOf(double dDate)
{
    return std::trunc(dDate);
}

int ClampStart(int nCursor, int nWindowBars, int nBarCount)
{
    return std::min(std::max(nCursor, std::max(nWindowBars, 1)), nBarCount);
}

} // namespace

bool BarsOnOrBeforeDate(const std::vector<SChartCandlestickPoint>& vecBars,
                        const std::string& strDate, int* pnBars)
{
    double dDay = 0.0;
    if (!ParseDay(strDate, &dDay))
        return false;
    const auto itAfter = std::upper_bound(vecBars.begin(), vecBars.end(), dDay,
                                          [](double d, const SChartCandlestickPoint& bar)
                                          { return d < DayOf(bar.dDate); });
    *pnBars = static_cast<int>(itAfter - vecBars.begin());
    return true;
}

bool ReplayStartForDate(const std::vector<SChartCandlestickPoint>& vecBars, int nWindowBars,
                        const std::string& strDate, int* pCursor)
{
    int nBarsOnOrBefore = 0;
    if (vecBars.empty() || !BarsOnOrBeforeDate(vecBars, strDate, &nBarsOnOrBefore))
        return false;
    *pCursor = ClampStart(nBarsOnOrBefore, nWindowBars, static_cast<int>(vecBars.size()));
    return true;
}

bool RandomReplayStart(const std::vector<SChartCandlestickPoint>& vecBars, int nWindowBars,
                       std::mt19937& generator, int* pCursor)
{
    const int nBarCount = static_cast<int>(vecBars.size());
    const int nFirst = std::max(nWindowBars, 1);
    if (nBarCount < nFirst)
        return false;
    // A fifth of the file, rounded up, stays to be played after the start.
    const int nLast = nBarCount - (nBarCount + 4) / 5;
    if (nLast <= nFirst)
    {
        *pCursor = nFirst;
        return true;
    }
    std::uniform_int_distribution<int> pick(nFirst, nLast);
    *pCursor = pick(generator);
    return true;
}

void SeekReplayStart(CKLinePlayer& player, int nCursor)
{
    const int nWindowBars = ReplaySettings().m_nWindowBars;
    const int nCount = player.m_nBarCount;
    nCursor = ClampStart(nCursor, nWindowBars, nCount);
    // Up to the N-th bar the player's first step already shows the first window.
    if (nCursor <= nWindowBars || nWindowBars <= 0)
    {
        player.m_nCursor = 0;
        return;
    }
    const auto itFirst = player.m_vecBars.begin() + (nCursor - 1 - nWindowBars);
    player.m_vecWindow.assign(itFirst, itFirst + nWindowBars);
    player.m_nCursor = nCursor - 1;
}
