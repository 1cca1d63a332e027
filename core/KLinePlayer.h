#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "core/KLineFile.h"

#include <string>
#include <vector>

class CChartCtrl;

// Replays a loaded K-line file bar by bar: a window of the N newest revealed bars, a cursor
// into the file, and the prices of the current (newest) bar. N is the replay setting
// m_nWindowBars, read at every Load and Step.
class CKLinePlayer
{
public:
    // Reads the file, its layout recognised from its first lines, and restarts the replay:
    // cursor 0, a window of N zero bars, no current bar. The note on what was read goes to
    // standard error. A file that gives no bars (it cannot be opened, is not a regular file, is
    // empty or binary, its layout is unknown or ambiguous, no line is a bar) changes nothing:
    // the answer is false, with the reason in *pstrReason (KLineLoadFailureText) and on
    // standard error.
    bool Load(const std::string& strPath, std::string* pstrReason = nullptr);
    // The same with a layout the trader chose.
    bool Load(const std::string& strPath, const SKLineLayout& layout,
              std::string* pstrReason = nullptr);
    // With the trader's layout, or the file's own when pLayout is null. On false *pRefused
    // holds what the read found: its error, and the layout it read with or proposes.
    bool Load(const std::string& strPath, const SKLineLayout* pLayout, SKLineLoad* pRefused);

    // The note on the file loaded last (KLineLoadNote); empty before any load.
    std::string LoadNote() const;

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
    int m_nPriceDecimals = 2;  // decimals prices of the file are shown with, 2 to 10
    bool m_bTimeOfDay = false; // the file's bars carry times of day (intraday bars)
    // Beside m_vecBars, one per bar: the file's volumes (NaN where a bar has none), or empty
    // when the file has no volume column.
    std::vector<double> m_vecVolumes;
    SKLineLayout m_layout;   // the layout the file was read with, to keep per file
    SKLineReadStats m_stats; // what the read skipped and noted
    std::string m_strFilePath;

private:
    bool Take(const std::string& strPath, SKLineLoad* pLoad, bool bRead, std::string* pstrReason);
    // A fresh series on the chart holding the window's bars; nothing without a chart.
    void ShowWindow(const SChartCandlestickPoint* pBars, size_t nCount);
    void MakeCurrent(const SChartCandlestickPoint& bar);
};
