// CClientDC: a window's DC outside painting, for measuring text and reading device caps.
#include "platform/ClientDC.h"
#include "platform/WinUser.h"
#include "platform/Wnd.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

CClientDC::CClientDC(CWnd* pWnd)
{
    m_hWnd = pWnd != nullptr ? LiveWnd(pWnd->m_hWnd) : nullptr;
    HDC hdc = ::GetDC(m_hWnd);
    Attach(hdc);
}

CClientDC::~CClientDC()
{
    HDC h = Detach();
    FreeDc(h);
}
