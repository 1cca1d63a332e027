// The program's resources as tables: dialog templates, menus, strings and icons, registered at
// start-up under their resource ids and looked up by CDialog, CMenu::LoadMenu, AfxLoadString and
// LoadIconA.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

// One control of a dialog template. Positions and sizes are in dialog units.
struct SDialogItemTemplate
{
    const char* pszClass =
        "STATIC"; // "BUTTON", "EDIT", "STATIC", "SCROLLBAR" or a registered class ("ChartCtrl")
    const char* pszText = ""; // UTF-8
    int nId = IDC_STATIC;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD dwStyle = 0; // WS_CHILD is implied; WS_VISIBLE, WS_DISABLED, WS_TABSTOP and the class
                       // styles are honoured
    DWORD dwExStyle = 0;
};

// A dialog template: frame, caption, font (which defines the dialog units), menu and controls in
// tab order. Dialog units convert to pixels like Windows: x * average character width / 4, y *
// character height / 8.
struct SDialogTemplate
{
    UINT nId = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD dwExStyle = 0;
    const char* pszCaption = "";
    const char* pszFace = "MS Shell Dlg";
    int nPointSize = 8;
    int nWeight = FW_NORMAL;
    BOOL bItalic = FALSE;
    UINT nMenuId = 0; // 0 = no menu bar
    std::vector<SDialogItemTemplate> items;
};

// One menu item. A separator has no text; a popup has children.
struct SMenuItemTemplate
{
    const char* pszText = nullptr; // UTF-8, '&' marks the mnemonic
    UINT nId = 0;
    std::vector<SMenuItemTemplate> children;
    UINT nFlags = MF_STRING; // MF_GRAYED, MF_CHECKED
};

// Registration replaces an earlier entry with the same id.
BOOL RegisterDialogTemplate(const SDialogTemplate& dialogTemplate);
const SDialogTemplate* FindDialogTemplate(UINT nId);
BOOL RegisterMenuTemplate(UINT nId, const std::vector<SMenuItemTemplate>& items);
BOOL RegisterStringResource(UINT nId, const char* pszText);
// Icons from image file data (PNG, BMP, ICO, XPM) or from 32-bit ARGB pixels, top row first.
BOOL RegisterIconResource(UINT nId, const unsigned char* pData, std::size_t nSize);
BOOL RegisterIconResource(UINT nId, int cx, int cy, const DWORD* pArgb);

// Lookups
BOOL AfxLoadString(UINT nId, std::string& rString);
int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
// MAKEINTRESOURCE(id) of a registered icon; nullptr when there is none.
HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
