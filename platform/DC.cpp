// CDC: the C++ object of a device context, the objects selected into it and its attributes.
#include <utility>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/Pen.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

namespace
{

// Selects pObject's handle; the wrapper of what was selected before, as the caller's type.
template <class T> T* SelectInto(HDC hdc, const CGdiObject* pObject)
{
    if (pObject == nullptr)
        return nullptr;
    GdiObj* pOld = SelectGdi(hdc, LiveGdi(pObject->m_hObject));
    return pOld != nullptr ? dynamic_cast<T*>(CGdiObject::FromHandle(ToHandle(pOld))) : nullptr;
}

// The wrapper of the object of one kind the DC has selected.
template <class T> T* Current(HDC hdc, GdiObj* HDC__::*pSlot)
{
    return LiveDc(hdc) != nullptr ? dynamic_cast<T*>(CGdiObject::FromHandle(ToHandle(hdc->*pSlot)))
                                  : nullptr;
}

} // namespace

CDC::~CDC()
{
    if (m_bOwnsHdc)
        DeleteDC();
    else
        Detach();
}

BOOL CDC::Attach(HDC hDC)
{
    if (LiveDc(hDC) == nullptr || m_hDC != nullptr)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    hDC->pPermanent = this;
    return TRUE;
}

HDC CDC::Detach()
{
    if (HDC h = LiveDc(m_hDC); h != nullptr && h->pPermanent == this)
        h->pPermanent = nullptr;
    m_hAttribDC = nullptr;
    m_bOwnsHdc = false;
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (m_hDC != nullptr)
        return FALSE;
    Attach(NewMemoryDc(pDC != nullptr ? pDC->m_hDC : nullptr));
    m_bOwnsHdc = true;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == nullptr)
        return FALSE;
    return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pPen)
{
    return SelectInto<CPen>(m_hDC, pPen);
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return SelectInto<CBrush>(m_hDC, pBrush);
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return SelectInto<CFont>(m_hDC, pFont);
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return SelectInto<CBitmap>(m_hDC, pBitmap);
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    return SelectInto<CGdiObject>(m_hDC, pObject);
}

CPen* CDC::GetCurrentPen() const
{
    return Current<CPen>(m_hDC, &HDC__::pPen);
}

CBrush* CDC::GetCurrentBrush() const
{
    return Current<CBrush>(m_hDC, &HDC__::pBrush);
}

CFont* CDC::GetCurrentFont() const
{
    return Current<CFont>(m_hDC, &HDC__::pFont);
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return Current<CBitmap>(m_hDC, &HDC__::pBitmap);
}

int CDC::SetBkMode(int nBkMode)
{
    if (LiveDc(m_hDC) == nullptr || (nBkMode != TRANSPARENT && nBkMode != OPAQUE))
        return 0;
    return std::exchange(m_hDC->nBkMode, nBkMode);
}

int CDC::GetBkMode() const
{
    return LiveDc(m_hDC) != nullptr ? m_hDC->nBkMode : 0;
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return LiveDc(m_hDC) != nullptr ? std::exchange(m_hDC->crBk, crColor & 0xFFFFFF) : CLR_INVALID;
}

COLORREF CDC::GetBkColor() const
{
    return LiveDc(m_hDC) != nullptr ? m_hDC->crBk : CLR_INVALID;
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return LiveDc(m_hDC) != nullptr ? std::exchange(m_hDC->crText, crColor & 0xFFFFFF)
                                    : CLR_INVALID;
}

COLORREF CDC::GetTextColor() const
{
    return LiveDc(m_hDC) != nullptr ? m_hDC->crText : CLR_INVALID;
}

int CDC::GetDeviceCaps(int nIndex) const
{
    return ::GetDeviceCaps(m_hDC, nIndex);
}
