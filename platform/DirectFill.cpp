// Solid fills written straight into memory DC bitmaps.
#include <algorithm>

#include "platform/detail/DirectFill.h"

namespace platform_detail
{

CDirectFill::CDirectFill(HDC hdc, QPainter* pPainter, const QColor& color)
{
    QImage* pImage = hdc != nullptr && hdc->eKind == DcKind::Memory && hdc->pBitmap != nullptr
                         ? &hdc->pBitmap->image
                         : nullptr;
    // A shared image would detach under the painter, which keeps drawing into the old copy.
    if (pImage == nullptr || pPainter->device() != pImage || !pImage->isDetached() ||
        color.alpha() != 255 ||
        (pImage->format() != QImage::Format_RGB32 && pImage->format() != QImage::Format_ARGB32 &&
         pImage->format() != QImage::Format_ARGB32_Premultiplied))
        return;
    m_pBits = pImage->bits();
    m_nStride = pImage->bytesPerLine();
    m_nPixel = color.rgba();
    m_rcBounds = pImage->rect();
    if (hdc->bClip)
    {
        if (hdc->clip.rectCount() <= 1)
            m_rcBounds &= hdc->clip.boundingRect();
        else
            m_pClip = &hdc->clip;
    }
}

void CDirectFill::Fill(int l, int t, int r, int b) const
{
    if (m_pClip == nullptr)
    {
        FillBounded(l, t, r, b);
        return;
    }
    for (const QRect& rcClip : *m_pClip)
        FillBounded(std::max(l, rcClip.left()), std::max(t, rcClip.top()),
                    std::min(r, rcClip.right() + 1), std::min(b, rcClip.bottom() + 1));
}

void CDirectFill::FillBounded(int l, int t, int r, int b) const
{
    l = std::max(l, m_rcBounds.left());
    t = std::max(t, m_rcBounds.top());
    r = std::min(r, m_rcBounds.right() + 1);
    b = std::min(b, m_rcBounds.bottom() + 1);
    for (int y = t; y < b && l < r; ++y)
        std::fill(reinterpret_cast<quint32*>(m_pBits + y * m_nStride) + l,
                  reinterpret_cast<quint32*>(m_pBits + y * m_nStride) + r, m_nPixel);
}

void FillDeviceRect(HDC hdc, QPainter* pPainter, const QRect& rc, const QColor& color)
{
    const CDirectFill fill(hdc, pPainter, color);
    if (!fill.Ready())
    {
        pPainter->fillRect(rc, color);
        return;
    }
    const QRect r = rc.normalized();
    fill.Fill(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

bool StraightLinePixels(QPoint p0, QPoint p1, QRect* pPixels)
{
    if (p0.y() == p1.y())
    {
        const int x0 = p1.x() > p0.x() ? p0.x() : p1.x() + 1;
        const int x1 = p1.x() > p0.x() ? p1.x() - 1 : p0.x();
        *pPixels = QRect(QPoint(x0, p0.y()), QPoint(x1, p0.y()));
        return true;
    }
    if (p0.x() == p1.x())
    {
        const int y0 = p1.y() > p0.y() ? p0.y() : p1.y() + 1;
        const int y1 = p1.y() > p0.y() ? p1.y() - 1 : p0.y();
        *pPixels = QRect(QPoint(p0.x(), y0), QPoint(p0.x(), y1));
        return true;
    }
    return false;
}

} // namespace platform_detail
