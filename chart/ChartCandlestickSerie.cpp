#include "chart/ChartCandlestickSerie.h"

#include "chart/ChartAxis.h"
#include "chart/DCGuard.h"
#include "platform/DC.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace
{

bool CanDraw(CDC* pDC)
{
    return pDC != nullptr && pDC->GetSafeHdc() != nullptr;
}

// Keeps sums of clamped axis pixels and small offsets well inside int.
int Offset(int nPixel, int nDelta)
{
    constexpr long long kLimit = 1 << 28;
    return int(std::clamp<long long>(static_cast<long long>(nPixel) + nDelta, -kLimit, kLimit));
}

// The lines from a0 to a1 and from b0 to b1, in one call.
void DrawTwoLines(CDC* pDC, POINT a0, POINT a1, POINT b0, POINT b1)
{
    const POINT ends[4] = {a0, a1, b0, b1};
    constexpr DWORD kPointsPerLine[2] = {2, 2};
    pDC->PolyPolyline(ends, kPointsPerLine, 2);
}

// Rows [nTop, nBottom) of one pixel column.
struct SRows
{
    int nTop = 0;
    int nBottom = 0;
};

// The rows a one-pixel line from yFrom towards yTo sets: its end pixel stays unset.
SRows LineRows(int yFrom, int yTo)
{
    if (yTo >= yFrom)
        return {yFrom, yTo};
    return {Offset(yTo, 1), Offset(yFrom, 1)};
}

// One colour's share of a candle: a rectangle around column x and the two wick lines in that
// column. Where wicks and rectangle make one unbroken column that is one fill, not two.
void FillCandlePart(CDC* pDC, CBrush* pBrush, const RECT& rc, int x, SRows wick1, SRows wick2)
{
    SRows parts[3] = {{rc.top, rc.bottom}, wick1, wick2};
    std::sort(std::begin(parts), std::end(parts),
              [](const SRows& a, const SRows& b) { return a.nTop < b.nTop; });
    SRows column = {0, 0};
    bool bFirst = true;
    bool bUnbroken = true;
    for (const SRows& part : parts)
    {
        if (part.nTop >= part.nBottom)
            continue;
        if (bFirst)
            column = part;
        else if (part.nTop <= column.nBottom)
            column.nBottom = std::max(column.nBottom, part.nBottom);
        else
            bUnbroken = false;
        bFirst = false;
    }
    if (bUnbroken)
    {
        const RECT rcColumn = {x, column.nTop, Offset(x, 1), column.nBottom};
        pDC->FillRect(&rcColumn, pBrush);
    }
    else
    {
        for (const SRows& wick : {wick1, wick2})
        {
            const RECT rcWick = {x, wick.nTop, Offset(x, 1), wick.nBottom};
            if (wick.nTop < wick.nBottom)
                pDC->FillRect(&rcWick, pBrush);
        }
    }
    pDC->FillRect(&rc, pBrush);
}

RECT Normalized(RECT rc)
{
    if (rc.left > rc.right)
        std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom)
        std::swap(rc.top, rc.bottom);
    return rc;
}

// Below this spacing candles overlap so much that one per pixel column shows the same.
constexpr int kMinCandleSpacing = 2;

} // namespace

CChartCandlestickSerie::CChartCandlestickSerie(CChartCtrl* pOwner)
    : CChartSerieBase<SChartCandlestickPoint>(pOwner)
{
    m_bDrawShadow = true;
}

CChartCandlestickSerie::~CChartCandlestickSerie()
{
    DeleteDrawingObjects();
}

void CChartCandlestickSerie::SetCandleWidth(int nWidth)
{
    m_nCandleWidth = nWidth;
    RequestRedraw();
}

void CChartCandlestickSerie::CreateDrawingObjects()
{
    DeleteDrawingObjects();
    m_brShadow.CreateSolidBrush(m_crShadow);
    m_penLine.CreatePen(PS_SOLID, 1, m_crColor);
    m_penShadow.CreatePen(PS_SOLID, 1, m_crShadow);
    m_brFilled.CreateSolidBrush(m_crColor);
    m_brHollow.CreateSolidBrush(RGB(255, 255, 255));
}

void CChartCandlestickSerie::DeleteDrawingObjects()
{
    m_brShadow.DeleteObject();
    m_penLine.DeleteObject();
    m_penShadow.DeleteObject();
    m_brFilled.DeleteObject();
    m_brHollow.DeleteObject();
}

