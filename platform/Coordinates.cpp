// Where a DC draws: mapping modes between logical and device units, and the clip region.
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/DC.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

namespace
{

// Extents are fixed in MM_TEXT: asking to change them there succeeds and changes nothing.
CSize SetExtent(HDC hdc, SIZE HDC__::*pExtent, SIZE size)
{
    if (LiveDc(hdc) == nullptr)
        return CSize();
    const CSize old = hdc->*pExtent;
    if (hdc->nMapMode != MM_TEXT && size.cx != 0 && size.cy != 0)
        hdc->*pExtent = size;
    return old;
}

} // namespace

namespace platform_detail
{

int DeviceToLogicalHeight(HDC hdc, int nDeviceHeight)
{
    bool bInvertible = false;
    const QTransform t = LogicalToDevice(hdc).inverted(&bInvertible);
    if (!bInvertible)
        return std::abs(nDeviceHeight);
    const auto y = [&t](int nDevice) { return std::lround(t.map(QPointF(0, nDevice)).y()); };
    return static_cast<int>(std::abs(y(nDeviceHeight) - y(0)));
}

} // namespace platform_detail

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    HDC hdc = LiveDc(m_hDC);
    if (hdc == nullptr)
        return ERROR;
    const QRect device = LogicalToDevice(hdc).mapRect(QRect(x1, y1, x2 - x1, y2 - y1));
    const QRegion rgn = (x2 > x1 && y2 > y1) ? QRegion(device) : QRegion();
    hdc->bClipStale = true;
    if (hdc->bClip)
    {
        hdc->clip = hdc->clip.intersected(rgn);
    }
    else
    {
        hdc->clip = rgn;
        hdc->bClip = true;
    }
    if (hdc->clip.isEmpty())
        return NULLREGION;
    return hdc->clip.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    return lpRect != nullptr
               ? IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom)
               : ERROR;
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    HDC hdc = LiveDc(m_hDC);
    if (hdc == nullptr || pRgn != nullptr)
        return ERROR;
    hdc->bClip = false;
    hdc->clip = QRegion();
    hdc->bClipStale = true;
    return SIMPLEREGION;
}

int CDC::GetClipBox(LPRECT lpRect) const
{
    HDC hdc = LiveDc(m_hDC);
    if (hdc == nullptr || lpRect == nullptr)
        return ERROR;
    QRect device;
    if (hdc->bClip)
        device = hdc->clip.boundingRect();
    else if (hdc->eKind == DcKind::Memory && hdc->pBitmap != nullptr)
        device = hdc->pBitmap->image.rect();
    else if (hdc->pWidget != nullptr)
        device = hdc->pWidget->rect();
    else if (hdc->eKind == DcKind::Printer)
        device = QRect(0, 0, hdc->nHorzRes, hdc->nVertRes);
    bool bInvertible = false;
    const QRect logical = LogicalToDevice(hdc).inverted(&bInvertible).mapRect(device);
    *lpRect = RECT{logical.left(), logical.top(), logical.left() + logical.width(),
                   logical.top() + logical.height()};
    if (device.isEmpty())
        return NULLREGION;
    return hdc->bClip && hdc->clip.rectCount() > 1 ? COMPLEXREGION : SIMPLEREGION;
}

int CDC::SetMapMode(int nMapMode)
{
    HDC hdc = LiveDc(m_hDC);
    if (hdc == nullptr || (nMapMode != MM_TEXT && nMapMode != MM_ANISOTROPIC))
        return 0;
    const int nOld = std::exchange(hdc->nMapMode, nMapMode);
    if (nMapMode == MM_TEXT)
    {
        hdc->szWindowExt = SIZE{1, 1};
        hdc->szViewportExt = SIZE{1, 1};
    }
    return nOld;
}

int CDC::GetMapMode() const
{
    return LiveDc(m_hDC) != nullptr ? m_hDC->nMapMode : 0;
}

CSize CDC::SetWindowExt(SIZE size)
{
    return SetExtent(m_hDC, &HDC__::szWindowExt, size);
}

CSize CDC::GetWindowExt() const
{
    return LiveDc(m_hDC) != nullptr ? CSize(m_hDC->szWindowExt) : CSize();
}

CSize CDC::SetViewportExt(SIZE size)
{
    return SetExtent(m_hDC, &HDC__::szViewportExt, size);
}

CSize CDC::GetViewportExt() const
{
    return LiveDc(m_hDC) != nullptr ? CSize(m_hDC->szViewportExt) : CSize();
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    if (LiveDc(m_hDC) == nullptr)
        return CPoint();
    return std::exchange(m_hDC->ptWindowOrg, POINT{x, y});
}
