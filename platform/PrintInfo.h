// CPrintInfo: the state of one print job as the drawing code sees it: the page range (kept in its
// own print dialog m_pPD, pages 1..0xFFFF to start with), the page being printed and the drawing
// rectangle of the page in the DC's current units.
#pragma once

#include <string>

#include "platform/WinTypes.h"

class CPrintDialog;

class CPrintInfo
{
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const;
    UINT GetMaxPage() const;
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD = nullptr; // owned
    BOOL m_bDirect = FALSE;        // printing without showing a dialog
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 0;
    std::string m_strPageDesc;
    LPVOID m_lpUserData = nullptr;
    CRect m_rectDraw;
};
