#pragma once

// A trade to mark on the chart: the bar's date, the trade's price, and whether it bought.
struct SChartTradeMarker
{
    double dDate;
    double dPrice;
    bool bBuy;
};
