// CDC: the C++ object of a device context. Calls go to the output DC; attributes go to both.
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/GdiObject.h"
#include "platform/Pen.h"
#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/HandleRegistry.h"

using namespace platform_detail;

CDC::~CDC()
{
    if (m_bOwnsHdc)
        DeleteDC();
    else
        Detach();
}

CDC* CDC::FromHandle(HDC hDC)
{
    HDC h = LiveDc(hDC);
    if (h == nullptr)
        return nullptr;
    return WrapperOf(
        h, [] { return new CDC; }, &CDC::m_hDC, &CDC::m_hAttribDC);
}

BOOL CDC::Attach(HDC hDC)
{
    if (LiveDc(hDC) == nullptr || m_hDC != nullptr)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    hDC->pPermanent = this;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    for (HDC hh : {m_hDC, m_hAttribDC})
        ForgetWrapper(LiveDc(hh), this);
    m_hDC = m_hAttribDC = nullptr;
    m_bOwnsHdc = false;
    return h;
}

void CDC::SetAttribDC(HDC hDC)
{
    m_hAttribDC = hDC;
}
void CDC::SetOutputDC(HDC hDC)
{
    m_hDC = hDC;
}
void CDC::ReleaseAttribDC()
{
    m_hAttribDC = nullptr;
}
void CDC::ReleaseOutputDC()
{
    m_hDC = nullptr;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (m_hDC != nullptr)
        return FALSE;
    HDC h = ::CreateCompatibleDC(pDC != nullptr ? pDC->m_hAttribDC : nullptr);
    Attach(h);
    m_bOwnsHdc = true;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == nullptr)
        return FALSE;
    HDC h = m_hDC;
    Detach();
    return ::DeleteDC(h);
}

namespace
{
// Attribute changes go to both handles, like MFC; the answer comes from the attribute DC.
template <typename F> auto Both(const CDC* pDC, F fn)
{
    if (pDC->m_hDC != nullptr && pDC->m_hDC != pDC->m_hAttribDC)
        fn(pDC->m_hDC);
    return fn(pDC->m_hAttribDC != nullptr ? pDC->m_hAttribDC : pDC->m_hDC);
}
} // namespace

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    return Both(this, [&](HDC h) { return ::SelectObject(h, hObject); });
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    if (pObject == nullptr)
        return nullptr;
    return CGdiObject::FromHandle(SelectObject(pObject->m_hObject));
}

CPen* CDC::SelectObject(CPen* pPen)
{
    return pPen != nullptr ? CPen::FromHandle(static_cast<HPEN>(SelectObject(pPen->m_hObject)))
                           : nullptr;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return pBrush != nullptr
               ? CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(pBrush->m_hObject)))
               : nullptr;
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return pFont != nullptr ? CFont::FromHandle(static_cast<HFONT>(SelectObject(pFont->m_hObject)))
                            : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (pBitmap == nullptr || m_hDC == nullptr)
        return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject)));
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex)));
}

CPen* CDC::GetCurrentPen() const
{
    return CPen::FromHandle(static_cast<HPEN>(GetCurrentObject(m_hDC, OBJ_PEN)));
}
CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle(static_cast<HBRUSH>(GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const
{
    return CFont::FromHandle(static_cast<HFONT>(GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

int CDC::SetBkMode(int nBkMode)
{
    return Both(this, [&](HDC h) { return ::SetBkMode(h, nBkMode); });
}
int CDC::GetBkMode() const
{
    return ::GetBkMode(m_hAttribDC);
}
COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return Both(this, [&](HDC h) { return ::SetBkColor(h, crColor); });
}
COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(m_hAttribDC);
}
COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return Both(this, [&](HDC h) { return ::SetTextColor(h, crColor); });
}
COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(m_hAttribDC);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    return ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
}
int CDC::IntersectClipRect(LPCRECT lpRect)
{
    return lpRect != nullptr
               ? IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom)
               : ERROR;
}
int CDC::SelectClipRgn(CRgn* pRgn)
{
    return pRgn == nullptr ? ::SelectClipRgn(m_hDC, nullptr) : ERROR;
}
int CDC::GetClipBox(LPRECT lpRect) const
{
    return ::GetClipBox(m_hDC, lpRect);
}

