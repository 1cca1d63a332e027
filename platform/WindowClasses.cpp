// The window class registry: the built-in control classes and the classes a program registers.
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

bool IsBuiltInClass(const std::string& lower)
{
    return lower == "button" || lower == "edit" || lower == "static" || lower == "scrollbar" ||
           lower == "#32770";
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
HMODULE GetModuleHandleA(LPCSTR lpModuleName)
{
    return lpModuleName == nullptr ? ModuleInstance() : nullptr;
}

ATOM RegisterClassA(const WNDCLASSA* lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr ||
        *lpWndClass->lpszClassName == '\0')
        return 0;
    const std::string key = Lower(lpWndClass->lpszClassName);
    if (IsBuiltInClass(key) || ClassTable().count(key) != 0)
        return 0;
    static ATOM s_nextAtom = 0xC000;
    SWindowClass entry{lpWndClass->lpszClassName, *lpWndClass, s_nextAtom++};
    entry.wc.lpszClassName =
        nullptr; // points into the caller's memory; the name is kept in strName
    entry.wc.lpszMenuName = nullptr;
    ClassTable()[key] = entry;
    return entry.atom;
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE)
{
    return ClassTable().erase(Lower(lpClassName)) != 0 ? TRUE : FALSE;
}

BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass)
{
    if (lpClassName == nullptr || lpWndClass == nullptr)
        return FALSE;
    const std::string key = Lower(lpClassName);
    if (IsBuiltInClass(key))
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
