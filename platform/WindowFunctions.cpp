// USER calls on window handles: the default window procedure, state, geometry, painting and
// system metrics.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "platform/WinGdi.h"
#include "platform/WinUser.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

void SysCommand(HWND hWnd, WPARAM wParam)
{
    switch (wParam & 0xFFF0)
    {
    case SC_CLOSE:
        Send(hWnd, WM_CLOSE, 0, 0);
        break;
    case SC_MINIMIZE:
        ::ShowWindow(hWnd, SW_MINIMIZE);
        break;
    case SC_MAXIMIZE:
        ::ShowWindow(hWnd, SW_MAXIMIZE);
        break;
    case SC_RESTORE:
        ::ShowWindow(hWnd, SW_RESTORE);
        break;
    default:
        break;
    }
}

} // namespace

namespace platform_detail
{

void SetWindowTextOf(HWND hWnd, const char* psz)
{
    const QString text = QString::fromUtf8(psz != nullptr ? psz : "");
    QWidget* w = hWnd->pWidget;
    switch (hWnd->eKind)
    {
    case WndKind::Button:
        static_cast<QPushButton*>(w)->setText(text);
        break;
    case WndKind::Check:
        static_cast<QCheckBox*>(w)->setText(text);
        break;
    case WndKind::GroupBox:
        static_cast<QGroupBox*>(w)->setTitle(text);
        break;
    case WndKind::Edit:
        static_cast<QLineEdit*>(w)->setText(text);
        break;
    case WndKind::Static:
        static_cast<QLabel*>(w)->setText(MnemonicFree(psz));
        break;
    default:
        w->setWindowTitle(text);
        break;
    }
}

QString WindowTextOf(HWND hWnd)
{
    QWidget* w = hWnd->pWidget;
    switch (hWnd->eKind)
    {
    case WndKind::Button:
        return static_cast<QPushButton*>(w)->text();
    case WndKind::Check:
        return static_cast<QCheckBox*>(w)->text();
    case WndKind::GroupBox:
        return static_cast<QGroupBox*>(w)->title();
    case WndKind::Edit:
        return static_cast<QLineEdit*>(w)->text();
    case WndKind::Static:
        return static_cast<QLabel*>(w)->text();
    default:
        return w->windowTitle();
    }
}

} // namespace platform_detail

LRESULT CALLBACK DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    hWnd = LiveWnd(hWnd);
    if (hWnd == nullptr)
        return 0;
    switch (Msg)
    {
    case WM_ERASEBKGND:
    {
        auto hdc = reinterpret_cast<HDC>(wParam);
        if (hWnd->hbrBackground == nullptr || LiveDc(hdc) == nullptr || hWnd->pWidget == nullptr)
            return 0;
        const RECT rc{0, 0, hWnd->pWidget->width(), hWnd->pWidget->height()};
        ::FillRect(hdc, &rc, hWnd->hbrBackground);
        return 1;
    }
    case WM_SETCURSOR:
        if (hWnd->hCursor != nullptr && LOWORD(static_cast<DWORD_PTR>(lParam)) == HTCLIENT)
        {
            ::SetCursor(hWnd->hCursor);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        ::DestroyWindow(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        SysCommand(hWnd, wParam);
        return 0;
    case WM_SETTEXT:
        if (hWnd->pWidget != nullptr)
            SetWindowTextOf(hWnd, reinterpret_cast<const char*>(lParam));
        return TRUE;
    case WM_SETICON:
        if (hWnd->pWidget != nullptr && lParam != 0)
            hWnd->pWidget->setWindowIcon(reinterpret_cast<HICON>(lParam)->icon);
        return 0;
    default:
        return 0;
    }
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return Send(hWnd, Msg, wParam, lParam);
}

BOOL IsWindow(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr;
}

BOOL IsWindowVisible(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr && hWnd->pWidget != nullptr && hWnd->pWidget->isVisible();
}

BOOL IsWindowEnabled(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr && hWnd->pWidget != nullptr && hWnd->pWidget->isEnabled();
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    QWidget* w = hWnd->pWidget;
    const BOOL bWasVisible = !w->isHidden();
    switch (nCmdShow)
    {
    case SW_HIDE:
        w->hide();
        hWnd->dwStyle &= ~WS_VISIBLE;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        w->showMinimized();
        hWnd->dwStyle |= WS_VISIBLE;
        break;
    case SW_MAXIMIZE:
        w->showMaximized();
        hWnd->dwStyle |= WS_VISIBLE;
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (w->isWindow())
            w->showNormal();
        else
            w->show();
        hWnd->dwStyle |= WS_VISIBLE;
        break;
    default:
        w->show();
        hWnd->dwStyle |= WS_VISIBLE;
        break;
    }
    return bWasVisible;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    const BOOL bWasDisabled = !hWnd->pWidget->isEnabled();
    hWnd->pWidget->setEnabled(bEnable != FALSE);
    if (bEnable)
        hWnd->dwStyle &= ~WS_DISABLED;
    else
        hWnd->dwStyle |= WS_DISABLED;
    return bWasDisabled;
}

BOOL DestroyWindow(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr)
        return FALSE;
    QWidget* w = hWnd->pWidget;
    if (!hWnd->bDestroying)
    {
        hWnd->bDestroying = true;
        Send(hWnd, WM_DESTROY, 0, 0);
    }
    if (w != nullptr)
        delete w; // the widget's destructor frees the window data, then the children's
    else
        RemoveWindowData(hWnd);
    return TRUE;
}

