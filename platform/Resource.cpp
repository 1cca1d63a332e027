// Resource tables: dialog templates, strings and icons registered by id.
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/Resource.h"
#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

std::map<UINT, SDialogTemplate>& DialogTemplates()
{
    static std::map<UINT, SDialogTemplate> s_templates;
    return s_templates;
}

std::map<UINT, std::string>& Strings()
{
    static std::map<UINT, std::string> s_strings;
    return s_strings;
}

std::map<UINT, std::unique_ptr<HICON__>>& Icons()
{
    static std::map<UINT, std::unique_ptr<HICON__>> s_icons;
    return s_icons;
}

BOOL StoreIcon(UINT nId, const QImage& image)
{
    if (image.isNull())
        return FALSE;
    auto p = std::make_unique<HICON__>();
    p->image = image.convertToFormat(QImage::Format_ARGB32);
    p->icon = QIcon(QPixmap::fromImage(p->image));
    Icons()[nId] = std::move(p);
    return TRUE;
}

} // namespace

BOOL RegisterDialogTemplate(const SDialogTemplate& dialogTemplate)
{
    DialogTemplates()[dialogTemplate.nId] = dialogTemplate;
    return TRUE;
}

const SDialogTemplate* FindDialogTemplate(UINT nId)
{
    auto it = DialogTemplates().find(nId);
    return it != DialogTemplates().end() ? &it->second : nullptr;
}

BOOL RegisterStringResource(UINT nId, const char* pszText)
{
    Strings()[nId] = pszText != nullptr ? pszText : "";
    return TRUE;
}

BOOL RegisterIconResource(UINT nId, const unsigned char* pData, std::size_t nSize)
{
    if (pData == nullptr || nSize == 0)
        return FALSE;
    QImage image;
    if (!image.loadFromData(pData, static_cast<int>(nSize)))
        return FALSE;
    return StoreIcon(nId, image);
}

BOOL RegisterIconResource(UINT nId, int cx, int cy, const DWORD* pArgb)
{
    if (pArgb == nullptr || cx <= 0 || cy <= 0)
        return FALSE;
    QImage image(cx, cy, QImage::Format_ARGB32);
    for (int y = 0; y < cy; ++y)
        std::memcpy(image.scanLine(y), pArgb + static_cast<size_t>(y) * static_cast<size_t>(cx),
                    static_cast<size_t>(cx) * 4);
    return StoreIcon(nId, image);
}

BOOL AfxLoadString(UINT nId, std::string& rString)
{
    auto it = Strings().find(nId);
    if (it == Strings().end())
        return FALSE;
    rString = it->second;
    return TRUE;
}

int LoadStringA(HINSTANCE, UINT uID, LPSTR lpBuffer, int cchBufferMax)
{
    std::string s;
    if (!AfxLoadString(uID, s) || lpBuffer == nullptr || cchBufferMax <= 0)
        return 0;
    const int n = std::min(static_cast<int>(s.size()), cchBufferMax - 1);
    std::memcpy(lpBuffer, s.data(), static_cast<size_t>(n));
    lpBuffer[n] = '\0';
    return n;
}

HICON LoadIconA(HINSTANCE, LPCSTR lpIconName)
{
    if (!IS_INTRESOURCE(lpIconName))
        return nullptr;
    auto it = Icons().find(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpIconName)));
    return it != Icons().end() ? it->second.get() : nullptr;
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon)
{
    QPainter* pPainter = PainterFor(hDC);
    if (pPainter == nullptr || hIcon == nullptr || hIcon->image.isNull())
        return FALSE;
    pPainter->setWorldTransform(LogicalToDevice(hDC));
    pPainter->drawImage(QRect(X, Y, 32, 32), hIcon->image);
    return TRUE;
}
