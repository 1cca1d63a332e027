#pragma once

#include "chart/ChartFont.h"
#include "chart/Forward.h"
#include "platform/WinTypes.h"

#include <string>

class CDC;

// The caption of an axis: one line of text beside it, turned upright for a vertical axis.
class CChartAxisLabel
{
public:
    CChartAxisLabel() = default;
    virtual ~CChartAxisLabel() = default;

    // Room the caption needs, already turned for a vertical axis; (0, 0) when there is nothing
    // to show or nothing to measure on.
    SIZE GetSize(CDC* pDC);
    void Draw(CDC* pDC);

    void SetText(const std::string& strText);

public:
    CChartCtrl* m_pOwner = nullptr;
    bool m_bVisible = true;
    RECT m_rcText = {0, 0, 0, 0};
    COLORREF m_crText = 0;
    bool m_bHorizontal = true;
    ChartFont m_Font;
    std::string m_strText;
};
