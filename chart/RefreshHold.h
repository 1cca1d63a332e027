#pragma once

#include "chart/ChartCtrl.h"

// Holds the chart's refresh for the life of the object: every RefreshChart asked for meanwhile
// becomes at most one redraw, done when the outermost hold is released.
class CRefreshHold
{
public:
    explicit CRefreshHold(CChartCtrl* pChart) : m_pChart(pChart)
    {
        if (m_pChart)
            m_pChart->HoldRefresh();
    }
    ~CRefreshHold()
    {
        if (m_pChart)
            m_pChart->ReleaseRefresh();
    }

    CRefreshHold(const CRefreshHold&) = delete;
    CRefreshHold& operator=(const CRefreshHold&) = delete;

private:
    CChartCtrl* m_pChart = nullptr;
};
