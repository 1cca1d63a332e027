#pragma once

class CDC;

// A label attached to one point of a series; the series owns it and asks it to draw after all
// series have drawn their points, with the plot rectangle as clip.
class ChartPointLabel
{
public:
    virtual ~ChartPointLabel() = default;
    virtual void Draw(CDC* pDC, unsigned nPointIndex) = 0;
};
