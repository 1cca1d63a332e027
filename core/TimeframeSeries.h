#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "core/Timeframe.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A file's bars in a higher timeframe, built once per file and timeframe, and what the replay
// shows of it at any cursor (the number of file bars revealed).
//
// An aggregate bar holds a run of neighbouring file bars in one period: the open of the first,
// the high and low over the run, the close of the last. Periods without bars give no bar. Its
// date is the start of the period (TimeframePeriodStart), not of its first bar: that is what the
// axis labels, it does not move while the bar forms, and a trade marker dated at any file bar
// lands on the bar that holds it through TimeframePeriodStart of the marker's own date, without
// looking the bar up. BarOfFileBar gives the same by index.
//
// Every query is O(1) but RevealedWindow, which is O(window); none depends on the cursor asked
// before, so stepping back costs what stepping forward does.
class CTimeframeSeries
{
public:
    CTimeframeSeries() = default;
    // O(nCount). A bar whose date has no calendar day (beyond the years 100 to 9999) stands
    // alone, dated as written.
    CTimeframeSeries(const SChartCandlestickPoint* pBars, std::size_t nCount, ETimeframe eFrame);

    ETimeframe Timeframe() const { return m_eFrame; }
    std::size_t FileBarCount() const { return m_vecSoFar.size(); }

    // The aggregate bars of the whole file, complete, oldest first.
    const std::vector<SChartCandlestickPoint>& Bars() const { return m_vecBars; }
    // The aggregate bar holding file bar nFileBar (below FileBarCount()).
    std::size_t BarOfFileBar(std::size_t nFileBar) const;
    // The first file bar of aggregate bar nBar (below Bars().size()).
    std::size_t FirstFileBar(std::size_t nBar) const;

    // How many aggregate bars hold at least one of the first nCursor file bars; a cursor past
    // the file counts as the whole file.
    std::size_t RevealedCount(std::size_t nCursor) const;
    // The newest of those as the replay shows it: its high, low and close come from the first
    // nCursor file bars only. False, *pBar untouched, when no bar is revealed.
    bool FormingBar(std::size_t nCursor, SChartCandlestickPoint* pBar) const;
    // The newest nWindowBars of those (fewer when fewer are revealed), oldest first, the newest
    // being the forming bar. Reuses the vector's storage.
    void RevealedWindow(std::size_t nCursor, std::size_t nWindowBars,
                        std::vector<SChartCandlestickPoint>* pvecWindow) const;

private:
    // A group's extremes and close with the file bars up to one bar revealed.
    struct SSoFar
    {
        double dLow = 0.0;
        double dHigh = 0.0;
        double dClose = 0.0;
        std::uint32_t nBar = 0; // the aggregate bar
    };

    ETimeframe m_eFrame = ETimeframe::Minute1;
    std::vector<SChartCandlestickPoint> m_vecBars;
    std::vector<std::uint32_t> m_vecFirstFileBar; // per aggregate bar
    std::vector<SSoFar> m_vecSoFar;               // per file bar
};
