// CWnd: the C++ object of a window, and the window calls it offers.
#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/Button.h"
#include "platform/ClientDC.h"
#include "platform/DataExchange.h"
#include "platform/Edit.h"
#include "platform/Font.h"
#include "platform/Menu.h"
#include "platform/ScrollBar.h"
#include "platform/Static.h"
#include "platform/WinGdi.h"
#include "platform/WinUser.h"
#include "platform/Wnd.h"
#include "platform/WidgetHost.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/HandleRegistry.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

CWnd* NewTemporaryFor(HWND hWnd)
{
    switch (hWnd->eKind)
    {
    case WndKind::ScrollBar:
        return new CScrollBar;
    case WndKind::Button:
    case WndKind::Check:
    case WndKind::GroupBox:
        return new CButton;
    case WndKind::Edit:
        return new CEdit;
    case WndKind::Static:
        return new CStatic;
    default:
        return new CWnd;
    }
}
} // namespace

CWnd::~CWnd()
{
    if (LiveWnd(m_hWnd) != nullptr)
    {
        if (m_hWnd->pPermanent == this)
            ::DestroyWindow(m_hWnd);
        else if (m_hWnd->pTemporary.get() != this)
            m_hWnd = nullptr;
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? hWnd->pPermanent : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr)
        return nullptr;
    return WrapperOf(
        hWnd, [hWnd] { return NewTemporaryFor(hWnd); }, &CWnd::m_hWnd);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void*)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    HWND hParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    QWidget* pOwner = (dwStyle & WS_CHILD) == 0 && LiveWnd(hParent) != nullptr
                          ? hParent->pWidget.data()
                          : nullptr;
    return CreateWithin(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect, hParent, pOwner,
                        nID, lpParam);
}

