// CDC: a device context. m_hDC is the output handle (drawing goes there), m_hAttribDC the attribute
// handle (text extents, device caps); normally both are the same. A CDC without m_hDC is a real,
// testable state: every drawing call then does nothing and answers FALSE/0.
//
// Kinds of device context:
//  - memory DC (CreateCompatibleDC) drawing into the CBitmap selected into it (a 32-bit image);
//  - paint DC (CPaintDC) drawing on a window inside its OnPaint;
//  - client DC (CClientDC): measures and answers device caps, but draws nothing (a window can only
//    be drawn on while it paints; the chart draws into its back buffer and invalidates instead);
//  - printer DC (CPrintDialog::GetPrinterDC): a printer, a PDF file or, in tests, page images;
//    device units are the printer's dots, and mapping modes apply to every drawing call.
#pragma once

#include <string>

#include "platform/WinGdi.h"
#include "platform/WinTypes.h"

class CGdiObject;
class CPen;
class CBrush;
class CFont;
class CBitmap;
class CRgn;

class CDC
{
public:
    CDC() = default;
    virtual ~CDC(); // deletes a DC it created (CreateCompatibleDC); detaches an attached one
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    static CDC* FromHandle(HDC hDC);

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hDC); // sets both handles
    HDC Detach();
    virtual void SetAttribDC(HDC hDC);
    virtual void SetOutputDC(HDC hDC);
    virtual void ReleaseAttribDC();
    virtual void ReleaseOutputDC();
    BOOL IsPrinting() const { return m_bPrinting; }

    // A memory DC compatible with pDC (or the screen when null), with a 1x1 bitmap selected.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Selection returns what was selected before (nullptr on failure).
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    virtual CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // Attributes
    int SetBkMode(int nBkMode);
    int GetBkMode() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;

    // Clipping
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect);
    int SelectClipRgn(CRgn* pRgn); // only nullptr (remove clipping) is supported
    int GetClipBox(LPRECT lpRect) const;

    // Mapping: MM_TEXT and MM_ANISOTROPIC; device = (logical - windowOrg) * viewportExt / windowExt
    // + viewportOrg.
    int SetMapMode(int nMapMode);
    int GetMapMode() const;
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size);
    CSize GetWindowExt() const;
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size);
    CSize GetViewportExt() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point);
    CPoint GetWindowOrg() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point);
    CPoint GetViewportOrg() const;
    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
    void LPtoDP(LPRECT lpRect) const;
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
    void DPtoLP(LPRECT lpRect) const;

    // HORZRES, VERTRES, LOGPIXELSX, LOGPIXELSY, BITSPIXEL, PLANES, HORZSIZE, VERTSIZE (attribute
    // DC).
    int GetDeviceCaps(int nIndex) const;

    // Printing (printer DCs only; see StartDocA in WinGdi.h).
    int StartDoc(LPDOCINFO lpDocInfo);
    int StartDoc(LPCTSTR lpszDocName);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();

    // Lines: the end pixel is not drawn.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point);
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point);
    // nCount polylines of lpPolyPoints[i] points each; the current position stays.
    BOOL PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount);
    CPoint GetCurrentPosition() const;

    // Outline in the current pen inside the rectangle, interior in the current brush.
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    // Right and bottom edges excluded.
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr); // also sets the background colour, like MFC
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // Classic 3-D colours from GetSysColor; BF_SOFT, BF_FLAT and BF_MONO are not supported.
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
    // GRADIENT_FILL_RECT_H and GRADIENT_FILL_RECT_V; each rectangle spans its two vertices, right
    // and bottom excluded. Triangles are not supported (FALSE).
    BOOL GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements,
                      DWORD dwMode);
    // SRCCOPY only.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const;
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    BOOL DrawIcon(POINT point, HICON hIcon);

    // Text (UTF-8). The top-left of the text lies at (x, y). ETO_OPAQUE fills lpRect with the
    // background colour, ETO_CLIPPED clips to lpRect; without a rectangle neither does anything.
    // In OPAQUE background mode the text cell is filled with the background colour.
    virtual BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString,
                            UINT nCount, LPINT lpDxWidths);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const std::string& str,
                    LPINT lpDxWidths);
    virtual BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const std::string& str);
    // Measured on the attribute DC, unrotated: cx along the text, cy the font's cell height.
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const std::string& str) const;
    CSize GetOutputTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetOutputTextExtent(const std::string& str) const;
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

protected:
    // Set when this object created m_hDC (CreateCompatibleDC) and must delete it.
    bool m_bOwnsHdc = false;
};
