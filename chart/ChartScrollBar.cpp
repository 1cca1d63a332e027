#include "chart/ChartScrollBar.h"

#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"

#include <algorithm>

namespace
{

constexpr UINT kScrollBarId = 100;
// Ten steps of a tenth of the visible span: one page shows the whole visible range.
constexpr int kPageSteps = 10;
constexpr UINT kScrollMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;

} // namespace

CChartScrollBar::CChartScrollBar(CChartAxis* pAxis) : m_pAxis(pAxis) {}

CChartScrollBar::~CChartScrollBar()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

bool CChartScrollBar::CreateForAxis(RECT rcPlot)
{
    if (!m_pAxis || !m_pAxis->m_pOwner || !m_pAxis->m_pOwner->GetSafeHwnd())
        return false;
    DWORD dwStyle = WS_CHILD;
    if (m_pAxis->m_bHorizontal)
        dwStyle |= SBS_HORZ | (m_pAxis->m_bOppositeSide ? SBS_TOPALIGN : SBS_BOTTOMALIGN);
    else
        dwStyle |= SBS_VERT | (m_pAxis->m_bOppositeSide ? SBS_RIGHTALIGN : SBS_LEFTALIGN);
    const RECT rc = {rcPlot.left + 1, rcPlot.top + 1, rcPlot.right, rcPlot.bottom};
    if (!Create(dwStyle, rc, m_pAxis->m_pOwner, kScrollBarId))
        return false;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = kScrollMask;
    info.nMin = 1;
    info.nMax = 1;
    info.nPage = 1;
    info.nPos = 1;
    SetScrollInfo(&info, TRUE);
    return true;
}

bool CChartScrollBar::IsMirrored() const
{
    if (!m_pAxis)
        return false;
    return m_pAxis->m_bHorizontal == m_pAxis->m_bReversed;
}

void CChartScrollBar::SyncWithAxis()
{
    if (!m_pAxis || !GetSafeHwnd())
        return;
    int nCount = 1;
    int nPos = 1;
    m_pAxis->GetScrollSteps(&nCount, &nPos);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = kScrollMask;
    info.nMin = 0;
    info.nMax = nCount - 1;
    info.nPage = kPageSteps;
    info.nPos = IsMirrored() ? nCount - nPos - (kPageSteps - 1) : nPos;
    SetScrollInfo(&info, TRUE);
}

void CChartScrollBar::HandleHScroll(UINT nSBCode, UINT nPos)
{
    HandleScroll(nSBCode, nPos);
}

void CChartScrollBar::HandleVScroll(UINT nSBCode, UINT nPos)
{
    HandleScroll(nSBCode, nPos);
}

void CChartScrollBar::HandleScroll(UINT nSBCode, UINT nPos)
{
    if (nSBCode == SB_ENDSCROLL)
        return;
    const int nCurrent = GetScrollPos();
    int nLow = 0;
    int nHigh = 0;
    GetScrollRange(&nLow, &nHigh);
    // The last position that still shows a whole page.
    const int nLast = nHigh - (kPageSteps - 1);

    int nNew = nCurrent;
    switch (nSBCode)
    {
    case SB_LINEUP:
        if (nCurrent > nLow)
            nNew = nCurrent - 1;
        break;
    case SB_LINEDOWN:
        if (nCurrent < nLast)
            nNew = nCurrent + 1;
        break;
    case SB_PAGEUP:
        if (nCurrent > nLow)
            nNew = std::max(nCurrent - kPageSteps, nLow);
        break;
    case SB_PAGEDOWN:
        if (nCurrent < nLast)
            nNew = std::min(nCurrent + kPageSteps, nLast);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        nNew = static_cast<int>(nPos);
        break;
    case SB_TOP:
        nNew = 0;
        break;
    case SB_BOTTOM:
        nNew = nLast;
        break;
    default:
        break;
    }

    SetScrollPos(nNew, TRUE);
    if (m_pAxis)
        m_pAxis->ScrollBySteps(nCurrent, nNew, IsMirrored());
}
