#include "chart/ChartTradeMarkerSerie.h"

#include "chart/ChartAxis.h"
#include "chart/DCGuard.h"
#include "chart/PriceDecimals.h"
#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/StringFormat.h"

#include <algorithm>

namespace
{

// Keeps pixel sums well inside int whatever the axes answered.
LONG Offset(long long nPixel, long long nDelta)
{
    constexpr long long kLimit = 1 << 28;
    return LONG(std::clamp(nPixel + nDelta, -kLimit, kLimit));
}

bool CanDraw(CDC* pDC)
{
    return pDC != nullptr && pDC->GetSafeHdc() != nullptr;
}

} // namespace

CChartTradeMarkerSerie::CChartTradeMarkerSerie(CChartCtrl* pOwner) : CChartSerie(pOwner) {}

CChartTradeMarkerSerie::~CChartTradeMarkerSerie() = default;

void CChartTradeMarkerSerie::SetMarkers(const SChartTradeMarker* pMarkers, unsigned nCount)
{
    const auto byDate = [](const SChartTradeMarker& a, const SChartTradeMarker& b)
    { return a.dDate < b.dDate; };
    m_vecMarkers.assign(pMarkers, pMarkers + nCount);
    if (!std::is_sorted(m_vecMarkers.begin(), m_vecMarkers.end(), byDate))
        std::stable_sort(m_vecMarkers.begin(), m_vecMarkers.end(), byDate);
    // How many markers of its bar and side come before each one, counted once here rather than
    // for every marker drawn: a bar traded thousands of times stays cheap to draw.
    m_vecStacked.assign(m_vecMarkers.size(), 0);
    int nBuys = 0;
    int nSells = 0;
    for (std::size_t i = 0; i < m_vecMarkers.size(); ++i)
    {
        if (i > 0 && m_vecMarkers[i].dDate != m_vecMarkers[i - 1].dDate)
            nBuys = nSells = 0;
        m_vecStacked[i] = m_vecMarkers[i].bBuy ? nBuys++ : nSells++;
    }
    RequestRedraw();
}

void CChartTradeMarkerSerie::SetBars(const SChartCandlestickPoint* pBars, unsigned nCount)
{
    m_vecBars.assign(pBars, pBars + nCount);
    std::stable_sort(m_vecBars.begin(), m_vecBars.end(),
                     [](const SChartCandlestickPoint& a, const SChartCandlestickPoint& b)
                     { return a.dDate < b.dDate; });
    RequestRedraw();
}

void CChartTradeMarkerSerie::SetAveragePrice(double dPrice)
{
    m_bShowAverage = true;
    m_dAverage = dPrice;
    RequestRedraw();
}

void CChartTradeMarkerSerie::ClearAveragePrice()
{
    m_bShowAverage = false;
    RequestRedraw();
}

void CChartTradeMarkerSerie::SetPriceDecimals(int nDecimals)
{
    m_nPriceDecimals = std::clamp(nDecimals, kMinPriceDecimals, kMaxPriceDecimals);
    RequestRedraw();
}

void CChartTradeMarkerSerie::SetColors(COLORREF crBuy, COLORREF crSell, COLORREF crAverage)
{
    m_crBuy = crBuy;
    m_crSell = crSell;
    m_crAverage = crAverage;
    RequestRedraw();
}

unsigned CChartTradeMarkerSerie::PointCount() const
{
    return unsigned(m_vecMarkers.size());
}

POINT CChartTradeMarkerSerie::PointToScreen(unsigned nIndex) const
{
    return MarkerTip(nIndex);
}

bool CChartTradeMarkerSerie::GetYRange(double*, double*) const
{
    return false;
}

bool CChartTradeMarkerSerie::GetXRange(double*, double*) const
{
    return false;
}

bool CChartTradeMarkerSerie::GetVisibleXRange(double*, double*) const
{
    return false;
}

bool CChartTradeMarkerSerie::GetVisibleYRange(double*, double*) const
{
    return false;
}

bool CChartTradeMarkerSerie::FindVisibleRange(unsigned* pFirst, unsigned* pLast) const
{
    if (m_pXAxis == nullptr)
        return false;
    const auto byDate = [](const SChartTradeMarker& marker, double dDate)
    { return marker.dDate < dDate; };
    const auto itFirst =
        std::lower_bound(m_vecMarkers.begin(), m_vecMarkers.end(), m_pXAxis->m_dMin, byDate);
    const auto itEnd = std::upper_bound(itFirst, m_vecMarkers.end(), m_pXAxis->m_dMax,
                                        [](double dDate, const SChartTradeMarker& marker)
                                        { return dDate < marker.dDate; });
    if (itFirst == itEnd)
        return false;
    *pFirst = unsigned(itFirst - m_vecMarkers.begin());
    *pLast = unsigned(itEnd - m_vecMarkers.begin()) - 1;
    return true;
}

const SChartCandlestickPoint* CChartTradeMarkerSerie::FindBar(double dDate) const
{
    const auto it =
        std::lower_bound(m_vecBars.begin(), m_vecBars.end(), dDate,
                         [](const SChartCandlestickPoint& bar, double d) { return bar.dDate < d; });
    return it != m_vecBars.end() && it->dDate == dDate ? &*it : nullptr;
}

