// CBitmap: a 32-bit image owned by its C++ object: the back buffer of a memory DC.
#include <QBuffer>
#include <QImage>
#include <cerrno>

#include "platform/AtomicWrite.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return dynamic_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    // Compatible with the screen when pDC is null; a dead DC makes none.
    if (nWidth < 0 || nHeight < 0 || m_hObject != nullptr ||
        (pDC != nullptr && pDC->m_hDC != nullptr && LiveDc(pDC->m_hDC) == nullptr))
        return FALSE;
    return Attach(ToHandle(NewBitmap(nWidth, nHeight)));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const
{
    const GdiObj* p = LiveGdi(m_hObject);
    if (p == nullptr || p->eKind != GdiKind::Bitmap || pBitMap == nullptr)
        return 0;
    const QImage& image = p->image;
    *pBitMap = BITMAP{0, image.width(), image.height(), image.width() * 4, 1, 32, nullptr};
    return sizeof(BITMAP);
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
