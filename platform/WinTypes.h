// Windows vocabulary types, constants and rectangle helpers the chart is written in.
// Plain C++: no toolkit header is included here.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------------------------
// Scalar types (the 32-bit Windows data model: LONG and DWORD are 32 bits).
// ---------------------------------------------------------------------------------------------
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using CHAR = char;
using COLORREF = DWORD;
using COLOR16 = unsigned short;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using ATOM = WORD;
using LPSTR = char*;
using LPCSTR = const char*;
using LPCTSTR = const char*;
using LPVOID = void*;
using LPINT = int*;
using HANDLE = void*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef CALLBACK
#define CALLBACK
#endif

// Opaque handles. They point at objects of the platform layer; user code only stores and passes
// them.
struct HWND__;
struct HDC__;
struct HPEN__;
struct HBRUSH__;
struct HFONT__;
struct HBITMAP__;
struct HICON__;
struct HINSTANCE__;
using HWND = HWND__*;
using HDC = HDC__*;
using HGDIOBJ = void*;
using HPEN = HPEN__*;
using HBRUSH = HBRUSH__*;
using HFONT = HFONT__*;
using HBITMAP = HBITMAP__*;
using HICON = HICON__*;
using HCURSOR = HICON;
using HINSTANCE = HINSTANCE__*;

using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

// ---------------------------------------------------------------------------------------------
// Colours: COLORREF is 0x00BBGGRR.
// ---------------------------------------------------------------------------------------------
constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF cr)
{
    return static_cast<BYTE>(cr & 0xFF);
}
constexpr BYTE GetGValue(COLORREF cr)
{
    return static_cast<BYTE>((cr >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF cr)
{
    return static_cast<BYTE>((cr >> 16) & 0xFF);
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Resource identifiers written as integers travel as small pointer values.
inline LPSTR MAKEINTRESOURCEA(WORD i)
{
    return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(i));
}

// ---------------------------------------------------------------------------------------------
// Geometry. Rectangles exclude their right and bottom edges.
// ---------------------------------------------------------------------------------------------
struct POINT
{
    LONG x;
    LONG y;
};
struct SIZE
{
    LONG cx;
    LONG cy;
};
struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

BOOL PtInRect(const RECT* lprc, POINT pt);
BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
BOOL IsRectEmpty(const RECT* lprc);
BOOL EqualRect(const RECT* lprc1, const RECT* lprc2);
BOOL InflateRect(LPRECT lprc, int dx, int dy);
BOOL OffsetRect(LPRECT lprc, int dx, int dy);
// number * numerator / denominator rounded half away from zero; -1 when denominator is 0.
int MulDiv(int nNumber, int nNumerator, int nDenominator);

// MFC's value classes: each is-a Windows struct.
class CSize : public SIZE
{
public:
    CSize() : SIZE{0, 0} {}
    CSize(int initCX, int initCY) : SIZE{initCX, initCY} {}
    CSize(SIZE initSize) : SIZE(initSize) {}
    bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
};

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int initX, int initY) : POINT{initX, initY} {}
    CPoint(POINT initPt) : POINT(initPt) {}
    bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
};

class CRect : public RECT
{
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& srcRect) : RECT(srcRect) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    void SetRect(int x1, int y1, int x2, int y2) { ::SetRect(this, x1, y1, x2, y2); }
    bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != 0; }
};

// ---------------------------------------------------------------------------------------------
// GDI records
// ---------------------------------------------------------------------------------------------
constexpr int LF_FACESIZE = 32;
struct LOGFONTA
{
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
};
using LOGFONT = LOGFONTA;

struct BITMAP
{
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

struct TRIVERTEX
{
    LONG x;
    LONG y;
    COLOR16 Red;
    COLOR16 Green;
    COLOR16 Blue;
    COLOR16 Alpha;
};
struct GRADIENT_RECT
{
    ULONG UpperLeft;
    ULONG LowerRight;
};

// ---------------------------------------------------------------------------------------------
// USER records
// ---------------------------------------------------------------------------------------------
struct SCROLLINFO
{
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;

struct WNDCLASSA
{
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};
using LPWNDCLASSA = WNDCLASSA*;

// ---------------------------------------------------------------------------------------------
// GDI constants
// ---------------------------------------------------------------------------------------------
// Background modes
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// ExtTextOut options
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
// Pen styles
constexpr int PS_SOLID = 0;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;
// Brush styles
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
// Stock objects
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_PEN = 7;
constexpr int SYSTEM_FONT = 13; // what a new DC has selected
// DrawEdge
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr UINT BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr UINT BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr UINT BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
// GradientFill modes
constexpr ULONG GRADIENT_FILL_RECT_H = 0x00;
constexpr ULONG GRADIENT_FILL_RECT_V = 0x01;
// The raster operation BitBlt does
constexpr DWORD SRCCOPY = 0x00CC0020;
// GetDeviceCaps
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
// Mapping modes
constexpr int MM_TEXT = 1;
constexpr int MM_ANISOTROPIC = 8;
// Font weights, character sets, precisions and quality
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE OUT_CHARACTER_PRECIS = 2;
constexpr BYTE CLIP_CHARACTER_PRECIS = 1;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE FF_ROMAN = 0x10;
// Region results
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
// GetGuiResources
constexpr DWORD GR_GDIOBJECTS = 0;

// ---------------------------------------------------------------------------------------------
// System colours (GetSysColor): a fixed classic table, the same on every machine.
// ---------------------------------------------------------------------------------------------
constexpr int COLOR_BTNFACE = 15;      // RGB(240, 240, 240)
constexpr int COLOR_BTNSHADOW = 16;    // RGB(160, 160, 160)
constexpr int COLOR_BTNHIGHLIGHT = 20; // white
constexpr int COLOR_3DDKSHADOW = 21;   // RGB(105, 105, 105)
constexpr int COLOR_3DLIGHT = 22;      // RGB(227, 227, 227)
DWORD GetSysColor(int nIndex);         // 0 for other indices

// ---------------------------------------------------------------------------------------------
// USER constants
// ---------------------------------------------------------------------------------------------
// OnSize types
constexpr UINT SIZE_RESTORED = 0;
constexpr UINT SIZE_MINIMIZED = 1;
constexpr UINT SIZE_MAXIMIZED = 2;
// Mouse key flags
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;
// One notch of a mouse wheel.
constexpr short WHEEL_DELTA = 120;
// ShowWindow
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
// Window styles
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_TABSTOP = 0x00010000; // the window takes the focus when clicked
// Scroll bars
constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_PAGEUP = 2;
constexpr UINT SB_PAGEDOWN = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_TOP = 6;
constexpr UINT SB_BOTTOM = 7;
constexpr UINT SB_ENDSCROLL = 8;
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
constexpr DWORD SBS_TOPALIGN = 0x0002;
constexpr DWORD SBS_LEFTALIGN = 0x0002;
constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
constexpr DWORD SBS_RIGHTALIGN = 0x0004;
// Window classes
constexpr UINT CS_DBLCLKS = 0x0008;
// What CPrintDialog::DoModal answers
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
// System metrics
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
// The system cursor for LoadCursorA(nullptr, ...)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
