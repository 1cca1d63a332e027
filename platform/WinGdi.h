// GDI free functions on handles, for the few calls made outside CDC and the CGdiObject family.
#pragma once

#include "platform/WinTypes.h"

// Stock objects live as long as the process; DeleteObject on them does nothing.
HGDIOBJ GetStockObject(int i);
BOOL DeleteDC(HDC hdc);
// HORZRES, VERTRES, LOGPIXELSX, LOGPIXELSY; 0 for other indices and dead DCs.
int GetDeviceCaps(HDC hdc, int index);

// What CDC::StartDoc prints.
struct DOCINFOA
{
    int cbSize;
    LPCSTR lpszDocName;
    LPCSTR lpszOutput;
    LPCSTR lpszDatatype;
    DWORD fwType;
};
using DOCINFO = DOCINFOA;
using LPDOCINFO = DOCINFOA*;
constexpr int SP_ERROR = -1;

// Bookkeeping: GR_GDIOBJECTS counts live GDI objects and DCs created by the program (stock objects
// excluded), so tests can check that drawing code deletes what it creates.
HANDLE GetCurrentProcess();
DWORD GetGuiResources(HANDLE hProcess, DWORD uiFlags);
