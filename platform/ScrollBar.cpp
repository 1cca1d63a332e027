// Scroll bar controls with Windows' range, page and position rules over QScrollBar.
#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

#include "platform/ScrollBar.h"
#include "platform/detail/Widgets.h"

using namespace platform_detail;

namespace
{

int MaxPos(const ScrollState& s)
{
    const int nPageMinus1 = s.nPage > 0 ? static_cast<int>(s.nPage) - 1 : 0;
    return std::max(s.nMin, s.nMax - nPageMinus1);
}

// The bar's window while it lives, else nullptr.
HWND ScrollWnd(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr && hWnd->bScrollBar ? hWnd : nullptr;
}

} // namespace

namespace platform_detail
{

ScrollBarWidget::ScrollBarWidget(HWND hWnd, Qt::Orientation orientation, QWidget* pParent)
    : WindowCarrier<QScrollBar>(hWnd, orientation, pParent)
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
    if (hWnd == nullptr || LiveWnd(hWnd->hParent) == nullptr)
        return;
    CWnd* pParent = hWnd->hParent->pWnd;
    auto* pBar = dynamic_cast<CScrollBar*>(hWnd->pWnd);
    // Positions travel in 16 bits, as in the message Windows sends.
    const auto nShortPos = static_cast<UINT>(static_cast<short>(nPos));
    if ((hWnd->dwStyle & SBS_VERT) != 0)
        pParent->OnVScroll(nCode, nShortPos, pBar);
    else
        pParent->OnHScroll(nCode, nShortPos, pBar);
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

int GetSystemMetrics(int nIndex)
{
    if (nIndex != SM_CXVSCROLL && nIndex != SM_CYHSCROLL)
        return 0;
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr
               ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent)
               : 17;
}

CScrollBar::~CScrollBar() = default;

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    RECT rc = rect;
    if ((dwStyle & SBS_VERT) != 0)
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
    HWND h = ScrollWnd(m_hWnd);
    return h != nullptr ? h->scroll.nPos : 0;
}

int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw)
{
    HWND h = ScrollWnd(m_hWnd);
    if (h == nullptr)
        return 0;
    const int nOld = h->scroll.nPos;
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(&si, bRedraw);
    return nOld;
}

void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const
{
    HWND h = ScrollWnd(m_hWnd);
    if (h == nullptr)
        return;
    if (lpMinPos != nullptr)
        *lpMinPos = h->scroll.nMin;
    if (lpMaxPos != nullptr)
        *lpMaxPos = h->scroll.nMax;
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpsi, BOOL)
{
    HWND h = ScrollWnd(m_hWnd);
    if (h == nullptr || lpsi == nullptr)
        return FALSE;
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
    auto* pWidget = static_cast<ScrollBarWidget*>(h->pWidget.data());
    if ((lpsi->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) != 0 && pWidget != nullptr)
    {
        const bool bUseless = MaxPos(s) <= s.nMin;
        if (bUseless && (lpsi->fMask & SIF_DISABLENOSCROLL) != 0)
            pWidget->setEnabled(false);
        else if (!bUseless && lpsi->fMask != SIF_PAGE)
            pWidget->setEnabled(true);
    }
    if (pWidget != nullptr)
        pWidget->SyncFromState();
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpsi, UINT nMask)
{
    HWND h = ScrollWnd(m_hWnd);
    if (h == nullptr || lpsi == nullptr)
        return FALSE;
    const ScrollState& s = h->scroll;
    lpsi->fMask = nMask;
    if (nMask & SIF_RANGE)
    {
        lpsi->nMin = s.nMin;
        lpsi->nMax = s.nMax;
    }
    if (nMask & SIF_PAGE)
        lpsi->nPage = s.nPage;
    if (nMask & SIF_POS)
        lpsi->nPos = s.nPos;
    if (nMask & SIF_TRACKPOS)
        lpsi->nTrackPos = s.nTrackPos;
    return TRUE;
}
