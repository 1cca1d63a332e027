#include "core/ReplayStart.h"

#include "core/KLinePlayer.h"
#include "core/ReplaySettings.h"
#include "platform/OleDate.h"

#include <algorithm>
#include <cmath>

namespace
{

bool ParseDigits(const std::string& strText, std::size_t nFrom, std::size_t nCount, int* pValue)
{
    int nValue = 0;
    for (std::size_t i = nFrom; i < nFrom + nCount; ++i)
    {
        if (strText[i] < '0' || strText[i] > '9')
            return false;
        nValue = nValue * 10 + (strText[i] - '0');
    }
    *pValue = nValue;
    return true;
}

// The OLE day number of a "YYYY-MM-DD" text.
bool ParseDay(const std::string& strDate, double* pDay)
{
    int nYear = 0, nMonth = 0, nDay = 0;
    if (strDate.size() != 10 || strDate[4] != '-' || strDate[7] != '-' ||
        !ParseDigits(strDate, 0, 4, &nYear) || !ParseDigits(strDate, 5, 2, &nMonth) ||
        !ParseDigits(strDate, 8, 2, &nDay) || !IsValidOleCalendarDay(nYear, nMonth, nDay))
        return false;
    SYSTEMTIME st;
    st.wYear = static_cast<std::uint16_t>(nYear);
    st.wMonth = static_cast<std::uint16_t>(nMonth);
    st.wDay = static_cast<std::uint16_t>(nDay);
    return SystemTimeToVariantTime(&st, pDay);
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

bool ReplayStartForDate(const std::vector<SChartCandlestickPoint>& vecBars, int nWindowBars,
                        const std::string& strDate, int* pCursor)
{
    double dDay = 0.0;
    if (vecBars.empty() || !ParseDay(strDate, &dDay))
        return false;
    const auto itAfter = std::upper_bound(vecBars.begin(), vecBars.end(), dDay,
                                          [](double d, const SChartCandlestickPoint& bar)
                                          { return d < DayOf(bar.dDate); });
    const int nBarsOnOrBefore = static_cast<int>(itAfter - vecBars.begin());
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
