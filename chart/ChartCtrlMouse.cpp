// The chart control's mouse handling: box zoom with the left button, dragging and cancelling
// orders on their lines, panning and the context menu with the right button, auto-hiding scroll
// bars and the routing of mouse events to observers and series.
#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartLegend.h"
#include "chart/ChartMouseSink.h"
#include "chart/ChartOrderLineSerie.h"
#include "chart/ChartOrderLines.h"
#include "chart/ChartOrderSink.h"
#include "chart/ChartOverlay.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartSerie.h"
#include "chart/ChartTitle.h"
#include "chart/RefreshHold.h"
#include "platform/WinUser.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace
{

// A right press and release this close in both directions is a click, not a pan.
constexpr int kClickDistance = 3;
constexpr LONG kMinZoomBox = 4; // pixels either way

bool WithinClickDistance(POINT a, POINT b)
{
    return std::abs(a.x - b.x) <= kClickDistance && std::abs(a.y - b.y) <= kClickDistance;
}

CChartOrderLineSerie* NewestOrderLines(const std::map<unsigned int, CChartSerie*>& series)
{
    for (auto it = series.rbegin(); it != series.rend(); ++it)
        if (auto* pLines = dynamic_cast<CChartOrderLineSerie*>(it->second);
            pLines != nullptr && pLines->m_bVisible)
            return pLines;
    return nullptr;
}

} // namespace

void CChartCtrl::OnLButtonDown(UINT, CPoint point)
{
    SetCapture();
    // The box starts wherever the button goes down, plot or not, unless on an order line.
    if (!StartOrderGesture(point) && m_bZoomAllowed)
    {
        m_bZooming = true;
        m_rcZoomBox = {point.x, point.y, point.x, point.y};
    }
    if (PtInRect(&m_rcPlot, point))
    {
        for (auto& [nId, pOverlay] : m_overlaysById)
            pOverlay->OverlayButtonDown(point.x, point.y);
        InvalidateRect(nullptr, TRUE);
    }
    RouteMouseEvent(LeftPress, &point);
    Default();
}

bool CChartCtrl::StartOrderGesture(POINT point)
{
    const CChartOrderLineSerie* pSerie = NewestOrderLines(m_seriesById);
    if (pSerie == nullptr || !PtInRect(&m_rcPlot, point) || !pSerie->Lines()->StartGesture(point))
        return false;
    m_pOrderGesture = pSerie->Lines();
    return true;
}

void CChartCtrl::OnMouseLeave()
{
    LeaveOverlays();
}

void CChartCtrl::LeaveOverlays()
{
    if (m_overlaysById.empty())
        return;
    for (auto& [nId, pOverlay] : m_overlaysById)
        pOverlay->OverlayMouseLeave();
    InvalidateRect(nullptr, FALSE);
}

void CChartCtrl::OnMouseMove(UINT, CPoint point)
{
    if (m_pOrderGesture != nullptr)
        m_pOrderGesture->DragTo(point);

    if (m_bPanning && !m_bRightDragged)
        m_bRightDragged = !WithinClickDistance(point, m_ptRightPress);
    // The first move beyond the click distance pans from where the button went down.
    if (m_bPanning && m_bRightDragged && m_bPanAllowed &&
        (point.x != m_ptPanLast.x || point.y != m_ptPanLast.y))
    {
        {
            CRefreshHold hold(this);
            // Vertical axes follow the mouse's y, horizontal ones its x.
            if (CChartAxis* pLeft = m_axisSlots[SlotLeft])
                pLeft->PanPixels(m_ptPanLast.y, point.y);
            if (CChartAxis* pRight = m_axisSlots[SlotRight])
                pRight->PanPixels(m_ptPanLast.y, point.y);
            if (CChartAxis* pBottom = m_axisSlots[SlotBottom])
                pBottom->PanPixels(m_ptPanLast.x, point.x);
            if (CChartAxis* pTop = m_axisSlots[SlotTop])
                pTop->PanPixels(m_ptPanLast.x, point.x);
            RefreshChart();
        }
        // Show the panned picture now, not when the drag pauses.
        UpdateWindow();
        m_ptPanLast = point;
    }

    if (m_bZooming && m_bZoomAllowed)
    {
        m_rcZoomBox.right = point.x;
        m_rcZoomBox.bottom = point.y;
        // Only a copy of the buffer with the box on top; the chart is not redrawn.
        InvalidateRect(nullptr, TRUE);
    }

    UpdateAutoHideScrollBars(point);

    const bool bInPlot = PtInRect(&m_rcPlot, point) != FALSE;
    if (bInPlot)
    {
        for (auto& [nId, pOverlay] : m_overlaysById)
            pOverlay->OverlayMouseMove(point.x, point.y);
        InvalidateRect(nullptr, TRUE);
    }
    else
        LeaveOverlays();

    // The window class has no cursor, so the control always sets one.
    if (m_bShowCursorInPlot || !bInPlot)
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    else
        SetCursor(nullptr);

    RouteMouseEvent(PointerMove, &point);
    Default();
}

