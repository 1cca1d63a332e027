// Window handles: which windows are alive, the widget of each, sending messages to them, and
// freeing a window's data when its widget goes away.
#include <QMenuBar>
#include <unordered_map>

#include "platform/Menu.h"
#include "platform/WinGdi.h"
#include "platform/WinUser.h"
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
    if (!hWnd->bDestroying)
    {
        hWnd->bDestroying = true;
        Send(hWnd, WM_DESTROY, 0, 0);
    }
    Registry<HWND>().Remove(hWnd);
    FreeDropsOf(hWnd);
    WidgetMap().erase(hWnd->pWidget.data());
    ForgetMouseWindow(hWnd);
    hWnd->pTimers.reset();
    if (hWnd->hMenu != nullptr && LiveMenu(hWnd->hMenu) != nullptr && hWnd->hMenu->hOwner == hWnd)
        hWnd->hMenu->hOwner = nullptr;
    if (HMENU hOwned = LiveMenu(hWnd->hOwnedMenu); hOwned != nullptr)
    {
        hOwned->hOwner = nullptr;
        FreeMenu(hOwned);
    }
    if (hWnd->hOwnedFont != nullptr)
        ::DeleteObject(hWnd->hOwnedFont);
    CWnd* pWnd = hWnd->pPermanent;
    if (pWnd != nullptr)
    {
        pWnd->m_hWnd = nullptr;
        hWnd->pPermanent = nullptr;
    }
    if (hWnd->pTemporary)
        hWnd->pTemporary->m_hWnd = nullptr;
    delete hWnd;
}

LRESULT Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LiveWnd(hWnd) == nullptr)
        return 0;
    if (hWnd->pPermanent != nullptr)
        return hWnd->pPermanent->WindowProc(message, wParam, lParam);
    if (hWnd->pfnWndProc != nullptr && hWnd->pfnWndProc != &DefWindowProcA)
        return hWnd->pfnWndProc(hWnd, message, wParam, lParam);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

QString MnemonicFree(const char* psz)
{
    const QString s = QString::fromUtf8(psz != nullptr ? psz : "");
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i)
    {
        if (s[i] == QLatin1Char('&'))
        {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&'))
            {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

void SendCommand(HWND hSource, WORD nCode, std::optional<UINT> menuItemId)
{
    if (LiveWnd(hSource) == nullptr)
        return;
    if (menuItemId.has_value())
        Send(hSource, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(*menuItemId), nCode), 0);
    else
        Send(hSource->hParent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(hSource->nId), nCode),
             reinterpret_cast<LPARAM>(hSource));
}

} // namespace platform_detail
