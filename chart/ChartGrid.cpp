#include "chart/ChartGrid.h"

#include "chart/ChartCtrl.h"
#include "chart/DCGuard.h"
#include "platform/DC.h"

#include <algorithm>
#include <vector>

void CChartGrid::Draw(CDC* pDC)
{
    if (!m_bVisible || !pDC || !pDC->GetSafeHdc() || !m_pOwner)
        return;
    // The dashes are cut to the plot rectangle (right and bottom edges outside) here rather than
    // by a clip region, and all of them go to the device context in one call: the same pixels
    // as one clipped line per dash, at a fraction of the cost.
    const RECT rcPlot = m_pOwner->m_rcPlot;
    std::vector<POINT> vecEnds;
    const auto addDash = [&vecEnds](int x0, int y0, int x1, int y1)
    {
        vecEnds.push_back({x0, y0});
        vecEnds.push_back({x1, y1});
    };

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
                if (nFrom > nTo)
                    addDash(nTick, nFrom, nTick, nTo);
            }
        }
        else
        {
            if (nTick < rcPlot.top || nTick >= rcPlot.bottom)
                continue;
            // Pixels x to x + 2, kept within left .. right - 1.
            for (int x = rcPlot.left; x < rcPlot.right; x += 6)
                addDash(x, nTick, std::min(x + 3, int(rcPlot.right)), nTick);
        }
    }

    CDCGuard guard(pDC);
    guard.SelectNewPen(m_crLines);
    if (!vecEnds.empty())
    {
        const std::vector<DWORD> vecCounts(vecEnds.size() / 2, 2);
        pDC->PolyPolyline(vecEnds.data(), vecCounts.data(), int(vecCounts.size()));
    }
}
