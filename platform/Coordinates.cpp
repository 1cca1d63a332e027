// Where a DC draws: mapping modes between logical and device units, and the clip region.
#include <QWidget>
#include <cmath>
#include <utility>

#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    if (LiveDc(hdc) == nullptr)
        return ERROR;
    const QRect device = LogicalToDevice(hdc).mapRect(QRect(left, top, right - left, bottom - top));
    const QRegion rgn = (right > left && bottom > top) ? QRegion(device) : QRegion();
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

int SelectClipRgn(HDC hdc, HRGN hrgn)
{
    if (LiveDc(hdc) == nullptr || hrgn != nullptr)
        return ERROR;
    hdc->bClip = false;
    hdc->clip = QRegion();
    hdc->bClipStale = true;
    return SIMPLEREGION;
}

int GetClipBox(HDC hdc, LPRECT lprect)
{
    if (LiveDc(hdc) == nullptr || lprect == nullptr)
        return ERROR;
    QRect device;
    if (hdc->bClip)
    {
        device = hdc->clip.boundingRect();
    }
    else if (hdc->eKind == DcKind::Memory && hdc->pBitmap != nullptr)
    {
        device = hdc->pBitmap->image.rect();
    }
    else if (hdc->pWidget != nullptr)
    {
        device = hdc->pWidget->rect();
    }
    else if (hdc->eKind == DcKind::Printer)
    {
        device = QRect(0, 0, hdc->nHorzRes, hdc->nVertRes);
    }
    bool bInvertible = false;
    const QRect logical = LogicalToDevice(hdc).inverted(&bInvertible).mapRect(device);
    *lprect = RECT{logical.left(), logical.top(), logical.left() + logical.width(),
                   logical.top() + logical.height()};
    if (device.isEmpty())
        return NULLREGION;
    return hdc->bClip && hdc->clip.rectCount() > 1 ? COMPLEXREGION : SIMPLEREGION;
}

int SetMapMode(HDC hdc, int iMode)
{
    if (LiveDc(hdc) == nullptr ||
        (iMode != MM_TEXT && iMode != MM_ANISOTROPIC && iMode != MM_ISOTROPIC))
        return 0;
    const int nOld = hdc->nMapMode;
    hdc->nMapMode = iMode;
    if (iMode == MM_TEXT)
    {
        hdc->szWindowExt = SIZE{1, 1};
        hdc->szViewportExt = SIZE{1, 1};
    }
    return nOld;
}

int GetMapMode(HDC hdc)
{
    return LiveDc(hdc) != nullptr ? hdc->nMapMode : 0;
}

namespace
{

// Extents are fixed in MM_TEXT: asking to change them there succeeds and changes nothing.
BOOL SetExtent(HDC hdc, SIZE HDC__::*pExtent, int x, int y, LPSIZE lpsz)
{
    if (LiveDc(hdc) == nullptr)
        return FALSE;
    if (lpsz != nullptr)
        *lpsz = hdc->*pExtent;
    if (hdc->nMapMode == MM_TEXT)
        return TRUE;
    if (x == 0 || y == 0)
        return FALSE;
    hdc->*pExtent = SIZE{x, y};
    return TRUE;
}

} // namespace

namespace platform_detail
{

BOOL ExchangePoint(HDC hdc, POINT HDC__::*pPoint, int x, int y, LPPOINT lppt)
{
    if (LiveDc(hdc) == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = hdc->*pPoint;
    hdc->*pPoint = POINT{x, y};
    return TRUE;
}

} // namespace platform_detail

BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE lpsz)
{
    return SetExtent(hdc, &HDC__::szWindowExt, x, y, lpsz);
}

BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE lpsz)
{
    return SetExtent(hdc, &HDC__::szViewportExt, x, y, lpsz);
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    return ExchangePoint(hdc, &HDC__::ptWindowOrg, x, y, lppt);
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    return ExchangePoint(hdc, &HDC__::ptViewportOrg, x, y, lppt);
}

BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c)
{
    if (LiveDc(hdc) == nullptr || lppt == nullptr)
        return FALSE;
    const QTransform t = LogicalToDevice(hdc);
    for (int i = 0; i < c; ++i)
    {
        const QPointF p = t.map(QPointF(lppt[i].x, lppt[i].y));
        lppt[i] =
            POINT{static_cast<LONG>(std::lround(p.x())), static_cast<LONG>(std::lround(p.y()))};
    }
    return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c)
{
    if (LiveDc(hdc) == nullptr || lppt == nullptr)
        return FALSE;
    bool bInvertible = false;
    const QTransform t = LogicalToDevice(hdc).inverted(&bInvertible);
    if (!bInvertible)
        return FALSE;
    for (int i = 0; i < c; ++i)
    {
        const QPointF p = t.map(QPointF(lppt[i].x, lppt[i].y));
        lppt[i] =
            POINT{static_cast<LONG>(std::lround(p.x())), static_cast<LONG>(std::lround(p.y()))};
    }
    return TRUE;
}
