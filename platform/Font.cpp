// CFont: a font owned by its C++ object; point fonts are sized for the DC they are made for.
#include <cstdlib>
#include <cstring>

#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

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