HWND GetParent(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? LiveWnd(hWnd->hParent) : nullptr;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    if (LiveWnd(hDlg) == nullptr || hDlg->pClient == nullptr)
        return nullptr;
    for (QObject* pChild : hDlg->pClient->children())
    {
        HWND h = WndFromWidget(qobject_cast<QWidget*>(pChild));
        if (h != nullptr && h->hParent == hDlg && h->nId == nIDDlgItem)
            return h;
    }
    return nullptr;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    if (LiveWnd(hWnd) == nullptr || lpRect == nullptr || hWnd->pClient == nullptr)
        return FALSE;
    *lpRect = RECT{0, 0, hWnd->pClient->width(), hWnd->pClient->height()};
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    if (LiveWnd(hWnd) == nullptr || lpRect == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    QWidget* w = hWnd->pWidget;
    QRect r = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    hWnd->pWidget->setGeometry(X, Y, std::max(0, nWidth), std::max(0, nHeight));
    if (bRepaint)
        hWnd->pWidget->update();
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    if (LiveWnd(hWnd) == nullptr || lpPoint == nullptr || hWnd->pClient == nullptr)
        return FALSE;
    const QPoint p = hWnd->pClient->mapToGlobal(QPoint(lpPoint->x, lpPoint->y));
    *lpPoint = POINT{p.x(), p.y()};
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    if (LiveWnd(hWnd) == nullptr || lpPoint == nullptr || hWnd->pClient == nullptr)
        return FALSE;
    const QPoint p = hWnd->pClient->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
    *lpPoint = POINT{p.x(), p.y()};
    return TRUE;
}

HWND ChildWindowFromPointEx(HWND hwnd, POINT pt, UINT flags)
{
    if (LiveWnd(hwnd) == nullptr || hwnd->pClient == nullptr)
        return nullptr;
    if (!hwnd->pClient->rect().contains(QPoint(pt.x, pt.y)))
        return nullptr;
    const QObjectList& children = hwnd->pClient->children();
    // Top of the z-order first.
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        auto* w = qobject_cast<QWidget*>(*it);
        HWND h = WndFromWidget(w);
        if (h == nullptr || h->hParent != hwnd)
            continue;
        if ((flags & CWP_SKIPINVISIBLE) != 0 && w->isHidden())
            continue;
        if ((flags & CWP_SKIPDISABLED) != 0 && !w->isEnabled())
            continue;
        if (w->geometry().contains(QPoint(pt.x, pt.y)))
            return h;
    }
    return hwnd;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT Point)
{
    return ChildWindowFromPointEx(hWndParent, Point, CWP_ALL);
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    hWnd->bInvalid = true;
    if (bErase)
        hWnd->bErasePending = true;
    if (lpRect == nullptr)
        hWnd->pWidget->update();
    else
        hWnd->pWidget->update(QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                    lpRect->bottom - lpRect->top));
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    if (hWnd->bInvalid && hWnd->pWidget->isVisible())
        hWnd->pWidget->repaint();
    return TRUE;
}

HDC GetDC(HWND hWnd)
{
    HDC hdc = NewDc(DcKind::Measure);
    if (LiveWnd(hWnd) != nullptr)
        hdc->pWidget = hWnd->pWidget;
    return hdc;
}

int ReleaseDC(HWND, HDC hDC)
{
    return DeleteDC(hDC);
}
HWND GetActiveWindow()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    if (HWND h = WndFromWidget(QApplication::activeModalWidget()); h != nullptr)
        return h;
    return WndFromWidget(QApplication::activeWindow());
}
int GetSystemMetrics(int nIndex)
{
    const bool bApp = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    switch (nIndex)
    {
    case SM_CXSCREEN:
    case SM_CYSCREEN:
    {
        QScreen* pScreen = bApp ? QGuiApplication::primaryScreen() : nullptr;
        if (pScreen == nullptr)
            return nIndex == SM_CXSCREEN ? 1024 : 768;
        return nIndex == SM_CXSCREEN ? pScreen->geometry().width() : pScreen->geometry().height();
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
        return bApp ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 17;
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    default:
        return 0;
    }
}

HBRUSH GetSysColorBrush(int nIndex)
{
    if (nIndex < 0 || nIndex > COLOR_MENUBAR)
        return nullptr;
    return reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(nIndex + 1));
}