POINT CChartTradeMarkerSerie::MarkerTip(unsigned nIndex) const
{
    const SChartTradeMarker& marker = m_vecMarkers[nIndex];
    const int nStacked = m_vecStacked[nIndex];
    const SChartCandlestickPoint* pBar = FindBar(marker.dDate);
    const double dEnd = pBar == nullptr ? marker.dPrice : (marker.bBuy ? pBar->dLow : pBar->dHigh);
    const long long nAway = m_nGap + (long long)nStacked * (m_nHalfWidth + 3);
    const int y = m_pYAxis->LabelPixel(dEnd);
    return {m_pXAxis->LabelPixel(marker.dDate), Offset(y, marker.bBuy ? nAway : -nAway)};
}

bool CChartTradeMarkerSerie::HitTest(const POINT* pPoint, unsigned* pIndex) const
{
    *pIndex = 0xFFFFFFFF;
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (!m_bVisible || m_pYAxis == nullptr || !FindVisibleRange(&nFirst, &nLast))
        return false;
    const int h = m_nHalfWidth;
    for (unsigned i = nFirst; i <= nLast; ++i)
    {
        const POINT tip = MarkerTip(i);
        const LONG nTop = m_vecMarkers[i].bBuy ? tip.y : Offset(tip.y, -h);
        const RECT rc = {Offset(tip.x, -h), nTop, Offset(tip.x, h + 1), Offset(nTop, h + 1)};
        if (PtInRect(&rc, *pPoint))
        {
            *pIndex = i;
            return true;
        }
    }
    return false;
}

void CChartTradeMarkerSerie::DrawTriangle(CDC* pDC, POINT ptTip, bool bBuy) const
{
    // One row per pixel line, widening by a pixel on each side; lines leave their end pixel
    // unset, so each row ends one past its last pixel.
    std::vector<POINT> vecEnds;
    std::vector<DWORD> vecCounts;
    for (int r = 0; r <= m_nHalfWidth; ++r)
    {
        const LONG y = Offset(ptTip.y, bBuy ? r : -r);
        vecEnds.push_back({Offset(ptTip.x, -r), y});
        vecEnds.push_back({Offset(ptTip.x, r + 1), y});
        vecCounts.push_back(2);
    }
    CDCGuard guard(pDC);
    guard.SelectNewPen(bBuy ? m_crBuy : m_crSell, 1);
    pDC->PolyPolyline(vecEnds.data(), vecCounts.data(), int(vecCounts.size()));
}

void CChartTradeMarkerSerie::DrawAverageLine(CDC* pDC) const
{
    const int y = m_pYAxis->LabelPixel(m_dAverage);
    if (y < m_rcClip.top || y >= m_rcClip.bottom)
        return;
    {
        // Dashes of 5 pixels, 3 apart, from the plot's left edge to its right edge.
        std::vector<POINT> vecEnds;
        std::vector<DWORD> vecCounts;
        for (LONG x = m_rcClip.left; x < m_rcClip.right; x += 8)
        {
            vecEnds.push_back({x, y});
            vecEnds.push_back({std::min<LONG>(x + 5, m_rcClip.right), y});
            vecCounts.push_back(2);
        }
        CDCGuard guard(pDC);
        guard.SelectNewPen(m_crAverage, 1);
        pDC->PolyPolyline(vecEnds.data(), vecCounts.data(), int(vecCounts.size()));
    }
    CDCGuard guard(pDC);
    guard.SelectNewPointFont(m_nLabelFontSize, "Microsoft Sans Serif");
    guard.SetTextColor(m_crAverage);
    guard.SetBkMode(TRANSPARENT);
    const std::string strLabel = StringFormat("%.*f", int(m_nPriceDecimals), m_dAverage);
    const CSize size = pDC->GetTextExtent(strLabel);
    // Above the line at the right edge, or below it where the plot's top is too near.
    const int nTextY = y - size.cy - 1 >= m_rcClip.top ? y - size.cy - 1 : y + 2;
    pDC->ExtTextOut(m_rcClip.right - 3 - size.cx, nTextY, 0, nullptr, strLabel, nullptr);
}

void CChartTradeMarkerSerie::DrawVisiblePoints(CDC* pDC)
{
    if (!m_bVisible || !CanDraw(pDC) || m_pXAxis == nullptr || m_pYAxis == nullptr)
        return;
    pDC->IntersectClipRect(&m_rcClip);
    if (m_bShowAverage)
        DrawAverageLine(pDC);
    // A stack taller than the plot ends outside it: its further markers are not drawn.
    const long long nFitting = (m_rcClip.bottom - m_rcClip.top) / (m_nHalfWidth + 3) + 1;
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (FindVisibleRange(&nFirst, &nLast))
        for (unsigned i = nFirst; i <= nLast; ++i)
            if (m_vecStacked[i] <= nFitting)
                DrawTriangle(pDC, MarkerTip(i), m_vecMarkers[i].bBuy);
    pDC->SelectClipRgn(nullptr);
}

void CChartTradeMarkerSerie::DrawNewPoints(CDC*) {}

void CChartTradeMarkerSerie::DrawPointLabels(CDC*) {}

bool CChartTradeMarkerSerie::HandleMouseEvent(int, const POINT*)
{
    return false;
}

void CChartTradeMarkerSerie::DrawLegendSymbol(CDC* pDC, const RECT* pRect)
{
    if (m_strName.empty() || !CanDraw(pDC))
        return;
    const POINT tip = {pRect->left + (pRect->right - pRect->left) / 2,
                       pRect->top + (pRect->bottom - pRect->top - m_nHalfWidth) / 2};
    DrawTriangle(pDC, tip, true);
}