void CChartCandlestickSerie::DrawCandle(CDC* pDC, const SChartCandlestickPoint& point)
{
    const int x = AxisPixel(m_pXAxis, point.dDate);
    const int yOpen = AxisPixel(m_pYAxis, point.dOpen);
    const int yClose = AxisPixel(m_pYAxis, point.dClose);
    const int yLow = AxisPixel(m_pYAxis, point.dLow);
    const int yHigh = AxisPixel(m_pYAxis, point.dHigh);
    const int h = m_nCandleWidth / 2;
    const int o = m_nShadowOffset;

    const RECT rcBody = {Offset(x, -h), std::min(yOpen, yClose), Offset(x, h + 1),
                         Offset(std::max(yOpen, yClose), 1)};
    const RECT rcShadow = {Offset(rcBody.left, o), Offset(rcBody.top, o), Offset(rcBody.right, o),
                           Offset(rcBody.bottom, o)};

    // On the screen's pixel grid, one-pixel pens and solid brushes set exactly the pixels of
    // solid fills, and fills need no selection: outline and fill of one colour are one fill.
    if (pDC->GetMapMode() == MM_TEXT)
    {
        if (m_bDrawShadow)
            FillCandlePart(pDC, &m_brShadow, Normalized(rcShadow), Offset(x, o),
                           LineRows(Offset(yOpen, o), Offset(yHigh, o)),
                           LineRows(Offset(yClose, o), Offset(yLow, o)));
        const RECT rcFill = Normalized(rcBody);
        FillCandlePart(pDC, &m_brFilled, rcFill, x, LineRows(yOpen, yHigh), LineRows(yClose, yLow));
        const RECT rcInside = {rcFill.left + 1, rcFill.top + 1, rcFill.right - 1,
                               rcFill.bottom - 1};
        if (!(point.dOpen > point.dClose) && rcInside.left < rcInside.right &&
            rcInside.top < rcInside.bottom)
            pDC->FillRect(&rcInside, &m_brHollow);
        ++m_nDrawnCandles;
        return;
    }
    CDCGuard guard(pDC);
    guard.SelectBrush(&m_brShadow);
    guard.SelectPen(&m_penShadow);
    if (m_bDrawShadow)
        pDC->Rectangle(&rcShadow);
    guard.SelectBrush(point.dOpen > point.dClose ? &m_brFilled : &m_brHollow);
    if (m_bDrawShadow)
    {
        const int xs = Offset(x, o);
        DrawTwoLines(pDC, {xs, Offset(yOpen, o)}, {xs, Offset(yHigh, o)}, {xs, Offset(yClose, o)},
                     {xs, Offset(yLow, o)});
    }
    // Lines leave their end pixel unset and the body comes last, covering the wicks inside it,
    // so the wicks need not know whether open or close is higher.
    guard.SelectPen(&m_penLine);
    DrawTwoLines(pDC, {x, yOpen}, {x, yHigh}, {x, yClose}, {x, yLow});
    pDC->Rectangle(&rcBody);
    ++m_nDrawnCandles;
}

void CChartCandlestickSerie::DrawCandles(CDC* pDC, unsigned nFrom, unsigned nTo)
{
    CreateDrawingObjects();
    {
        CDCGuard guard(pDC);
        guard.IntersectClip(m_rcClip);
        if (nFrom < nTo)
            DrawRange(pDC, nFrom, nTo - 1);
        m_nNextToDraw = nTo;
    }
    DeleteDrawingObjects();
}

void CChartCandlestickSerie::DrawRange(CDC* pDC, unsigned nFirst, unsigned nLast)
{
    if (IsCrowded(nFirst, nLast))
    {
        DrawColumns(pDC, nFirst, nLast);
        return;
    }
    for (unsigned i = nFirst; i <= nLast; ++i)
        DrawCandle(pDC, m_Points.GetAt(i));
}

bool CChartCandlestickSerie::IsCrowded(unsigned nFirst, unsigned nLast) const
{
    // Columns follow the order of the dates, so only a date-ordered series has them.
    if (m_Points.m_nOrdering != OrderByX || nLast <= nFirst)
        return false;
    const long long nSpan =
        std::llabs(static_cast<long long>(AxisPixel(m_pXAxis, m_Points.GetAt(nLast).dDate)) -
                   AxisPixel(m_pXAxis, m_Points.GetAt(nFirst).dDate));
    return nSpan < static_cast<long long>(nLast - nFirst) * kMinCandleSpacing;
}

unsigned CChartCandlestickSerie::LastInColumn(unsigned nFirst, unsigned nLast, int nPixel) const
{
    // Pixels follow the sorted dates monotonically, so the column is one run of points.
    unsigned nLow = nFirst;
    unsigned nHigh = nLast;
    while (nLow < nHigh)
    {
        const unsigned nMid = nLow + (nHigh - nLow + 1) / 2;
        if (AxisPixel(m_pXAxis, m_Points.GetAt(nMid).dDate) == nPixel)
            nLow = nMid;
        else
            nHigh = nMid - 1;
    }
    return nLow;
}

