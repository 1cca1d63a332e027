// Acting on a modal window (a file or print dialog) from inside its own event loop.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Polls until a modal window of type W shows, then runs fn on it once. A window that has not
// shown after about five seconds fails the test, and whatever modal window is open is rejected
// so the test ends instead of hanging.
template <class W> void WhenModal(std::function<void(W*)> fn, int nTriesLeft = 250)
{
    QTimer::singleShot(20, QApplication::instance(),
                       [fn, nTriesLeft]
                       {
                           if (auto* p = qobject_cast<W*>(QApplication::activeModalWidget());
                               p != nullptr && p->isVisible())
                           {
                               fn(p);
                               return;
                           }
                           if (nTriesLeft > 0)
                           {
                               WhenModal<W>(fn, nTriesLeft - 1);
                               return;
                           }
                           ADD_FAILURE() << "no modal window of the expected kind showed";
                           if (auto* p = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                               p != nullptr)
                               p->reject();
                       });
}
