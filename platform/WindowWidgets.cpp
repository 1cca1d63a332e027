// The widgets that carry windows: their Qt events become window messages.
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyleHints>
#include <QWheelEvent>
#include <cstdlib>

#include "platform/Menu.h"
#include "platform/WinUser.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/Widgets.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

LPARAM PointParam(const QPoint& p)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x())),
                      static_cast<WORD>(static_cast<short>(p.y())));
}

UINT KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT n = 0;
    if (buttons & Qt::LeftButton)
        n |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        n |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        n |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        n |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        n |= MK_CONTROL;
    return n;
}

void SendMouse(HWND hWnd, UINT message, QMouseEvent* pEvent)
{
    if (LiveWnd(hWnd) == nullptr)
        return;
    const CMouseWindowScope scope(hWnd);
    const LPARAM lParam = PointParam(pEvent->position().toPoint());
    const WPARAM wParam = KeyFlags(pEvent->buttons(), pEvent->modifiers());
    if (message == WM_MOUSEMOVE)
        Send(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd),
             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (LiveWnd(hWnd) != nullptr)
        Send(hWnd, message, wParam, lParam);
}

UINT DownMessage(Qt::MouseButton button)
{
    return button == Qt::LeftButton ? WM_LBUTTONDOWN
                                    : (button == Qt::RightButton ? WM_RBUTTONDOWN : WM_NULL);
}
} // namespace

namespace platform_detail
{

GenericWidget::GenericWidget(HWND hWnd, QWidget* pParent) : WindowWidget<QWidget>(hWnd, pParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    // The window procedure gets every right-button message; on X a right press would otherwise
    // also ask the parent dialog for its context menu, which then takes the drag away.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void GenericWidget::paintEvent(QPaintEvent* pEvent)
{
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd == nullptr)
        return;
    hWnd->pPaintEvent = pEvent;
    hWnd->bInvalid = false;
    if (hWnd->bErasePending)
    {
        hWnd->bErasePending = false;
        HDC hdc = NewDc(DcKind::Paint);
        hdc->pWidget = this;
        hdc->pPainter = std::make_unique<QPainter>(this);
        Send(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        FreeDc(hdc);
    }
    Send(hWnd, WM_PAINT, 0, 0);
    if (LiveWnd(hWnd) != nullptr)
        hWnd->pPaintEvent = nullptr;
}

void GenericWidget::resizeEvent(QResizeEvent*)
{
    if (HWND hWnd = LiveWnd(m_hWnd); hWnd != nullptr)
    {
        hWnd->bErasePending = true;
        const UINT nType =
            isMinimized() ? SIZE_MINIMIZED : (isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED);
        Send(hWnd, WM_SIZE, nType,
             MAKELPARAM(static_cast<WORD>(width()), static_cast<WORD>(height())));
    }
}

void GenericWidget::mousePressEvent(QMouseEvent* pEvent)
{
    Press(pEvent, false);
}

void GenericWidget::mouseReleaseEvent(QMouseEvent* pEvent)
{
    m_bPressDown = false;
    const UINT message = pEvent->button() == Qt::LeftButton
                             ? WM_LBUTTONUP
                             : (pEvent->button() == Qt::RightButton ? WM_RBUTTONUP : WM_NULL);
    if (message != WM_NULL)
        SendMouse(m_hWnd, message, pEvent);
}

void GenericWidget::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    // Some toolkit versions deliver the second press before its double-click event, others only
    // the double-click event: it stands for the press unless that press has arrived already.
    if (!m_bPressDown)
        Press(pEvent, true);
}

void GenericWidget::Press(QMouseEvent* pEvent, bool bToolkitDouble)
{
    HWND hWnd = LiveWnd(m_hWnd);
    UINT message = DownMessage(pEvent->button());
    m_bPressDown = true;
    if (hWnd == nullptr || message == WM_NULL)
        return;
    // Like Windows: a second press of the same button, soon and near enough, is a double click;
    // a third one starts over.
    const QStyleHints* pHints = QGuiApplication::styleHints();
    const QPointF delta = pEvent->position() - m_ptLastPress;
    const bool bSoon = pEvent->button() == m_lastButton &&
                       pEvent->timestamp() - m_nLastPressTime <=
                           static_cast<quint64>(pHints->mouseDoubleClickInterval());
    const bool bNear = std::abs(delta.x()) <= pHints->mouseDoubleClickDistance() &&
                       std::abs(delta.y()) <= pHints->mouseDoubleClickDistance();
    const bool bDouble = ((bSoon && bNear) || bToolkitDouble) && !(bSoon && m_bLastWasDouble);
    m_lastButton = pEvent->button();
    m_nLastPressTime = pEvent->timestamp();
    m_ptLastPress = pEvent->position();
    m_bLastWasDouble = bDouble;
    // Without CS_DBLCLKS the second click is an ordinary button-down.
    if (bDouble && (hWnd->nClassStyle & CS_DBLCLKS) != 0)
        message = message == WM_LBUTTONDOWN ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
    SendMouse(hWnd, message, pEvent);
}

void GenericWidget::mouseMoveEvent(QMouseEvent* pEvent)
{
    SendMouse(m_hWnd, WM_MOUSEMOVE, pEvent);
}

void GenericWidget::wheelEvent(QWheelEvent* pEvent)
{
    const QPoint ptScreen = pEvent->globalPosition().toPoint();
    const UINT nFlags = KeyFlags(pEvent->buttons(), pEvent->modifiers());
    const auto nDelta = static_cast<WORD>(static_cast<short>(pEvent->angleDelta().y()));
    Send(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(nFlags), nDelta),
         PointParam(ptScreen));
}

