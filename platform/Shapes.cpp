// Filled shapes and pixels: rectangles, 3-D edges, gradients, copies between DCs.
#include <algorithm>
#include <utility>

#include "platform/Brush.h"
#include "platform/DC.h"
#include "platform/detail/DirectFill.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

namespace platform_detail
{

void FillLogicalRect(HDC hdc, QPainter* pPainter, int l, int t, int r, int b, const QColor& color)
{
    if (r <= l || b <= t)
        return;
    const QTransform transform = LogicalToDevice(hdc);
    if (IsTranslationOnly(transform))
    {
        FillDeviceRect(hdc, pPainter, QRect(MapPoint(transform, l, t), QSize(r - l, b - t)), color);
        return;
    }
    pPainter->save();
    pPainter->setWorldTransform(transform, true);
    pPainter->fillRect(QRect(l, t, r - l, b - t), color);
    pPainter->restore();
}

} // namespace platform_detail

namespace
{

// System colours of the outer and inner borders of an edge, top-left and bottom-right; -1 where
// the edge has no such border.
struct SEdgeColours
{
    int nOuterTL = -1;
    int nOuterBR = -1;
    int nInnerTL = -1;
    int nInnerBR = -1;
};

SEdgeColours EdgeColours(UINT edge)
{
    SEdgeColours c;
    if ((edge & BDR_OUTER) == BDR_RAISEDOUTER)
    {
        c.nOuterTL = COLOR_3DLIGHT;
        c.nOuterBR = COLOR_3DDKSHADOW;
    }
    else if ((edge & BDR_OUTER) == BDR_SUNKENOUTER)
    {
        c.nOuterTL = COLOR_BTNSHADOW;
        c.nOuterBR = COLOR_BTNHIGHLIGHT;
    }
    if ((edge & BDR_INNER) == BDR_RAISEDINNER)
    {
        c.nInnerTL = COLOR_BTNHIGHLIGHT;
        c.nInnerBR = COLOR_BTNSHADOW;
    }
    else if ((edge & BDR_INNER) == BDR_SUNKENINNER)
    {
        c.nInnerTL = COLOR_3DDKSHADOW;
        c.nInnerBR = COLOR_3DLIGHT;
    }
    return c;
}

} // namespace

BOOL CDC::Rectangle(int left, int top, int right, int bottom)
{
    HDC hdc = m_hDC;
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr)
        return FALSE;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const GdiObj* pPen = hdc->pPen;
    const GdiObj* pBrush = hdc->pBrush;
    const bool bOutline = pPen->nPenStyle != PS_NULL;
    if (pBrush->nBrushStyle != BS_NULL)
    {
        const QColor fill = ToQColor(pBrush->crColor);
        if (bOutline)
            FillLogicalRect(hdc, pPainter, left + 1, top + 1, right - 1, bottom - 1, fill);
        else // without a pen the shape is one pixel smaller on the right and bottom
            FillLogicalRect(hdc, pPainter, left, top, right - 1, bottom - 1, fill);
    }
    if (bOutline)
    {
        const QColor color = PenColor(hdc);
        const int r = right - 1;
        const int b = bottom - 1;
        DrawLine(hdc, pPainter, left, top, r, top, pPen->nPenStyle, pPen->nPenWidth, color);
        DrawLine(hdc, pPainter, r, top, r, b, pPen->nPenStyle, pPen->nPenWidth, color);
        DrawLine(hdc, pPainter, r, b, left, b, pPen->nPenStyle, pPen->nPenWidth, color);
        DrawLine(hdc, pPainter, left, b, left, top, pPen->nPenStyle, pPen->nPenWidth, color);
        if (right - left == 1 && bottom - top == 1)
            FillLogicalRect(hdc, pPainter, left, top, right, bottom, color);
    }
    return TRUE;
}

BOOL CDC::Rectangle(LPCRECT lpRect)
{
    return lpRect != nullptr && Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    QPainter* pPainter = PainterFor(m_hDC);
    const GdiObj* p = pBrush != nullptr ? LiveGdi(pBrush->m_hObject) : nullptr;
    if (pPainter == nullptr || lpRect == nullptr || p == nullptr || p->eKind != GdiKind::Brush ||
        p->nBrushStyle == BS_NULL)
        return;
    FillLogicalRect(m_hDC, pPainter, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom,
                    ToQColor(p->crColor));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    SetBkColor(clr);
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

BOOL CDC::DrawEdge(LPRECT qrc, UINT edge, UINT grfFlags)
{
    HDC hdc = m_hDC;
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr || qrc == nullptr)
        return FALSE;
    RECT rc = *qrc;
    const SEdgeColours colours = EdgeColours(edge);
    const int nOuterTL = colours.nOuterTL;
    const int nOuterBR = colours.nOuterBR;
    const int nInnerTL = colours.nInnerTL;
    const int nInnerBR = colours.nInnerBR;
    auto line = [&](int x0, int y0, int x1, int y1, int nColor)
    {
        if (nColor >= 0)
            DrawLine(hdc, pPainter, x0, y0, x1, y1, PS_SOLID, 0, ToQColor(GetSysColor(nColor)));
    };
    const bool bTL = (grfFlags & BF_TOPLEFT) == BF_TOPLEFT;
    const bool bTR = (grfFlags & BF_TOPRIGHT) == BF_TOPRIGHT;
    const bool bBR = (grfFlags & BF_BOTTOMRIGHT) == BF_BOTTOMRIGHT;
    const bool bBL = (grfFlags & BF_BOTTOMLEFT) == BF_BOTTOMLEFT;
    // Outer border: top and left first, then bottom and right over their corners.
    if (grfFlags & BF_TOP)
        line(rc.left, rc.top, rc.right, rc.top, nOuterTL);
    if (grfFlags & BF_LEFT)
        line(rc.left, rc.top, rc.left, rc.bottom, nOuterTL);
    if (grfFlags & BF_BOTTOM)
        line(rc.left, rc.bottom - 1, rc.right, rc.bottom - 1, nOuterBR);
    if (grfFlags & BF_RIGHT)
        line(rc.right - 1, rc.top, rc.right - 1, rc.bottom, nOuterBR);
    // Inner border, one pixel in.
    if (grfFlags & BF_TOP)
        line(rc.left + (bTL ? 1 : 0), rc.top + 1, rc.right - (bTR ? 1 : 0), rc.top + 1, nInnerTL);
    if (grfFlags & BF_LEFT)
        line(rc.left + 1, rc.top + (bTL ? 1 : 0), rc.left + 1, rc.bottom - (bBL ? 1 : 0), nInnerTL);
    if (grfFlags & BF_BOTTOM)
        line(rc.left + (bBL ? 1 : 0), rc.bottom - 2, rc.right - (bBR ? 1 : 0), rc.bottom - 2,
             nInnerBR);
    if (grfFlags & BF_RIGHT)
        line(rc.right - 2, rc.top + (bTR ? 1 : 0), rc.right - 2, rc.bottom - (bBR ? 1 : 0),
             nInnerBR);
    return TRUE;
}

