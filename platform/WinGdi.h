// GDI and the drawing half of USER as free functions on handles (gdi32, msimg32, user32 drawing).
// CDC and the CGdiObject family wrap these; drawing code may call either.
#pragma once

#include "platform/WinTypes.h"

// Objects
HGDIOBJ GetStockObject(int i);
HPEN CreatePen(int iStyle, int cWidth, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HFONT CreateFontIndirectA(const LOGFONTA* lplf);
HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                  DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                  DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                  LPCSTR pszFaceName);
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// Refuses (FALSE) a stock object. An object still selected into a DC is freed when it is deselected
// or its DC is deleted.
BOOL DeleteObject(HGDIOBJ ho);
int GetObjectA(HGDIOBJ h, int c, LPVOID pv);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;

// Device contexts
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
int GetDeviceCaps(HDC hdc, int index);

// Attributes
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);

// Clipping (logical coordinates at the time of the call, kept in device coordinates)
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int SelectClipRgn(HDC hdc, HRGN hrgn); // only a null region (remove clipping) is supported
int GetClipBox(HDC hdc, LPRECT lprect);

// Mapping
int SetMapMode(HDC hdc, int iMode);
int GetMapMode(HDC hdc);
BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE lpsz);
BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE lpsz);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c);
BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c);

// Drawing. Lines leave their end pixel unset; rectangles exclude right and bottom edges.
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL LineTo(HDC hdc, int x, int y);
// csz polylines of asz[i] (at least 2) points each, every one leaving its last pixel unset.
BOOL PolyPolyline(HDC hdc, const POINT* apt, const DWORD* asz, DWORD csz);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags);
BOOL GradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, PVOID pMesh, ULONG nMesh,
                  ULONG ulMode);
BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
COLORREF GetPixel(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);

// Text. Strings are UTF-8; the text's top-left lies at (x, y); extents come from the attribute DC.
BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                 const INT* lpDx);
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl);
BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* lptm);

// Printing on a printer DC (CPrintDialog::GetPrinterDC): one document of numbered pages. StartDocA
// answers a job id > 0, the page calls > 0; all answer SP_ERROR (or 0) on failure. Drawing reaches
// the paper only between StartPage and EndPage. lpszOutput, when given, names the PDF file to write
// instead of the printer; cbSize is not checked. AbortDoc throws the document away (no file is
// left).
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
int StartDocA(HDC hdc, const DOCINFOA* lpdi);
int StartPage(HDC hdc);
int EndPage(HDC hdc);
int EndDoc(HDC hdc);
int AbortDoc(HDC hdc);

// Bookkeeping: GR_GDIOBJECTS counts live GDI objects and DCs created by the program (stock objects
// excluded), so tests can check that drawing code deletes what it creates.
HANDLE GetCurrentProcess();
DWORD GetGuiResources(HANDLE hProcess, DWORD uiFlags);
