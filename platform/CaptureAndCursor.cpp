// Mouse capture and the cursor: which window has the mouse, and the shape it shows there.
#include <QWidget>

#include "platform/WinUser.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

HWND g_hCapture = nullptr;
HWND g_hMouseWnd = nullptr; // the window handling mouse input, for SetCursor
HCURSOR g_hCursor = nullptr;

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
    static HICON__ s_arrow{Qt::ArrowCursor};
    return hInstance == nullptr && lpCursorName == IDC_ARROW ? &s_arrow : nullptr;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    HCURSOR hPrev = g_hCursor;
    g_hCursor = hCursor;
    HWND hTarget = LiveWnd(g_hMouseWnd) != nullptr ? g_hMouseWnd : LiveWnd(g_hCapture);
    if (hTarget != nullptr && hTarget->pWidget != nullptr)
        hTarget->pWidget->setCursor(hCursor != nullptr ? hCursor->eShape : Qt::BlankCursor);
    return hPrev;
}
