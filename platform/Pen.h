// CPen: PS_SOLID (width 0 or 1 = one pixel), PS_NULL; dashed styles are approximations.
#pragma once

#include "platform/GdiObject.h"

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    static CPen* FromHandle(HPEN hPen);

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};
