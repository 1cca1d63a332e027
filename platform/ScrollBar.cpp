// Scroll bar controls with Windows' range, page and position rules over QScrollBar.
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "platform/ScrollBar.h"
#include "platform/WinUser.h"
#include "platform/detail/Widgets.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

int MaxPos(const ScrollState& s)
{
    const int nPageMinus1 = s.nPage > 0 ? static_cast<int>(s.nPage) - 1 : 0;
    return std::max(s.nMin, s.nMax - nPageMinus1);
}

HWND ScrollWnd(HWND hWnd, int nBar)
{
    if (nBar != SB_CTL || LiveWnd(hWnd) == nullptr || hWnd->eKind != WndKind::ScrollBar)
        return nullptr;
    return hWnd;
}

ScrollBarWidget* WidgetOf(HWND hWnd)
{
    return static_cast<ScrollBarWidget*>(hWnd->pWidget.data());
}

} // namespace

namespace platform_detail
{

ScrollBarWidget::ScrollBarWidget(HWND hWnd, Qt::Orientation orientation, QWidget* pParent)
    : WindowWidget<QScrollBar>(hWnd, orientation, pParent)
{
    setTracking(true);
    SyncFromState();
    connect(this, &QAbstractSlider::actionTriggered, this,
            [this](int nAction) { OnAction(nAction); });
}

void ScrollBarWidget::SyncFromState()
{
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd == nullptr)
        return;
    const ScrollState& s = hWnd->scroll;
    m_bSyncing = true;
    // Windows range min..max with page p is Qt range min..max - p + 1 with page step p.
    setRange(s.nMin, MaxPos(s));
    setPageStep(std::max(1, static_cast<int>(s.nPage)));
    setSingleStep(1);
    setValue(s.nPos);
    setSliderPosition(s.nPos);
    m_bSyncing = false;
}

void ScrollBarWidget::OnAction(int nAction)
{
    if (m_bSyncing || m_bReleasing)
        return;
    UINT nCode = SB_ENDSCROLL;
    switch (nAction)
    {
    case QAbstractSlider::SliderSingleStepAdd:
        nCode = SB_LINEDOWN;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        nCode = SB_LINEUP;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        nCode = SB_PAGEDOWN;
        break;
    case QAbstractSlider::SliderPageStepSub:
        nCode = SB_PAGEUP;
        break;
    case QAbstractSlider::SliderToMinimum:
        nCode = SB_TOP;
        break;
    case QAbstractSlider::SliderToMaximum:
        nCode = SB_BOTTOM;
        break;
    case QAbstractSlider::SliderMove:
    {
        const int nTrack = sliderPosition();
        if (HWND hWnd = LiveWnd(m_hWnd); hWnd != nullptr)
            hWnd->scroll.nTrackPos = nTrack;
        Notify(SB_THUMBTRACK, nTrack);
        return;
    }
    default:
        return;
    }
    // The bar does not move by itself: the parent answers with SetScrollPos.
    if (HWND hWnd = LiveWnd(m_hWnd); hWnd != nullptr)
    {
        m_bSyncing = true;
        setSliderPosition(hWnd->scroll.nPos);
        m_bSyncing = false;
    }
    Notify(nCode, 0);
}

void ScrollBarWidget::Notify(UINT nCode, int nPos)
{
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd == nullptr)
        return;
    const UINT message = (hWnd->dwStyle & SBS_VERT) != 0 ? WM_VSCROLL : WM_HSCROLL;
    Send(hWnd->hParent, message, MAKEWPARAM(static_cast<WORD>(nCode), static_cast<WORD>(nPos)),
         reinterpret_cast<LPARAM>(hWnd));
}

void ScrollBarWidget::mousePressEvent(QMouseEvent* pEvent)
{
    m_bPressed = true;
    QScrollBar::mousePressEvent(pEvent);
}

void ScrollBarWidget::mouseReleaseEvent(QMouseEvent* pEvent)
{
    const bool bDragging = isSliderDown();
    const int nTrack = sliderPosition();
    m_bReleasing = true;
    QScrollBar::mouseReleaseEvent(pEvent);
    m_bReleasing = false;
    HWND hWnd = m_hWnd; // the handlers below may destroy the bar
    SyncFromState();
    if (bDragging)
        Notify(SB_THUMBPOSITION, nTrack);
    if (m_bPressed && LiveWnd(hWnd) != nullptr)
    {
        m_bPressed = false;
        Notify(SB_ENDSCROLL, 0);
    }
}

} // namespace platform_detail

