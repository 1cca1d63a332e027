#pragma once

#include "chart/Forward.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <list>

class CDC;

// Dotted lines across the plot rectangle at the tick pixels its axis recorded while drawing.
class CChartGrid
{
public:
    CChartGrid() = default;
    virtual ~CChartGrid() = default;

    void ClearTicks() { m_TickPixels.clear(); }
    void AddTick(std::int32_t nPixel) { m_TickPixels.push_back(nPixel); }
    void Draw(CDC* pDC);

public:
    COLORREF m_crLines = RGB(128, 128, 128);
    CChartCtrl* m_pOwner = nullptr;
    bool m_bVisible = true;
    std::list<std::int32_t> m_TickPixels;
    bool m_bHorizontal = true;
};
