// CDC: a device context. m_hDC is the handle drawing and measuring go to; m_hAttribDC is the same
// handle, kept for code that asks for the attribute DC. A CDC without m_hDC is a real, testable
// state: every drawing call then does nothing and answers FALSE/0.
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

class CPen;
class CBrush;
class CFont;
class CBitmap;
class CGdiObject;
class CRgn;

class CDC
{
public:
    CDC() = default;
    virtual ~CDC(); // deletes a DC it created (CreateCompatibleDC); detaches an attached one
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hDC);
    HDC Detach();

    // A memory DC compatible with pDC (or the screen when null), with a 1x1 bitmap selected.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Selection returns what was selected before (nullptr on failure).
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    virtual CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // Attributes
    int SetBkMode(int nBkMode); // TRANSPARENT or OPAQUE
    int GetBkMode() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;

    // Clipping, given in logical coordinates at the time of the call and kept in device ones.
    // The answers are the region kinds NULLREGION, SIMPLEREGION, COMPLEXREGION or ERROR.
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect);
    int SelectClipRgn(CRgn* pRgn); // only nullptr (remove clipping) is supported
    int GetClipBox(LPRECT lpRect) const;

    // Mapping: MM_TEXT and MM_ANISOTROPIC; device = (logical - windowOrg) * viewportExt / windowExt
    // + viewportOrg. Extents are fixed in MM_TEXT.
    int SetMapMode(int nMapMode);
    int GetMapMode() const;
    CSize SetWindowExt(SIZE size);
    CSize GetWindowExt() const;
    CSize SetViewportExt(SIZE size);
    CSize GetViewportExt() const;
    CPoint SetWindowOrg(int x, int y);

    // HORZRES, VERTRES, LOGPIXELSX, LOGPIXELSY.
    int GetDeviceCaps(int nIndex) const;

    // Printing on a printer DC: one document of numbered pages. StartDoc answers a job id > 0,
    // the page calls > 0; all answer SP_ERROR on failure. Drawing reaches the paper only between
    // StartPage and EndPage. lpszOutput, when given, names the PDF file to write instead of the
    // printer; cbSize is not checked. AbortDoc throws the document away (no file is left).
    int StartDoc(LPDOCINFO lpDocInfo);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();

    // Lines: the end pixel is not drawn.
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    // nCount polylines of lpPolyPoints[i] (at least 2) points each; the current position stays.
    BOOL PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount);

    // Outline in the current pen inside the rectangle, interior in the current brush.
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    // Right and bottom edges excluded.
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    // Both also set the background colour, like MFC.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // Classic 3-D colours from GetSysColor.
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
    // GRADIENT_FILL_RECT_H and GRADIENT_FILL_RECT_V; each rectangle spans its two vertices, right
    // and bottom excluded.
    BOOL GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements,
                      DWORD dwMode);
    // SRCCOPY from a memory DC.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    COLORREF GetPixel(int x, int y) const; // memory DCs; CLR_INVALID outside the bitmap or clip

    // Text (UTF-8). The top-left of the text lies at (x, y). ETO_OPAQUE fills lpRect with the
    // background colour, ETO_CLIPPED clips to lpRect; without a rectangle neither does anything.
    // In OPAQUE background mode the text cell is filled with the background colour. The font's
    // escapement turns the text; character widths (lpDxWidths) are the font's own.
    virtual BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString,
                            UINT nCount, LPINT lpDxWidths);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const std::string& str,
                    LPINT lpDxWidths);
    virtual BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const std::string& str);
    // Unrotated: cx along the text, cy the font's cell height.
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const std::string& str) const;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

protected:
    // Set when this object created m_hDC (CreateCompatibleDC) and must delete it.
    bool m_bOwnsHdc = false;
};
