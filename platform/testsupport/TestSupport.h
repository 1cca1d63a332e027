// Helpers for tests that drive real windows with simulated input: the widgets behind windows and
// the pictures printed into images. Qt types allowed: only tests include this header.
#pragma once

#include <QRect>
#include <QStyle>

#include "platform/testsupport/TestHooks.h"

class QImage;
class QScrollBar;
class QWidget;

// The widget that carries a window, for QTest input; nullptr for a dead handle.
QWidget* WidgetFromHwnd(HWND hWnd);
// Where a part of a scroll bar (an arrow, a page area, the thumb) lies in the bar's own
// coordinates, for clicking it.
QRect ScrollBarPartRect(QScrollBar* pBar, QStyle::SubControl ePart);
// A page of the last job that printed into images, first page 0; a null image past the last.
QImage PlatformPrintedPage(int nIndex);
