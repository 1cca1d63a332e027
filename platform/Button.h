// CButton: push buttons (BS_PUSHBUTTON, BS_DEFPUSHBUTTON), check boxes and group boxes
// (BS_GROUPBOX). A click sends WM_COMMAND (BN_CLICKED) to the parent.
#pragma once

#include "platform/Wnd.h"

class CButton : public CWnd
{
public:
    CButton() = default;
    using CWnd::Create;
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID);
    UINT GetButtonStyle() const;
    int GetCheck() const;
    void SetCheck(int nCheck);
};
