#include "chart/ChartGradient.h"

#include "platform/DC.h"

namespace
{

TRIVERTEX Vertex(int x, int y, COLORREF cr)
{
    // Vertex channels are 16-bit: the colour's 8-bit channel in the high byte.
    return TRIVERTEX{x,
                     y,
                     static_cast<COLOR16>(GetRValue(cr) << 8),
                     static_cast<COLOR16>(GetGValue(cr) << 8),
                     static_cast<COLOR16>(GetBValue(cr) << 8),
                     0};
}

bool FillBand(CDC* pDC, TRIVERTEX from, TRIVERTEX to, ULONG nMode)
{
    TRIVERTEX vertices[2] = {from, to};
    GRADIENT_RECT band = {0, 1};
    return pDC->GradientFill(vertices, 2, &band, 1, nMode) != FALSE;
}

} // namespace

bool FillGradient(CDC* pDC, const RECT& rc, COLORREF crFrom, COLORREF crTo, int nStyle)
{
    if (!pDC)
        return false;
    switch (nStyle)
    {
    case GradientAcross:
    case GradientDown:
        return FillBand(pDC, Vertex(rc.left, rc.top, crFrom), Vertex(rc.right, rc.bottom, crTo),
                        nStyle == GradientAcross ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    case GradientAcrossMirrored:
    {
        const int nHalf = (rc.right - rc.left) / 2;
        FillBand(pDC, Vertex(rc.left, rc.top, crFrom), Vertex(rc.left + nHalf, rc.bottom, crTo),
                 GRADIENT_FILL_RECT_H);
        return FillBand(pDC, Vertex(rc.left + nHalf, rc.top, crTo),
                        Vertex(rc.left + 2 * nHalf, rc.bottom, crFrom), GRADIENT_FILL_RECT_H);
    }
    default:
    {
        const int nHalf = (rc.bottom - rc.top) / 2;
        FillBand(pDC, Vertex(rc.left, rc.top, crFrom), Vertex(rc.right, rc.top + nHalf, crTo),
                 GRADIENT_FILL_RECT_V);
        return FillBand(pDC, Vertex(rc.left, rc.top + nHalf, crTo),
                        Vertex(rc.right, rc.top + 2 * nHalf, crFrom), GRADIENT_FILL_RECT_V);
    }
    }
}
