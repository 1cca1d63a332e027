// CGdiObject: the C++ object that owns a GDI handle, and the temporary ones for handles without.
#include <utility>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/Font.h"
#include "platform/GdiObject.h"
#include "platform/Pen.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/HandleRegistry.h"

using namespace platform_detail;

namespace
{

CGdiObject* NewWrapper(GdiKind eKind)
{
    switch (eKind)
    {
    case GdiKind::Pen:
        return new CPen;
    case GdiKind::Brush:
        return new CBrush;
    case GdiKind::Font:
        return new CFont;
    case GdiKind::Bitmap:
        break;
    }
    return new CBitmap;
}

} // namespace

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    GdiObj* p = LiveGdi(hObject);
    if (p == nullptr)
        return nullptr;
    return WrapperOf(
        p, [p] { return NewWrapper(p->eKind); }, &CGdiObject::m_hObject);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    GdiObj* p = LiveGdi(hObject);
    if (p == nullptr || m_hObject != nullptr)
        return FALSE;
    m_hObject = hObject;
    if (!p->bStock)
        p->pPermanent = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    ForgetWrapper(LiveGdi(m_hObject), this);
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    return DeleteGdi(Detach());
}
