// The widget that carries a window: its Qt events become calls of the window's handlers.
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyleHints>
#include <QWheelEvent>
#include <cstdlib>

#include "platform/DC.h"
#include "platform/Wnd.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/Widgets.h"

using namespace platform_detail;

namespace
{

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

CPoint PointOf(const QPointF& p)
{
    const QPoint pt = p.toPoint();
    return CPoint(pt.x(), pt.y());
}

// The window's object while the window lives, else nullptr.
CWnd* WndOf(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? hWnd->pWnd : nullptr;
}

} // namespace

namespace platform_detail
{

WindowWidget::WindowWidget(HWND hWnd, QWidget* pParent) : WindowCarrier<QWidget>(hWnd, pParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    // The window gets every right-button event; on X a right press would otherwise also ask the
    // parent for its context menu, which then takes the drag away.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void WindowWidget::paintEvent(QPaintEvent* pEvent)
{
    CWnd* pWnd = WndOf(m_hWnd);
    if (pWnd == nullptr)
        return;
    HWND hWnd = m_hWnd;
    hWnd->pPaintEvent = pEvent;
    hWnd->bInvalid = false;
    if (hWnd->bErasePending)
    {
        hWnd->bErasePending = false;
        CDC dc;
        dc.Attach(NewDc(DcKind::Paint));
        dc.m_hDC->pWidget = this;
        dc.m_hDC->pPainter = std::make_unique<QPainter>(this);
        pWnd->OnEraseBkgnd(&dc);
        FreeDc(dc.Detach());
    }
    if (WndOf(hWnd) != nullptr)
        pWnd->OnPaint();
    if (LiveWnd(hWnd) != nullptr)
        hWnd->pPaintEvent = nullptr;
}

void WindowWidget::resizeEvent(QResizeEvent*)
{
    if (CWnd* pWnd = WndOf(m_hWnd); pWnd != nullptr)
    {
        m_hWnd->bErasePending = true;
        pWnd->OnSize(isMinimized() ? SIZE_MINIMIZED
                                   : (isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED),
                     width(), height());
    }
}

void WindowWidget::mousePressEvent(QMouseEvent* pEvent)
{
    Press(pEvent, false);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* pEvent)
{
    m_bPressDown = false;
    CWnd* pWnd = WndOf(m_hWnd);
    if (pWnd == nullptr)
        return;
    const CMouseWindowScope scope(m_hWnd);
    const CPoint point = PointOf(pEvent->position());
    const UINT nFlags = KeyFlags(pEvent->buttons(), pEvent->modifiers());
    if (pEvent->button() == Qt::LeftButton)
        pWnd->OnLButtonUp(nFlags, point);
    else if (pEvent->button() == Qt::RightButton)
        pWnd->OnRButtonUp(nFlags, point);
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    // Some toolkit versions deliver the second press before its double-click event, others only
    // the double-click event: it stands for the press unless that press has arrived already.
    if (!m_bPressDown)
        Press(pEvent, true);
}

void WindowWidget::Press(QMouseEvent* pEvent, bool bToolkitDouble)
{
    m_bPressDown = true;
    CWnd* pWnd = WndOf(m_hWnd);
    const bool bLeft = pEvent->button() == Qt::LeftButton;
    if (pWnd == nullptr || (!bLeft && pEvent->button() != Qt::RightButton))
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
    const CMouseWindowScope scope(m_hWnd);
    const CPoint point = PointOf(pEvent->position());
    const UINT nFlags = KeyFlags(pEvent->buttons(), pEvent->modifiers());
    // Without CS_DBLCLKS the second click is an ordinary button-down.
    if (bDouble && (m_hWnd->nClassStyle & CS_DBLCLKS) != 0)
        bLeft ? pWnd->OnLButtonDblClk(nFlags, point) : pWnd->OnRButtonDblClk(nFlags, point);
    else
        bLeft ? pWnd->OnLButtonDown(nFlags, point) : pWnd->OnRButtonDown(nFlags, point);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (CWnd* pWnd = WndOf(m_hWnd); pWnd != nullptr)
    {
        const CMouseWindowScope scope(m_hWnd);
        pWnd->OnMouseMove(KeyFlags(pEvent->buttons(), pEvent->modifiers()),
                          PointOf(pEvent->position()));
    }
}

void WindowWidget::leaveEvent(QEvent* /*pEvent*/)
{
    if (CWnd* pWnd = WndOf(m_hWnd); pWnd != nullptr)
        pWnd->OnMouseLeave();
}

void WindowWidget::wheelEvent(QWheelEvent* pEvent)
{
    if (CWnd* pWnd = WndOf(m_hWnd); pWnd != nullptr)
        pWnd->OnMouseWheel(KeyFlags(pEvent->buttons(), pEvent->modifiers()),
                           static_cast<short>(pEvent->angleDelta().y()),
                           PointOf(pEvent->globalPosition()));
}

} // namespace platform_detail
