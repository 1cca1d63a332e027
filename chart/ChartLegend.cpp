#include "chart/ChartLegend.h"

#include "chart/ChartCtrl.h"
#include "chart/ChartSerie.h"
#include "chart/DCGuard.h"
#include "platform/Brush.h"
#include "platform/DC.h"

#include <algorithm>

namespace
{

bool HasEntry(const CChartSerie* pSerie)
{
    return pSerie->m_bVisible && !pSerie->Name().empty();
}

bool IsEmpty(const RECT& rc)
{
    return rc.left >= rc.right || rc.top >= rc.bottom;
}

} // namespace

CChartLegend::CChartLegend(CChartCtrl* pOwner) : m_pOwner(pOwner) {}

CChartLegend::~CChartLegend() = default;

void CChartLegend::ComputeRect(CDC* pDC, const RECT* pChartRect)
{
    m_rcLegend = {0, 0, 0, 0};
    if (!m_bVisible || pDC == nullptr || m_pOwner == nullptr)
        return;
    SIZE szEntries = {0, 0};
    if (MeasureEntries(pDC, &szEntries))
        m_rcLegend = PlaceRect(szEntries, *pChartRect);
}

bool CChartLegend::MeasureEntries(CDC* pDC, SIZE* pSize)
{
    CDCGuard guard(pDC);
    guard.SelectNewPointFont(m_nFontSize, m_strFontFace);
    int nEntries = 0;
    int nTotal = 0;
    int nLargest = 0;
    m_pOwner->RewindSeries();
    while (CChartSerie* pSerie = m_pOwner->NextSerie())
    {
        if (!HasEntry(pSerie))
            continue;
        const std::string strName = pSerie->Name();
        const CSize size = pDC->GetTextExtent(strName.c_str(), int(strName.size()));
        ++nEntries;
        if (m_bHorizontal)
        {
            nTotal += m_nSymbolWidth + size.cx + 14;
            nLargest = std::max<int>(nLargest, size.cy);
        }
        else
        {
            nTotal += std::max<int>(size.cy, m_nSymbolHeight) + 2;
            nLargest = std::max<int>(nLargest, size.cx);
        }
    }
    if (nEntries == 0)
        return false;
    if (m_bHorizontal)
        *pSize = {nTotal - 6, std::max<int>(nLargest, m_nSymbolHeight) + 8};
    else
        *pSize = {nLargest + m_nSymbolWidth + 12, nTotal + 6};
    return true;
}

RECT CChartLegend::PlaceRect(SIZE szLegend, const RECT& c) const
{
    const int nWidth = szLegend.cx;
    const int nHeight = szLegend.cy;
    if (!m_bDocked)
        return {m_nLeft, m_nTop, m_nLeft + nWidth, m_nTop + nHeight + 2};
    // Centred on half the chart's height or width counted from 0, not from its own edge.
    const int nTopCentred = (c.bottom - c.top) / 2 - (nHeight + 2) / 2;
    const int nLeftCentred = (c.right - c.left) / 2 - nWidth / 2;
    switch (m_nSide)
    {
    case LegendOnRight:
        return {c.right - nWidth - 6, nTopCentred, c.right - 6, nTopCentred + nHeight};
    case LegendOnLeft:
        return {c.left + 3, nTopCentred, c.left + 3 + nWidth, nTopCentred + nHeight};
    case LegendOnTop:
        return {nLeftCentred, c.top + 3, nLeftCentred + nWidth, c.top + 3 + nHeight};
    case LegendOnBottom:
        return {nLeftCentred, c.bottom - 2 - nHeight, nLeftCentred + nWidth, c.bottom - 2};
    }
    return {0, 0, 0, 0};
}

void CChartLegend::ReserveSpace(RECT* pChartRect, CDC* pDC)
{
    ComputeRect(pDC, pChartRect);
    if (IsEmpty(m_rcLegend) || !m_bDocked)
        return;
    // Left and right overlap the chart by two pixels; top and bottom leave a two-pixel gap.
    switch (m_nSide)
    {
    case LegendOnRight:
        pChartRect->right = m_rcLegend.left + 2;
        break;
    case LegendOnLeft:
        pChartRect->left = m_rcLegend.right - 2;
        break;
    case LegendOnTop:
        pChartRect->top = m_rcLegend.bottom + 2;
        break;
    case LegendOnBottom:
        pChartRect->bottom = m_rcLegend.top - 2;
        break;
    }
}

