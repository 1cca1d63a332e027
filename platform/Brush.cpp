// CBrush: a solid brush owned by its C++ object.
#include "platform/Brush.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

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
    if (m_hObject != nullptr)
        return FALSE;
    GdiObj* p = NewGdi(GdiKind::Brush);
    p->crColor = crColor & 0xFFFFFF;
    return Attach(ToHandle(p));
}
