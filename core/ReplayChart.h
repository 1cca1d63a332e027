#pragma once

#include "platform/WinTypes.h"

#include <array>
#include <cstddef>

class CChartCtrl;
class CChartCrosshair;
class CChartDateTimeAxis;
class CChartStandardAxis;
class CChartTradeMarkerSerie;
class CPracticeSession;

// The replay as the chart shows it: the date and price axes, the crosshair, and over the
// player's candles the chosen moving averages, the trade markers and the open position's average.
class CReplayChart
{
public:
    static constexpr std::array<int, 4> kAveragePeriods = {5, 10, 20, 60};

    // Sets the chart up: both axes follow the window's bars, the date axis scrolls.
    explicit CReplayChart(CChartCtrl& chart);

    // Axis labels and the crosshair's decimals for the session's file; the old file's bars go.
    void ShowNewFile(const CPracticeSession& session);
    // The averages and markers over the window the player has just drawn. Call it inside the
    // refresh hold of the step, so a tick redraws once.
    void ShowOverlays(const CPracticeSession& session);
    // The markers and the average price after a trade.
    void ShowTradeMarkers(const CPracticeSession& session);
    // The window again as a fresh series with its overlays, after a change of what is shown.
    void Redraw(CPracticeSession& session);

    bool IsAverageShown(std::size_t nIndex) const { return m_arrAverageShown[nIndex]; }
    void SetAverageShown(std::size_t nIndex, bool bShown) { m_arrAverageShown[nIndex] = bShown; }

    CChartCrosshair* Crosshair() const { return m_pCrosshair; }
    CChartDateTimeAxis* DateAxis() const { return m_pTimeAxis; }
    CChartStandardAxis* PriceAxis() const { return m_pPriceAxis; }

private:
    void Clear();
    void SetDatePadding(const CPracticeSession& session);
    void ShowAverages(const CPracticeSession& session);
    CChartTradeMarkerSerie* FindMarkerSerie();

    CChartCtrl& m_chart;
    CChartDateTimeAxis* m_pTimeAxis = nullptr;  // owned by m_chart
    CChartStandardAxis* m_pPriceAxis = nullptr; // owned by m_chart
    CChartCrosshair* m_pCrosshair = nullptr;    // owned by m_chart
    std::array<bool, 4> m_arrAverageShown = {false, false, false, false};
};
