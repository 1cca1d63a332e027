// Message boxes: a modal window with a text and an OK button, or Yes and No, owned by a window of
// the program.
#pragma once

#include "platform/WinTypes.h"

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;

// Shows lpText under the caption lpCaption and returns when the user closes the box: IDOK, or
// with MB_YESNO IDYES or IDNO (closing the box answers No).
// Timer and other messages of the program's windows go on meanwhile. hWnd may be null.
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
