// Device context handles: creation and deletion, device caps, selecting objects, and the painter
// a DC draws with.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/DC.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/HandleRegistry.h"

using namespace platform_detail;

namespace
{

void Select(GdiObj*& rSlot, GdiObj* p, HDC hdc)
{
    GdiObj* pOld = rSlot;
    rSlot = p;
    if (!p->bStock)
    {
        ++p->nSelected;
        if (p->eKind == GdiKind::Bitmap)
            p->hSelectedDC = hdc;
    }
    ReleaseSelection(pOld);
}
} // namespace

DWORD GetLiveDcCount()
{
    return static_cast<DWORD>(Registry<HDC>().Count());
}

namespace platform_detail
{

HDC LiveDc(HDC h)
{
    return Registry<HDC>().Live(h);
}

HDC NewDc(DcKind eKind)
{
    HDC hdc = new HDC__;
    hdc->eKind = eKind;
    hdc->pPen = StockGdi(BLACK_PEN);
    hdc->pBrush = StockGdi(WHITE_BRUSH);
    hdc->pFont = StockGdi(SYSTEM_FONT);
    hdc->nDpiX = hdc->nDpiY = ScreenDpi();
    QScreen* pScreen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                           ? QGuiApplication::primaryScreen()
                           : nullptr;
    hdc->nHorzRes = pScreen != nullptr ? pScreen->geometry().width() : 1024;
    hdc->nVertRes = pScreen != nullptr ? pScreen->geometry().height() : 768;
    Registry<HDC>().Add(hdc);
    return hdc;
}

void EndPainting(HDC hdc)
{
    if (hdc != nullptr && hdc->eKind == DcKind::Memory && hdc->pPainter)
    {
        hdc->pPainter->end();
        hdc->pPainter.reset();
        hdc->bClipStale = true;
    }
}

void FreeDc(HDC hdc)
{
    if (LiveDc(hdc) == nullptr)
        return;
    if (hdc->pJob != nullptr)
        FreePrintJob(hdc);
    if (hdc->pPainter)
    {
        hdc->pPainter->end();
        hdc->pPainter.reset();
    }
    Registry<HDC>().Remove(hdc);
    ForgetLaidOutTexts(hdc);
    ReleaseSelection(hdc->pPen);
    ReleaseSelection(hdc->pBrush);
    ReleaseSelection(hdc->pFont);
    ReleaseSelection(hdc->pBitmap);
    if (hdc->pPermanent != nullptr)
    {
        if (hdc->pPermanent->m_hDC == hdc)
            hdc->pPermanent->m_hDC = nullptr;
        if (hdc->pPermanent->m_hAttribDC == hdc)
            hdc->pPermanent->m_hAttribDC = nullptr;
    }
    delete hdc;
}

QTransform LogicalToDevice(HDC hdc)
{
    if (hdc->nMapMode != MM_ANISOTROPIC)
        return QTransform::fromTranslate(hdc->ptViewportOrg.x - hdc->ptWindowOrg.x,
                                         hdc->ptViewportOrg.y - hdc->ptWindowOrg.y);
    QTransform t;
    t.translate(hdc->ptViewportOrg.x, hdc->ptViewportOrg.y);
    const double sx = hdc->szWindowExt.cx != 0
                          ? static_cast<double>(hdc->szViewportExt.cx) / hdc->szWindowExt.cx
                          : 1.0;
    const double sy = hdc->szWindowExt.cy != 0
                          ? static_cast<double>(hdc->szViewportExt.cy) / hdc->szWindowExt.cy
                          : 1.0;
    t.scale(sx, sy);
    t.translate(-hdc->ptWindowOrg.x, -hdc->ptWindowOrg.y);
    return t;
}

QPainter* PainterFor(HDC hdc)
{
    if (LiveDc(hdc) == nullptr)
        return nullptr;
    QPainter* pPainter = nullptr;
    switch (hdc->eKind)
    {
    case DcKind::Memory:
        if (!hdc->pPainter)
        {
            if (hdc->pBitmap == nullptr || hdc->pBitmap->image.isNull())
                return nullptr;
            hdc->pPainter = std::make_unique<QPainter>(&hdc->pBitmap->image);
        }
        pPainter = hdc->pPainter.get();
        break;
    case DcKind::Paint:
        pPainter = hdc->pPainter.get();
        break;
    case DcKind::Printer:
        pPainter = PrinterPainter(hdc);
        break;
    case DcKind::Measure:
        return nullptr;
    }
    if (pPainter == nullptr || !pPainter->isActive())
        return nullptr;
    // Each of these costs a state change in the paint engine even when nothing changes.
    if (!pPainter->transform().isIdentity())
        pPainter->resetTransform();
    if (pPainter->testRenderHint(QPainter::Antialiasing))
        pPainter->setRenderHint(QPainter::Antialiasing, false);
    if (pPainter->compositionMode() != QPainter::CompositionMode_SourceOver)
        pPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (pPainter != hdc->pClipPainter || hdc->bClipStale)
    {
        if (hdc->bClip)
            pPainter->setClipRegion(hdc->clip);
        else
            pPainter->setClipping(false);
        hdc->pClipPainter = pPainter;
        hdc->bClipStale = false;
    }
    return pPainter;
}

HDC NewMemoryDc(HDC hRef)
{
    HDC hNew = NewDc(DcKind::Memory);
    hNew->pBitmap = DefaultBitmap();
    if (hRef = LiveDc(hRef); hRef != nullptr)
    {
        hNew->nDpiX = hRef->nDpiX;
        hNew->nDpiY = hRef->nDpiY;
        hNew->nHorzRes = hRef->nHorzRes;
        hNew->nVertRes = hRef->nVertRes;
    }
    return hNew;
}

GdiObj* SelectGdi(HDC hdc, GdiObj* p)
{
    if (LiveDc(hdc) == nullptr || p == nullptr)
        return nullptr;
    GdiObj** ppSlot = nullptr;
    switch (p->eKind)
    {
    case GdiKind::Pen:
        ppSlot = &hdc->pPen;
        break;
    case GdiKind::Brush:
        ppSlot = &hdc->pBrush;
        break;
    case GdiKind::Font:
        ppSlot = &hdc->pFont;
        break;
    case GdiKind::Bitmap:
        // A bitmap lives in one memory DC at a time.
        if (hdc->eKind != DcKind::Memory || (p != hdc->pBitmap && p->nSelected > 0))
            return nullptr;
        if (p != hdc->pBitmap)
            EndPainting(hdc);
        ppSlot = &hdc->pBitmap;
        break;
    }
    GdiObj* pOld = *ppSlot;
    if (p != pOld)
        Select(*ppSlot, p, hdc);
    return pOld;
}

} // namespace platform_detail

BOOL DeleteDC(HDC hdc)
{
    if (LiveDc(hdc) == nullptr)
        return FALSE;
    FreeDc(hdc);
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index)
{
    if (LiveDc(hdc) == nullptr)
        return 0;
    switch (index)
    {
    case HORZRES:
        return hdc->nHorzRes;
    case VERTRES:
        return hdc->nVertRes;
    case LOGPIXELSX:
        return hdc->nDpiX;
    case LOGPIXELSY:
        return hdc->nDpiY;
    default:
        return 0;
    }
}
