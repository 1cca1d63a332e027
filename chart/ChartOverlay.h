#pragma once

class CDC;

// An object drawn over the chart at paint time, after the back buffer has been copied.
class ChartOverlay
{
public:
    virtual ~ChartOverlay() = default;
    virtual void OverlayMouseMove(int x, int y) = 0;
    // The mouse has moved over the control outside the plot.
    virtual void OverlayMouseLeave() {}
    virtual void OverlayButtonDown(int x, int y) = 0;
    virtual void OverlayButtonUp(int x, int y) = 0;
    virtual void DrawOverlay(CDC* pDC) = 0;
};
