// CMenu: menu bars and pop-up menus. Choosing an item sends WM_COMMAND with its id to the window
// that owns the menu bar (WM_SYSCOMMAND for the system menu).
#pragma once

#include <string>

#include "platform/WinTypes.h"

class CMenu
{
public:
    CMenu() = default;
    ~CMenu(); // destroys a menu it created and that is not attached to a window
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    static CMenu* FromHandle(HMENU hMenu);
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(UINT nIDResource); // from a registered menu template
    BOOL DestroyMenu();

    // MF_STRING, MF_SEPARATOR, MF_POPUP (nIDNewItem is then the HMENU of the submenu), MF_GRAYED,
    // MF_CHECKED.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    // Before the item at nPosition (MF_BYPOSITION; a position past the end appends) or before
    // the item with the command id nPosition in this menu or a submenu (MF_BYCOMMAND).
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    LPCTSTR lpszNewItem = nullptr);
    // Removes the item, by position or command id as above; a submenu goes with it.
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const; // 0 for a separator, (UINT)-1 for a popup
    CMenu* GetSubMenu(int nPos) const;
    int GetMenuString(UINT nIDItem, std::string& rString, UINT nFlags) const;
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);

    HMENU m_hMenu = nullptr;
};
