#pragma once

#include <string>

// What an order line's colour says about the order.
enum class EChartOrderRole
{
    Entry,
    StopLoss,
    TakeProfit,
};

// A working order as the chart shows it: a line at its price, labelled with its kind, quantity
// and price ("Buy limit 10 @ 14.52").
struct SChartOrderLine
{
    int nId = 0; // not 0: the control's gestures name no order with 0
    EChartOrderRole eRole = EChartOrderRole::Entry;
    std::string strKind;
    int nQuantity = 0;
    double dPrice = 0.0;
};
