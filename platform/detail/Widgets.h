// Private to the platform layer: the Qt widgets that carry windows and hand their events to the
// windows' CWnd handlers.
#pragma once

#include <QScrollBar>
#include <QWidget>

#include "platform/detail/WindowInternal.h"

namespace platform_detail
{

// Every widget that carries a window drops the window's data when it goes away.
template <class Base> class WindowCarrier : public Base
{
public:
    template <class... Args>
    explicit WindowCarrier(HWND hWnd, Args&&... args)
        : Base(std::forward<Args>(args)...), m_hWnd(hWnd)
    {
    }
    ~WindowCarrier() override { RemoveWindowData(m_hWnd); }

protected:
    HWND m_hWnd;
};

// A window of a registered class or a plain window.
class WindowWidget : public WindowCarrier<QWidget>
{
public:
    WindowWidget(HWND hWnd, QWidget* pParent);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;

private:
    void Press(QMouseEvent* pEvent, bool bToolkitDouble);
    // The last button-down, for telling a double click from two single ones.
    Qt::MouseButton m_lastButton = Qt::NoButton;
    quint64 m_nLastPressTime = 0;
    bool m_bLastWasDouble = false;
    bool m_bPressDown = false; // a press has arrived and its release not yet
    QPointF m_ptLastPress;
};

// A scroll bar control: user actions reach the parent's OnHScroll/OnVScroll.
class ScrollBarWidget : public WindowCarrier<QScrollBar>
{
public:
    ScrollBarWidget(HWND hWnd, Qt::Orientation orientation, QWidget* pParent);
    void SyncFromState(); // shows the window's scroll state

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    void OnAction(int nAction);
    void Notify(UINT nCode, int nPos);
    bool m_bSyncing = false;
    bool m_bReleasing = false;
    bool m_bPressed = false;
};

} // namespace platform_detail
