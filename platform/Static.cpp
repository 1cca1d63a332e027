// CStatic: labels and icons.
#include <QLabel>

#include "platform/Static.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, "STATIC", lpszText, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

HICON CStatic::SetIcon(HICON hIcon)
{
    auto* p = WidgetAs<QLabel>(m_hWnd, WndKind::Static);
    if (p == nullptr)
        return nullptr;
    HICON hPrev = std::exchange(m_hWnd->hIconBig, hIcon);
    if (hIcon != nullptr)
        p->setPixmap(hIcon->icon.pixmap(32, 32));
    else
        p->clear();
    return hPrev;
}

HICON CStatic::GetIcon() const
{
    return LiveWnd(m_hWnd) != nullptr ? m_hWnd->hIconBig : nullptr;
}
