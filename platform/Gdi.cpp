// GDI objects: pens, brushes, fonts and bitmaps behind handles, their C++ wrappers and bookkeeping.
#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

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

std::unordered_set<GdiObj*>& LiveObjects()
{
    static std::unordered_set<GdiObj*> s_objects;
    return s_objects;
}

void FreeGdi(GdiObj* p)
{
    LiveObjects().erase(p);
    if (p->pPermanent != nullptr)
        p->pPermanent->m_hObject = nullptr;
    if (p->pTemporary)
        p->pTemporary->m_hObject = nullptr;
    delete p;
}

std::string Lower(const char* psz)
{
    std::string s = psz != nullptr ? psz : "";
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
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
    if (LiveObjects().count(p) != 0)
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
    LiveObjects().insert(p);
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
    GdiObj* p = NewGdi(GdiKind::Bitmap);
    if (cx > 0 && cy > 0)
    {
        p->image = QImage(cx, cy, QImage::Format_RGB32);
        p->image.fill(0xFF000000);
    }
    return reinterpret_cast<HBITMAP>(p);
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

int GetObjectA(HGDIOBJ h, int c, LPVOID pv)
{
    GdiObj* p = LiveGdi(h);
    if (p == nullptr)
        return 0;
    switch (p->eKind)
    {
    case GdiKind::Pen:
    {
        LOGPEN lp{static_cast<UINT>(p->nPenStyle), POINT{p->nPenWidth, 0}, p->crColor};
        if (pv == nullptr)
            return sizeof(LOGPEN);
        if (c < static_cast<int>(sizeof(LOGPEN)))
            return 0;
        std::memcpy(pv, &lp, sizeof lp);
        return sizeof(LOGPEN);
    }
    case GdiKind::Brush:
    {
        LOGBRUSH lb{p->nBrushStyle, p->crColor, 0};
        if (pv == nullptr)
            return sizeof(LOGBRUSH);
        if (c < static_cast<int>(sizeof(LOGBRUSH)))
            return 0;
        std::memcpy(pv, &lb, sizeof lb);
        return sizeof(LOGBRUSH);
    }
    case GdiKind::Font:
        if (pv == nullptr)
            return sizeof(LOGFONTA);
        if (c < static_cast<int>(sizeof(LOGFONTA)))
            return 0;
        std::memcpy(pv, &p->lf, sizeof(LOGFONTA));
        return sizeof(LOGFONTA);
    case GdiKind::Bitmap:
    {
        BITMAP bm{0, p->image.width(), p->image.height(), p->image.width() * 4, 1, 32, nullptr};
        if (pv == nullptr)
            return sizeof(BITMAP);
        if (c < static_cast<int>(sizeof(BITMAP)))
            return 0;
        std::memcpy(pv, &bm, sizeof bm);
        return sizeof(BITMAP);
    }
    }
    return 0;
}

HANDLE GetCurrentProcess()
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
}

DWORD GetLiveDcCount(); // DC.cpp

DWORD GetGuiResources(HANDLE, DWORD uiFlags)
{
    if (uiFlags != GR_GDIOBJECTS)
        return 0;
    return static_cast<DWORD>(LiveObjects().size()) + GetLiveDcCount();
}

// ---------------------------------------------------------------------------------------------
// Wrappers
// ---------------------------------------------------------------------------------------------
CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    GdiObj* p = LiveGdi(hObject);
    if (p == nullptr)
        return nullptr;
    if (p->pPermanent != nullptr)
        return p->pPermanent;
    if (!p->pTemporary)
    {
        switch (p->eKind)
        {
        case GdiKind::Pen:
            p->pTemporary = std::make_unique<CPen>();
            break;
        case GdiKind::Brush:
            p->pTemporary = std::make_unique<CBrush>();
            break;
        case GdiKind::Font:
            p->pTemporary = std::make_unique<CFont>();
            break;
        case GdiKind::Bitmap:
            p->pTemporary = std::make_unique<CBitmap>();
            break;
        }
        p->pTemporary->m_hObject = hObject;
    }
    return p->pTemporary.get();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    GdiObj* p = LiveGdi(hObject);
    if (p == nullptr || m_hObject != nullptr)
        return FALSE;
    m_hObject = hObject;
    if (!p->bStock)
        p->pPermanent = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (GdiObj* p = LiveGdi(h); p != nullptr && p->pPermanent == this)
        p->pPermanent = nullptr;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    HGDIOBJ h = Detach();
    return ::DeleteObject(h);
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    HGDIOBJ h = ::GetStockObject(nIndex);
    return h != nullptr && Attach(h);
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return ::GetObjectA(m_hObject, nCount, lpObject);
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    CreatePen(nPenStyle, nWidth, crColor);
}

