#include "chart/ChartSerieBase.h"

#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartMouseEvent.h"
#include "chart/ChartSerieMouseHandler.h"
#include "chart/RefreshHold.h"

#include <algorithm>

template <class TPoint>
CChartSerieBase<TPoint>::CChartSerieBase(CChartCtrl* pOwner) : CChartSerie(pOwner)
{
}

template <class TPoint> CChartSerieBase<TPoint>::~CChartSerieBase() = default;

template <class TPoint>
int CChartSerieBase<TPoint>::AxisPixel(const CChartAxis* pAxis, double dValue)
{
    return pAxis->LabelPixel(dValue);
}

template <class TPoint> unsigned CChartSerieBase<TPoint>::PointCount() const
{
    return m_Points.m_nCount;
}

template <class TPoint> POINT CChartSerieBase<TPoint>::PointToScreen(unsigned nIndex) const
{
    using Keys = SChartPointKeys<TPoint>;
    const TPoint& point = m_Points.GetAt(nIndex);
    POINT pt = {AxisPixel(m_pXAxis, Keys::X(point)), AxisPixel(m_pYAxis, Keys::YMiddle(point))};
    return pt;
}

template <class TPoint> bool CChartSerieBase<TPoint>::GetYRange(double* pMin, double* pMax) const
{
    if (!m_bVisible || m_Points.m_nCount == 0)
        return false;
    *pMin = m_Points.m_dMinY;
    *pMax = m_Points.m_dMaxY;
    return true;
}

template <class TPoint> bool CChartSerieBase<TPoint>::GetXRange(double* pMin, double* pMax) const
{
    if (!m_bVisible || m_Points.m_nCount == 0)
        return false;
    *pMin = m_Points.m_dMinX;
    *pMax = m_Points.m_dMaxX;
    return true;
}

// Lowest and highest value over the points the other axis shows; only a series ordered along
// that other axis can find them.
template <class TPoint>
template <class Low, class High>
bool CChartSerieBase<TPoint>::VisibleSpan(EPointOrdering eOrdering, Low low, High high,
                                          double* pMin, double* pMax) const
{
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (!m_bVisible || m_Points.m_nOrdering != eOrdering || !FindVisibleRange(&nFirst, &nLast))
        return false;
    double dMin = low(m_Points.GetAt(nFirst));
    double dMax = high(m_Points.GetAt(nFirst));
    for (unsigned i = nFirst + 1; i <= nLast; ++i)
    {
        const TPoint& point = m_Points.GetAt(i);
        dMin = std::min(dMin, low(point));
        dMax = std::max(dMax, high(point));
    }
    *pMin = dMin;
    *pMax = dMax;
    return true;
}

// The dates of the points the vertical axis shows.
template <class TPoint>
bool CChartSerieBase<TPoint>::GetVisibleXRange(double* pMin, double* pMax) const
{
    using Keys = SChartPointKeys<TPoint>;
    return VisibleSpan(OrderByY, Keys::X, Keys::X, pMin, pMax);
}

// The price span of the candles the horizontal axis shows.
template <class TPoint>
bool CChartSerieBase<TPoint>::GetVisibleYRange(double* pMin, double* pMax) const
{
    using Keys = SChartPointKeys<TPoint>;
    return VisibleSpan(OrderByX, Keys::YLow, Keys::YHigh, pMin, pMax);
}

template <class TPoint>
bool CChartSerieBase<TPoint>::FindVisibleRange(unsigned* pFirst, unsigned* pLast) const
{
    if (m_Points.m_nCount == 0)
        return false;
    switch (m_Points.m_nOrdering)
    {
    case OrderNone:
        *pFirst = 0;
        *pLast = m_Points.m_nCount - 1;
        return true;
    case OrderByX:
        if (m_pXAxis == nullptr)
            return false;
        return m_Points.FindRange(pFirst, pLast, m_pXAxis->m_dMin, m_pXAxis->m_dMax);
    case OrderByY:
        if (m_pYAxis == nullptr)
            return false;
        return m_Points.FindRange(pFirst, pLast, m_pYAxis->m_dMin, m_pYAxis->m_dMax);
    }
    return false;
}

template <class TPoint> void CChartSerieBase<TPoint>::DrawPointLabels(CDC* pDC)
{
    for (auto& [nIndex, pLabel] : m_PointLabels)
        pLabel->Draw(pDC, nIndex);
}

template <class TPoint>
bool CChartSerieBase<TPoint>::HandleMouseEvent(int nEvent, const POINT* pPoint)
{
    if (m_pMouseHandler == nullptr)
        return false;
    if (nEvent == PointerMove ? !m_bMoveEvents : !m_bClickEvents)
        return false;
    unsigned nIndex = 0;
    if (!HitTest(pPoint, &nIndex))
        return false;
    m_pMouseHandler->OnPointEvent(nEvent, pPoint->x, pPoint->y, this, nIndex);
    return true;
}

template <class TPoint> void CChartSerieBase<TPoint>::SetOrdering(EPointOrdering eOrdering)
{
    m_Points.SetOrdering(eOrdering);
}

template <class TPoint>
void CChartSerieBase<TPoint>::AddPoints(const TPoint* pPoints, unsigned nCount)
{
    m_Points.AddPoints(pPoints, nCount);
    if (m_pOwner == nullptr)
        return;
    // One redraw at most for both re-rangings, then only the new candles are drawn.
    {
        CRefreshHold hold(m_pOwner);
        if (m_pXAxis != nullptr)
            m_pXAxis->RefreshAutoRange();
        if (m_pYAxis != nullptr)
            m_pYAxis->RefreshAutoRange();
    }
    // Under an outer hold a full redraw is still to come and will draw these points itself.
    if (!m_pOwner->m_bRefreshDeferred)
        DrawNewPoints(m_pOwner->GetBufferDC());
    m_pOwner->Invalidate(TRUE);
}

template <class TPoint>
void CChartSerieBase<TPoint>::SetPointLabel(unsigned nIndex, ChartPointLabel* pLabel)
{
    m_PointLabels[nIndex].reset(pLabel);
}

template class CChartSerieBase<SChartCandlestickPoint>;
