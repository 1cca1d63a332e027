#pragma once

#include "chart/Forward.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <string>

class CDC;

// One set of points drawn against a horizontal and a vertical axis. The control owns the
// series; a series points at its axes and its control without owning them. Queries answer
// false on a hidden or empty series and then leave their out-arguments untouched.
class CChartSerie
{
public:
    explicit CChartSerie(CChartCtrl* pOwner);

    CChartSerie(const CChartSerie&) = delete;
    CChartSerie& operator=(const CChartSerie&) = delete;

    virtual unsigned PointCount() const = 0;
    virtual POINT PointToScreen(unsigned nIndex) const = 0;
    virtual bool GetYRange(double* pMin, double* pMax) const = 0;
    virtual bool GetXRange(double* pMin, double* pMax) const = 0;
    virtual bool GetVisibleXRange(double* pMin, double* pMax) const = 0;
    virtual bool GetVisibleYRange(double* pMin, double* pMax) const = 0;
    // Unregisters the series from its horizontal, then its vertical axis.
    virtual ~CChartSerie();
    virtual bool HitTest(const POINT* pPoint, unsigned* pIndex) const = 0;
    // Inclusive index range of the points to draw.
    virtual bool FindVisibleRange(unsigned* pFirst, unsigned* pLast) const = 0;
    virtual void DrawLegendSymbol(CDC* pDC, const RECT* pRect) = 0;
    // Draws the points added since the last draw, straight into the back buffer.
    virtual void DrawNewPoints(CDC* pDC) = 0;
    virtual void DrawVisiblePoints(CDC* pDC) = 0;
    virtual void DrawPointLabels(CDC* pDC) = 0;
    // True when the event hit a point and a handler took it.
    virtual bool HandleMouseEvent(int nEvent, const POINT* pPoint) = 0;

    std::string Name() const { return m_strName; }

    // Each setter stores and asks the control for a redraw.
    void SetName(const std::string& strName);
    void SetVisible(bool bVisible);
    void SetDrawShadow(bool bDrawShadow);
    void SetColor(COLORREF crColor);
    void SetShadowColor(COLORREF crShadow);
    void SetShadowOffset(int nOffset);
    void SetMouseEvents(bool bClickEvents, bool bMoveEvents);

protected:
    void RequestRedraw();

public:
    CChartCtrl* m_pOwner = nullptr;
    CChartAxis* m_pYAxis = nullptr;
    CChartAxis* m_pXAxis = nullptr;
    std::string m_strName;
    bool m_bVisible = true;
    bool m_bDrawShadow = false;
    COLORREF m_crColor = 0;
    COLORREF m_crShadow = RGB(150, 150, 150);
    std::int32_t m_nShadowOffset = 2;
    RECT m_rcClip = {0, 0, 0, 0};
    // Unique for the life of the process; the control's series map is keyed by it.
    std::uint32_t m_nId = 0;
    bool m_bClickEvents = true;
    bool m_bMoveEvents = false;
};
