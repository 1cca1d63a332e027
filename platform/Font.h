// CFont. Sizes follow GDI: a negative height is the character (em) height in logical units, a
// positive one the cell height. Escapement 900 turns the text 90 degrees counter-clockwise.
// Face names of Windows fonts map to installed ones ("MS Shell Dlg", "Microsoft Sans Serif",
// "Arial" -> Liberation Sans, "Times New Roman" -> Liberation Serif, "Courier New" -> Liberation
// Mono); Chinese text falls back to WenQuanYi Micro Hei.
#pragma once

#include "platform/GdiObject.h"

class CDC;

class CFont : public CGdiObject
{
public:
    CFont() = default;
    static CFont* FromHandle(HFONT hFont);

    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                    LPCTSTR lpszFacename);
    // lfHeight / nPointSize in tenths of a point, converted with the LOGPIXELSY of pDC's attribute
    // DC (96 when pDC is null) into logical units of pDC, as MFC does.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) const;
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