BOOL CWnd::CreateWithin(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle, const RECT& rect, HWND hParent, QWidget* pOwner, UINT nID,
                        LPVOID lpParam)
{
    if (m_hWnd != nullptr)
        return FALSE;
    const QRect qrect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    HWND hWnd = CreateWnd(lpszClassName, lpszWindowName, dwStyle & ~WS_VISIBLE, dwExStyle, qrect,
                          hParent, static_cast<int>(nID), pOwner);
    if (hWnd == nullptr)
        return FALSE;
    Attach(hWnd);
    PreSubclassWindow();
    if (Send(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(lpParam)) == -1)
    {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    if (LiveWnd(hWnd) == nullptr)
        return FALSE;
    Send(hWnd, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(static_cast<WORD>(qrect.width()), static_cast<WORD>(qrect.height())));
    if ((dwStyle & WS_VISIBLE) != 0)
    {
        hWnd->dwStyle |= WS_VISIBLE;
        if (hWnd->pWidget != nullptr)
            hWnd->pWidget->show();
    }
    return TRUE;
}

BOOL CreateWindowInWidget(CWnd& wnd, LPCTSTR lpszClassName, QWidget* pHost, const RECT& rect,
                          DWORD dwStyle)
{
    if (pHost == nullptr)
        return FALSE;
    return wnd.CreateWithin(0, lpszClassName, "", dwStyle | WS_CHILD, rect, nullptr, pHost, 0,
                            nullptr);
}

QWidget* WidgetOfWindow(const CWnd& wnd)
{
    return LiveWnd(wnd.m_hWnd) != nullptr ? wnd.m_hWnd->pWidget.data() : nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (LiveWnd(m_hWnd) == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (LiveWnd(hWndNew) == nullptr || m_hWnd != nullptr || hWndNew->pPermanent != nullptr)
        return FALSE;
    m_hWnd = hWndNew;
    hWndNew->pPermanent = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    ForgetWrapper(LiveWnd(m_hWnd), this);
    return std::exchange(m_hWnd, nullptr);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr)
        return FALSE;
    HWND h = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return h != nullptr && SubclassWindow(h);
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}
int CWnd::GetDlgCtrlID() const
{
    return LiveWnd(m_hWnd) != nullptr ? m_hWnd->nId : 0;
}
int CWnd::SetDlgCtrlID(int nID)
{
    if (LiveWnd(m_hWnd) == nullptr)
        return 0;
    return std::exchange(m_hWnd->nId, nID);
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const
{
    return FromHandle(::ChildWindowFromPoint(m_hWnd, point));
}
CWnd* CWnd::ChildWindowFromPoint(POINT point, UINT nFlags) const
{
    return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
}

DWORD CWnd::GetStyle() const
{
    if (LiveWnd(m_hWnd) == nullptr)
        return 0;
    DWORD dw = m_hWnd->dwStyle & ~(WS_VISIBLE | WS_DISABLED);
    if (m_hWnd->pWidget != nullptr && !m_hWnd->pWidget->isHidden())
        dw |= WS_VISIBLE;
    if (m_hWnd->pWidget != nullptr && !m_hWnd->pWidget->isEnabled())
        dw |= WS_DISABLED;
    return dw;
}

DWORD CWnd::GetExStyle() const
{
    return LiveWnd(m_hWnd) != nullptr ? m_hWnd->dwExStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT)
{
    if (LiveWnd(m_hWnd) == nullptr)
        return FALSE;
    const DWORD dwOld = m_hWnd->dwStyle;
    m_hWnd->dwStyle = (dwOld & ~dwRemove) | dwAdd;
    if (m_hWnd->eKind == WndKind::Edit && ((dwOld ^ m_hWnd->dwStyle) & ES_READONLY) != 0)
        static_cast<QLineEdit*>(m_hWnd->pWidget.data())
            ->setReadOnly((m_hWnd->dwStyle & ES_READONLY) != 0);
    return dwOld != m_hWnd->dwStyle;
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    Send(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString != nullptr ? lpszString : ""));
}

void CWnd::GetWindowText(std::string& rString) const
{
    rString.clear();
    if (LiveWnd(m_hWnd) != nullptr && m_hWnd->pWidget != nullptr)
        rString = WindowTextOf(m_hWnd).toStdString();
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    if (lpszStringBuf == nullptr || nMaxCount <= 0)
        return 0;
    std::string s;
    GetWindowText(s);
    const int n = std::min(static_cast<int>(s.size()), nMaxCount - 1);
    std::memcpy(lpszStringBuf, s.data(), static_cast<size_t>(n));
    lpszStringBuf[n] = '\0';
    return n;
}

int CWnd::GetWindowTextLength() const
{
    std::string s;
    GetWindowText(s);
    return static_cast<int>(s.size());
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    if (CWnd* p = GetDlgItem(nID); p != nullptr)
        p->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
{
    CWnd* p = GetDlgItem(nID);
    return p != nullptr ? p->GetWindowText(lpStr, nMaxCount) : 0;
}

int CWnd::GetDlgItemText(int nID, std::string& rString) const
{
    rString.clear();
    if (CWnd* p = GetDlgItem(nID); p != nullptr)
        p->GetWindowText(rString);
    return static_cast<int>(rString.size());
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    if (LiveWnd(m_hWnd) == nullptr || m_hWnd->pWidget == nullptr || pFont == nullptr)
        return;
    GdiObj* p = LiveGdi(pFont->m_hObject);
    if (p == nullptr || p->eKind != GdiKind::Font)
        return;
    m_hWnd->hFont = static_cast<HFONT>(pFont->m_hObject);
    m_hWnd->pWidget->setFont(p->font);
    if (bRedraw)
        m_hWnd->pWidget->update();
}

CFont* CWnd::GetFont() const
{
    if (LiveWnd(m_hWnd) == nullptr || m_hWnd->pWidget == nullptr)
        return nullptr;
    if (LiveGdi(m_hWnd->hFont) == nullptr)
    {
        // The font the window shows, as a GDI font that lives as long as the window.
        const QFont f = m_hWnd->pWidget->font();
        LOGFONTA lf = {};
        lf.lfHeight =
            f.pixelSize() > 0 ? -f.pixelSize() : -MulDiv(static_cast<int>(f.pointSizeF()), 96, 72);
        lf.lfWeight = f.weight();
        lf.lfItalic = static_cast<BYTE>(f.italic());
        std::strncpy(lf.lfFaceName, f.family().toUtf8().constData(), LF_FACESIZE - 1);
        m_hWnd->hOwnedFont = ::CreateFontIndirectA(&lf);
        m_hWnd->hFont = static_cast<HFONT>(m_hWnd->hOwnedFont);
    }
    return CFont::FromHandle(m_hWnd->hFont);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}
BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}
BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::IsIconic() const
{
    return LiveWnd(m_hWnd) != nullptr && m_hWnd->pWidget != nullptr &&
           m_hWnd->pWidget->isMinimized();
}
BOOL CWnd::IsZoomed() const
{
    return LiveWnd(m_hWnd) != nullptr && m_hWnd->pWidget != nullptr &&
           m_hWnd->pWidget->isMaximized();
}

CWnd* CWnd::SetFocus()
{
    CWnd* pPrev = GetFocus();
    if (LiveWnd(m_hWnd) != nullptr && m_hWnd->pWidget != nullptr)
        m_hWnd->pWidget->setFocus(Qt::OtherFocusReason);
    return pPrev;
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(WndFromWidget(QApplication::focusWidget()));
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (!::GetClientRect(m_hWnd, lpRect) && lpRect != nullptr)
        *lpRect = RECT{0, 0, 0, 0};
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (!::GetWindowRect(m_hWnd, lpRect) && lpRect != nullptr)
        *lpRect = RECT{0, 0, 0, 0};
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}
void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}
void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    if (lpRect != nullptr)
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, bRepaint);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    if (LiveWnd(m_hWnd) == nullptr || m_hWnd->pWidget == nullptr)
        return;
    QWidget* w = m_hWnd->pWidget;
    QRect area;
    if (pAlternateOwner != nullptr && LiveWnd(pAlternateOwner->m_hWnd) != nullptr)
        area = QRect(pAlternateOwner->m_hWnd->pWidget->mapToGlobal(QPoint(0, 0)),
                     pAlternateOwner->m_hWnd->pWidget->size());
    else if (w->parentWidget() != nullptr && w->isWindow())
        area = w->parentWidget()->window()->frameGeometry();
    else if (QScreen* s = QGuiApplication::primaryScreen(); s != nullptr)
        area = s->availableGeometry();
    if (!area.isEmpty())
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}
void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}
CDC* CWnd::GetDC()
{
    return new CClientDC(this);
}
int CWnd::ReleaseDC(CDC* pDC)
{
    if (pDC == nullptr)
        return 0;
    delete pDC;
    return 1;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}
