// CFont: a font owned by its C++ object; point fonts are sized for the DC they are made for.
#include <cstdlib>
#include <cstring>

#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

CFont* CFont::FromHandle(HFONT hFont)
{
    return dynamic_cast<CFont*>(CGdiObject::FromHandle(hFont));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    if (lpLogFont == nullptr || m_hObject != nullptr)
        return FALSE;
    GdiObj* p = NewGdi(GdiKind::Font);
    p->lf = *lpLogFont;
    p->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    p->font = MakeQFont(p->lf);
    return Attach(ToHandle(p));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                       LPCTSTR lpszFacename)
{
    LOGFONT lf = {};
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = nEscapement;
    lf.lfOrientation = nOrientation;
    lf.lfWeight = nWeight;
    lf.lfItalic = static_cast<BYTE>(bItalic != 0);
    lf.lfUnderline = static_cast<BYTE>(bUnderline != 0);
    lf.lfStrikeOut = static_cast<BYTE>(cStrikeOut != 0);
    lf.lfCharSet = nCharSet;
    lf.lfOutPrecision = nOutPrecision;
    lf.lfClipPrecision = nClipPrecision;
    lf.lfQuality = nQuality;
    lf.lfPitchAndFamily = nPitchAndFamily;
    if (lpszFacename != nullptr)
        std::strncpy(lf.lfFaceName, lpszFacename, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
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
    HDC hdc = pDC != nullptr ? LiveDc(pDC->m_hDC) : nullptr;
    const int nDpi = hdc != nullptr ? ::GetDeviceCaps(hdc, LOGPIXELSY) : ScreenDpi();
    LOGFONT lf = *lpLogFont;
    // Tenths of a point to device pixels, then to logical units of the DC.
    const int nPixels = MulDiv(nDpi, lf.lfHeight, 720);
    lf.lfHeight = -(hdc != nullptr ? DeviceToLogicalHeight(hdc, nPixels) : std::abs(nPixels));
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const
{
    const GdiObj* p = LiveGdi(m_hObject);
    if (p == nullptr || p->eKind != GdiKind::Font || pLogFont == nullptr)
        return 0;
    *pLogFont = p->lf;
    return sizeof(LOGFONT);
}
