// GDI objects behind handles: the live set, stock objects, deleting pens, brushes, fonts and
// bitmaps, and the fonts that stand in for Windows face names.
#include <QFontMetricsF>
#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/GdiObject.h"
#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/HandleRegistry.h"
#include "platform/detail/Strings.h"

using namespace platform_detail;

namespace
{

void FreeGdi(GdiObj* p)
{
    Registry<GdiObj*>().Remove(p);
    if (p->pPermanent != nullptr)
        p->pPermanent->m_hObject = nullptr;
    if (p->pTemporary)
        p->pTemporary->m_hObject = nullptr;
    delete p;
}

// Windows face names and the installed fonts that stand in for them.
QString MapFace(const char* pszFace, BYTE nPitchAndFamily)
{
    const std::string face = Lower(pszFace);
    if (face.empty() || face == "ms shell dlg" || face == "ms shell dlg 2" ||
        face == "microsoft sans serif" || face == "ms sans serif" || face == "tahoma" ||
        face == "segoe ui" || face == "arial" || face == "system" || face == "verdana")
        return (nPitchAndFamily & 0xF0) == FF_ROMAN ? QStringLiteral("Liberation Serif")
                                                    : QStringLiteral("Liberation Sans");
    if (face == "times new roman" || face == "times")
        return QStringLiteral("Liberation Serif");
    if (face == "courier new" || face == "courier" || face == "consolas" ||
        face == "lucida console")
        return QStringLiteral("Liberation Mono");
    if (face == "simsun" || face == "nsimsun" || face == "simhei" || face == "microsoft yahei" ||
        face == "\xe5\xae\x8b\xe4\xbd\x93" /* 宋体 */ ||
        face == "\xe9\xbb\x91\xe4\xbd\x93" /* 黑体 */)
        return QStringLiteral("WenQuanYi Micro Hei");
    return QString::fromUtf8(pszFace);
}

} // namespace

