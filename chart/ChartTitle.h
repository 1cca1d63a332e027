#pragma once

#include "chart/ChartFont.h"
#include "chart/Forward.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CDC;

// The chart's title block: lines of text centred one under the other at the top of the chart.
// Empty by default, when it takes no room and draws nothing.
class CChartTitle
{
public:
    explicit CChartTitle(CChartCtrl* pOwner);
    virtual ~CChartTitle();

    CChartTitle(const CChartTitle&) = delete;
    CChartTitle& operator=(const CChartTitle&) = delete;

    // Width and height of the block, (0, 0) when hidden or empty; sets m_rcTitle.bottom.
    SIZE MeasureTitle(CDC* pDC);
    // Draws the lines inside m_rcTitle, which the control sets at each layout.
    void DrawTitle(CDC* pDC);

    // Each change below asks the control for a redraw.
    void AddLine(const std::string& strLine);
    void RemoveAllLines();
    std::size_t GetLineCount() const { return m_vecLines.size(); }
    // The line's own font; a description only, its GDI font is created on first use.
    void SetLineFont(int nLine, const ChartFont& font);
    void SetDefaultFont(const std::string& strFace, int nSizeTenths, bool bBold = false,
                        bool bItalic = false, bool bUnderline = false);
    void SetColor(COLORREF crText);
    void SetVisible(bool bVisible);

private:
    void RequestRedraw();
    // Selects the line's own font, if it has one, through the caller's guard; returns the
    // line's extent in the font then selected.
    CSize SelectLineFont(CDCGuard* pGuard, CDC* pDC, std::size_t nLine);

public:
    CChartCtrl* m_pOwner = nullptr;
    std::vector<std::string> m_vecLines;
    std::map<std::int32_t, ChartFont> m_lineFonts;
    bool m_bVisible = true;
    ChartFont m_defaultFont;
    COLORREF m_crText = 0;
    RECT m_rcTitle = {0, 0, 0, 0};
};
