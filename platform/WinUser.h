// USER (user32) free functions: window classes, the screen's device context, mouse capture,
// cursors and scroll bar metrics.
#pragma once

#include "platform/WinTypes.h"

// Module instance: one per process.
HINSTANCE AfxGetInstanceHandle();

// Window classes. Built in: "SCROLLBAR" (case-insensitive). A registered class gives its windows
// its style (CS_DBLCLKS), background brush and cursor. Every window has a CWnd whose handlers get
// its events, so a class's window procedure is recorded but never called.
ATOM RegisterClassA(const WNDCLASSA* lpWndClass);
BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass);
LRESULT CALLBACK DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// A DC of the window (the screen when hWnd is null) that measures and answers device caps but
// draws nothing; give it back with ReleaseDC.
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);

// Mouse capture and cursor. SetCursor applies to the window that is handling mouse input (or the
// capture window); nullptr hides the cursor.
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetCapture();
HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName); // IDC_ARROW
HCURSOR SetCursor(HCURSOR hCursor);

// SM_CXVSCROLL, SM_CYHSCROLL: the thickness of scroll bars; 0 for other indices.
int GetSystemMetrics(int nIndex);