namespace platform_detail
{

GdiObj* LiveGdi(HGDIOBJ h)
{
    if (h == nullptr)
        return nullptr;
    auto* p = static_cast<GdiObj*>(h);
    // Created objects are the common case on drawing paths; the stock objects are the longer look.
    if (Registry<GdiObj*>().Live(p) != nullptr)
        return p;
    for (int i : {WHITE_BRUSH, BLACK_PEN, SYSTEM_FONT})
        if (StockGdi(i) == p)
            return p;
    return DefaultBitmap() == p ? p : nullptr;
}

GdiObj* NewGdi(GdiKind eKind)
{
    auto* p = new GdiObj;
    p->eKind = eKind;
    Registry<GdiObj*>().Add(p);
    return p;
}

GdiObj* NewBitmap(int cx, int cy)
{
    GdiObj* p = NewGdi(GdiKind::Bitmap);
    if (cx > 0 && cy > 0)
    {
        p->image = QImage(cx, cy, QImage::Format_RGB32);
        p->image.fill(0xFF000000);
    }
    return p;
}

namespace
{
GdiObj* MakeStock(GdiKind eKind)
{
    auto* p = new GdiObj;
    p->eKind = eKind;
    p->bStock = true;
    return p;
}
} // namespace

GdiObj* StockGdi(int nIndex)
{
    // Stock objects live for the whole process, like the system's. Each is made on first use:
    // the font needs the toolkit, the others do not.
    switch (nIndex)
    {
    case WHITE_BRUSH:
    {
        static GdiObj* const s_pBrush = []
        {
            GdiObj* p = MakeStock(GdiKind::Brush);
            p->crColor = RGB(255, 255, 255);
            return p;
        }();
        return s_pBrush;
    }
    case BLACK_PEN:
    {
        static GdiObj* const s_pPen = MakeStock(GdiKind::Pen);
        return s_pPen;
    }
    case SYSTEM_FONT:
    {
        static GdiObj* const s_pFont = []
        {
            GdiObj* p = MakeStock(GdiKind::Font);
            p->lf.lfHeight = 16;
            p->lf.lfWeight = FW_BOLD;
            std::strncpy(p->lf.lfFaceName, "System", LF_FACESIZE - 1);
            p->font = MakeQFont(p->lf);
            return p;
        }();
        return s_pFont;
    }
    default:
        return nullptr;
    }
}

GdiObj* DefaultBitmap()
{
    static GdiObj* s_bitmap = []
    {
        GdiObj* p = MakeStock(GdiKind::Bitmap);
        p->image = QImage(1, 1, QImage::Format_RGB32);
        p->image.fill(0);
        return p;
    }();
    return s_bitmap;
}

void ReleaseSelection(GdiObj* p)
{
    if (p == nullptr || p->bStock)
        return;
    p->nSelected = std::max(0, p->nSelected - 1);
    if (p->nSelected == 0)
    {
        p->hSelectedDC = nullptr;
        if (p->bDeletePending)
            FreeGdi(p);
    }
}

QColor ToQColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

COLORREF FromQRgb(QRgb rgb)
{
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

int ScreenDpi()
{
    // A fixed resolution keeps point fonts and pictures the same on every screen.
    return 96;
}

QFont MakeQFont(const LOGFONTA& lf)
{
    QFont font(MapFace(lf.lfFaceName, lf.lfPitchAndFamily));
    font.setStyleHint((lf.lfPitchAndFamily & 0x03) == FIXED_PITCH ? QFont::Monospace
                                                                  : QFont::SansSerif);
    const int nWeight =
        lf.lfWeight <= 0 ? FW_NORMAL : std::clamp(static_cast<int>(lf.lfWeight), 100, 900);
    font.setWeight(static_cast<QFont::Weight>(nWeight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    // Negative height: the character (em) height; positive: the cell height (ascent + descent).
    int nEm = 12;
    if (lf.lfHeight < 0)
    {
        nEm = -lf.lfHeight;
    }
    else if (lf.lfHeight > 0)
    {
        QFont probe = font;
        probe.setPixelSize(100);
        const QFontMetricsF fm(probe);
        const double cell = fm.ascent() + fm.descent();
        nEm = cell > 0 ? static_cast<int>(lf.lfHeight * 100.0 / cell + 0.5) : lf.lfHeight;
    }
    font.setPixelSize(std::max(1, nEm));
    return font;
}

QImage* BitmapImage(HGDIOBJ hBitmap)
{
    GdiObj* p = LiveGdi(hBitmap);
    if (p == nullptr || p->eKind != GdiKind::Bitmap)
        return nullptr;
    if (p->hSelectedDC != nullptr)
        EndPainting(p->hSelectedDC);
    return &p->image;
}

BOOL DeleteGdi(HGDIOBJ h)
{
    GdiObj* p = LiveGdi(h);
    if (p == nullptr)
        return FALSE;
    if (p->bStock)
        return TRUE;
    if (p->nSelected > 0)
    {
        // Still in use by a DC: it goes when the DC lets go of it.
        p->bDeletePending = true;
        if (p->pPermanent != nullptr)
        {
            p->pPermanent->m_hObject = nullptr;
            p->pPermanent = nullptr;
        }
        return TRUE;
    }
    FreeGdi(p);
    return TRUE;
}

} // namespace platform_detail

// ---------------------------------------------------------------------------------------------
// Free functions
// ---------------------------------------------------------------------------------------------
HGDIOBJ GetStockObject(int i)
{
    return ToHandle(StockGdi(i));
}

HANDLE GetCurrentProcess()
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
}

DWORD GetLiveDcCount(); // DeviceContext.cpp

DWORD GetGuiResources(HANDLE, DWORD uiFlags)
{
    if (uiFlags != GR_GDIOBJECTS)
        return 0;
    return static_cast<DWORD>(Registry<GdiObj*>().Count()) + GetLiveDcCount();
}
