// CWnd: the C++ object of a window, its creation, and the window calls it offers.
#include <QApplication>
#include <algorithm>

#include "platform/Brush.h"
#include "platform/DC.h"
#include "platform/WidgetHost.h"
#include "platform/Wnd.h"
#include "platform/detail/Strings.h"
#include "platform/detail/Widgets.h"

using namespace platform_detail;

namespace
{

// The widget of a live window, else nullptr.
QWidget* WidgetOf(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? hWnd->pWidget.data() : nullptr;
}

} // namespace

CWnd::~CWnd()
{
    DestroyWindow();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID)
{
    return CreateWithin(lpszClassName, lpszWindowName, dwStyle, rect,
                        pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr, nID);
}

BOOL CWnd::CreateWithin(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, HWND hParent, QWidget* pHost, UINT nID)
{
    if (m_hWnd != nullptr)
        return FALSE;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    {
        qWarning("CWnd::CreateEx: no application object; construct a CPlatformApp first");
        return FALSE;
    }
    // A child lives in its parent window, or in the widget it was given when it has none.
    const bool bChild = (dwStyle & WS_CHILD) != 0;
    hParent = bChild ? LiveWnd(hParent) : nullptr;
    QWidget* pParentWidget = hParent != nullptr ? hParent->pWidget.data() : pHost;
    if (bChild && pParentWidget == nullptr)
        return FALSE;
    const std::string cls = Lower(lpszClassName);
    const bool bScrollBar = cls == "scrollbar";
    const SWindowClass* pClass = cls.empty() || bScrollBar ? nullptr : FindWindowClass(cls);
    if (!cls.empty() && !bScrollBar && pClass == nullptr)
        return FALSE;

    auto hWnd = new HWND__;
    hWnd->pWnd = this;
    hWnd->hParent = hParent;
    hWnd->dwStyle = dwStyle;
    hWnd->nId = static_cast<int>(nID);
    hWnd->bScrollBar = bScrollBar;
    QWidget* pWidget = nullptr;
    if (bScrollBar)
    {
        pWidget = new ScrollBarWidget(
            hWnd, (dwStyle & SBS_VERT) != 0 ? Qt::Vertical : Qt::Horizontal, pParentWidget);
    }
    else
    {
        // A plain window takes double clicks and has no background of its own.
        hWnd->nClassStyle = pClass != nullptr ? pClass->wc.style : CS_DBLCLKS;
        hWnd->hbrBackground = pClass != nullptr ? pClass->wc.hbrBackground : nullptr;
        pWidget = new WindowWidget(hWnd, pParentWidget);
        if (pClass != nullptr && pClass->wc.hCursor != nullptr)
            pWidget->setCursor(pClass->wc.hCursor->eShape);
    }
    hWnd->pWidget = pWidget;
    AddWindowData(hWnd);
    m_hWnd = hWnd;

    if (!bChild)
        pWidget->setWindowTitle(QString::fromUtf8(lpszWindowName != nullptr ? lpszWindowName : ""));
    const QRect qrect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    pWidget->setGeometry(qrect);
    pWidget->setFocusPolicy((dwStyle & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::NoFocus);
    // Hidden until asked: a child not hidden explicitly would show with its parent.
    pWidget->hide();
    OnSize(SIZE_RESTORED, qrect.width(), qrect.height());
    if (LiveWnd(hWnd) == nullptr)
        return FALSE;
    if ((dwStyle & WS_VISIBLE) != 0)
        pWidget->show();
    return TRUE;
}

BOOL CreateWindowInWidget(CWnd& wnd, LPCTSTR lpszClassName, QWidget* pHost, const RECT& rect,
                          DWORD dwStyle)
{
    if (pHost == nullptr)
        return FALSE;
    return wnd.CreateWithin(lpszClassName, "", dwStyle | WS_CHILD, rect, nullptr, pHost, 0);
}

QWidget* WidgetOfWindow(const CWnd& wnd)
{
    return WidgetOf(wnd.m_hWnd);
}

BOOL CWnd::DestroyWindow()
{
    QWidget* pWidget = WidgetOf(m_hWnd);
    if (pWidget == nullptr)
        return FALSE;
    delete pWidget; // its destructor frees the window data, then its children's
    return TRUE;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? hWnd->pWnd : nullptr;
}

CWnd* CWnd::GetParent() const
{
    return LiveWnd(m_hWnd) != nullptr ? FromHandle(m_hWnd->hParent) : nullptr;
}

int CWnd::GetDlgCtrlID() const
{
    return LiveWnd(m_hWnd) != nullptr ? m_hWnd->nId : 0;
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const
{
    QWidget* pWidget = WidgetOf(m_hWnd);
    const QPoint pt(point.x, point.y);
    if (pWidget == nullptr || !pWidget->rect().contains(pt))
        return nullptr;
    const QObjectList& children = pWidget->children();
    // Top of the z-order first.
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        auto* pChild = qobject_cast<QWidget*>(*it);
        HWND h = WndFromWidget(pChild);
        if (h != nullptr && h->hParent == m_hWnd && pChild->geometry().contains(pt))
            return h->pWnd;
    }
    return const_cast<CWnd*>(this);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    QWidget* pWidget = WidgetOf(m_hWnd);
    if (pWidget == nullptr)
        return FALSE;
    const BOOL bWasVisible = !pWidget->isHidden();
    pWidget->setVisible(nCmdShow != SW_HIDE);
    return bWasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    QWidget* pWidget = WidgetOf(m_hWnd);
    return pWidget != nullptr && pWidget->isVisible();
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    QWidget* pWidget = WidgetOf(m_hWnd);
    *lpRect =
        pWidget != nullptr ? RECT{0, 0, pWidget->width(), pWidget->height()} : RECT{0, 0, 0, 0};
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    QWidget* pWidget = WidgetOf(m_hWnd);
    if (pWidget == nullptr)
    {
        *lpRect = RECT{0, 0, 0, 0};
        return;
    }
    const QRect r = pWidget->isWindow()
                        ? pWidget->frameGeometry()
                        : QRect(pWidget->mapToGlobal(QPoint(0, 0)), pWidget->size());
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    QWidget* pWidget = WidgetOf(m_hWnd);
    if (pWidget == nullptr || lpPoint == nullptr)
        return;
    const QPoint p = pWidget->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
    *lpPoint = POINT{p.x(), p.y()};
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    POINT corners[2] = {{lpRect->left, lpRect->top}, {lpRect->right, lpRect->bottom}};
    ScreenToClient(&corners[0]);
    ScreenToClient(&corners[1]);
    *lpRect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    QWidget* pWidget = WidgetOf(m_hWnd);
    if (pWidget == nullptr)
        return;
    pWidget->setGeometry(x, y, std::max(0, nWidth), std::max(0, nHeight));
    if (bRepaint)
        pWidget->update();
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    if (lpRect != nullptr)
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, bRepaint);
}

