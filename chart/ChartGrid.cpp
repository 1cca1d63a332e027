#include "chart/ChartGrid.h"

#include "chart/ChartCtrl.h"
#include "platform/DC.h"
#include "platform/Pen.h"

#include <algorithm>

void CChartGrid::Draw(CDC* pDC)
{
    if (!m_bVisible || !pDC || !pDC->GetSafeHdc() || !m_pOwner)
        return;
    // The dashes are cut to the plot rectangle (right and bottom edges outside) here rather than
    // by a clip region: the same pixels, without a clip for every one of the many dashes.
    const RECT rcPlot = m_pOwner->m_rcPlot;
    CPen pen(PS_SOLID, 0, m_crLines);
    CPen* pOldPen = pDC->SelectObject(&pen);

    // Dashes of three pixels and gaps of three, each dash leaving its end pixel unset.
    for (const std::int32_t nTick : m_TickPixels)
    {
        if (m_bHorizontal)
        {
            if (nTick < rcPlot.left || nTick >= rcPlot.right)
                continue;
            for (int y = rcPlot.bottom; y > rcPlot.top; y -= 6)
            {
                // Pixels y down to y - 2, kept within top .. bottom - 1.
                const int nFrom = std::min(y, int(rcPlot.bottom) - 1);
                const int nTo = std::max(y - 3, int(rcPlot.top) - 1);
                if (nFrom <= nTo)
                    continue;
                pDC->MoveTo(nTick, nFrom);
                pDC->LineTo(nTick, nTo);
            }
        }
        else
        {
            if (nTick < rcPlot.top || nTick >= rcPlot.bottom)
                continue;
            for (int x = rcPlot.left; x < rcPlot.right; x += 6)
            {
                // Pixels x to x + 2, kept within left .. right - 1.
                const int nTo = std::min(x + 3, int(rcPlot.right));
                pDC->MoveTo(x, nTick);
                pDC->LineTo(nTo, nTick);
            }
        }
    }

    pDC->SelectClipRgn(nullptr);
    pDC->SelectObject(pOldPen);
    pen.DeleteObject();
}
