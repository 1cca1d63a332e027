// Mouse input delivered the way the window system delivers it: to the top-level window, at a point
// of a widget inside it, so the toolkit's own routing runs (the implicit grab that keeps a drag on
// the pressed widget, and the context menu request that follows a right press on X).
#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <vector>

class CWindowMouse : public QObject
{
public:
    // Watches for pop-up menus and for context menu requests that reach any ancestor of pWidget.
    explicit CWindowMouse(QWidget* pWidget) : m_pWidget(pWidget)
    {
        for (QWidget* p = pWidget->parentWidget(); p != nullptr; p = p->parentWidget())
        {
            p->installEventFilter(this);
            m_vecWatched.emplace_back(p);
        }
        // A menu that opens runs its own loop; close it from there so the test goes on and fails.
        m_popupWatch.setInterval(10);
        QObject::connect(&m_popupWatch, &QTimer::timeout, this,
                         [this]
                         {
                             if (QWidget* pPopup = QApplication::activePopupWidget())
                             {
                                 ++m_nPopups;
                                 pPopup->close();
                             }
                         });
        m_popupWatch.start();
    }
    ~CWindowMouse() override
    {
        for (const QPointer<QWidget>& p : m_vecWatched)
            if (p != nullptr)
                p->removeEventFilter(this);
    }

    void Press(Qt::MouseButton button, QPoint pt)
    {
        QTest::mousePress(Window(), button, Qt::NoModifier, InWindow(pt));
    }
    void Move(QPoint pt) { QTest::mouseMove(Window(), InWindow(pt)); }
    void Release(Qt::MouseButton button, QPoint pt)
    {
        QTest::mouseRelease(Window(), button, Qt::NoModifier, InWindow(pt));
    }
    void Drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        Press(button, from);
        Move(to);
        Release(button, to);
    }

    // Points are in the widget's coordinates, also when they lie outside it or its window.
    QPoint InWindow(QPoint pt) const { return m_pWidget->mapTo(m_pWidget->window(), pt); }
    int PopupMenus() const { return m_nPopups; }
    int MenuRequestsAbove() const { return m_nMenuRequestsAbove; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::ContextMenu)
            ++m_nMenuRequestsAbove;
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    QWindow* Window() const { return m_pWidget->window()->windowHandle(); }

    QWidget* m_pWidget = nullptr;
    std::vector<QPointer<QWidget>> m_vecWatched;
    QTimer m_popupWatch;
    int m_nPopups = 0;
    int m_nMenuRequestsAbove = 0;
};
