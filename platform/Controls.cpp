// Buttons, edits and statics.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "platform/Button.h"
#include "platform/Edit.h"
#include "platform/Static.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{
template <class W> W* WidgetAs(HWND hWnd, WndKind eKind)
{
    return LiveWnd(hWnd) != nullptr && hWnd->eKind == eKind ? static_cast<W*>(hWnd->pWidget.data())
                                                            : nullptr;
}
} // namespace

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

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, "EDIT", "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

void CEdit::SetLimitText(UINT nMax)
{
    if (auto* p = WidgetAs<QLineEdit>(m_hWnd, WndKind::Edit); p != nullptr)
        p->setMaxLength(nMax == 0 || nMax > 32767 ? 32767 : static_cast<int>(nMax));
}

UINT CEdit::GetLimitText() const
{
    auto* p = WidgetAs<QLineEdit>(m_hWnd, WndKind::Edit);
    return p != nullptr ? static_cast<UINT>(p->maxLength()) : 0;
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly)
{
    auto* p = WidgetAs<QLineEdit>(m_hWnd, WndKind::Edit);
    if (p == nullptr)
        return FALSE;
    p->setReadOnly(bReadOnly != FALSE);
    m_hWnd->dwStyle =
        bReadOnly ? (m_hWnd->dwStyle | ES_READONLY) : (m_hWnd->dwStyle & ~ES_READONLY);
    return TRUE;
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL)
{
    auto* p = WidgetAs<QLineEdit>(m_hWnd, WndKind::Edit);
    if (p == nullptr)
        return;
    if (nStartChar == -1)
    {
        p->deselect();
        return;
    }
    const int nLength = static_cast<int>(p->text().size());
    const int nEnd = nEndChar < 0 || nEndChar > nLength ? nLength : nEndChar;
    p->setSelection(nStartChar, nEnd - nStartChar);
}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, "STATIC", lpszText, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

HICON CStatic::SetIcon(HICON hIcon)
{
    auto* p = WidgetAs<QLabel>(m_hWnd, WndKind::Static);
    if (p == nullptr)
        return nullptr;
    HICON hPrev = std::exchange(m_hWnd->hIconBig, hIcon);
    if (hIcon != nullptr)
        p->setPixmap(hIcon->icon.pixmap(32, 32));
    else
        p->clear();
    return hPrev;
}

HICON CStatic::GetIcon() const
{
    return LiveWnd(m_hWnd) != nullptr ? m_hWnd->hIconBig : nullptr;
}
