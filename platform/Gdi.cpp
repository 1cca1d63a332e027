// GDI objects behind handles: the live set, stock objects, creating, deleting and describing pens,
// brushes, fonts and bitmaps, and the fonts that stand in for Windows face names.
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
    // Created objects are the common case on drawing paths; the stock table is the longer look.
    if (Registry<GdiObj*>().Live(p) != nullptr)
        return p;
    for (int i = 0; i <= NULL_PEN; ++i)
        if (StockGdi(i) == p)
            return p;
    if (StockGdi(SYSTEM_FONT) == p || StockGdi(DEFAULT_GUI_FONT) == p ||
        StockGdi(ANSI_VAR_FONT) == p || DefaultBitmap() == p)
        return p;
    return nullptr;
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
GdiObj* MakeStockFont(const char* pszFace, LONG nHeight, LONG nWeight)
{
    GdiObj* p = MakeStock(GdiKind::Font);
    p->lf.lfHeight = nHeight;
    p->lf.lfWeight = nWeight;
    std::strncpy(p->lf.lfFaceName, pszFace, LF_FACESIZE - 1);
    return p;
}
} // namespace

GdiObj* StockGdi(int nIndex)
{
    // Stock objects live for the whole process, like the system's.
    static GdiObj* s_stock[DEFAULT_GUI_FONT + 1] = {};
    if (nIndex < 0 || nIndex > DEFAULT_GUI_FONT)
        return nullptr;
    if (s_stock[nIndex] == nullptr)
    {
        GdiObj* p = nullptr;
        switch (nIndex)
        {
        case WHITE_BRUSH:
        case LTGRAY_BRUSH:
        case GRAY_BRUSH:
        case DKGRAY_BRUSH:
        case BLACK_BRUSH:
        {
            static const COLORREF kBrush[] = {RGB(255, 255, 255), RGB(192, 192, 192),
                                              RGB(128, 128, 128), RGB(64, 64, 64), RGB(0, 0, 0)};
            p = MakeStock(GdiKind::Brush);
            p->crColor = kBrush[nIndex];
            break;
        }
        case NULL_BRUSH:
            p = MakeStock(GdiKind::Brush);
            p->nBrushStyle = BS_NULL;
            break;
        case WHITE_PEN:
        case BLACK_PEN:
            p = MakeStock(GdiKind::Pen);
            p->crColor = nIndex == WHITE_PEN ? RGB(255, 255, 255) : 0;
            break;
        case NULL_PEN:
            p = MakeStock(GdiKind::Pen);
            p->nPenStyle = PS_NULL;
            break;
        case ANSI_VAR_FONT:
            p = MakeStockFont("MS Sans Serif", 13, FW_NORMAL);
            break;
        case SYSTEM_FONT:
            p = MakeStockFont("System", 16, FW_BOLD);
            break;
        case DEFAULT_GUI_FONT:
            p = MakeStockFont("MS Shell Dlg", -11, FW_NORMAL);
            break;
        default:
            return nullptr;
        }
        if (p->eKind == GdiKind::Font)
            p->font = MakeQFont(p->lf);
        s_stock[nIndex] = p;
    }
    return s_stock[nIndex];
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

} // namespace platform_detail

// ---------------------------------------------------------------------------------------------
// Free functions
// ---------------------------------------------------------------------------------------------
HGDIOBJ GetStockObject(int i)
{
    return ToHandle(StockGdi(i));
}

HPEN CreatePen(int iStyle, int cWidth, COLORREF color)
{
    GdiObj* p = NewGdi(GdiKind::Pen);
    p->nPenStyle = iStyle;
    p->nPenWidth = std::max(0, cWidth);
    p->crColor = color & 0xFFFFFF;
    return reinterpret_cast<HPEN>(p);
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    GdiObj* p = NewGdi(GdiKind::Brush);
    p->crColor = color & 0xFFFFFF;
    return reinterpret_cast<HBRUSH>(p);
}

HFONT CreateFontIndirectA(const LOGFONTA* lplf)
{
    if (lplf == nullptr)
        return nullptr;
    GdiObj* p = NewGdi(GdiKind::Font);
    p->lf = *lplf;
    p->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    p->font = MakeQFont(p->lf);
    return reinterpret_cast<HFONT>(p);
}

HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                  DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                  DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                  LPCSTR pszFaceName)
{
    LOGFONTA lf = {};
    lf.lfHeight = cHeight;
    lf.lfWidth = cWidth;
    lf.lfEscapement = cEscapement;
    lf.lfOrientation = cOrientation;
    lf.lfWeight = cWeight;
    lf.lfItalic = static_cast<BYTE>(bItalic != 0);
    lf.lfUnderline = static_cast<BYTE>(bUnderline != 0);
    lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut != 0);
    lf.lfCharSet = static_cast<BYTE>(iCharSet);
    lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
    lf.lfQuality = static_cast<BYTE>(iQuality);
    lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
    if (pszFaceName != nullptr)
        std::strncpy(lf.lfFaceName, pszFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    if (LiveDc(hdc) == nullptr || cx < 0 || cy < 0)
        return nullptr;
    return reinterpret_cast<HBITMAP>(NewBitmap(cx, cy));
}

BOOL DeleteObject(HGDIOBJ ho)
{
    GdiObj* p = LiveGdi(ho);
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

namespace
{

// GetObjectA's answer: the size of the description, copied out when there is room for it.
template <class T> int Describe(const T& description, int c, LPVOID pv)
{
    if (pv == nullptr)
        return sizeof(T);
    if (c < static_cast<int>(sizeof(T)))
        return 0;
    std::memcpy(pv, &description, sizeof(T));
    return sizeof(T);
}

} // namespace

int GetObjectA(HGDIOBJ h, int c, LPVOID pv)
{
    GdiObj* p = LiveGdi(h);
    if (p == nullptr)
        return 0;
    switch (p->eKind)
    {
    case GdiKind::Pen:
        return Describe(LOGPEN{static_cast<UINT>(p->nPenStyle), POINT{p->nPenWidth, 0}, p->crColor},
                        c, pv);
    case GdiKind::Brush:
        return Describe(LOGBRUSH{p->nBrushStyle, p->crColor, 0}, c, pv);
    case GdiKind::Font:
        return Describe(p->lf, c, pv);
    case GdiKind::Bitmap:
        return Describe(
            BITMAP{0, p->image.width(), p->image.height(), p->image.width() * 4, 1, 32, nullptr}, c,
            pv);
    }
    return 0;
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
