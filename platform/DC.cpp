// Device contexts and drawing with GDI's pixel rules on top of QPainter.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QStaticText>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/GdiObject.h"
#include "platform/Pen.h"
#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

namespace
{

std::unordered_set<HDC>& LiveDcs()
{
    static std::unordered_set<HDC> s_dcs;
    return s_dcs;
}

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

bool IsTranslationOnly(const QTransform& t)
{
    return t.type() <= QTransform::TxTranslate;
}

// Screen and buffer DCs map by a whole-pixel offset at most: integer adds instead of a matrix.
QPoint MapPoint(const QTransform& t, int x, int y)
{
    if (IsTranslationOnly(t))
        return QPoint(x + static_cast<int>(t.dx()), y + static_cast<int>(t.dy()));
    return t.map(QPoint(x, y));
}

QPoint ToDevice(HDC hdc, int x, int y)
{
    return MapPoint(LogicalToDevice(hdc), x, y);
}

QColor PenColor(HDC hdc)
{
    return ToQColor(hdc->pPen != nullptr ? hdc->pPen->crColor : 0);
}

// Solid fills of one opaque colour written straight into a memory DC's bitmap, within the DC's
// clip region: the same pixels as the painter's fillRect, without the painter's set-up per
// call, which dwarfs the few pixels of a grid dash or a candle edge.
class CDirectFill
{
public:
    CDirectFill(HDC hdc, QPainter* pPainter, const QColor& color)
    {
        QImage* pImage = hdc != nullptr && hdc->eKind == DcKind::Memory && hdc->pBitmap != nullptr
                             ? &hdc->pBitmap->image
                             : nullptr;
        // A shared image would detach under the painter, which keeps drawing into the old copy.
        if (pImage == nullptr || pPainter->device() != pImage || !pImage->isDetached() ||
            color.alpha() != 255 ||
            (pImage->format() != QImage::Format_RGB32 &&
             pImage->format() != QImage::Format_ARGB32 &&
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

    bool Ready() const { return m_pBits != nullptr; }

    // Device coordinates, right and bottom edges outside.
    void Fill(int l, int t, int r, int b) const
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

private:
    void FillBounded(int l, int t, int r, int b) const
    {
        l = std::max(l, m_rcBounds.left());
        t = std::max(t, m_rcBounds.top());
        r = std::min(r, m_rcBounds.right() + 1);
        b = std::min(b, m_rcBounds.bottom() + 1);
        for (int y = t; y < b && l < r; ++y)
            std::fill(reinterpret_cast<quint32*>(m_pBits + y * m_nStride) + l,
                      reinterpret_cast<quint32*>(m_pBits + y * m_nStride) + r, m_nPixel);
    }

    uchar* m_pBits = nullptr;
    qsizetype m_nStride = 0;
    quint32 m_nPixel = 0;
    QRect m_rcBounds;
    const QRegion* m_pClip = nullptr;
};

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

// The pixels of a one-pixel line from p0 towards p1 without its end pixel, when the line is
// horizontal or vertical (device coordinates).
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

// A line in logical coordinates with the given pen attributes, t being the DC's mapping.
void DrawMappedLine(HDC hdc, const QTransform& t, QPainter* pPainter, int x0, int y0, int x1,
                    int y1, int nStyle, int nWidth, const QColor& color)
{
    if (nStyle == PS_NULL)
        return;
    const bool bThin = nWidth <= 1 && (nStyle == PS_SOLID || nStyle == PS_INSIDEFRAME);
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
    switch (nStyle)
    {
    case PS_DASH:
        pen.setStyle(Qt::DashLine);
        break;
    case PS_DOT:
        pen.setStyle(Qt::DotLine);
        break;
    case PS_DASHDOT:
        pen.setStyle(Qt::DashDotLine);
        break;
    case PS_DASHDOTDOT:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
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

QFont FontOf(HDC hdc)
{
    GdiObj* p = hdc->pFont != nullptr ? hdc->pFont : StockGdi(SYSTEM_FONT);
    return p->font;
}

// A text laid out once for a font and drawn again on later frames; the shift puts its
// baseline where drawing at the rounded ascent would.
struct SLaidOutText
{
    QFont font;
    QStaticText text;
    double dBaselineShift = 0.0;
};

// Labels of memory DCs come back frame after frame: their layouts are kept per DC and text
// until the DC goes. Never destroyed, so no layout outlives the toolkit's font engines.
std::unordered_map<HDC, QHash<QString, SLaidOutText>>& LaidOutTexts()
{
    static auto* pTexts = new std::unordered_map<HDC, QHash<QString, SLaidOutText>>;
    return *pTexts;
}

// The same glyphs at the same places as drawText at the rounded ascent, without shaping the
// text again.
const SLaidOutText& LaidOutText(HDC hdc, const QFont& font, const QString& text)
{
    QHash<QString, SLaidOutText>& texts = LaidOutTexts()[hdc];
    auto it = texts.find(text);
    if (it != texts.end() && it->font == font)
        return *it;
    // A zoom or a scroll brings new labels; a few hundred cover any number of frames.
    if (texts.size() >= 1024)
        texts.clear();
    SLaidOutText laidOut;
    laidOut.font = font;
    laidOut.text.setText(text);
    laidOut.text.setTextFormat(Qt::PlainText);
    laidOut.text.prepare(QTransform(), font);
    laidOut.dBaselineShift = QFontMetrics(font).ascent() - QFontMetricsF(font).ascent();
    return *texts.insert(text, laidOut);
}

} // namespace

DWORD GetLiveDcCount()
{
    return static_cast<DWORD>(LiveDcs().size());
}

namespace platform_detail
{

HDC LiveDc(HDC h)
{
    return h != nullptr && LiveDcs().count(h) != 0 ? h : nullptr;
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
    LiveDcs().insert(hdc);
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
    LiveDcs().erase(hdc);
    LaidOutTexts().erase(hdc);
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
    if (hdc->pTemporary)
    {
        hdc->pTemporary->m_hDC = nullptr;
        hdc->pTemporary->m_hAttribDC = nullptr;
    }
    delete hdc;
}

QTransform LogicalToDevice(HDC hdc)
{
    if (hdc->nMapMode != MM_ANISOTROPIC && hdc->nMapMode != MM_ISOTROPIC)
        return QTransform::fromTranslate(hdc->ptViewportOrg.x - hdc->ptWindowOrg.x,
                                         hdc->ptViewportOrg.y - hdc->ptWindowOrg.y);
    QTransform t;
    t.translate(hdc->ptViewportOrg.x, hdc->ptViewportOrg.y);
    if (hdc->nMapMode == MM_ANISOTROPIC || hdc->nMapMode == MM_ISOTROPIC)
    {
        const double sx = hdc->szWindowExt.cx != 0
                              ? static_cast<double>(hdc->szViewportExt.cx) / hdc->szWindowExt.cx
                              : 1.0;
        const double sy = hdc->szWindowExt.cy != 0
                              ? static_cast<double>(hdc->szViewportExt.cy) / hdc->szWindowExt.cy
                              : 1.0;
        t.scale(sx, sy);
    }
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
    case DcKind::External:
        pPainter = hdc->pExternalPainter;
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

} // namespace platform_detail

// ---------------------------------------------------------------------------------------------
// Free functions
// ---------------------------------------------------------------------------------------------
HDC CreateCompatibleDC(HDC hdc)
{
    HDC hNew = NewDc(DcKind::Memory);
    hNew->pBitmap = DefaultBitmap();
    if (HDC hRef = LiveDc(hdc); hRef != nullptr)
    {
        hNew->nDpiX = hRef->nDpiX;
        hNew->nDpiY = hRef->nDpiY;
        hNew->nHorzRes = hRef->nHorzRes;
        hNew->nVertRes = hRef->nVertRes;
    }
    return hNew;
}

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
    case HORZSIZE:
        return MulDiv(hdc->nHorzRes, 254, hdc->nDpiX * 10);
    case VERTSIZE:
        return MulDiv(hdc->nVertRes, 254, hdc->nDpiY * 10);
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h)
{
    GdiObj* p = LiveGdi(h);
    if (LiveDc(hdc) == nullptr || p == nullptr)
        return nullptr;
    GdiObj* pOld = nullptr;
    switch (p->eKind)
    {
    case GdiKind::Pen:
        pOld = hdc->pPen;
        if (p != pOld)
            Select(hdc->pPen, p, hdc);
        break;
    case GdiKind::Brush:
        pOld = hdc->pBrush;
        if (p != pOld)
            Select(hdc->pBrush, p, hdc);
        break;
    case GdiKind::Font:
        pOld = hdc->pFont;
        if (p != pOld)
            Select(hdc->pFont, p, hdc);
        break;
    case GdiKind::Bitmap:
        if (hdc->eKind != DcKind::Memory)
            return nullptr;
        pOld = hdc->pBitmap;
        if (p == pOld)
            break;
        if (p->nSelected > 0) // a bitmap lives in one DC at a time
            return nullptr;
        EndPainting(hdc);
        Select(hdc->pBitmap, p, hdc);
        break;
    }
    return ToHandle(pOld);
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    if (LiveDc(hdc) == nullptr)
        return nullptr;
    switch (type)
    {
    case OBJ_PEN:
        return ToHandle(hdc->pPen);
    case OBJ_BRUSH:
        return ToHandle(hdc->pBrush);
    case OBJ_FONT:
        return ToHandle(hdc->pFont);
    case OBJ_BITMAP:
        return ToHandle(hdc->pBitmap);
    default:
        return nullptr;
    }
}

int SetBkMode(HDC hdc, int mode)
{
    if (LiveDc(hdc) == nullptr || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    return std::exchange(hdc->nBkMode, mode);
}

int GetBkMode(HDC hdc)
{
    return LiveDc(hdc) != nullptr ? hdc->nBkMode : 0;
}

COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    return LiveDc(hdc) != nullptr ? std::exchange(hdc->crBk, color & 0xFFFFFF) : CLR_INVALID;
}

COLORREF GetBkColor(HDC hdc)
{
    return LiveDc(hdc) != nullptr ? hdc->crBk : CLR_INVALID;
}

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    return LiveDc(hdc) != nullptr ? std::exchange(hdc->crText, color & 0xFFFFFF) : CLR_INVALID;
}

COLORREF GetTextColor(HDC hdc)
{
    return LiveDc(hdc) != nullptr ? hdc->crText : CLR_INVALID;
}

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

BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE lpsz)
{
    if (LiveDc(hdc) == nullptr)
        return FALSE;
    if (lpsz != nullptr)
        *lpsz = hdc->szWindowExt;
    if (hdc->nMapMode == MM_TEXT) // extents are fixed in MM_TEXT
        return TRUE;
    if (x == 0 || y == 0)
        return FALSE;
    hdc->szWindowExt = SIZE{x, y};
    return TRUE;
}

BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE lpsz)
{
    if (LiveDc(hdc) == nullptr)
        return FALSE;
    if (lpsz != nullptr)
        *lpsz = hdc->szViewportExt;
    if (hdc->nMapMode == MM_TEXT)
        return TRUE;
    if (x == 0 || y == 0)
        return FALSE;
    hdc->szViewportExt = SIZE{x, y};
    return TRUE;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    if (LiveDc(hdc) == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = hdc->ptWindowOrg;
    hdc->ptWindowOrg = POINT{x, y};
    return TRUE;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    if (LiveDc(hdc) == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = hdc->ptViewportOrg;
    hdc->ptViewportOrg = POINT{x, y};
    return TRUE;
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

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    if (LiveDc(hdc) == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = hdc->ptCurrent;
    hdc->ptCurrent = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr)
        return FALSE;
    DrawLine(hdc, pPainter, hdc->ptCurrent.x, hdc->ptCurrent.y, x, y, hdc->pPen->nPenStyle,
             hdc->pPen->nPenWidth, PenColor(hdc));
    hdc->ptCurrent = POINT{x, y};
    return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* apt, const DWORD* asz, DWORD csz)
{
    if (apt == nullptr || asz == nullptr ||
        std::any_of(asz, asz + csz, [](DWORD n) { return n < 2; }))
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
    const bool bThin = nWidth <= 1 && (nStyle == PS_SOLID || nStyle == PS_INSIDEFRAME);
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

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
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

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    QPainter* pPainter = PainterFor(hDC);
    if (pPainter == nullptr || lprc == nullptr)
        return 0;
    COLORREF cr = 0;
    const auto nValue = reinterpret_cast<ULONG_PTR>(hbr);
    if (nValue != 0 && nValue <= COLOR_MENUBAR + 1)
    {
        cr = GetSysColor(static_cast<int>(nValue) - 1); // (HBRUSH)(COLOR_xxx + 1)
    }
    else
    {
        const GdiObj* p = LiveGdi(hbr);
        if (p == nullptr || p->eKind != GdiKind::Brush)
            return 0;
        if (p->nBrushStyle == BS_NULL)
            return 1;
        cr = p->crColor;
    }
    FillLogicalRect(hDC, pPainter, lprc->left, lprc->top, lprc->right, lprc->bottom, ToQColor(cr));
    return 1;
}

BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags)
{
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr || qrc == nullptr)
        return FALSE;
    RECT rc = *qrc;
    // Colours of the outer and inner borders, top-left and bottom-right.
    int nOuterTL = -1;
    int nOuterBR = -1;
    int nInnerTL = -1;
    int nInnerBR = -1;
    if ((edge & BDR_OUTER) == BDR_RAISEDOUTER)
    {
        nOuterTL = COLOR_3DLIGHT;
        nOuterBR = COLOR_3DDKSHADOW;
    }
    else if ((edge & BDR_OUTER) == BDR_SUNKENOUTER)
    {
        nOuterTL = COLOR_BTNSHADOW;
        nOuterBR = COLOR_BTNHIGHLIGHT;
    }
    if ((edge & BDR_INNER) == BDR_RAISEDINNER)
    {
        nInnerTL = COLOR_BTNHIGHLIGHT;
        nInnerBR = COLOR_BTNSHADOW;
    }
    else if ((edge & BDR_INNER) == BDR_SUNKENINNER)
    {
        nInnerTL = COLOR_3DDKSHADOW;
        nInnerBR = COLOR_3DLIGHT;
    }
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
    const int nWidth = (nOuterTL >= 0 ? 1 : 0) + (nInnerTL >= 0 ? 1 : 0);
    RECT inner = rc;
    if (grfFlags & BF_LEFT)
        inner.left += nWidth;
    if (grfFlags & BF_TOP)
        inner.top += nWidth;
    if (grfFlags & BF_RIGHT)
        inner.right -= nWidth;
    if (grfFlags & BF_BOTTOM)
        inner.bottom -= nWidth;
    if (grfFlags & BF_MIDDLE)
        FillLogicalRect(hdc, pPainter, inner.left, inner.top, inner.right, inner.bottom,
                        ToQColor(GetSysColor(COLOR_BTNFACE)));
    if (grfFlags & BF_ADJUST)
        *qrc = inner;
    return TRUE;
}

BOOL GradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, PVOID pMesh, ULONG nMesh,
                  ULONG ulMode)
{
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

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
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

COLORREF GetPixel(HDC hdc, int x, int y)
{
    if (LiveDc(hdc) == nullptr || hdc->eKind != DcKind::Memory || hdc->pBitmap == nullptr)
        return CLR_INVALID;
    EndPainting(hdc);
    const QPoint p = ToDevice(hdc, x, y);
    const QImage& image = hdc->pBitmap->image;
    if (!image.rect().contains(p) || (hdc->bClip && !hdc->clip.contains(p)))
        return CLR_INVALID;
    return FromQRgb(image.pixel(p));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr)
        return CLR_INVALID;
    const QPoint p = ToDevice(hdc, x, y);
    pPainter->fillRect(QRect(p, QSize(1, 1)), ToQColor(color));
    return color & 0xFFFFFF;
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                 const INT*)
{
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr)
        return FALSE;
    pPainter->setWorldTransform(LogicalToDevice(hdc));
    if (lprect != nullptr)
    {
        const QRect rc(lprect->left, lprect->top, lprect->right - lprect->left,
                       lprect->bottom - lprect->top);
        if ((options & ETO_OPAQUE) != 0 && rc.isValid())
            pPainter->fillRect(rc, ToQColor(hdc->crBk));
        if ((options & ETO_CLIPPED) != 0)
        {
            pPainter->setClipRect(rc, hdc->bClip ? Qt::IntersectClip : Qt::ReplaceClip);
            hdc->bClipStale = true; // for this text only
        }
    }
    if (lpString == nullptr || c == 0)
        return TRUE;
    const QString text = QString::fromUtf8(lpString, static_cast<qsizetype>(c));
    const QFont font = FontOf(hdc);
    pPainter->translate(x, y);
    const int nEscapement = (hdc->pFont != nullptr ? hdc->pFont->lf.lfEscapement : 0);
    if (nEscapement == 0 && hdc->nBkMode != OPAQUE && hdc->eKind == DcKind::Memory &&
        IsTranslationOnly(pPainter->worldTransform()))
    {
        const SLaidOutText& laidOut = LaidOutText(hdc, font, text);
        pPainter->setFont(font);
        pPainter->setPen(ToQColor(hdc->crText));
        pPainter->drawStaticText(QPointF(0.0, laidOut.dBaselineShift), laidOut.text);
        return TRUE;
    }
    const QFontMetrics fm(font);
    if (nEscapement != 0)
        pPainter->rotate(-nEscapement / 10.0);
    if (hdc->nBkMode == OPAQUE)
        pPainter->fillRect(QRect(0, 0, fm.horizontalAdvance(text), fm.height()),
                           ToQColor(hdc->crBk));
    pPainter->setFont(font);
    pPainter->setPen(ToQColor(hdc->crText));
    pPainter->drawText(QPoint(0, fm.ascent()), text);
    return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    return c >= 0 && ExtTextOutA(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl)
{
    if (LiveDc(hdc) == nullptr || psizl == nullptr || c < 0 || (lpString == nullptr && c > 0))
        return FALSE;
    const QFontMetrics fm(FontOf(hdc));
    const QString text = QString::fromUtf8(lpString, c);
    *psizl = SIZE{fm.horizontalAdvance(text), fm.height()};
    return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* lptm)
{
    if (LiveDc(hdc) == nullptr || lptm == nullptr)
        return FALSE;
    const QFont font = FontOf(hdc);
    const QFontMetrics fm(font);
    *lptm = TEXTMETRICA{};
    lptm->tmHeight = fm.height();
    lptm->tmAscent = fm.ascent();
    lptm->tmDescent = fm.descent();
    lptm->tmInternalLeading = std::max(0, fm.height() - font.pixelSize());
    lptm->tmExternalLeading = std::max(0, fm.leading());
    lptm->tmAveCharWidth = fm.averageCharWidth();
    lptm->tmMaxCharWidth = fm.maxWidth();
    lptm->tmWeight = hdc->pFont != nullptr ? hdc->pFont->lf.lfWeight : FW_NORMAL;
    lptm->tmItalic = static_cast<BYTE>(font.italic());
    lptm->tmUnderlined = static_cast<BYTE>(font.underline());
    lptm->tmStruckOut = static_cast<BYTE>(font.strikeOut());
    lptm->tmFirstChar = 0x20;
    lptm->tmLastChar = 0xFF;
    lptm->tmDefaultChar = '?';
    lptm->tmBreakChar = ' ';
    lptm->tmDigitizedAspectX = hdc->nDpiX;
    lptm->tmDigitizedAspectY = hdc->nDpiY;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// CDC
// ---------------------------------------------------------------------------------------------
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
    if (h->pPermanent != nullptr)
        return h->pPermanent;
    if (!h->pTemporary)
    {
        h->pTemporary = std::make_unique<CDC>();
        h->pTemporary->m_hDC = h;
        h->pTemporary->m_hAttribDC = h;
    }
    return h->pTemporary.get();
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
        if (HDC live = LiveDc(hh); live != nullptr && live->pPermanent == this)
            live->pPermanent = nullptr;
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