CWnd* CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    if (LiveWnd(m_hWnd) == nullptr)
        return nullptr;
    HICON hPrev = bBigIcon ? std::exchange(m_hWnd->hIconBig, hIcon)
                           : std::exchange(m_hWnd->hIconSmall, hIcon);
    if (m_hWnd->pWidget != nullptr && hIcon != nullptr)
        m_hWnd->pWidget->setWindowIcon(hIcon->icon);
    return hPrev;
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    if (LiveWnd(m_hWnd) == nullptr)
        return nullptr;
    return bBigIcon ? m_hWnd->hIconBig : m_hWnd->hIconSmall;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    if (LiveWnd(m_hWnd) == nullptr || (m_hWnd->dwStyle & WS_SYSMENU) == 0)
        return nullptr;
    if (bRevert || !m_hWnd->pSystemMenu)
    {
        m_hWnd->pSystemMenu = std::make_unique<CMenu>();
        m_hWnd->pSystemMenu->CreatePopupMenu();
        m_hWnd->pSystemMenu->AppendMenu(MF_STRING, SC_CLOSE, "Close");
        if (bRevert)
            return nullptr;
    }
    return m_hWnd->pSystemMenu.get();
}

CMenu* CWnd::GetMenu() const
{
    return LiveWnd(m_hWnd) != nullptr ? CMenu::FromHandle(m_hWnd->hMenu) : nullptr;
}

BOOL CWnd::SetMenu(CMenu* pMenu)
{
    if (LiveWnd(m_hWnd) == nullptr)
        return FALSE;
    SetMenuBar(m_hWnd, pMenu != nullptr ? pMenu->m_hMenu : nullptr);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Send(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}
