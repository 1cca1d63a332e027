#include "chart/ChartCrosshair.h"

#include "chart/ChartAxis.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/DCGuard.h"
#include "chart/PriceDecimals.h"
#include "platform/Brush.h"
#include "platform/OleDate.h"
#include "platform/Pen.h"
#include "platform/StringFormat.h"

#include <cmath>

namespace
{
constexpr int kLabelPadding = 3;
constexpr int kLabelOffset = 12; // from the mouse, so the label never sits under the pointer
} // namespace

CChartCrosshair::CChartCrosshair(CChartCtrl* pOwner) : m_pOwner(pOwner) {}

void CChartCrosshair::SetDecimals(int nDecimals)
{
    m_nDecimals = nDecimals < 0 ? 0 : (nDecimals > kMaxPriceDecimals ? kMaxPriceDecimals : nDecimals);
    if (m_pOwner && m_pOwner->GetSafeHwnd())
        m_pOwner->InvalidateRect(nullptr, FALSE);
}

void CChartCrosshair::SetMoveListener(std::function<void(const double* pdDate)> listener)
{
    m_listener = std::move(listener);
}

void CChartCrosshair::ShowLinkedDate(double dDate)
{
    m_bLinked = true;
    m_dLinkedDate = dDate;
    if (m_pOwner && m_pOwner->GetSafeHwnd())
        m_pOwner->InvalidateRect(nullptr, FALSE);
}

void CChartCrosshair::HideLinkedDate()
{
    if (!m_bLinked)
        return;
    m_bLinked = false;
    if (m_pOwner && m_pOwner->GetSafeHwnd())
        m_pOwner->InvalidateRect(nullptr, FALSE);
}

void CChartCrosshair::OverlayMouseMove(int x, int y)
{
    m_bShown = true;
    m_ptMouse = {x, y};
    TellListener();
}

void CChartCrosshair::OverlayMouseLeave()
{
    m_bShown = false;
    TellListener();
}

void CChartCrosshair::TellListener() const
{
    if (!m_listener)
        return;
    SChartCandlestickPoint bar = {};
    const RECT rcPlot = m_pOwner != nullptr ? m_pOwner->GetPlotRect() : RECT{};
    if (m_bShown && PtInRect(&rcPlot, m_ptMouse) && FindBarAt(m_ptMouse.x, &bar))
        m_listener(&bar.dDate);
    else
        m_listener(nullptr);
}

bool CChartCrosshair::FindBarAt(int x, SChartCandlestickPoint* pBar) const
{
    if (!m_pOwner)
        return false;
    const CChartAxis* pXAxis = m_pOwner->GetAxis(SlotBottom);
    if (!pXAxis || pXAxis->m_dMin >= pXAxis->m_dMax)
        return false;
    // The newest candles are the ones the user is looking at.
    const CChartCandlestickSerie* pCandles = nullptr;
    for (auto it = m_pOwner->m_seriesById.rbegin(); it != m_pOwner->m_seriesById.rend(); ++it)
        if ((pCandles = dynamic_cast<const CChartCandlestickSerie*>(it->second)) != nullptr)
            break;
    if (!pCandles)
        return false;
    const double dValue = pXAxis->PixelToValue(x);
    bool bFound = false;
    double dBest = 0.0;
    for (unsigned i = 0; i < pCandles->PointCount(); ++i)
    {
        const SChartCandlestickPoint& bar = pCandles->GetPoint(i);
        if (bar.dDate < pXAxis->m_dMin || bar.dDate > pXAxis->m_dMax)
            continue;
        const double dDistance = std::fabs(bar.dDate - dValue);
        if (!bFound || dDistance < dBest)
        {
            *pBar = bar;
            dBest = dDistance;
            bFound = true;
        }
    }
    return bFound;
}

std::string CChartCrosshair::LabelText(const SChartCandlestickPoint& bar) const
{
    SYSTEMTIME st = {};
    std::string strDate = "?";
    if (VariantTimeToSystemTime(bar.dDate, &st))
    {
        strDate = StringFormat("%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
        if (st.wHour != 0 || st.wMinute != 0 || st.wSecond != 0)
            strDate += StringFormat(" %02d:%02d", st.wHour, st.wMinute);
    }
    const int n = m_nDecimals;
    return strDate + StringFormat("  O %.*f  H %.*f  L %.*f  C %.*f", n, bar.dOpen, n, bar.dHigh, n,
                                  bar.dLow, n, bar.dClose);
}

void CChartCrosshair::DrawOverlay(CDC* pDC)
{
    if (!m_pOwner || !pDC || !pDC->GetSafeHdc())
        return;
    const RECT rcPlot = m_pOwner->GetPlotRect();
    if (!m_bShown || !PtInRect(&rcPlot, m_ptMouse))
    {
        if (m_bLinked)
            DrawLinkedDate(pDC, rcPlot);
        return;
    }
    {
        CDCGuard guard(pDC);
        CPen pen;
        pen.CreatePen(PS_DOT, 1, m_crLines);
        guard.SelectPen(&pen);
        pDC->MoveTo(rcPlot.left, m_ptMouse.y);
        pDC->LineTo(rcPlot.right, m_ptMouse.y);
        pDC->MoveTo(m_ptMouse.x, rcPlot.top);
        pDC->LineTo(m_ptMouse.x, rcPlot.bottom);
    }
    SChartCandlestickPoint bar = {};
    if (FindBarAt(m_ptMouse.x, &bar))
        DrawLabel(pDC, rcPlot, LabelText(bar));
}

void CChartCrosshair::DrawLinkedDate(CDC* pDC, const RECT& rcPlot) const
{
    const CChartAxis* pXAxis = m_pOwner->GetAxis(SlotBottom);
    if (!pXAxis || m_dLinkedDate < pXAxis->m_dMin || m_dLinkedDate > pXAxis->m_dMax)
        return;
    const int x = pXAxis->ValueToPixel(m_dLinkedDate);
    if (x < rcPlot.left || x >= rcPlot.right)
        return;
    CDCGuard guard(pDC);
    CPen pen;
    pen.CreatePen(PS_DOT, 1, m_crLines);
    guard.SelectPen(&pen);
    pDC->MoveTo(x, rcPlot.top);
    pDC->LineTo(x, rcPlot.bottom);
}

void CChartCrosshair::DrawLabel(CDC* pDC, const RECT& rcPlot, const std::string& strText) const
{
    CDCGuard guard(pDC);
    guard.SelectNewPointFont(80, "Microsoft Sans Serif");
    const CSize size = pDC->GetTextExtent(strText);
    const int cx = size.cx + 2 * kLabelPadding;
    const int cy = size.cy + 2 * kLabelPadding;
    // Right of and below the mouse, flipped to the other side where the plot ends.
    int x = m_ptMouse.x + kLabelOffset;
    int y = m_ptMouse.y + kLabelOffset;
    if (x + cx > rcPlot.right)
        x = m_ptMouse.x - kLabelOffset - cx;
    if (y + cy > rcPlot.bottom)
        y = m_ptMouse.y - kLabelOffset - cy;
    if (x < rcPlot.left)
        x = rcPlot.left;
    if (y < rcPlot.top)
        y = rcPlot.top;
    const RECT rcLabel = {x, y, x + cx, y + cy};
    guard.SelectNewPen(m_crLines, 1);
    CBrush brush(m_crLabelBack);
    guard.SelectBrush(&brush);
    pDC->Rectangle(&rcLabel);
    guard.SetBkMode(TRANSPARENT);
    guard.SetTextColor(m_crLabelText);
    pDC->TextOut(x + kLabelPadding, y + kLabelPadding, strText);
}