BOOL CDC::GradientFill(TRIVERTEX* pVertex, ULONG nVertex, void* pMesh, ULONG nMesh, DWORD ulMode)
{
    HDC hdc = m_hDC;
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr || pVertex == nullptr || pMesh == nullptr)
        return FALSE;
    if (ulMode != GRADIENT_FILL_RECT_H && ulMode != GRADIENT_FILL_RECT_V)
        return FALSE;
    const auto* pRects = static_cast<const GRADIENT_RECT*>(pMesh);
    for (ULONG i = 0; i < nMesh; ++i)
    {
        if (pRects[i].UpperLeft >= nVertex || pRects[i].LowerRight >= nVertex)
            return FALSE;
    }
    pPainter->save();
    pPainter->setWorldTransform(LogicalToDevice(hdc), true);
    for (ULONG i = 0; i < nMesh; ++i)
    {
        const TRIVERTEX* v0 = &pVertex[pRects[i].UpperLeft];
        const TRIVERTEX* v1 = &pVertex[pRects[i].LowerRight];
        const bool bHorizontal = ulMode == GRADIENT_FILL_RECT_H;
        // Colours run from the vertex with the smaller coordinate along the gradient.
        if ((bHorizontal ? v0->x > v1->x : v0->y > v1->y))
            std::swap(v0, v1);
        const int l = std::min(v0->x, v1->x);
        const int r = std::max(v0->x, v1->x);
        const int t = std::min(v0->y, v1->y);
        const int b = std::max(v0->y, v1->y);
        const int len = bHorizontal ? r - l : b - t;
        for (int pos = 0; pos < len; ++pos)
        {
            auto channel = [&](COLOR16 c0, COLOR16 c1)
            {
                return static_cast<int>(
                    (static_cast<long long>(c0) * (len - pos) + static_cast<long long>(c1) * pos) /
                    len / 256);
            };
            const QColor color(channel(v0->Red, v1->Red), channel(v0->Green, v1->Green),
                               channel(v0->Blue, v1->Blue));
            if (bHorizontal)
                pPainter->fillRect(QRect(l + pos, t, 1, b - t), color);
            else
                pPainter->fillRect(QRect(l, t + pos, r - l, 1), color);
        }
    }
    pPainter->restore();
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int cx, int cy, CDC* pSrcDC, int x1, int y1, DWORD rop)
{
    HDC hdc = m_hDC;
    HDC hdcSrc = pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr;
    if (rop != SRCCOPY || LiveDc(hdcSrc) == nullptr || hdcSrc->eKind != DcKind::Memory ||
        hdcSrc->pBitmap == nullptr || hdcSrc->pBitmap->image.isNull())
        return FALSE;
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr)
        return FALSE;
    if (cx <= 0 || cy <= 0)
        return TRUE;
    const QRect target = LogicalToDevice(hdc).mapRect(QRect(x, y, cx, cy));
    const QRect source = LogicalToDevice(hdcSrc).mapRect(QRect(x1, y1, cx, cy));
    if (hdcSrc == hdc)
    {
        const QImage copy = hdc->pBitmap->image.copy(source);
        pPainter->setCompositionMode(QPainter::CompositionMode_Source);
        pPainter->drawImage(target, copy);
        return TRUE;
    }
    EndPainting(hdcSrc);
    pPainter->setCompositionMode(QPainter::CompositionMode_Source);
    pPainter->drawImage(target, hdcSrc->pBitmap->image, source);
    return TRUE;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    HDC hdc = m_hDC;
    if (LiveDc(hdc) == nullptr || hdc->eKind != DcKind::Memory || hdc->pBitmap == nullptr)
        return CLR_INVALID;
    EndPainting(hdc);
    const QPoint p = ToDevice(hdc, x, y);
    const QImage& image = hdc->pBitmap->image;
    if (!image.rect().contains(p) || (hdc->bClip && !hdc->clip.contains(p)))
        return CLR_INVALID;
    return FromQRgb(image.pixel(p));
}