int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL)
{
    HWND h = ScrollWnd(hwnd, nBar);
    if (h == nullptr || lpsi == nullptr)
        return 0;
    ScrollState& s = h->scroll;
    if (lpsi->fMask & SIF_RANGE)
    {
        s.nMin = lpsi->nMin;
        s.nMax = std::max(lpsi->nMin, lpsi->nMax);
    }
    if (lpsi->fMask & SIF_PAGE)
        s.nPage = lpsi->nPage;
    if (lpsi->fMask & SIF_POS)
        s.nPos = lpsi->nPos;
    // The page never exceeds the range; the position stays within min..max - (page - 1).
    const UINT nRange = static_cast<UINT>(s.nMax - s.nMin) + 1;
    s.nPage = std::min(s.nPage, nRange);
    s.nPos = std::clamp(s.nPos, s.nMin, MaxPos(s));
    // A bar whose page covers the range is useless: SIF_DISABLENOSCROLL disables it. A useful bar
    // is enabled again by any change other than the page alone, as Windows does.
    if ((lpsi->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) != 0 && h->pWidget != nullptr)
    {
        const bool bUseless = MaxPos(s) <= s.nMin;
        if (bUseless && (lpsi->fMask & SIF_DISABLENOSCROLL) != 0)
            h->pWidget->setEnabled(false);
        else if (!bUseless && lpsi->fMask != SIF_PAGE)
            h->pWidget->setEnabled(true);
    }
    WidgetOf(h)->SyncFromState();
    return s.nPos;
}

BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi)
{
    HWND h = ScrollWnd(hwnd, nBar);
    if (h == nullptr || lpsi == nullptr)
        return FALSE;
    const ScrollState& s = h->scroll;
    if (lpsi->fMask & SIF_RANGE)
    {
        lpsi->nMin = s.nMin;
        lpsi->nMax = s.nMax;
    }
    if (lpsi->fMask & SIF_PAGE)
        lpsi->nPage = s.nPage;
    if (lpsi->fMask & SIF_POS)
        lpsi->nPos = s.nPos;
    if (lpsi->fMask & SIF_TRACKPOS)
        lpsi->nTrackPos = s.nTrackPos;
    return TRUE;
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    HWND h = ScrollWnd(hWnd, nBar);
    if (h == nullptr)
        return 0;
    const int nOld = h->scroll.nPos;
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(h, nBar, &si, bRedraw);
    return nOld;
}

int GetScrollPos(HWND hWnd, int nBar)
{
    HWND h = ScrollWnd(hWnd, nBar);
    return h != nullptr ? h->scroll.nPos : 0;
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    return ScrollWnd(hWnd, nBar) != nullptr && (SetScrollInfo(hWnd, nBar, &si, bRedraw), TRUE);
}

BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos)
{
    HWND h = ScrollWnd(hWnd, nBar);
    if (h == nullptr)
        return FALSE;
    if (lpMinPos != nullptr)
        *lpMinPos = h->scroll.nMin;
    if (lpMaxPos != nullptr)
        *lpMaxPos = h->scroll.nMax;
    return TRUE;
}

BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows)
{
    HWND h = ScrollWnd(hWnd, static_cast<int>(wSBflags));
    if (h == nullptr || h->pWidget == nullptr)
        return FALSE;
    h->pWidget->setEnabled(wArrows != ESB_DISABLE_BOTH);
    return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow)
{
    HWND h = ScrollWnd(hWnd, wBar);
    if (h == nullptr)
        return FALSE;
    ::ShowWindow(h, bShow ? SW_SHOW : SW_HIDE);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// CScrollBar
// ---------------------------------------------------------------------------------------------
CScrollBar::~CScrollBar() = default;

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    RECT rc = rect;
    const bool bVertical = (dwStyle & SBS_VERT) != 0;
    if (bVertical)
    {
        const int w = GetSystemMetrics(SM_CXVSCROLL);
        if (dwStyle & SBS_LEFTALIGN)
            rc.right = rc.left + w;
        else if (dwStyle & SBS_RIGHTALIGN)
            rc.left = rc.right - w;
    }
    else
    {
        const int h = GetSystemMetrics(SM_CYHSCROLL);
        if (dwStyle & SBS_TOPALIGN)
            rc.bottom = rc.top + h;
        else if (dwStyle & SBS_BOTTOMALIGN)
            rc.top = rc.bottom - h;
    }
    return CreateEx(0, "SCROLLBAR", nullptr, dwStyle, rc, pParentWnd, nID);
}

int CScrollBar::GetScrollPos() const
{
    return ::GetScrollPos(m_hWnd, SB_CTL);
}
int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw)
{
    return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw);
}
void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const
{
    ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos);
}
void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw)
{
    ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
}
void CScrollBar::ShowScrollBar(BOOL bShow)
{
    ::ShowScrollBar(m_hWnd, SB_CTL, bShow);
}
BOOL CScrollBar::EnableScrollBar(UINT nArrowFlags)
{
    return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags);
}
BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    return ScrollWnd(m_hWnd, SB_CTL) != nullptr && lpScrollInfo != nullptr &&
           (::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw), TRUE);
}
BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    if (lpScrollInfo == nullptr)
        return FALSE;
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}
int CScrollBar::GetScrollLimit()
{
    HWND h = ScrollWnd(m_hWnd, SB_CTL);
    return h != nullptr ? MaxPos(h->scroll) : 0;
}
