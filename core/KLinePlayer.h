#pragma once

#include "chart/ChartCandlestickPoint.h"

#include <string>
#include <vector>

class CChartCtrl;

// Replays a loaded K-line file bar by bar: a window of the N newest revealed bars, a cursor
// into the file, and the prices of the current (newest) bar. N is the replay setting
// m_nWindowBars, read at every Load and Step.
class CKLinePlayer
{
public:
    // Reads the file and restarts the replay: cursor 0, a window of N zero bars, no current bar.
    // A file that cannot be opened is reported on standard error, leaves no bars at all and
    // answers false, with the reason in *pstrReason when that is given.
    bool Load(const std::string& strPath, std::string* pstrReason = nullptr);

    // Reveals one more bar and shows the window on the chart as a fresh candlestick series.
    // Returns the new cursor; equal to m_nBarCount once the last bar is current. With fewer
    // than N bars loaded it shows the bars there are and returns m_nBarCount at once.
    int Step();

    // A bar has been revealed since the last Load: its close is a price to trade and mark at.
    bool HasCurrentBar() const { return m_nCursor > 0; }
    // Draws the current window again as a fresh series, for a chart whose other series changed.
    void ShowCurrentWindow() { ShowWindow(m_vecWindow.data(), m_vecWindow.size()); }

    CChartCtrl* m_pChart = nullptr; // not owned; Step draws into it
    int m_nBarCount = 0;            // bars in m_vecBars
    int m_nCursor = 0;              // bars revealed so far; index of the next bar to reveal
    std::vector<SChartCandlestickPoint> m_vecBars;
    std::vector<SChartCandlestickPoint> m_vecWindow; // oldest first
    double m_dOpen = 0.0;
    double m_dHigh = 0.0;
    double m_dLow = 0.0;
    double m_dClose = 0.0;     // the price of every trade and mark
    int m_nPriceDecimals = 2;  // decimals prices of the file are shown with, 2 to 6
    bool m_bTimeOfDay = false; // the file's bars carry times of day (intraday bars)

private:
    // A fresh series on the chart holding the window's bars; nothing without a chart.
    void ShowWindow(const SChartCandlestickPoint* pBars, size_t nCount);
    void MakeCurrent(const SChartCandlestickPoint& bar);
};
