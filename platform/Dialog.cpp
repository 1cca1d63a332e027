// Modal dialogs built from registered templates.
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QMenuBar>

#include "platform/Dialog.h"
#include "platform/Menu.h"
#include "platform/Resource.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/Widgets.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

// The template's controls, placed in dialog units of the dialog's font.
void CreateControls(HWND hWnd, const SDialogTemplate& t)
{
    const int nAvgWidth = hWnd->nBaseUnitX;
    const int nHeight = hWnd->nBaseUnitY;
    for (const SDialogItemTemplate& item : t.items)
    {
        RECT rc{item.x, item.y, item.x + item.cx, item.y + item.cy};
        rc.left = MulDiv(rc.left, nAvgWidth, 4);
        rc.right = MulDiv(rc.right, nAvgWidth, 4);
        rc.top = MulDiv(rc.top, nHeight, 8);
        rc.bottom = MulDiv(rc.bottom, nHeight, 8);
        HWND hCtrl = CreateWnd(item.pszClass, item.pszText, item.dwStyle | WS_CHILD, item.dwExStyle,
                               QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top), hWnd,
                               item.nId);
        if (hCtrl == nullptr)
            qWarning("CDialog: control %d of dialog %u has an unknown class \"%s\"", item.nId,
                     t.nId, item.pszClass != nullptr ? item.pszClass : "");
    }
}

HWND CreateDialogWindow(const SDialogTemplate& t, QWidget* pOwner)
{
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(t.nPointSize, ScreenDpi(), 72);
    lf.lfWeight = t.nWeight;
    lf.lfItalic = static_cast<BYTE>(t.bItalic != FALSE);
    if (t.pszFace != nullptr)
        std::strncpy(lf.lfFaceName, t.pszFace, LF_FACESIZE - 1);
    const QFont font = MakeQFont(lf);
    // Dialog base units, computed like Windows does from the dialog font.
    const QFontMetrics fm(font);
    const int nAvgWidth = (fm.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                               26 +
                           1) /
                          2;
    const int nHeight = fm.height();
    const int nClientWidth = MulDiv(t.cx, nAvgWidth, 4);
    const int nClientHeight = MulDiv(t.cy, nHeight, 8);

    const DWORD dwStyle = t.dwStyle & ~(WS_CHILD | WS_VISIBLE);
    HWND hWnd = CreateWnd("#32770", t.pszCaption, dwStyle, t.dwExStyle,
                          QRect(0, 0, nClientWidth, nClientHeight), nullptr, 0, pOwner);
    if (hWnd == nullptr)
        return nullptr;
    hWnd->nBaseUnitX = nAvgWidth;
    hWnd->nBaseUnitY = nHeight;
    auto* pDialog = static_cast<DialogWidget*>(hWnd->pWidget.data());
    pDialog->setFont(font);
    pDialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    pDialog->setWindowTitle(QString::fromUtf8(t.pszCaption != nullptr ? t.pszCaption : ""));
    int nMenuHeight = 0;
    if (t.nMenuId != 0)
    {
        CMenu menu;
        if (menu.LoadMenu(t.nMenuId))
        {
            hWnd->pClient = new QWidget(pDialog);
            hWnd->hOwnedMenu = menu.Detach();
            SetMenuBar(hWnd, hWnd->hOwnedMenu);
            nMenuHeight = hWnd->pMenuBar != nullptr ? hWnd->pMenuBar->sizeHint().height() : 0;
        }
    }
    if ((t.dwStyle & WS_THICKFRAME) != 0)
    {
        // A resizable dialog never gets smaller than its template: its layout starts from there.
        pDialog->setMinimumSize(nClientWidth, nClientHeight + nMenuHeight);
        pDialog->resize(nClientWidth, nClientHeight + nMenuHeight);
    }
    else
        pDialog->setFixedSize(nClientWidth, nClientHeight + nMenuHeight);
    pDialog->LayoutClient();
    CreateControls(hWnd, t);
    return hWnd;
}

void FocusFirstTabStop(HWND hWnd)
{
    if (hWnd->pClient == nullptr)
        return;
    for (QObject* pChild : hWnd->pClient->children())
    {
        auto* pWidget = qobject_cast<QWidget*>(pChild);
        HWND h = WndFromWidget(pWidget);
        if (h != nullptr && h->hParent == hWnd && (h->dwStyle & WS_TABSTOP) != 0 &&
            !pWidget->isHidden() && pWidget->isEnabled())
        {
            pWidget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (LiveWnd(m_hWnd) != nullptr)
        DestroyWindow();
}

INT_PTR CDialog::DoModal()
{
    const SDialogTemplate* pTemplate = FindDialogTemplate(m_nIDTemplate);
    if (pTemplate == nullptr || m_hWnd != nullptr ||
        qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return -1;
    QWidget* pOwner = nullptr;
    if (m_pParentWnd != nullptr && LiveWnd(m_pParentWnd->m_hWnd) != nullptr)
        pOwner = m_pParentWnd->m_hWnd->pWidget;
    else if (QApplication::activeModalWidget() != nullptr)
        pOwner = QApplication::activeModalWidget();
    else
        pOwner = QApplication::activeWindow();
    HWND hWnd = CreateDialogWindow(*pTemplate, pOwner);
    if (hWnd == nullptr)
        return -1;
    Attach(hWnd);
    PreSubclassWindow();
    m_bEnded = false;
    m_nModalResult = -1;
    // OnInitDialog answering TRUE asks for the focus on the first tab stop.
    if (Send(hWnd, WM_INITDIALOG, 0, 0) != FALSE && LiveWnd(hWnd) != nullptr)
        FocusFirstTabStop(hWnd);
    if (LiveWnd(hWnd) != nullptr && !m_bEnded)
    {
        auto* pDialog = static_cast<QDialog*>(hWnd->pWidget.data());
        const int nResult = pDialog->exec();
        if (!m_bEnded)
            m_nModalResult = nResult;
    }
    if (LiveWnd(hWnd) != nullptr)
        ::DestroyWindow(hWnd);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEnded = true;
    if (LiveWnd(m_hWnd) != nullptr && m_hWnd->eKind == WndKind::Dialog)
        static_cast<QDialog*>(m_hWnd->pWidget.data())->done(nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    if (lpRect == nullptr || LiveWnd(m_hWnd) == nullptr)
        return;
    lpRect->left = MulDiv(lpRect->left, m_hWnd->nBaseUnitX, 4);
    lpRect->right = MulDiv(lpRect->right, m_hWnd->nBaseUnitX, 4);
    lpRect->top = MulDiv(lpRect->top, m_hWnd->nBaseUnitY, 8);
    lpRect->bottom = MulDiv(lpRect->bottom, m_hWnd->nBaseUnitY, 8);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam))
    {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

void CDialog::OnClose()
{
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