CPen* CPen::FromHandle(HPEN hPen)
{
    return dynamic_cast<CPen*>(CGdiObject::FromHandle(hPen));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

int CPen::GetLogPen(LOGPEN* pLogPen) const
{
    return GetObject(sizeof(LOGPEN), pLogPen);
}

CBrush::CBrush(COLORREF crColor)
{
    CreateSolidBrush(crColor);
}

CBrush* CBrush::FromHandle(HBRUSH hBrush)
{
    return dynamic_cast<CBrush*>(CGdiObject::FromHandle(hBrush));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    return Attach(::CreateSolidBrush(crColor));
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const
{
    return GetObject(sizeof(LOGBRUSH), pLogBrush);
}

CFont* CFont::FromHandle(HFONT hFont)
{
    return dynamic_cast<CFont*>(CGdiObject::FromHandle(hFont));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    return Attach(::CreateFontIndirectA(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                       LPCTSTR lpszFacename)
{
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONT lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName != nullptr)
        std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    if (lpLogFont == nullptr)
        return FALSE;
    HDC hAttrib = pDC != nullptr ? pDC->m_hAttribDC : nullptr;
    const int nDpi = hAttrib != nullptr ? ::GetDeviceCaps(hAttrib, LOGPIXELSY) : ScreenDpi();
    LOGFONT lf = *lpLogFont;
    // Tenths of a point to device pixels, then to logical units of the DC.
    POINT pt{0, MulDiv(nDpi, lf.lfHeight, 720)};
    POINT ptOrg{0, 0};
    if (hAttrib != nullptr)
    {
        ::DPtoLP(hAttrib, &pt, 1);
        ::DPtoLP(hAttrib, &ptOrg, 1);
    }
    lf.lfHeight = -std::abs(pt.y - ptOrg.y);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const
{
    return GetObject(sizeof(LOGFONT), pLogFont);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return dynamic_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    HDC hdc =
        pDC != nullptr ? (pDC->m_hAttribDC != nullptr ? pDC->m_hAttribDC : pDC->m_hDC) : nullptr;
    if (hdc == nullptr)
    {
        // Compatible with the screen.
        if (nWidth < 0 || nHeight < 0)
            return FALSE;
        GdiObj* p = NewGdi(GdiKind::Bitmap);
        if (nWidth > 0 && nHeight > 0)
        {
            p->image = QImage(nWidth, nHeight, QImage::Format_RGB32);
            p->image.fill(0xFF000000);
        }
        return Attach(ToHandle(p));
    }
    return Attach(::CreateCompatibleBitmap(hdc, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const
{
    return GetObject(sizeof(BITMAP), pBitMap);
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const
{
    QImage* pImage = BitmapImage(m_hObject);
    if (pImage == nullptr || lpBits == nullptr || pImage->isNull())
        return 0;
    const DWORD nRow = static_cast<DWORD>(pImage->width()) * 4;
    DWORD nCopied = 0;
    auto* pOut = static_cast<unsigned char*>(lpBits);
    for (int y = 0; y < pImage->height() && nCopied < dwCount; ++y)
    {
        const DWORD n = std::min(nRow, dwCount - nCopied);
        std::memcpy(pOut + nCopied, pImage->constScanLine(y), n);
        nCopied += n;
    }
    return nCopied;
}

CSize CBitmap::GetBitmapDimension() const
{
    QImage* pImage = BitmapImage(m_hObject);
    return pImage != nullptr ? CSize(pImage->width(), pImage->height()) : CSize();
}

namespace
{

bool WriteAll(int fd, const char* p, size_t nSize)
{
    while (nSize > 0)
    {
        const ssize_t nWritten = ::write(fd, p, nSize);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten == 0)
            errno = EIO;
        if (nWritten <= 0)
            return false;
        p += nWritten;
        nSize -= static_cast<size_t>(nWritten);
    }
    return true;
}

// While it lives, a write past the file size limit fails with EFBIG instead of killing the
// process, so the caller hears about it and the partial file is removed.
class CFileSizeSignalGuard
{
public:
    CFileSizeSignalGuard()
    {
        ::sigaction(SIGXFSZ, nullptr, &m_previous);
        SetIgnore();
    }
    ~CFileSizeSignalGuard() { ::sigaction(SIGXFSZ, &m_previous, nullptr); }
    CFileSizeSignalGuard(const CFileSizeSignalGuard&) = delete;
    CFileSizeSignalGuard& operator=(const CFileSizeSignalGuard&) = delete;

private:
    static void SetIgnore()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, nullptr);
    }

    struct sigaction m_previous = {};
};

// Writes the bytes to an existing device or pipe as they are: nothing to rename there.
bool WriteInPlace(const char* pszPath, const QByteArray& bytes)
{
    const int fd = ::open(pszPath, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool bWritten = WriteAll(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    int nError = errno;
    if (::close(fd) != 0 && bWritten)
    {
        bWritten = false;
        nError = errno;
    }
    errno = nError;
    return bWritten;
}

// A file either gets all the bytes or stays as it was: they go to a temporary file next to it,
// which is synced and then renamed over it. False with errno set; the temporary file is gone.
bool ReplaceFileAtomically(const char* pszPath, const QByteArray& bytes)
{
    std::string strTarget = pszPath;
    if (char* pszReal = ::realpath(pszPath, nullptr)) // a link: replace the file it names
    {
        strTarget = pszReal;
        std::free(pszReal);
    }
    const size_t nSlash = strTarget.rfind('/');
    std::string strTemp =
        nSlash == std::string::npos ? std::string() : strTarget.substr(0, nSlash + 1);
    strTemp += ".orvanta-save-XXXXXX";
    const int fd = ::mkstemp(strTemp.data());
    if (fd < 0)
        return false;

    struct stat existing = {};
    mode_t nMode = 0666;
    if (::stat(strTarget.c_str(), &existing) == 0)
        nMode = existing.st_mode & 07777;
    else
    {
        const mode_t nMask = ::umask(0);
        ::umask(nMask);
        nMode &= ~nMask;
    }
    bool bWritten = ::fchmod(fd, nMode) == 0 &&
                    WriteAll(fd, bytes.constData(), static_cast<size_t>(bytes.size())) &&
                    ::fsync(fd) == 0;
    int nError = errno;
    if (::close(fd) != 0 && bWritten)
    {
        bWritten = false;
        nError = errno;
    }
    if (bWritten && ::rename(strTemp.c_str(), strTarget.c_str()) == 0)
        return true;
    if (bWritten)
        nError = errno;
    ::unlink(strTemp.c_str());
    errno = nError;
    return false;
}

} // namespace

BOOL CBitmap::SaveAsPng(LPCSTR lpszPath) const
{
    QImage* pImage = BitmapImage(m_hObject);
    if (pImage == nullptr || pImage->isNull() || lpszPath == nullptr || *lpszPath == '\0')
    {
        errno = EINVAL;
        return FALSE;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !pImage->save(&buffer, "PNG"))
    {
        errno = ENOMEM;
        return FALSE;
    }
    buffer.close();

    CFileSizeSignalGuard guard;
    struct stat target = {};
    const bool bSpecial = ::stat(lpszPath, &target) == 0 && !S_ISREG(target.st_mode);
    return (bSpecial ? WriteInPlace(lpszPath, bytes) : ReplaceFileAtomically(lpszPath, bytes))
               ? TRUE
               : FALSE;
}
