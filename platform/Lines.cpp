// Lines with GDI's pixel rules: the end pixel is left out, and a thin pen stays one pixel wide.
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/DC.h"
#include "platform/detail/DirectFill.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

namespace
{

// The pixels of a one-pixel line from p0 towards p1, end pixel excluded (device coordinates).
void DrawThinLine(HDC hdc, QPainter* pPainter, QPoint p0, QPoint p1, const QColor& color)
{
    if (p0 == p1)
        return;
    QRect rcPixels;
    if (StraightLinePixels(p0, p1, &rcPixels))
    {
        FillDeviceRect(hdc, pPainter, rcPixels, color);
        return;
    }
    // Bresenham, stopping before the end point.
    std::vector<QPoint> pts;
    int x = p0.x();
    int y = p0.y();
    const int dx = std::abs(p1.x() - x);
    const int dy = -std::abs(p1.y() - y);
    const int sx = x < p1.x() ? 1 : -1;
    const int sy = y < p1.y() ? 1 : -1;
    int err = dx + dy;
    while (x != p1.x() || y != p1.y())
    {
        pts.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy)
        {
            err += dy;
            x += sx;
        }
        if (e2 <= dx)
        {
            err += dx;
            y += sy;
        }
    }
    for (const QPoint& pt : pts)
        pPainter->fillRect(QRect(pt, QSize(1, 1)), color);
}

} // namespace

namespace platform_detail
{

QColor PenColor(HDC hdc)
{
    return ToQColor(hdc->pPen != nullptr ? hdc->pPen->crColor : 0);
}

// A line in logical coordinates with the given pen attributes, t being the DC's mapping.
void DrawMappedLine(HDC hdc, const QTransform& t, QPainter* pPainter, int x0, int y0, int x1,
                    int y1, int nStyle, int nWidth, const QColor& color)
{
    if (nStyle == PS_NULL)
        return;
    const bool bThin = nWidth <= 1 && nStyle == PS_SOLID;
    // A zero-width pen is one pixel wide whatever the mapping; a wider one scales with it.
    if (bThin && (IsTranslationOnly(t) || nWidth == 0))
    {
        DrawThinLine(hdc, pPainter, MapPoint(t, x0, y0), MapPoint(t, x1, y1), color);
        return;
    }
    if (x0 == x1 && y0 == y1)
        return;
    QPen pen(color);
    pen.setWidth(nWidth);
    pen.setCosmetic(nWidth == 0);
    pen.setCapStyle(nWidth > 1 ? Qt::RoundCap : Qt::FlatCap);
    if (nStyle == PS_DOT)
        pen.setStyle(Qt::DotLine);
    pPainter->save();
    pPainter->setWorldTransform(t, true);
    pPainter->setPen(pen);
    pPainter->drawLine(x0, y0, x1, y1);
    pPainter->restore();
}

void DrawLine(HDC hdc, QPainter* pPainter, int x0, int y0, int x1, int y1, int nStyle, int nWidth,
              const QColor& color)
{
    DrawMappedLine(hdc, LogicalToDevice(hdc), pPainter, x0, y0, x1, y1, nStyle, nWidth, color);
}

} // namespace platform_detail

CPoint CDC::MoveTo(int x, int y)
{
    if (LiveDc(m_hDC) == nullptr)
        return CPoint();
    return std::exchange(m_hDC->ptCurrent, POINT{x, y});
}

BOOL CDC::LineTo(int x, int y)
{
    HDC hdc = m_hDC;
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr)
        return FALSE;
    DrawLine(hdc, pPainter, hdc->ptCurrent.x, hdc->ptCurrent.y, x, y, hdc->pPen->nPenStyle,
             hdc->pPen->nPenWidth, PenColor(hdc));
    hdc->ptCurrent = POINT{x, y};
    return TRUE;
}

BOOL CDC::PolyPolyline(const POINT* apt, const DWORD* asz, int nCount)
{
    HDC hdc = m_hDC;
    if (apt == nullptr || asz == nullptr || nCount < 0)
        return FALSE;
    const auto csz = static_cast<DWORD>(nCount);
    if (std::any_of(asz, asz + csz, [](DWORD n) { return n < 2; }))
        return FALSE;
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr)
        return FALSE;
    // Pen, colour and mapping are looked up once for all the lines.
    const QTransform t = LogicalToDevice(hdc);
    const QColor color = PenColor(hdc);
    const int nStyle = hdc->pPen->nPenStyle;
    const int nWidth = hdc->pPen->nPenWidth;
    // Thin straight lines on the pixel grid (grid dashes, wicks) go straight to the bitmap.
    const bool bThin = nWidth <= 1 && nStyle == PS_SOLID;
    const CDirectFill fill(hdc, pPainter, color);
    if (bThin && IsTranslationOnly(t) && fill.Ready())
    {
        const QPoint offset(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
        for (const DWORD* pCount = asz; pCount != asz + csz; apt += *pCount++)
            for (DWORD i = 1; i < *pCount; ++i)
            {
                const QPoint p0 = QPoint(apt[i - 1].x, apt[i - 1].y) + offset;
                const QPoint p1 = QPoint(apt[i].x, apt[i].y) + offset;
                QRect rcPixels;
                if (p0 == p1)
                    continue;
                if (StraightLinePixels(p0, p1, &rcPixels))
                    fill.Fill(rcPixels.left(), rcPixels.top(), rcPixels.right() + 1,
                              rcPixels.bottom() + 1);
                else
                    DrawThinLine(hdc, pPainter, p0, p1, color);
            }
        return TRUE;
    }
    for (const DWORD* pCount = asz; pCount != asz + csz; apt += *pCount++)
        for (DWORD i = 1; i < *pCount; ++i)
            DrawMappedLine(hdc, t, pPainter, apt[i - 1].x, apt[i - 1].y, apt[i].x, apt[i].y, nStyle,
                           nWidth, color);
    return TRUE;
}