int CDC::SetMapMode(int nMapMode)
{
    return Both(this, [&](HDC h) { return ::SetMapMode(h, nMapMode); });
}
int CDC::GetMapMode() const
{
    return ::GetMapMode(m_hAttribDC);
}
CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE old = {0, 0};
    Both(this, [&](HDC h) { return ::SetWindowExtEx(h, cx, cy, &old); });
    return old;
}
CSize CDC::SetWindowExt(SIZE size)
{
    return SetWindowExt(size.cx, size.cy);
}
CSize CDC::GetWindowExt() const
{
    return LiveDc(m_hAttribDC) != nullptr ? CSize(m_hAttribDC->szWindowExt) : CSize();
}
CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE old = {0, 0};
    Both(this, [&](HDC h) { return ::SetViewportExtEx(h, cx, cy, &old); });
    return old;
}
CSize CDC::SetViewportExt(SIZE size)
{
    return SetViewportExt(size.cx, size.cy);
}
CSize CDC::GetViewportExt() const
{
    return LiveDc(m_hAttribDC) != nullptr ? CSize(m_hAttribDC->szViewportExt) : CSize();
}
CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old = {0, 0};
    Both(this, [&](HDC h) { return ::SetWindowOrgEx(h, x, y, &old); });
    return old;
}
CPoint CDC::SetWindowOrg(POINT point)
{
    return SetWindowOrg(point.x, point.y);
}
CPoint CDC::GetWindowOrg() const
{
    return LiveDc(m_hAttribDC) != nullptr ? CPoint(m_hAttribDC->ptWindowOrg) : CPoint();
}
CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old = {0, 0};
    Both(this, [&](HDC h) { return ::SetViewportOrgEx(h, x, y, &old); });
    return old;
}
CPoint CDC::SetViewportOrg(POINT point)
{
    return SetViewportOrg(point.x, point.y);
}
CPoint CDC::GetViewportOrg() const
{
    return LiveDc(m_hAttribDC) != nullptr ? CPoint(m_hAttribDC->ptViewportOrg) : CPoint();
}
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const
{
    ::LPtoDP(m_hAttribDC, lpPoints, nCount);
}
void CDC::LPtoDP(LPRECT lpRect) const
{
    ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}
void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const
{
    ::DPtoLP(m_hAttribDC, lpPoints, nCount);
}
void CDC::DPtoLP(LPRECT lpRect) const
{
    ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}

int CDC::GetDeviceCaps(int nIndex) const
{
    return ::GetDeviceCaps(m_hAttribDC, nIndex);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old = {0, 0};
    Both(this, [&](HDC h) { return ::MoveToEx(h, x, y, &old); });
    return old;
}
CPoint CDC::MoveTo(POINT point)
{
    return MoveTo(point.x, point.y);
}
BOOL CDC::LineTo(int x, int y)
{
    if (m_hAttribDC != nullptr && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}
BOOL CDC::LineTo(POINT point)
{
    return LineTo(point.x, point.y);
}
BOOL CDC::PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount)
{
    return nCount >= 0 && ::PolyPolyline(m_hDC, lpPoints, lpPolyPoints, static_cast<DWORD>(nCount));
}
CPoint CDC::GetCurrentPosition() const
{
    return LiveDc(m_hAttribDC) != nullptr ? CPoint(m_hAttribDC->ptCurrent) : CPoint();
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Rectangle(LPCRECT lpRect)
{
    return lpRect != nullptr &&
           ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (pBrush != nullptr)
        ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}
void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    ::SetBkColor(m_hDC, clr);
    QPainter* pPainter = PainterFor(m_hDC);
    if (pPainter != nullptr && lpRect != nullptr)
        FillLogicalRect(m_hDC, pPainter, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom,
                        ToQColor(clr));
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    const RECT rc{x, y, x + cx, y + cy};
    FillSolidRect(&rc, clr);
}
BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags)
{
    return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}
BOOL CDC::GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements,
                       DWORD dwMode)
{
    return ::GradientFill(m_hDC, pVertices, nVertices, pMesh, nMeshElements, dwMode);
}
BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr, xSrc,
                    ySrc, dwRop);
}
COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}
COLORREF CDC::GetPixel(POINT point) const
{
    return ::GetPixel(m_hDC, point.x, point.y);
}
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor)
{
    return ::SetPixel(m_hDC, x, y, crColor);
}
BOOL CDC::DrawIcon(int x, int y, HICON hIcon)
{
    return ::DrawIcon(m_hDC, x, y, hIcon);
}
BOOL CDC::DrawIcon(POINT point, HICON hIcon)
{
    return ::DrawIcon(m_hDC, point.x, point.y, hIcon);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                     LPINT lpDxWidths)
{
    return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const std::string& str,
                     LPINT lpDxWidths)
{
    return ExtTextOut(x, y, nOptions, lpRect, str.c_str(), static_cast<UINT>(str.size()),
                      lpDxWidths);
}
BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount)
{
    return ::TextOutA(m_hDC, x, y, lpszString, nCount);
}
BOOL CDC::TextOut(int x, int y, const std::string& str)
{
    return TextOut(x, y, str.c_str(), static_cast<int>(str.size()));
}
CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &size);
    return size;
}
CSize CDC::GetTextExtent(const std::string& str) const
{
    return GetTextExtent(str.c_str(), static_cast<int>(str.size()));
}
CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
    return size;
}
CSize CDC::GetOutputTextExtent(const std::string& str) const
{
    return GetOutputTextExtent(str.c_str(), static_cast<int>(str.size()));
}
BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const
{
    return ::GetTextMetricsA(m_hAttribDC, lpMetrics);
}
