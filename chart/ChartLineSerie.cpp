#include "chart/ChartLineSerie.h"

#include "chart/ChartAxis.h"
#include "chart/DCGuard.h"
#include "platform/DC.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{

// Thin lines are drawn pixel by pixel, clipped or not: a segment reaching this far out of a
// deeply zoomed plot is cut to the plot first. Nearer ones are drawn as they are.
constexpr double kFarPixel = 1 << 14;

bool IsFar(POINT pt)
{
    return std::abs(double(pt.x)) > kFarPixel || std::abs(double(pt.y)) > kFarPixel;
}

// Cuts the segment a-b to rc (Liang-Barsky); false when nothing of it lies inside.
bool ClipSegment(POINT* pA, POINT* pB, const RECT& rc)
{
    const double x0 = pA->x;
    const double y0 = pA->y;
    const double dx = double(pB->x) - x0;
    const double dy = double(pB->y) - y0;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - rc.left, rc.right - x0, y0 - rc.top, rc.bottom - y0};
    for (int i = 0; i < 4; ++i)
    {
        if (p[i] == 0.0)
        {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    *pB = {LONG(std::lround(x0 + t1 * dx)), LONG(std::lround(y0 + t1 * dy))};
    *pA = {LONG(std::lround(x0 + t0 * dx)), LONG(std::lround(y0 + t0 * dy))};
    return true;
}

} // namespace

CChartLineSerie::CChartLineSerie(CChartCtrl* pOwner)
    : CChartSerieBase<SChartCandlestickPoint>(pOwner)
{
}

CChartLineSerie::~CChartLineSerie() = default;

void CChartLineSerie::AddPoints(const SChartLinePoint* pPoints, unsigned nCount)
{
    std::vector<SChartCandlestickPoint> vecBars;
    vecBars.reserve(nCount);
    for (unsigned i = 0; i < nCount; ++i)
    {
        const double y = pPoints[i].dY;
        vecBars.push_back({pPoints[i].dX, y, y, y, y});
        if (std::isnan(y))
            continue;
        m_dMinY = m_bHasY ? std::min(m_dMinY, y) : y;
        m_dMaxY = m_bHasY ? std::max(m_dMaxY, y) : y;
        m_bHasY = true;
    }
    // The extremes must be known before the base re-ranges the axes.
    CChartSerieBase<SChartCandlestickPoint>::AddPoints(vecBars.data(), nCount);
}

void CChartLineSerie::SetPenWidth(int nWidth)
{
    m_nPenWidth = nWidth;
    RequestRedraw();
}

bool CChartLineSerie::GetYRange(double* pMin, double* pMax) const
{
    if (!m_bVisible || !m_bHasY)
        return false;
    *pMin = m_dMinY;
    *pMax = m_dMaxY;
    return true;
}

bool CChartLineSerie::GetVisibleYRange(double* pMin, double* pMax) const
{
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (!m_bVisible || m_Points.m_nOrdering != OrderByX || !FindVisibleRange(&nFirst, &nLast))
        return false;
    bool bFound = false;
    double dMin = 0.0;
    double dMax = 0.0;
    for (unsigned i = nFirst; i <= nLast; ++i)
    {
        const double y = m_Points.GetAt(i).dClose;
        if (std::isnan(y))
            continue;
        dMin = bFound ? std::min(dMin, y) : y;
        dMax = bFound ? std::max(dMax, y) : y;
        bFound = true;
    }
    if (!bFound)
        return false;
    *pMin = dMin;
    *pMax = dMax;
    return true;
}

bool CChartLineSerie::HitTest(const POINT* pPoint, unsigned* pIndex) const
{
    *pIndex = 0xFFFFFFFF;
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (!m_bVisible || !FindVisibleRange(&nFirst, &nLast) || m_pXAxis == nullptr ||
        m_pYAxis == nullptr)
        return false;
    for (unsigned i = nFirst; i <= nLast; ++i)
    {
        if (std::isnan(m_Points.GetAt(i).dClose))
            continue;
        const POINT pt = PointToScreen(i);
        if (std::abs(double(pt.x) - pPoint->x) <= 3 && std::abs(double(pt.y) - pPoint->y) <= 3)
        {
            *pIndex = i;
            return true;
        }
    }
    return false;
}

