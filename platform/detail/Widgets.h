// Private to the platform layer: the Qt widgets that carry windows.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

#include "platform/detail/WindowInternal.h"

namespace platform_detail
{

// Every widget that carries a window drops the window's data when it goes away.
template <class Base> class WindowWidget : public Base
{
public:
    template <class... Args>
    explicit WindowWidget(HWND hWnd, Args&&... args)
        : Base(std::forward<Args>(args)...), m_hWnd(hWnd)
    {
    }
    ~WindowWidget() override { RemoveWindowData(m_hWnd); }
    HWND Hwnd() const { return m_hWnd; }

protected:
    void dragEnterEvent(QDragEnterEvent* pEvent) override
    {
        if (!OfferDrag(m_hWnd, pEvent))
            Base::dragEnterEvent(pEvent);
    }
    void dragMoveEvent(QDragMoveEvent* pEvent) override
    {
        if (!OfferDrag(m_hWnd, pEvent))
            Base::dragMoveEvent(pEvent);
    }
    void dropEvent(QDropEvent* pEvent) override
    {
        if (!DeliverDrop(m_hWnd, pEvent))
            Base::dropEvent(pEvent);
    }

    HWND m_hWnd;
};

// A window of a registered class or a plain window: all its events become messages.
class GenericWidget : public WindowWidget<QWidget>
{
public:
    GenericWidget(HWND hWnd, QWidget* pParent);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void Press(QMouseEvent* pEvent, bool bQtDouble);
    // The last button-down, for telling a double click from two single ones.
    Qt::MouseButton m_lastButton = Qt::NoButton;
    quint64 m_nLastPressTime = 0;
    bool m_bLastWasDouble = false;
    bool m_bPressDown = false; // a press has arrived and its release not yet
    QPointF m_ptLastPress;
};

class DialogWidget : public WindowWidget<QDialog>
{
public:
    DialogWidget(HWND hWnd, QWidget* pParent);
    void reject() override; // Escape
    void LayoutClient();

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
};

class ScrollBarWidget : public WindowWidget<QScrollBar>
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

using ButtonWidget = WindowWidget<QPushButton>;
using CheckWidget = WindowWidget<QCheckBox>;
using GroupBoxWidget = WindowWidget<QGroupBox>;
using EditWidget = WindowWidget<QLineEdit>;
using StaticWidget = WindowWidget<QLabel>;

// An edit's text limit holds what the user types or pastes, never the text the program sets, as
// on Windows; QLineEdit's own maximum would cut both. 0 or more than 32767 is 32767.
void SetEditTypingLimit(QLineEdit* pEdit, int nChars);
int EditTypingLimit(const QLineEdit* pEdit);

} // namespace platform_detail
