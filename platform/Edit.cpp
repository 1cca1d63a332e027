// CEdit: single-line edit controls.
#include <QLineEdit>
#include <QValidator>

#include "platform/Edit.h"
#include "platform/detail/Widgets.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{
constexpr int kLargestEditLimit = 32767;

int CodePoints(const QString& s)
{
    int n = 0;
    for (QChar c : s)
        if (!c.isLowSurrogate())
            ++n;
    return n;
}

// Refuses an edit by the user that makes the text longer than the limit and longer than it was;
// a text set by the program passes whole, and shortening an over-long text stays possible.
class CTypingLimit : public QValidator
{
public:
    CTypingLimit(QLineEdit* pEdit, int nChars)
        : QValidator(pEdit), m_pEdit(pEdit), m_nChars(nChars), m_nShown(CodePoints(pEdit->text()))
    {
        connect(pEdit, &QLineEdit::textChanged, this,
                [this](const QString& strText) { m_nShown = CodePoints(strText); });
    }

    State validate(QString& strInput, int&) const override
    {
        // Setting a text clears the undo history before it is validated; typing adds a step.
        const bool bTyped = m_pEdit->isUndoAvailable();
        const int n = CodePoints(strInput);
        return bTyped && n > m_nChars && n > m_nShown ? Invalid : Acceptable;
    }

    QLineEdit* m_pEdit;
    int m_nChars;
    int m_nShown; // length of the text before the edit being validated
};
} // namespace

namespace platform_detail
{
void SetEditTypingLimit(QLineEdit* pEdit, int nChars)
{
    if (nChars <= 0 || nChars > kLargestEditLimit)
        nChars = kLargestEditLimit;
    if (auto* pLimit = dynamic_cast<CTypingLimit*>(const_cast<QValidator*>(pEdit->validator())))
        pLimit->m_nChars = nChars;
    else
        pEdit->setValidator(new CTypingLimit(pEdit, nChars));
}

int EditTypingLimit(const QLineEdit* pEdit)
{
    auto* pLimit = dynamic_cast<const CTypingLimit*>(pEdit->validator());
    return pLimit != nullptr ? pLimit->m_nChars : kLargestEditLimit;
}
} // namespace platform_detail

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, "EDIT", "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

void CEdit::SetLimitText(UINT nMax)
{
    if (auto* p = WidgetAs<QLineEdit>(m_hWnd, WndKind::Edit); p != nullptr)
        SetEditTypingLimit(p, nMax > 32767 ? 0 : static_cast<int>(nMax));
}

UINT CEdit::GetLimitText() const
{
    auto* p = WidgetAs<QLineEdit>(m_hWnd, WndKind::Edit);
    return p != nullptr ? static_cast<UINT>(EditTypingLimit(p)) : 0;
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
