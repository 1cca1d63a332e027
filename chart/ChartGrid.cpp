#include "chart/ChartGrid.h"

#include "chart/ChartCtrl.h"
#include "platform/DC.h"
#include "platform/Pen.h"

void CChartGrid::Draw(CDC* pDC)
{
    if (!m_bVisible || !pDC || !pDC->GetSafeHdc() || !m_pOwner)
        return;
    const RECT rcPlot = m_pOwner->m_rcPlot;
    pDC->IntersectClipRect(&rcPlot);
    CPen pen(PS_SOLID, 0, m_crLines);
    CPen* pOldPen = pDC->SelectObject(&pen);

    // Dots of three pixels and gaps of three, each dash leaving its end pixel unset.
    for (const std::int32_t nTick : m_TickPixels)
    {
        if (m_bHorizontal)
        {
            for (int y = rcPlot.bottom; y > rcPlot.top; y -= 6)
            {
                pDC->MoveTo(nTick, y);
                pDC->LineTo(nTick, y - 3);
            }
        }
        else
        {
            for (int x = rcPlot.left; x < rcPlot.right; x += 6)
            {
                pDC->MoveTo(x, nTick);
                pDC->LineTo(x + 3, nTick);
            }
        }
    }

    pDC->SelectClipRgn(nullptr);
    pDC->SelectObject(pOldPen);
    pen.DeleteObject();
}
