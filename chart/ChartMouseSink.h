#pragma once

#include "chart/Forward.h"

// Observer of the mouse over the chart, told which part of the chart an event happened in.
// One event can reach several notifications (a point inside the plot and a legend floating
// over it). Not owned by the control.
class IChartMouseSink
{
public:
    virtual ~IChartMouseSink() = default;
    virtual void OnTitleMouse(int nEvent, int x, int y) = 0;
    virtual void OnAxisMouse(int nEvent, int x, int y, CChartAxis* pAxis) = 0;
    virtual void OnLegendMouse(int nEvent, int x, int y) = 0;
    virtual void OnPlotMouse(int nEvent, int x, int y) = 0;
};
