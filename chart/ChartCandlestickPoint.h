#pragma once

// One bar: an OLE automation date and the four prices. The field order is part of the
// record's contract; bars are copied between the loader, the replay window and the series.
struct SChartCandlestickPoint
{
    double dDate = 0.0;
    double dLow = 0.0;
    double dHigh = 0.0;
    double dOpen = 0.0;
    double dClose = 0.0;
};
