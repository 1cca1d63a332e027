// Dialog data exchange between members and controls.
#include <QLineEdit>
#include <QWidget>

#include "platform/DataExchange.h"
#include "platform/Wnd.h"
#include "platform/detail/Widgets.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{
int CharacterCount(const std::string& s)
{
    int n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) // count code points, not bytes
            ++n;
    return n;
}
} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND h = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (h == nullptr)
        qWarning("CDataExchange::PrepareCtrl: no control with id %d", nIDC);
    m_hWndLastControl = h;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = h != nullptr && h->eKind == WndKind::Edit;
    return h;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (LiveWnd(m_hWndLastControl) != nullptr && m_hWndLastControl->pWidget != nullptr)
    {
        m_hWndLastControl->pWidget->setFocus(Qt::OtherFocusReason);
        if (m_bEditLastControl)
            static_cast<QLineEdit*>(m_hWndLastControl->pWidget.data())->selectAll();
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    if (pDX == nullptr || pDX->m_bFailed)
        return;
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (h == nullptr)
        return;
    CWnd* pCtrl = CWnd::FromHandle(h);
    if (pDX->m_bSaveAndValidate)
        pCtrl->GetWindowText(value);
    else
        pCtrl->SetWindowText(value.c_str());
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (pDX == nullptr || rControl.m_hWnd != nullptr)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (h != nullptr && !rControl.SubclassWindow(h))
        qWarning("DDX_Control: control %d already has an object attached", nIDC);
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars)
{
    if (pDX == nullptr || pDX->m_bFailed)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        if (CharacterCount(value) > nChars)
            pDX->Fail();
    }
    else if (pDX->m_bEditLastControl && LiveWnd(pDX->m_hWndLastControl) != nullptr)
    {
        SetEditTypingLimit(static_cast<QLineEdit*>(pDX->m_hWndLastControl->pWidget.data()), nChars);
    }
}
