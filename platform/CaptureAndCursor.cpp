// Mouse capture and the cursor: which window has the mouse, and the shape it shows there.
#include <QCursor>
#include <QWidget>
#include <unordered_map>

#include "platform/WinUser.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

HWND g_hCapture = nullptr;
HWND g_hMouseWnd = nullptr; // the window handling mouse input, for SetCursor
HCURSOR g_hCursor = nullptr;

void ApplyCursor(HWND hWnd, HCURSOR hCursor)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return;
    const int nShape =
        hCursor != nullptr ? hCursor->nCursorShape : static_cast<int>(Qt::BlankCursor);
    hWnd->pWidget->setCursor(
        QCursor(static_cast<Qt::CursorShape>(nShape >= 0 ? nShape : Qt::ArrowCursor)));
}

} // namespace
namespace platform_detail
{

CMouseWindowScope::CMouseWindowScope(HWND hWnd) : m_hPrevious(g_hMouseWnd)
{
    g_hMouseWnd = hWnd;
}

CMouseWindowScope::~CMouseWindowScope()
{
    g_hMouseWnd = LiveWnd(m_hPrevious);
}

void ForgetMouseWindow(HWND hWnd)
{
    if (g_hCapture == hWnd)
        g_hCapture = nullptr;
    if (g_hMouseWnd == hWnd)
        g_hMouseWnd = nullptr;
}

} // namespace platform_detail

HWND SetCapture(HWND hWnd)
{
    HWND hPrev = LiveWnd(g_hCapture);
    if (LiveWnd(hWnd) == nullptr)
        return hPrev;
    g_hCapture = hWnd;
    if (hWnd->pWidget != nullptr && hWnd->pWidget->isVisible())
        hWnd->pWidget->grabMouse();
    return hPrev;
}

BOOL ReleaseCapture()
{
    HWND h = LiveWnd(g_hCapture);
    g_hCapture = nullptr;
    if (h != nullptr && h->pWidget != nullptr && QWidget::mouseGrabber() == h->pWidget)
        h->pWidget->releaseMouse();
    return TRUE;
}

HWND GetCapture()
{
    return LiveWnd(g_hCapture);
}

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    if (hInstance != nullptr || !IS_INTRESOURCE(lpCursorName))
        return nullptr;
    static std::unordered_map<ULONG_PTR, HICON__*> s_cursors;
    const auto nId = reinterpret_cast<ULONG_PTR>(lpCursorName);
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (nId)
    {
    case 32512:
        shape = Qt::ArrowCursor;
        break;
    case 32513:
        shape = Qt::IBeamCursor;
        break;
    case 32514:
        shape = Qt::WaitCursor;
        break;
    case 32515:
        shape = Qt::CrossCursor;
        break;
    case 32646:
        shape = Qt::SizeAllCursor;
        break;
    case 32649:
        shape = Qt::PointingHandCursor;
        break;
    default:
        return nullptr;
    }
    HICON__*& p = s_cursors[nId];
    if (p == nullptr)
    {
        p = new HICON__;
        p->nCursorShape = static_cast<int>(shape);
    }
    return p;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    HCURSOR hPrev = g_hCursor;
    g_hCursor = hCursor;
    HWND hTarget = LiveWnd(g_hMouseWnd) != nullptr ? g_hMouseWnd : LiveWnd(g_hCapture);
    ApplyCursor(hTarget, hCursor);
    return hPrev;
}

HCURSOR GetCursor()
{
    return g_hCursor;
}
