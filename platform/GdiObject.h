// CGdiObject: base of CPen, CBrush, CFont and CBitmap. Owns one GDI handle and deletes it on
// destruction, like MFC.
#pragma once

#include "platform/WinTypes.h"

class CGdiObject
{
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // The permanent object attached to the handle, or a temporary one that lives as long as the
    // handle (what SelectObject returns for an object whose C++ wrapper is gone).
    static CGdiObject* FromHandle(HGDIOBJ hObject);

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();

    HGDIOBJ m_hObject = nullptr;
};
