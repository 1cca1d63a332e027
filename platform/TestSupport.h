// Helpers for tests that drive real windows (Qt types allowed: only tests include this header).
#pragma once

#include <functional>

#include "platform/WinTypes.h"

class QWidget;

// The widget that carries a window, for QTest input; nullptr for a dead handle.
QWidget* WidgetFromHwnd(HWND hWnd);
HWND HwndFromWidget(const QWidget* pWidget);
// Runs fn once on the UI thread after nMilliseconds, also inside a modal dialog's loop.
void PlatformRunLater(int nMilliseconds, std::function<void()> fn);
// The period of a running timer after clamping; FALSE when the window has no such timer.
BOOL GetTimerPeriod(HWND hWnd, UINT_PTR nIDEvent, UINT* puElapse);
