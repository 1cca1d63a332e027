// CBitmap: a 32-bit image owned by its C++ object: the back buffer of a memory DC.
#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/AtomicWrite.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"
#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

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
        return Attach(ToHandle(NewBitmap(nWidth, nHeight)));
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

BOOL CBitmap::SaveAsPng(LPCSTR lpszPath) const
{
    return SaveAsImage(lpszPath, "PNG");
}

BOOL CBitmap::SaveAsImage(LPCSTR lpszPath, LPCSTR lpszFormat) const
{
    QImage* pImage = BitmapImage(m_hObject);
    if (pImage == nullptr || pImage->isNull() || lpszPath == nullptr || *lpszPath == '\0')
    {
        errno = EINVAL;
        return FALSE;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !pImage->save(&buffer, lpszFormat))
    {
        errno = ENOMEM;
        return FALSE;
    }
    buffer.close();
    // The whole picture or nothing: a failed write never leaves a cut-off file behind.
    return WriteFileOrDevice(lpszPath, bytes.toStdString(), nullptr) ? TRUE : FALSE;
}
