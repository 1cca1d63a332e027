// For the program's windows on Qt: a window of a registered class (a chart) inside one of their
// widgets.
#pragma once

#include "platform/WinTypes.h"
#include "platform/WinUser.h"

class CWnd;
class QWidget;

// Creates wnd's window as a child widget of pHost at rect (pHost's coordinates); the window goes
// with pHost. FALSE when wnd has a window already, pHost is null or the class is not registered.
BOOL CreateWindowInWidget(CWnd& wnd, LPCTSTR lpszClassName, QWidget* pHost, const RECT& rect,
                          DWORD dwStyle = WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP);

// The widget that carries wnd's window; nullptr while it has none.
QWidget* WidgetOfWindow(const CWnd& wnd);
