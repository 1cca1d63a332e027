#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>

#include "platform/detail/GdiInternal.h"

namespace platform_detail
{

// Solid fills of one opaque colour written straight into a memory DC's bitmap, within the DC's
// clip region: the same pixels as the painter's fillRect, without the painter's set-up per
// call, which dwarfs the few pixels of a grid dash or a candle edge.
class CDirectFill
{
public:
    CDirectFill(HDC hdc, QPainter* pPainter, const QColor& color);

    bool Ready() const { return m_pBits != nullptr; }

    // Device coordinates, right and bottom edges outside.
    void Fill(int l, int t, int r, int b) const;

private:
    void FillBounded(int l, int t, int r, int b) const;

    uchar* m_pBits = nullptr;
    qsizetype m_nStride = 0;
    quint32 m_nPixel = 0;
    QRect m_rcBounds;
    const QRegion* m_pClip = nullptr;
};

// The painter's fillRect, or the direct fill where the DC allows it (device coordinates).
void FillDeviceRect(HDC hdc, QPainter* pPainter, const QRect& rc, const QColor& color);

// The pixels of a one-pixel line from p0 towards p1 without its end pixel, when the line is
// horizontal or vertical (device coordinates).
bool StraightLinePixels(QPoint p0, QPoint p1, QRect* pPixels);

} // namespace platform_detail
