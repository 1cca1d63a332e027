#include "chart/ChartCandlestickSerie.h"

#include "chart/ChartAxis.h"
#include "chart/DCGuard.h"
#include "platform/DC.h"

#include <algorithm>

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
}

void CChartCandlestickSerie::DrawCandles(CDC* pDC, unsigned nFrom, unsigned nTo)
{
    CreateDrawingObjects();
    {
        CDCGuard guard(pDC);
        guard.IntersectClip(m_rcClip);
        for (m_nNextToDraw = nFrom; m_nNextToDraw < nTo; ++m_nNextToDraw)
            DrawCandle(pDC, m_Points.GetAt(m_nNextToDraw));
    }
    DeleteDrawingObjects();
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