void CChartLegend::DrawLegend(CDC* pDC)
{
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr || !m_bVisible || IsEmpty(m_rcLegend) ||
        m_pOwner == nullptr)
        return;
    const int L = m_rcLegend.left;
    const int T = m_rcLegend.top;
    const int R = m_rcLegend.right;
    const int B = m_rcLegend.bottom;
    if (m_bShadow)
    {
        CBrush brShadow(m_crShadow);
        const RECT rcShadow = {L + m_nShadowDepth, T + m_nShadowDepth, R + m_nShadowDepth,
                               B + m_nShadowDepth};
        pDC->FillRect(&rcShadow, &brShadow);
    }
    if (!m_bTransparent)
    {
        CBrush brFill(m_crFill);
        pDC->FillRect(&m_rcLegend, &brFill);
    }

    CDCGuard guard(pDC);
    guard.SelectNewPointFont(m_nFontSize, m_strFontFace);
    guard.SelectNewPen(RGB(0, 0, 0), 1);
    // The border runs on the right and bottom coordinates, one pixel outside the fill.
    pDC->MoveTo(L, T);
    pDC->LineTo(R, T);
    pDC->LineTo(R, B);
    pDC->LineTo(L, B);
    pDC->LineTo(L, T);
    guard.SetBkMode(TRANSPARENT);

    RECT rcSymbol = {L + 2, T + 5, L + 2 + m_nSymbolWidth, T + 6 + m_nSymbolHeight};
    m_pOwner->RewindSeries();
    while (CChartSerie* pSerie = m_pOwner->NextSerie())
    {
        if (HasEntry(pSerie))
            DrawEntry(pDC, pSerie, &rcSymbol);
    }
}

void CChartLegend::DrawEntry(CDC* pDC, CChartSerie* pSerie, RECT* pSymbol)
{
    RECT& rcSymbol = *pSymbol;
    const std::string strName = pSerie->Name();
    const CSize size = pDC->GetTextExtent(strName.c_str(), int(strName.size()));
    int nExtent = m_nSymbolHeight;
    if (size.cy > m_nSymbolHeight)
    {
        // A tall name starts at the symbol's top; the symbol is centred on the text.
        pDC->ExtTextOut(rcSymbol.right + 4, rcSymbol.top, ETO_CLIPPED, nullptr, strName.c_str(),
                        UINT(strName.size()), nullptr);
        const int nShift = size.cy / 2 - (rcSymbol.bottom - rcSymbol.top) / 2;
        RECT rcMoved = rcSymbol;
        rcMoved.top += nShift;
        rcMoved.bottom += nShift;
        pSerie->DrawLegendSymbol(pDC, &rcMoved);
        nExtent = size.cy;
    }
    else
    {
        pDC->ExtTextOut(rcSymbol.right + 4, (rcSymbol.top + rcSymbol.bottom) / 2 - size.cy / 2,
                        ETO_CLIPPED, nullptr, strName.c_str(), UINT(strName.size()), nullptr);
        pSerie->DrawLegendSymbol(pDC, &rcSymbol);
    }
    // The next entry goes beside this one or under it.
    if (m_bHorizontal)
        OffsetRect(&rcSymbol, size.cx + 14 + m_nSymbolWidth, 0);
    else
        OffsetRect(&rcSymbol, 0, nExtent + 2);
}

void CChartLegend::RequestRedraw()
{
    if (m_pOwner != nullptr)
        m_pOwner->RefreshChart();
}

void CChartLegend::SetVisible(bool bVisible)
{
    m_bVisible = bVisible;
    RequestRedraw();
}

void CChartLegend::SetDocked(ELegendSide eSide)
{
    m_bDocked = true;
    m_nSide = eSide;
    RequestRedraw();
}

void CChartLegend::SetFloating(int nLeft, int nTop)
{
    m_bDocked = false;
    m_nLeft = nLeft;
    m_nTop = nTop;
    RequestRedraw();
}

void CChartLegend::SetHorizontal(bool bHorizontal)
{
    m_bHorizontal = bHorizontal;
    RequestRedraw();
}

void CChartLegend::SetTransparent(bool bTransparent)
{
    m_bTransparent = bTransparent;
    RequestRedraw();
}

void CChartLegend::SetShadow(bool bShadow, int nDepth)
{
    m_bShadow = bShadow;
    m_nShadowDepth = nDepth;
    RequestRedraw();
}

void CChartLegend::SetColors(COLORREF crFill, COLORREF crShadow)
{
    m_crFill = crFill;
    m_crShadow = crShadow;
    RequestRedraw();
}

void CChartLegend::SetFont(const std::string& strFace, int nSizeTenths)
{
    m_strFontFace = strFace;
    m_nFontSize = nSizeTenths;
    RequestRedraw();
}

void CChartLegend::SetSymbolSize(int nWidth, int nHeight)
{
    m_nSymbolWidth = nWidth;
    m_nSymbolHeight = nHeight;
    RequestRedraw();
}
