#pragma once

#include "platform/WinTypes.h"

// What the user asks of orders on the chart; the window decides and answers by showing the
// orders again. Not owned by the control.
class IChartOrderSink
{
public:
    virtual ~IChartOrderSink() = default;
    // A line was dragged with the left button to dPrice, the price under the mouse rounded to the
    // lines' decimals. The line is back at its order's price until the orders are shown again.
    virtual void OnOrderMoved(int nId, double dPrice) = 0;
    // The "x" on the order's label was clicked.
    virtual void OnOrderCancel(int nId) = 0;
    // The right button went down and up over the plot without moving more than the click
    // distance. pt is in client coordinates; dPrice is the price there, rounded to the order
    // lines' decimals when the chart shows order lines.
    virtual void OnChartContextMenu(POINT pt, double dPrice) = 0;
};
