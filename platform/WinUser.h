// USER (user32) free functions on window handles, window classes, cursors, timers and scroll bars.
#pragma once

#include "platform/WinTypes.h"

// Module instance: one per process.
HINSTANCE AfxGetInstanceHandle();
HMODULE GetModuleHandleA(LPCSTR lpModuleName);

// Window classes. Built in: "BUTTON", "EDIT", "STATIC", "SCROLLBAR" (case-insensitive), and
// "#32770" (dialog). A registered class gives its windows its style (CS_DBLCLKS), background brush
// and cursor. The window procedure is recorded; windows without a C++ object behave like
// DefWindowProcA.
ATOM RegisterClassA(const WNDCLASSA* lpWndClass);
BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);
BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass);
LRESULT CALLBACK DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Windows
BOOL IsWindow(HWND hWnd);
// The innermost modal dialog that runs, else the active top-level window of ours.
HWND GetActiveWindow();
BOOL IsWindowVisible(HWND hWnd);
BOOL IsWindowEnabled(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL DestroyWindow(HWND hWnd);
HWND GetParent(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
// Finds hidden and disabled children too (CWP_ALL); the window itself when no child contains the
// point, nullptr when the point is outside its client area.
HWND ChildWindowFromPoint(HWND hWndParent, POINT Point);
HWND ChildWindowFromPointEx(HWND hwnd, POINT pt, UINT flags);
BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL UpdateWindow(HWND hWnd);
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);

// Timers: the period is clamped to USER_TIMER_MINIMUM..USER_TIMER_MAXIMUM milliseconds.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// Mouse capture and cursor. SetCursor applies to the window that is handling mouse input (or the
// capture window); nullptr hides the cursor.
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetCapture();
HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();

// Scroll bar controls (nBar = SB_CTL). SB_HORZ/SB_VERT window scroll bars are not supported.
int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi);
int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
int GetScrollPos(HWND hWnd, int nBar);
BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows);
BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);

// Metrics and colours
int GetSystemMetrics(int nIndex);
HBRUSH GetSysColorBrush(int nIndex);
