// The window class registry: the classes a program registers, and the built-in scroll bar.
#include <unordered_map>

#include "platform/WinUser.h"
#include "platform/detail/Strings.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

std::unordered_map<std::string, SWindowClass>& ClassTable()
{
    static std::unordered_map<std::string, SWindowClass> s_classes;
    return s_classes;
}

HINSTANCE__* ModuleInstance()
{
    static char s_module;
    return reinterpret_cast<HINSTANCE__*>(&s_module);
}

} // namespace

namespace platform_detail
{

const SWindowClass* FindWindowClass(const std::string& lower)
{
    auto it = ClassTable().find(lower);
    return it != ClassTable().end() ? &it->second : nullptr;
}

} // namespace platform_detail

HINSTANCE AfxGetInstanceHandle()
{
    return ModuleInstance();
}

ATOM RegisterClassA(const WNDCLASSA* lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr ||
        *lpWndClass->lpszClassName == '\0')
        return 0;
    const std::string key = Lower(lpWndClass->lpszClassName);
    if (key == "scrollbar" || ClassTable().count(key) != 0)
        return 0;
    static ATOM s_nextAtom = 0xC000;
    SWindowClass entry{lpWndClass->lpszClassName, *lpWndClass};
    // Both point into the caller's memory; the name is kept in strName.
    entry.wc.lpszClassName = nullptr;
    entry.wc.lpszMenuName = nullptr;
    ClassTable()[key] = entry;
    return s_nextAtom++;
}

BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass)
{
    if (lpClassName == nullptr || lpWndClass == nullptr)
        return FALSE;
    const std::string key = Lower(lpClassName);
    if (key == "scrollbar")
    {
        *lpWndClass = WNDCLASSA{};
        lpWndClass->lpfnWndProc = &DefWindowProcA;
        lpWndClass->lpszClassName = lpClassName;
        return TRUE;
    }
    if (hInstance != nullptr && hInstance != ModuleInstance())
        return FALSE;
    auto it = ClassTable().find(key);
    if (it == ClassTable().end())
        return FALSE;
    *lpWndClass = it->second.wc;
    lpWndClass->hInstance = ModuleInstance();
    lpWndClass->lpszClassName = it->second.strName.c_str();
    return TRUE;
}

LRESULT CALLBACK DefWindowProcA(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}