void CChartCtrl::UpdateAutoHideScrollBars(POINT point)
{
    const auto autoHides = [](const CChartScrollBar* pBar)
    { return pBar && pBar->GetSafeHwnd() && pBar->m_bEnabled && pBar->m_bAutoHide; };
    for (CChartAxis* pAxis : m_axisSlots)
    {
        if (pAxis && autoHides(pAxis->m_pAxisScrollBar))
            pAxis->m_pAxisScrollBar->ShowWindow(SW_HIDE);
    }
    // Hidden children are found too, so the bar under the mouse comes back.
    CWnd* pChild = ChildWindowFromPoint(point);
    if (!pChild || pChild == this)
        return;
    auto* pBar = dynamic_cast<CChartScrollBar*>(pChild);
    if (autoHides(pBar))
        pBar->ShowWindow(SW_SHOW);
}

void CChartCtrl::OnLButtonUp(UINT, CPoint point)
{
    ReleaseCapture();
    if (CChartOrderLines* pLines = std::exchange(m_pOrderGesture, nullptr))
        pLines->FinishGesture(point, m_pOrderSink);
    const bool bBoxShown = m_bZooming;
    m_bZooming = false;

    // Only a box this press started zooms: not a press that went to an order line.
    if (m_bZoomAllowed && bBoxShown)
    {
        const RECT& box = m_rcZoomBox;
        const LONG nWidth = box.right - box.left;
        const LONG nHeight = box.bottom - box.top;
        // A slip of the hand is no gesture; a box thinner than that zooms into a sliver.
        const bool bSlip = std::abs(nWidth) < kMinZoomBox && std::abs(nHeight) < kMinZoomBox;
        // Dragged leftwards or upwards: back to the ranges the data gave.
        if (!bSlip && (nWidth < 0 || nHeight < 0))
            RestoreAxisRanges();
        else if (nWidth >= kMinZoomBox && nHeight >= kMinZoomBox)
            ZoomToBox();
    }

    const bool bInPlot = PtInRect(&m_rcPlot, point) != FALSE;
    if (bInPlot)
    {
        for (auto& [nId, pOverlay] : m_overlaysById)
            pOverlay->OverlayButtonUp(point.x, point.y);
    }
    // A box that zoomed nothing must not stay on the screen.
    if (bInPlot || bBoxShown)
        InvalidateRect(nullptr, TRUE);

    RouteMouseEvent(LeftRelease, &point);
    Default();
}

void CChartCtrl::ZoomToBox()
{
    const RECT box = m_rcZoomBox;
    // The box's left and bottom edges become the minima of axes that are not reversed.
    const auto zoom = [](CChartAxis* pAxis, int nMinPixel, int nMaxPixel)
    {
        if (!pAxis)
            return;
        const double a = pAxis->PixelToValue(nMinPixel);
        const double b = pAxis->PixelToValue(nMaxPixel);
        if (pAxis->m_bReversed)
            pAxis->SetZoomRange(b, a);
        else
            pAxis->SetZoomRange(a, b);
    };
    zoom(m_axisSlots[SlotBottom], box.left, box.right);
    zoom(m_axisSlots[SlotLeft], box.bottom, box.top);
    zoom(m_axisSlots[SlotTop], box.left, box.right);
    zoom(m_axisSlots[SlotRight], box.bottom, box.top);
    RefreshChart();
}

BOOL CChartCtrl::OnMouseWheel(UINT, short zDelta, CPoint pt)
{
    ScreenToClient(&pt);
    if (zDelta == 0 || !PtInRect(&m_rcPlot, pt))
        return static_cast<BOOL>(Default());
    ZoomDateAxisAt(pt.x, static_cast<double>(zDelta) / WHEEL_DELTA);
    return TRUE;
}

