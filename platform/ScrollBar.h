// CScrollBar: a scroll bar control with Windows' semantics.
// - SetScrollInfo clamps the page to 0..max - min + 1 and the position to
//   min..max - max(page - 1, 0); with SIF_DISABLENOSCROLL the bar is disabled while the page covers
//   the whole range.
// - The bar never moves itself: user actions arrive at the parent as OnHScroll/OnVScroll with the
//   SB_* code (line, page, thumb track and position, top, bottom, end scroll), the position (thumb
//   codes) and this object; the parent moves the thumb with SetScrollPos.
// - SBS_TOPALIGN/SBS_BOTTOMALIGN (horizontal) and SBS_LEFTALIGN/SBS_RIGHTALIGN (vertical) give the
//   bar the standard thickness (GetSystemMetrics(SM_CYHSCROLL) / SM_CXVSCROLL) at that edge of
//   rect.
#pragma once

#include "platform/Wnd.h"

class CScrollBar : public CWnd
{
public:
    CScrollBar() = default;
    ~CScrollBar() override;

    using CWnd::Create;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetScrollPos() const;
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE); // returns the previous position
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
    // bRedraw: the bar always shows its state at once.
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
};
