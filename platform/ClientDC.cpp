// CClientDC and GetDC: a window's DC outside painting, for measuring text and reading device caps.
#include "platform/ClientDC.h"
#include "platform/WinUser.h"
#include "platform/Wnd.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

HDC GetDC(HWND hWnd)
{
    HDC hdc = NewDc(DcKind::Measure);
    if (LiveWnd(hWnd) != nullptr)
        hdc->pWidget = hWnd->pWidget;
    return hdc;
}

int ReleaseDC(HWND, HDC hDC)
{
    return DeleteDC(hDC);
}

CClientDC::CClientDC(CWnd* pWnd)
{
    Attach(::GetDC(pWnd != nullptr ? LiveWnd(pWnd->m_hWnd) : nullptr));
}

CClientDC::~CClientDC()
{
    FreeDc(Detach());
}
