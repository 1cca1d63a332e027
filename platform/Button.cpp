// CButton: push buttons, check boxes and group boxes.
#include <QCheckBox>

#include "platform/Button.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID)
{
    return CreateEx(0, "BUTTON", lpszCaption, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

UINT CButton::GetButtonStyle() const
{
    return LiveWnd(m_hWnd) != nullptr ? m_hWnd->dwStyle & BS_TYPEMASK : 0;
}

int CButton::GetCheck() const
{
    auto* p = WidgetAs<QCheckBox>(m_hWnd, WndKind::Check);
    return p != nullptr && p->isChecked() ? 1 : 0;
}

void CButton::SetCheck(int nCheck)
{
    if (auto* p = WidgetAs<QCheckBox>(m_hWnd, WndKind::Check); p != nullptr)
        p->setChecked(nCheck != 0);
}
