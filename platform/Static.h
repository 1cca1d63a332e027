// CStatic: static text labels (SS_LEFT, SS_CENTER, SS_RIGHT) and icons (SS_ICON).
#pragma once

#include "platform/Wnd.h"

class CStatic : public CWnd
{
public:
    CStatic() = default;
    using CWnd::Create;
    virtual BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID = 0xffff);
    using CWnd::SetIcon;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};
