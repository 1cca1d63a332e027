#include "core/TimeframeSeries.h"

#include <algorithm>
#include <cassert>
#include <limits>

CTimeframeSeries::CTimeframeSeries(const SChartCandlestickPoint* pBars, std::size_t nCount,
                                   ETimeframe eFrame)
    : m_eFrame(eFrame)
{
    assert(nCount <= std::numeric_limits<std::uint32_t>::max() &&
           "CTimeframeSeries: split files of more than 2^32 bars");
    m_vecSoFar.reserve(nCount);
    double dPeriod = 0.0;
    bool bPeriod = false; // the newest group has a period a next bar can share
    for (std::size_t i = 0; i < nCount; ++i)
    {
        const SChartCandlestickPoint& bar = pBars[i];
        double dStart = bar.dDate;
        const bool bStart = TimeframePeriodStart(eFrame, bar.dDate, &dStart);
        if (!bStart || !bPeriod || dStart != dPeriod)
        {
            m_vecBars.push_back({dStart, bar.dLow, bar.dHigh, bar.dOpen, bar.dClose});
            m_vecFirstFileBar.push_back(static_cast<std::uint32_t>(i));
        }
        SChartCandlestickPoint& group = m_vecBars.back();
        group.dLow = std::min(group.dLow, bar.dLow);
        group.dHigh = std::max(group.dHigh, bar.dHigh);
        group.dClose = bar.dClose;
        m_vecSoFar.push_back({group.dLow, group.dHigh, group.dClose,
                              static_cast<std::uint32_t>(m_vecBars.size() - 1)});
        dPeriod = dStart;
        bPeriod = bStart;
    }
}

std::size_t CTimeframeSeries::BarOfFileBar(std::size_t nFileBar) const
{
    assert(nFileBar < m_vecSoFar.size() && "CTimeframeSeries::BarOfFileBar: index past the file");
    return m_vecSoFar[nFileBar].nBar;
}

std::size_t CTimeframeSeries::FirstFileBar(std::size_t nBar) const
{
    assert(nBar < m_vecFirstFileBar.size() &&
           "CTimeframeSeries::FirstFileBar: index past the bars");
    return m_vecFirstFileBar[nBar];
}

std::size_t CTimeframeSeries::RevealedCount(std::size_t nCursor) const
{
    nCursor = std::min(nCursor, m_vecSoFar.size());
    return nCursor == 0 ? 0 : std::size_t{m_vecSoFar[nCursor - 1].nBar} + 1;
}

bool CTimeframeSeries::FormingBar(std::size_t nCursor, SChartCandlestickPoint* pBar) const
{
    nCursor = std::min(nCursor, m_vecSoFar.size());
    if (nCursor == 0 || pBar == nullptr)
        return false;
    const SSoFar& soFar = m_vecSoFar[nCursor - 1];
    const SChartCandlestickPoint& group = m_vecBars[soFar.nBar];
    *pBar = {group.dDate, soFar.dLow, soFar.dHigh, group.dOpen, soFar.dClose};
    return true;
}

void CTimeframeSeries::RevealedWindow(std::size_t nCursor, std::size_t nWindowBars,
                                      std::vector<SChartCandlestickPoint>* pvecWindow) const
{
    pvecWindow->clear();
    const std::size_t nRevealed = RevealedCount(nCursor);
    if (nRevealed == 0 || nWindowBars == 0)
        return;
    const std::size_t nFirst = nRevealed - std::min(nWindowBars, nRevealed);
    // Groups before the newest are complete: every one of their bars lies before the cursor.
    pvecWindow->assign(m_vecBars.begin() + static_cast<std::ptrdiff_t>(nFirst),
                       m_vecBars.begin() + static_cast<std::ptrdiff_t>(nRevealed));
    FormingBar(nCursor, &pvecWindow->back());
}
