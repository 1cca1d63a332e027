#pragma once

class CChartSerie;

// Receives mouse events that hit a point of a series. The series does not own it.
class ChartSerieMouseHandler
{
public:
    virtual ~ChartSerieMouseHandler() = default;
    // nEvent is a ChartMouseEvent code; x and y are client coordinates of the control.
    virtual void OnPointEvent(int nEvent, int x, int y, CChartSerie* pSerie,
                              unsigned nPointIndex) = 0;
};
