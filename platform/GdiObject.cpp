// CGdiObject: the C++ object that owns a GDI handle, and the temporary ones for handles without.
#include <utility>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/Font.h"
#include "platform/GdiObject.h"
#include "platform/Pen.h"
#include "platform/detail/GdiInternal.h"

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
    if (p->pPermanent != nullptr)
        return p->pPermanent;
    if (!p->pTemporary)
    {
        p->pTemporary.reset(NewWrapper(p->eKind));
        p->pTemporary->m_hObject = hObject;
    }
    return p->pTemporary.get();
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
    if (GdiObj* p = LiveGdi(m_hObject); p != nullptr && p->pPermanent == this)
        p->pPermanent = nullptr;
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    return DeleteGdi(Detach());
}
