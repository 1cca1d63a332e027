// CBitmap: a 32-bit RGB bitmap, the back buffer of a memory DC.
#pragma once

#include "platform/GdiObject.h"

class CDC;

class CBitmap : public CGdiObject
{
public:
    CBitmap() = default;
    static CBitmap* FromHandle(HBITMAP hBitmap);

    // Contents start black. A width or height of 0 makes an empty bitmap that draws nothing.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const;
    // Writes the pixels to a PNG file. A file is replaced whole or not at all; a device or pipe
    // is written in place. FALSE with errno set when there is no bitmap or any write fails.
    BOOL SaveAsPng(LPCSTR lpszPath) const;
    // The same in another format the toolkit writes: "PNG", "JPG", "BMP".
    BOOL SaveAsImage(LPCSTR lpszPath, LPCSTR lpszFormat) const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