void CChartCtrl::ZoomDateAxisAt(int x, double dNotches)
{
    CChartAxis* pDates = m_axisSlots[SlotBottom];
    if (!pDates || !(pDates->m_dMin < pDates->m_dMax))
        return;
    const double dFactor = std::pow(0.8, dNotches);
    double dAnchor = pDates->PixelToValue(x);
    dAnchor = std::clamp(dAnchor, pDates->m_dMin, pDates->m_dMax);
    double dMin = dAnchor - (dAnchor - pDates->m_dMin) * dFactor;
    double dMax = dAnchor + (pDates->m_dMax - dAnchor) * dFactor;
    // Zooming out ends at the range the data gave.
    const double dSavedSpan = pDates->m_dSavedMax - pDates->m_dSavedMin;
    if (dSavedSpan > 0.0 && dMax - dMin >= dSavedSpan)
    {
        dMin = pDates->m_dSavedMin;
        dMax = pDates->m_dSavedMax;
    }

    CRefreshHold hold(this);
    if (!pDates->SetRange(dMin, dMax, ERangeChange::Navigate))
        return;
    for (CChartAxis* pPrices : {m_axisSlots[SlotLeft], m_axisSlots[SlotRight]})
    {
        double dLow = 0.0;
        double dHigh = 0.0;
        if (!pPrices)
            continue;
        pPrices->GetSeriesVisibleRange(&dLow, &dHigh);
        if (dLow < dHigh)
            pPrices->SetRange(dLow, dHigh, ERangeChange::Navigate);
    }
    RefreshChart();
}

void CChartCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    RouteMouseEvent(LeftDouble, &point);
    Default();
}

void CChartCtrl::OnRButtonDown(UINT, CPoint point)
{
    SetCapture();
    m_bPanning = true;
    m_bRightDragged = false;
    m_ptRightPress = point;
    if (m_bPanAllowed)
        m_ptPanLast = point;
    RouteMouseEvent(RightPress, &point);
    Default();
}

void CChartCtrl::OnRButtonUp(UINT, CPoint point)
{
    ReleaseCapture();
    const bool bClick =
        m_bPanning && !m_bRightDragged && WithinClickDistance(point, m_ptRightPress);
    m_bPanning = false;
    m_bRightDragged = false;
    if (bClick && m_pOrderSink != nullptr && PtInRect(&m_rcPlot, point))
    {
        // Rounded like a dragged line's price where the chart shows order lines.
        double dPrice = 0.0;
        const CChartOrderLineSerie* pSerie = NewestOrderLines(m_seriesById);
        if (pSerie == nullptr || !pSerie->Lines()->PriceAtRow(point.y, &dPrice))
            dPrice = m_axisSlots[SlotLeft] != nullptr ? m_axisSlots[SlotLeft]->PixelToValue(point.y)
                                                      : 0.0;
        m_pOrderSink->OnChartContextMenu(point, dPrice);
    }
    RouteMouseEvent(RightRelease, &point);
    Default();
}

void CChartCtrl::OnRButtonDblClk(UINT, CPoint point)
{
    RouteMouseEvent(RightDouble, &point);
    Default();
}

void CChartCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (auto* pBar = dynamic_cast<CChartScrollBar*>(pScrollBar))
        pBar->HandleHScroll(nSBCode, nPos);
    Default();
    RefreshChart();
}

void CChartCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (auto* pBar = dynamic_cast<CChartScrollBar*>(pScrollBar))
        pBar->HandleVScroll(nSBCode, nPos);
    Default();
    RefreshChart();
}

void CChartCtrl::RouteMouseEvent(ChartMouseEvent eEvent, const POINT* pPoint)
{
    if (!pPoint)
        return;
    const POINT pt = *pPoint;
    if (m_pMouseSink)
    {
        // Each area is tested on its own: areas may overlap.
        if (m_pChartTitle && PtInRect(&m_pChartTitle->m_rcTitle, pt))
            m_pMouseSink->OnTitleMouse(eEvent, pt.x, pt.y);
        if (m_pChartLegend && PtInRect(&m_pChartLegend->m_rcLegend, pt))
            m_pMouseSink->OnLegendMouse(eEvent, pt.x, pt.y);
        for (CChartAxis* pAxis : m_axisSlots)
        {
            if (pAxis && PtInRect(&pAxis->m_rcBand, pt))
                m_pMouseSink->OnAxisMouse(eEvent, pt.x, pt.y, pAxis);
        }
        if (PtInRect(&m_rcPlot, pt))
            m_pMouseSink->OnPlotMouse(eEvent, pt.x, pt.y);
    }

    // Ids are taken first: a handler may remove series while the event is offered.
    std::vector<unsigned int> vecIds;
    vecIds.reserve(m_seriesById.size());
    for (auto it = m_seriesById.rbegin(); it != m_seriesById.rend(); ++it)
        vecIds.push_back(it->first);
    for (unsigned int nId : vecIds)
    {
        const auto it = m_seriesById.find(nId);
        if (it != m_seriesById.end() && it->second->HandleMouseEvent(eEvent, &pt))
            break;
    }
}