void CWnd::Invalidate(BOOL bErase)
{
    InvalidateRect(nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    QWidget* pWidget = WidgetOf(m_hWnd);
    if (pWidget == nullptr)
        return;
    m_hWnd->bInvalid = true;
    if (bErase)
        m_hWnd->bErasePending = true;
    if (lpRect == nullptr)
        pWidget->update();
    else
        pWidget->update(QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                              lpRect->bottom - lpRect->top));
}

void CWnd::UpdateWindow()
{
    QWidget* pWidget = WidgetOf(m_hWnd);
    if (pWidget != nullptr && m_hWnd->bInvalid && pWidget->isVisible())
        pWidget->repaint();
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}

CWnd* CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}

void CWnd::OnPaint() {}

BOOL CWnd::OnEraseBkgnd(CDC* pDC)
{
    if (LiveWnd(m_hWnd) == nullptr || m_hWnd->hbrBackground == nullptr || pDC == nullptr)
        return FALSE;
    RECT rc;
    GetClientRect(&rc);
    pDC->FillRect(&rc, CBrush::FromHandle(m_hWnd->hbrBackground));
    return TRUE;
}

void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnMouseMove(UINT, CPoint) {}
void CWnd::OnMouseLeave() {}
void CWnd::OnLButtonDown(UINT, CPoint) {}
void CWnd::OnLButtonUp(UINT, CPoint) {}
void CWnd::OnLButtonDblClk(UINT, CPoint) {}
void CWnd::OnRButtonDown(UINT, CPoint) {}
void CWnd::OnRButtonUp(UINT, CPoint) {}
void CWnd::OnRButtonDblClk(UINT, CPoint) {}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return FALSE;
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {}
