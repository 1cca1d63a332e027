// CEdit: single-line edit controls (ES_READONLY, ES_AUTOHSCROLL, ES_NUMBER, limited length).
// Typing sends WM_COMMAND (EN_CHANGE) to the parent.
#pragma once

#include "platform/Wnd.h"

class CEdit : public CWnd
{
public:
    CEdit() = default;
    using CWnd::Create;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetLimitText(UINT nMax); // 0 = no limit
    void LimitText(int nChars = 0) { SetLimitText(static_cast<UINT>(nChars)); }
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
};
