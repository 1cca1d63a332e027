#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "chart/ChartOrderLine.h"
#include "core/Timeframe.h"
#include "core/TimeframeSeries.h"
#include "core/TradeOrder.h"
#include "platform/WinTypes.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CChartCtrl;
class CChartCrosshair;
class CChartDateTimeAxis;
class CChartOrderLines;
class CChartOrderLineSerie;
class CChartStandardAxis;
class CChartTradeMarkerSerie;
class CPracticeSession;
class CTradeDesk;

// The replay as one chart shows it, in the file's own bars or in a higher timeframe whose newest
// bar forms from the file's bars revealed so far: the date and price axes, the crosshair, the
// candles of the window, the chosen moving averages, the trade markers on the bars that hold
// them, the open position's average and the working orders' lines.
class CReplayChart
{
public:
    static constexpr std::array<int, 4> kAveragePeriods = {5, 10, 20, 60};

    // Sets the chart up: both axes follow the window's bars, the date axis scrolls.
    explicit CReplayChart(CChartCtrl& chart);

    // The timeframe shown; none is the file's own bars. Takes effect at the next ShowNewFile or
    // ShowReplay.
    void SetTimeframe(std::optional<ETimeframe> timeframe);
    std::optional<ETimeframe> Timeframe() const { return m_timeframe; }

    // Axis labels, the crosshair's decimals and the timeframe's bars for the session's file; the
    // old file's bars go.
    void ShowNewFile(const CPracticeSession& session);
    // The window of bars up to the newest revealed one, with its averages and markers. Call it
    // inside the refresh hold of the step, so a tick redraws once.
    void ShowReplay(const CPracticeSession& session);
    // The markers and the average price after a trade.
    void ShowTradeMarkers(const CPracticeSession& session);
    // The session's working orders as lines with their labels, after the orders changed. Once a
    // bar is shown the lines are always there, without orders too: their decimals round the
    // prices a drag or a right click on the chart reports.
    void ShowOrderLines(const CPracticeSession& session);
    // The same for a desk's orders, with prices in nPriceDecimals decimals.
    void ShowOrderLines(const CTradeDesk& desk, int nPriceDecimals);
    // What the order lines call each kind of order, in the program's language.
    void SetOrderKindNames(std::function<std::string(ETradeOrderKind)> fnName)
    {
        m_fnOrderKindName = std::move(fnName);
    }

    bool IsAverageShown(std::size_t nIndex) const { return m_arrAverageShown[nIndex]; }
    void SetAverageShown(std::size_t nIndex, bool bShown) { m_arrAverageShown[nIndex] = bShown; }

    CChartCtrl& Chart() const { return m_chart; }
    CChartCrosshair* Crosshair() const { return m_pCrosshair; }
    // Null until the orders are first shown.
    CChartOrderLines* OrderLines() const { return m_pOrderLines; }
    CChartDateTimeAxis* DateAxis() const { return m_pTimeAxis; }
    CChartStandardAxis* PriceAxis() const { return m_pPriceAxis; }

private:
    // The last nWindow + nHistory bars at this chart's timeframe up to the newest revealed one.
    void ShownBars(const CPracticeSession& session, std::size_t nHistory,
                   std::vector<SChartCandlestickPoint>* pvecBars) const;
    // Where a trade made on a file bar of this date sits on this chart.
    double ShownDate(double dFileBarDate) const;
    void Clear();
    void SetDatePadding(const CPracticeSession& session);
    void ShowCandles();
    void ShowAverages();
    CChartTradeMarkerSerie* FindMarkerSerie();
    CChartOrderLineSerie* FindOrderLineSerie();

    CChartCtrl& m_chart;
    CChartDateTimeAxis* m_pTimeAxis = nullptr;  // owned by m_chart
    CChartStandardAxis* m_pPriceAxis = nullptr; // owned by m_chart
    CChartCrosshair* m_pCrosshair = nullptr;    // owned by m_chart
    CChartOrderLines* m_pOrderLines = nullptr;  // owned by m_chart
    std::vector<SChartOrderLine> m_vecOrderLines; // reused from step to step
    std::function<std::string(ETradeOrderKind)> m_fnOrderKindName = OrderKindName;
    std::array<bool, 4> m_arrAverageShown = {false, false, false, false};
    std::optional<ETimeframe> m_timeframe;
    std::unique_ptr<CTimeframeSeries> m_pSeries; // the file in m_timeframe; null for its own bars
    std::vector<SChartCandlestickPoint> m_vecShown; // the window with the averages' history
    std::size_t m_nWindowShown = 0;                 // its last bars, the ones on the chart
};
