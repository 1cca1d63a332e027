#include "chart/ChartOrderLineSerie.h"

#include "chart/ChartAxis.h"
#include "chart/ChartOrderLines.h"
#include "platform/Brush.h"
#include "platform/DC.h"

#include <cassert>

CChartOrderLineSerie::CChartOrderLineSerie(CChartCtrl* pOwner, CChartOrderLines* pLines)
    : CChartSerie(pOwner), m_pLines(pLines)
{
    assert(m_pLines != nullptr && "CChartOrderLineSerie: pass the lines it is to draw");
}

CChartOrderLineSerie::~CChartOrderLineSerie() = default;

unsigned CChartOrderLineSerie::PointCount() const
{
    return unsigned(m_pLines->Lines().size());
}

POINT CChartOrderLineSerie::PointToScreen(unsigned nIndex) const
{
    return {m_rcClip.right - 1, m_pYAxis->LabelPixel(m_pLines->Lines()[nIndex].dPrice)};
}

bool CChartOrderLineSerie::GetYRange(double*, double*) const
{
    return false;
}

bool CChartOrderLineSerie::GetXRange(double*, double*) const
{
    return false;
}

bool CChartOrderLineSerie::GetVisibleXRange(double*, double*) const
{
    return false;
}

bool CChartOrderLineSerie::GetVisibleYRange(double*, double*) const
{
    return false;
}

bool CChartOrderLineSerie::HitTest(const POINT* pPoint, unsigned* pIndex) const
{
    int nId = 0;
    if (!m_bVisible || m_pLines->HitTestPart(*pPoint, &nId) == EOrderLinePart::None)
        return false;
    const SChartOrderLine* pLine = m_pLines->FindLine(nId);
    if (pLine == nullptr)
        return false;
    *pIndex = unsigned(pLine - m_pLines->Lines().data());
    return true;
}

bool CChartOrderLineSerie::FindVisibleRange(unsigned* pFirst, unsigned* pLast) const
{
    if (m_pLines->Lines().empty())
        return false;
    *pFirst = 0;
    *pLast = unsigned(m_pLines->Lines().size()) - 1;
    return true;
}

void CChartOrderLineSerie::DrawVisiblePoints(CDC* pDC)
{
    if (m_bVisible && m_pYAxis != nullptr)
        m_pLines->DrawLines(pDC, m_rcClip, *m_pYAxis);
}

void CChartOrderLineSerie::DrawNewPoints(CDC*) {}

void CChartOrderLineSerie::DrawPointLabels(CDC*) {}

bool CChartOrderLineSerie::HandleMouseEvent(int, const POINT*)
{
    return false;
}

void CChartOrderLineSerie::DrawLegendSymbol(CDC* pDC, const RECT* pRect)
{
    if (m_strName.empty() || pDC == nullptr || !pDC->GetSafeHdc() || pRect == nullptr)
        return;
    const LONG y = pRect->top + (pRect->bottom - pRect->top) / 2;
    CBrush brush(m_pLines->RoleColor(EChartOrderRole::Entry));
    const RECT rc = {pRect->left, y, pRect->right, y + 1};
    pDC->FillRect(&rc, &brush);
}