void GenericWidget::closeEvent(QCloseEvent* pEvent)
{
    pEvent->ignore(); // WM_CLOSE decides (the default destroys the window)
    Send(m_hWnd, WM_CLOSE, 0, 0);
}

DialogWidget::DialogWidget(HWND hWnd, QWidget* pParent) : WindowWidget<QDialog>(hWnd, pParent) {}

void DialogWidget::reject()
{
    Send(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void DialogWidget::LayoutClient()
{
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd == nullptr || hWnd->pClient == nullptr)
        return;
    int nTop = 0;
    // Not isVisible(): the dialog is laid out before it is shown.
    if (hWnd->pMenuBar != nullptr && !hWnd->pMenuBar->isHidden())
    {
        nTop = hWnd->pMenuBar->sizeHint().height();
        hWnd->pMenuBar->setGeometry(0, 0, width(), nTop);
    }
    if (hWnd->pClient != this)
        hWnd->pClient->setGeometry(0, nTop, width(), std::max(0, height() - nTop));
}

void DialogWidget::closeEvent(QCloseEvent* pEvent)
{
    pEvent->ignore();
    Send(m_hWnd, WM_CLOSE, 0, 0);
}

void DialogWidget::resizeEvent(QResizeEvent*)
{
    LayoutClient();
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd != nullptr && hWnd->pClient != nullptr)
        Send(hWnd, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(hWnd->pClient->width()),
                        static_cast<WORD>(hWnd->pClient->height())));
}

namespace
{
// The release of the press that opened the menu picks nothing, so no single right-button drag
// can end on "Close" and quit.
class SystemContextMenu : public QMenu
{
public:
    SystemContextMenu(QWidget* pParent, bool bOpenedByPress)
        : QMenu(pParent), m_bOpeningPressDown(bOpenedByPress)
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent* pEvent) override
    {
        if (m_bOpeningPressDown && pEvent->button() == Qt::RightButton)
        {
            m_bOpeningPressDown = false;
            return;
        }
        QMenu::mouseReleaseEvent(pEvent);
    }

private:
    bool m_bOpeningPressDown = false;
};
} // namespace

void DialogWidget::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // Linux windows have no system menu: its items appear as the dialog's context menu, on the
    // dialog's own background only.
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd == nullptr || hWnd->pSystemMenu == nullptr)
        return;
    if (pEvent->reason() == QContextMenuEvent::Mouse)
    {
        HWND hHit = WndFromWidget(childAt(pEvent->pos()));
        if (hHit != nullptr && hHit != hWnd && hHit->eKind != WndKind::Static &&
            hHit->eKind != WndKind::GroupBox)
            return;
    }
    HMENU hMenu = LiveMenu(hWnd->pSystemMenu->m_hMenu);
    if (hMenu == nullptr)
        return;
    SystemContextMenu menu(this, pEvent->reason() == QContextMenuEvent::Mouse &&
                                     (QGuiApplication::mouseButtons() & Qt::RightButton) != 0);
    for (const HMENU__::Item& item : hMenu->items)
    {
        if (item.nFlags & MF_SEPARATOR)
        {
            menu.addSeparator();
            continue;
        }
        QAction* pAction = menu.addAction(QString::fromUtf8(item.strText.c_str()));
        pAction->setData(item.nId);
        pAction->setEnabled((item.nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
    }
    QAction* pChosen = menu.exec(pEvent->globalPos());
    if (pChosen != nullptr && LiveWnd(hWnd) != nullptr)
        Send(hWnd, WM_SYSCOMMAND, pChosen->data().toUInt(), 0);
}

} // namespace platform_detail
