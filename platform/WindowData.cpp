// Window handles: which windows are alive, the widget of each, and freeing a window's data when
// its widget goes away.
#include <unordered_map>

#include "platform/Wnd.h"
#include "platform/detail/HandleRegistry.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

std::unordered_map<const QWidget*, HWND>& WidgetMap()
{
    static std::unordered_map<const QWidget*, HWND> s_map;
    return s_map;
}

} // namespace

namespace platform_detail
{

HWND LiveWnd(HWND h)
{
    return Registry<HWND>().Live(h);
}

HWND WndFromWidget(const QWidget* p)
{
    auto it = WidgetMap().find(p);
    return it != WidgetMap().end() ? it->second : nullptr;
}

void AddWindowData(HWND hWnd)
{
    Registry<HWND>().Add(hWnd);
    WidgetMap()[hWnd->pWidget.data()] = hWnd;
}

void RemoveWindowData(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr)
        return;
    Registry<HWND>().Remove(hWnd);
    WidgetMap().erase(hWnd->pWidget.data());
    ForgetMouseWindow(hWnd);
    if (hWnd->pWnd != nullptr)
        hWnd->pWnd->m_hWnd = nullptr;
    delete hWnd;
}

} // namespace platform_detail