bool CChartLineSerie::CanDrawOn(CDC* pDC) const
{
    return m_bVisible && pDC != nullptr && pDC->GetSafeHdc() != nullptr && m_pXAxis != nullptr &&
           m_pYAxis != nullptr && PointCount() > 0;
}

void CChartLineSerie::DrawLegendSymbol(CDC* pDC, const RECT* pRect)
{
    if (m_strName.empty() || pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return;
    CDCGuard guard(pDC);
    guard.SelectNewPen(m_crColor, m_nPenWidth);
    const int y = pRect->top + (pRect->bottom - pRect->top) / 2;
    pDC->MoveTo(pRect->left, y);
    pDC->LineTo(pRect->right, y);
}

void CChartLineSerie::DrawNewPoints(CDC* pDC)
{
    if (!CanDrawOn(pDC) || m_nNextToDraw >= PointCount())
        return;
    DrawLine(pDC, m_nNextToDraw > 0 ? m_nNextToDraw - 1 : 0, PointCount() - 1);
    m_nNextToDraw = PointCount();
}

void CChartLineSerie::DrawVisiblePoints(CDC* pDC)
{
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (!CanDrawOn(pDC) || !FindVisibleRange(&nFirst, &nLast))
        return;
    // The range may stop at the last point inside; the segment leaving the plot needs the next.
    if (nLast + 1 < PointCount())
        ++nLast;
    DrawLine(pDC, nFirst, nLast);
    m_nNextToDraw = PointCount();
}

void CChartLineSerie::DrawLine(CDC* pDC, unsigned nFirst, unsigned nLast) const
{
    std::vector<POINT> vecPoints;
    std::vector<DWORD> vecRuns;
    CollectRuns(nFirst, nLast, &vecPoints, &vecRuns);
    if (vecRuns.empty())
        return;
    CDCGuard guard(pDC);
    guard.SelectNewPen(m_crColor, m_nPenWidth);
    guard.IntersectClip(m_rcClip);
    pDC->PolyPolyline(vecPoints.data(), vecRuns.data(), int(vecRuns.size()));
}

void CChartLineSerie::CollectRuns(unsigned nFirst, unsigned nLast, std::vector<POINT>* pPoints,
                                  std::vector<DWORD>* pRunLengths) const
{
    // Far segments are cut to the clip rectangle, with a margin for wide pens.
    const LONG nMargin = m_nPenWidth + 2;
    const RECT rcNear = {m_rcClip.left - nMargin, m_rcClip.top - nMargin, m_rcClip.right + nMargin,
                         m_rcClip.bottom + nMargin};
    std::size_t nRunStart = 0;
    const auto endRun = [&]
    {
        if (pPoints->size() - nRunStart >= 2)
            pRunLengths->push_back(DWORD(pPoints->size() - nRunStart));
        else
            pPoints->resize(nRunStart);
        nRunStart = pPoints->size();
    };
    // Segments that share an end point make one run.
    const auto append = [&](POINT a, POINT b)
    {
        if (pPoints->size() == nRunStart || pPoints->back().x != a.x || pPoints->back().y != a.y)
        {
            endRun();
            pPoints->push_back(a);
        }
        pPoints->push_back(b);
    };
    const auto isGap = [this](unsigned i) { return std::isnan(m_Points.GetAt(i).dClose); };
    for (unsigned i = nFirst; i <= nLast; ++i)
    {
        if (isGap(i))
            continue;
        POINT pt = PointToScreen(i);
        const bool bJoinedBefore = i > nFirst && !isGap(i - 1);
        const bool bJoinedAfter = i < nLast && !isGap(i + 1);
        if (!bJoinedBefore && !bJoinedAfter && !IsFar(pt)) // a lone point shows as one pixel
            append(pt, {pt.x + 1, pt.y});
        if (!bJoinedBefore)
            continue;
        POINT from = PointToScreen(i - 1);
        if ((IsFar(from) || IsFar(pt)) && !ClipSegment(&from, &pt, rcNear))
            continue;
        append(from, pt);
    }
    endRun();
}
