#pragma once

#include "chart/Forward.h"
#include "platform/ScrollBar.h"
#include "platform/WinTypes.h"

// The scroll bar along the inner edge of the plot rectangle next to its axis. One step is a
// tenth of the axis's visible span; the page is always ten steps (one visible span).
class CChartScrollBar : public CScrollBar
{
public:
    explicit CChartScrollBar(CChartAxis* pAxis);
    ~CChartScrollBar() override;

    // Creates the hidden child window over the plot rectangle and sets the first scroll info.
    bool CreateForAxis(RECT rcPlot);
    void SyncWithAxis();
    void HandleHScroll(UINT nSBCode, UINT nPos);
    void HandleVScroll(UINT nSBCode, UINT nPos);

    // Scroll positions grow against the axis values (vertical not reversed, horizontal reversed).
    bool IsMirrored() const;

private:
    void HandleScroll(UINT nSBCode, UINT nPos);

public:
    CChartAxis* m_pAxis = nullptr;
    bool m_bEnabled = false;
    bool m_bAutoHide = true;
};