void CChartCandlestickSerie::DrawColumns(CDC* pDC, unsigned nFirst, unsigned nLast)
{
    const int o = m_nShadowOffset;
    for (unsigned i = nFirst; i <= nLast;)
    {
        const SChartCandlestickPoint& first = m_Points.GetAt(i);
        const int x = AxisPixel(m_pXAxis, first.dDate);
        const unsigned j = LastInColumn(i, nLast, x);
        double dLow = 0.0;
        double dHigh = 0.0;
        m_Points.FindExtremes(i, j, &dLow, &dHigh);
        if (dLow <= dHigh)
        {
            const int yOpen = AxisPixel(m_pYAxis, first.dOpen);
            const int yClose = AxisPixel(m_pYAxis, m_Points.GetAt(j).dClose);
            const int yLow = AxisPixel(m_pYAxis, dLow);
            const int yHigh = AxisPixel(m_pYAxis, dHigh);
            const int nTop = std::min({yOpen, yClose, yLow, yHigh});
            const int nBottom = Offset(std::max({yOpen, yClose, yLow, yHigh}), 1);
            // A column one pixel wide is all outline: wick and body in the series colour.
            if (m_bDrawShadow)
            {
                const RECT rcShadow = {Offset(x, o), Offset(nTop, o), Offset(x, o + 1),
                                       Offset(nBottom, o)};
                pDC->FillRect(&rcShadow, &m_brShadow);
            }
            const RECT rcColumn = {x, nTop, Offset(x, 1), nBottom};
            pDC->FillRect(&rcColumn, &m_brFilled);
        }
        ++m_nDrawnCandles;
        i = j + 1;
    }
}

void CChartCandlestickSerie::DrawNewPoints(CDC* pDC)
{
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (!m_bVisible || !FindVisibleRange(&nFirst, &nLast) || !CanDraw(pDC) || m_pYAxis == nullptr)
        return;
    CDCGuard guard(pDC);
    guard.SetBkMode(TRANSPARENT);
    DrawCandles(pDC, m_nNextToDraw, PointCount());
}

void CChartCandlestickSerie::DrawVisiblePoints(CDC* pDC)
{
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (!m_bVisible || !FindVisibleRange(&nFirst, &nLast) || !CanDraw(pDC) || m_pYAxis == nullptr)
        return;
    // Left transparent after a full draw, unlike after DrawNewPoints: the point labels drawn
    // next in the same refresh write their text on that.
    pDC->SetBkMode(TRANSPARENT);
    DrawCandles(pDC, nFirst, nLast + 1);
}

bool CChartCandlestickSerie::HitTest(const POINT* pPoint, unsigned* pIndex) const
{
    unsigned nFirst = 0;
    unsigned nLast = 0;
    if (!m_bVisible || !FindVisibleRange(&nFirst, &nLast) || m_pXAxis == nullptr ||
        m_pYAxis == nullptr)
        return false;
    // The candle just before the visible range may still reach into it.
    if (nFirst > 0)
        --nFirst;
    const int h = m_nCandleWidth / 2;
    for (unsigned i = nFirst; i <= nLast; ++i)
    {
        const SChartCandlestickPoint& point = m_Points.GetAt(i);
        const int x = AxisPixel(m_pXAxis, point.dDate);
        const int yLow = AxisPixel(m_pYAxis, point.dLow);
        const int yHigh = AxisPixel(m_pYAxis, point.dHigh);
        const RECT rc = {Offset(x, -h), std::min(yLow, yHigh), Offset(x, h + 1),
                         Offset(std::max(yLow, yHigh), 1)};
        if (PtInRect(&rc, *pPoint))
        {
            *pIndex = i;
            return true;
        }
    }
    return false;
}

void CChartCandlestickSerie::DrawLegendSymbol(CDC* pDC, const RECT* pRect)
{
    if (m_strName.empty() || !CanDraw(pDC))
        return;
    m_penLine.DeleteObject();
    m_brFilled.DeleteObject();
    m_penLine.CreatePen(PS_SOLID, 1, m_crColor);
    m_brFilled.CreateSolidBrush(m_crColor);
    {
        CDCGuard guard(pDC);
        guard.SelectBrush(&m_brFilled);
        guard.SelectPen(&m_penLine);
        guard.SetBkMode(TRANSPARENT);

        const RECT& r = *pRect;
        const int m = (r.right - m_nCandleWidth - r.left) / 2;
        const RECT rcBody = {r.left + m, r.top + 4, r.right - m + 1, r.bottom - 3};
        pDC->Rectangle(&rcBody);
        const int mx = r.left + (r.right - r.left) / 2;
        pDC->MoveTo(mx, r.top + 4);
        pDC->LineTo(mx, r.top);
        pDC->MoveTo(mx, r.bottom - 3);
        pDC->LineTo(mx, r.bottom);
    }
    m_brFilled.DeleteObject();
    m_penLine.DeleteObject();
}
