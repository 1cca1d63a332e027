// CPen: a pen owned by its C++ object.
#include <algorithm>

#include "platform/Pen.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

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
    if (m_hObject != nullptr)
        return FALSE;
    GdiObj* p = NewGdi(GdiKind::Pen);
    p->nPenStyle = nPenStyle;
    p->nPenWidth = std::max(0, nWidth);
    p->crColor = crColor & 0xFFFFFF;
    return Attach(ToHandle(p));
}
