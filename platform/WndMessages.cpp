// CWnd's message dispatch: WindowProc turns each message into a call of its virtual handler, and
// handlers that are not overridden fall back to the default window procedure.
#include "platform/DC.h"
#include "platform/ScrollBar.h"
#include "platform/ShellApi.h"
#include "platform/WinUser.h"
#include "platform/Wnd.h"

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage saved = m_currentMsg;
    m_currentMsg = CurrentMessage{message, wParam, lParam};
    const CPoint point(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))),
                       static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))));
    const UINT nFlags = static_cast<UINT>(wParam);
    LRESULT result = 0;
    switch (message)
    {
    case WM_CREATE:
        result = OnCreate(reinterpret_cast<void*>(lParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
        result = OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case WM_SIZE:
        OnSize(nFlags, static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))),
               static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))));
        break;
    case WM_SETCURSOR:
        result = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)),
                             LOWORD(static_cast<DWORD_PTR>(lParam)),
                             HIWORD(static_cast<DWORD_PTR>(lParam)));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(nFlags, point);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(nFlags, point);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(nFlags, point);
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(nFlags, point);
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(nFlags, point);
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(nFlags, point);
        break;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(nFlags, point);
        break;
    case WM_MOUSEWHEEL:
        result = OnMouseWheel(LOWORD(static_cast<DWORD_PTR>(wParam)),
                              GET_WHEEL_DELTA_WPARAM(wParam), point);
        break;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    {
        const UINT nCode = LOWORD(wParam);
        const UINT nPos = static_cast<UINT>(static_cast<short>(HIWORD(wParam)));
        auto* pBar = dynamic_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam)));
        if (message == WM_HSCROLL)
            OnHScroll(nCode, nPos, pBar);
        else
            OnVScroll(nCode, nPos, pBar);
        break;
    }
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam))
            result = DefWindowProc(message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        break;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        break;
    default:
        result = DefWindowProc(message, wParam, lParam);
        break;
    }
    m_currentMsg = saved;
    return result;
}

void CWnd::PreSubclassWindow() {}
void CWnd::DoDataExchange(CDataExchange*) {}
LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

int CWnd::OnCreate(void*)
{
    return static_cast<int>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(Default());
}
void CWnd::OnDropFiles(HDROP hDropInfo)
{
    DragFinish(hDropInfo);
}
