// CEdit: single-line edit controls.
#include <QLineEdit>

#include "platform/Edit.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

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
