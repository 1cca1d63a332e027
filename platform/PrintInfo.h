// CPrintInfo: the state of one print job as the drawing code sees it: the page range (pages
// 1..0xFFFF to start with), the page being printed and the drawing rectangle of the page in the
// DC's current units.
#pragma once

#include "platform/WinTypes.h"

class CPrintInfo
{
public:
    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }

    UINT m_nCurPage = 1;
    CRect m_rectDraw;

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
};
