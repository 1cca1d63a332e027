#pragma once

// One point of a line series. A NaN y is a gap: the line stops before it and starts again after.
struct SChartLinePoint
{
    double dX;
    double dY;
};
