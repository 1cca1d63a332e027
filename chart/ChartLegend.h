#pragma once

#include "chart/Forward.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <string>

class CDC;

// Side of the chart a docked legend sits on.
enum ELegendSide : std::int32_t
{
    LegendOnRight = 0,
    LegendOnLeft = 1,
    LegendOnTop = 2,
    LegendOnBottom = 3,
};

// Lists the visible, named series of the control: each entry the series' own symbol and its
// name. It keeps no list of its own and walks the control's series anew in every operation,
// which moves the control's series enumeration. Starts hidden.
class CChartLegend
{
public:
    explicit CChartLegend(CChartCtrl* pOwner);
    virtual ~CChartLegend();

    CChartLegend(const CChartLegend&) = delete;
    CChartLegend& operator=(const CChartLegend&) = delete;

    // Places the legend and, when docked, takes its room from *pChartRect.
    void ReserveSpace(RECT* pChartRect, CDC* pDC);
    // Measures the entries and sets m_rcLegend (empty when hidden or without entries).
    void ComputeRect(CDC* pDC, const RECT* pChartRect);
    void DrawLegend(CDC* pDC);

    // Each setter stores and asks the control for a redraw.
    void SetVisible(bool bVisible);
    void SetDocked(ELegendSide eSide);
    // Floats the legend with its top-left corner at (nLeft, nTop).
    void SetFloating(int nLeft, int nTop);
    void SetHorizontal(bool bHorizontal);
    void SetTransparent(bool bTransparent);
    void SetShadow(bool bShadow, int nDepth);
    void SetColors(COLORREF crFill, COLORREF crShadow);
    void SetFont(const std::string& strFace, int nSizeTenths);
    void SetSymbolSize(int nWidth, int nHeight);

private:
    void RequestRedraw();
    // Size of the legend for its entries in the legend font; false when no series has one.
    bool MeasureEntries(CDC* pDC, SIZE* pSize);
    RECT PlaceRect(SIZE szLegend, const RECT& rcChart) const;
    // Draws one entry at *pSymbol and moves *pSymbol on to the next entry's place.
    void DrawEntry(CDC* pDC, CChartSerie* pSerie, RECT* pSymbol);

public:
    CChartCtrl* m_pOwner = nullptr;
    RECT m_rcLegend = {0, 0, 0, 0};
    std::string m_strFontFace = "Times New Roman";
    std::int32_t m_nFontSize = 100;
    bool m_bDocked = true;
    ELegendSide m_nSide = LegendOnRight;
    std::int32_t m_nLeft = 0;
    std::int32_t m_nTop = 0;
    bool m_bVisible = false;
    bool m_bTransparent = false;
    bool m_bHorizontal = false;
    bool m_bShadow = true;
    std::int32_t m_nShadowDepth = 3;
    COLORREF m_crFill = 0xFFFFFF;
    // A soft grey, the same as a series' shadow.
    COLORREF m_crShadow = RGB(150, 150, 150);
    std::int32_t m_nSymbolWidth = 16;
    std::int32_t m_nSymbolHeight = 16;
};
