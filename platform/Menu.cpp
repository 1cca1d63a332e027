// Menus: item tables behind HMENU, shown as a QMenuBar on the window that owns them.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <utility>

#include "platform/Menu.h"
#include "platform/Resource.h"
#include "platform/detail/HandleRegistry.h"
#include "platform/detail/Widgets.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

void FillQMenu(QMenu* pMenu, HMENU hMenu, HWND hOwner)
{
    for (HMENU__::Item& item : hMenu->items)
    {
        if (item.nFlags & MF_SEPARATOR)
        {
            pMenu->addSeparator();
        }
        else if ((item.nFlags & MF_POPUP) != 0 && LiveMenu(item.hSub) != nullptr)
        {
            QMenu* pSub = pMenu->addMenu(QString::fromUtf8(item.strText.c_str()));
            FillQMenu(pSub, item.hSub, hOwner);
        }
        else
        {
            QAction* pAction = pMenu->addAction(QString::fromUtf8(item.strText.c_str()));
            pAction->setEnabled((item.nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
            item.pShown = pAction;
            pAction->setCheckable((item.nFlags & MF_CHECKED) != 0);
            pAction->setChecked((item.nFlags & MF_CHECKED) != 0);
            ConnectCommand(pAction, &QAction::triggered, hOwner, 0, item.nId);
        }
    }
}

HMENU OwnerMenu(HMENU hMenu)
{
    // The menu bar that shows this menu, directly or as a submenu at any depth.
    for (HMENU h : Registry<HMENU>())
    {
        if (h == hMenu && h->hOwner != nullptr)
            return h;
        for (const HMENU__::Item& item : h->items)
            if (item.hSub == hMenu)
                return h->hOwner != nullptr ? h : OwnerMenu(h);
    }
    return nullptr;
}

HMENU__::Item* FindItem(HMENU hMenu, UINT nItem, UINT nFlags, HMENU* phFoundIn = nullptr)
{
    if (LiveMenu(hMenu) == nullptr)
        return nullptr;
    if (nFlags & MF_BYPOSITION)
    {
        if (nItem >= hMenu->items.size())
            return nullptr;
        if (phFoundIn != nullptr)
            *phFoundIn = hMenu;
        return &hMenu->items[nItem];
    }
    for (HMENU__::Item& item : hMenu->items)
    {
        if ((item.nFlags & MF_POPUP) == 0 && (item.nFlags & MF_SEPARATOR) == 0 && item.nId == nItem)
        {
            if (phFoundIn != nullptr)
                *phFoundIn = hMenu;
            return &item;
        }
        if (item.nFlags & MF_POPUP)
            if (HMENU__::Item* p = FindItem(item.hSub, nItem, nFlags, phFoundIn); p != nullptr)
                return p;
    }
    return nullptr;
}

// The item AppendMenu and InsertMenu add; false for a popup without a live submenu.
bool MakeItem(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem, HMENU__::Item& item)
{
    item.nFlags = nFlags & ~MF_BYPOSITION;
    if (nFlags & MF_POPUP)
    {
        item.hSub = LiveMenu(reinterpret_cast<HMENU>(nIDNewItem));
        if (item.hSub == nullptr)
            return false;
    }
    else
    {
        item.nId = static_cast<UINT>(nIDNewItem);
    }
    item.strText = lpszNewItem != nullptr && (nFlags & MF_SEPARATOR) == 0 ? lpszNewItem : "";
    return true;
}

std::ptrdiff_t IndexIn(HMENU hMenu, const HMENU__::Item* pItem)
{
    return pItem - hMenu->items.data();
}

void Changed(HMENU hMenu)
{
    if (HMENU hBar = OwnerMenu(hMenu); hBar != nullptr)
        RebuildMenuBar(hBar->hOwner);
}

HMENU BuildFromTemplate(const std::vector<SMenuItemTemplate>& items, bool bPopup)
{
    HMENU hMenu = NewMenu(bPopup);
    for (const SMenuItemTemplate& t : items)
    {
        HMENU__::Item item;
        if (!t.children.empty())
        {
            item.nFlags = MF_POPUP | (t.nFlags & (MF_GRAYED | MF_DISABLED));
            item.hSub = BuildFromTemplate(t.children, true);
        }
        else if (t.pszText == nullptr)
        {
            item.nFlags = MF_SEPARATOR;
        }
        else
        {
            item.nFlags = t.nFlags;
            item.nId = t.nId;
        }
        item.strText = t.pszText != nullptr ? t.pszText : "";
        hMenu->items.push_back(item);
    }
    return hMenu;
}

std::map<UINT, std::vector<SMenuItemTemplate>>& MenuTemplates()
{
    static std::map<UINT, std::vector<SMenuItemTemplate>> s_menus;
    return s_menus;
}

} // namespace

namespace platform_detail
{

HMENU LiveMenu(HMENU h)
{
    return Registry<HMENU>().Live(h);
}

HMENU NewMenu(bool bPopup)
{
    auto h = new HMENU__;
    h->bPopup = bPopup;
    return Registry<HMENU>().Add(h);
}

void FreeMenu(HMENU hMenu)
{
    if (LiveMenu(hMenu) == nullptr)
        return;
    Registry<HMENU>().Remove(hMenu);
    for (HMENU__::Item& item : hMenu->items)
        if (item.nFlags & MF_POPUP)
            FreeMenu(item.hSub);
    if (hMenu->pPermanent != nullptr)
        hMenu->pPermanent->m_hMenu = nullptr;
    if (hMenu->pTemporary)
        hMenu->pTemporary->m_hMenu = nullptr;
    if (HWND hOwner = LiveWnd(hMenu->hOwner); hOwner != nullptr && hOwner->hMenu == hMenu)
        SetMenuBar(hOwner, nullptr);
    delete hMenu;
}

void RebuildMenuBar(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pMenuBar == nullptr)
        return;
    hWnd->pMenuBar->clear();
    if (LiveMenu(hWnd->hMenu) == nullptr)
        return;
    for (const HMENU__::Item& item : hWnd->hMenu->items)
    {
        if ((item.nFlags & MF_POPUP) != 0 && LiveMenu(item.hSub) != nullptr)
        {
            QMenu* pMenu = hWnd->pMenuBar->addMenu(QString::fromUtf8(item.strText.c_str()));
            pMenu->setEnabled((item.nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
            FillQMenu(pMenu, item.hSub, hWnd);
        }
        else if ((item.nFlags & MF_SEPARATOR) == 0)
        {
            QAction* pAction = hWnd->pMenuBar->addAction(QString::fromUtf8(item.strText.c_str()));
            ConnectCommand(pAction, &QAction::triggered, hWnd, 0, item.nId);
        }
    }
}

void SetMenuBar(HWND hWnd, HMENU hMenu)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return;
    if (LiveMenu(hWnd->hMenu) != nullptr && hWnd->hMenu->hOwner == hWnd)
        hWnd->hMenu->hOwner = nullptr;
    hWnd->hMenu = LiveMenu(hMenu);
    if (hWnd->hMenu == nullptr)
    {
        if (hWnd->pMenuBar != nullptr)
            hWnd->pMenuBar->hide();
    }
    else
    {
        hWnd->hMenu->hOwner = hWnd;
        if (hWnd->pMenuBar == nullptr)
            hWnd->pMenuBar = new QMenuBar(hWnd->pWidget);
        hWnd->pMenuBar->show();
        RebuildMenuBar(hWnd);
    }
    if (auto* pDialog = dynamic_cast<DialogWidget*>(hWnd->pWidget.data()); pDialog != nullptr)
        pDialog->LayoutClient();
}

} // namespace platform_detail

BOOL RegisterMenuTemplate(UINT nId, const std::vector<SMenuItemTemplate>& items)
{
    MenuTemplates()[nId] = items;
    return TRUE;
}

CMenu::~CMenu()
{
    HMENU h = LiveMenu(m_hMenu);
    if (h != nullptr && h->pPermanent == this)
    {
        if (h->hOwner == nullptr)
            FreeMenu(h); // a menu bar stays with its window until the window goes
        else
            h->pPermanent = nullptr;
    }
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    HMENU h = LiveMenu(hMenu);
    if (h == nullptr)
        return nullptr;
    return WrapperOf(
        h, [] { return new CMenu; }, &CMenu::m_hMenu);
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (LiveMenu(hMenu) == nullptr || m_hMenu != nullptr)
        return FALSE;
    m_hMenu = hMenu;
    hMenu->pPermanent = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    ForgetWrapper(LiveMenu(m_hMenu), this);
    return std::exchange(m_hMenu, nullptr);
}

BOOL CMenu::CreateMenu()
{
    return m_hMenu == nullptr && Attach(NewMenu(false));
}
BOOL CMenu::CreatePopupMenu()
{
    return m_hMenu == nullptr && Attach(NewMenu(true));
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    auto it = MenuTemplates().find(nIDResource);
    if (it == MenuTemplates().end() || m_hMenu != nullptr)
        return FALSE;
    return Attach(BuildFromTemplate(it->second, false));
}

BOOL CMenu::DestroyMenu()
{
    HMENU h = Detach();
    if (LiveMenu(h) == nullptr)
        return FALSE;
    FreeMenu(h);
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return InsertMenu(static_cast<UINT>(-1), nFlags | MF_BYPOSITION, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    HMENU h = LiveMenu(m_hMenu);
    HMENU__::Item item;
    if (h == nullptr || !MakeItem(nFlags, nIDNewItem, lpszNewItem, item))
        return FALSE;
    HMENU hIn = h;
    std::ptrdiff_t nAt = static_cast<std::ptrdiff_t>(h->items.size());
    if (nFlags & MF_BYPOSITION)
    {
        if (nPosition < h->items.size())
            nAt = nPosition;
    }
    else
    {
        const HMENU__::Item* pBefore = FindItem(h, nPosition, MF_BYCOMMAND, &hIn);
        if (pBefore == nullptr)
            return FALSE;
        nAt = IndexIn(hIn, pBefore);
    }
    hIn->items.insert(hIn->items.begin() + nAt, item);
    Changed(hIn);
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    HMENU hIn = nullptr;
    const HMENU__::Item* pItem = FindItem(m_hMenu, nPosition, nFlags, &hIn);
    if (pItem == nullptr)
        return FALSE;
    const HMENU hSub = (pItem->nFlags & MF_POPUP) != 0 ? pItem->hSub : nullptr;
    hIn->items.erase(hIn->items.begin() + IndexIn(hIn, pItem));
    FreeMenu(hSub);
    Changed(hIn);
    return TRUE;
}

UINT CMenu::GetMenuItemCount() const
{
    HMENU h = LiveMenu(m_hMenu);
    return h != nullptr ? static_cast<UINT>(h->items.size()) : static_cast<UINT>(-1);
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    HMENU h = LiveMenu(m_hMenu);
    if (h == nullptr || nPos < 0 || nPos >= static_cast<int>(h->items.size()))
        return static_cast<UINT>(-1);
    const HMENU__::Item& item = h->items[static_cast<size_t>(nPos)];
    if (item.nFlags & MF_POPUP)
        return static_cast<UINT>(-1);
    return (item.nFlags & MF_SEPARATOR) != 0 ? 0 : item.nId;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    HMENU h = LiveMenu(m_hMenu);
    if (h == nullptr || nPos < 0 || nPos >= static_cast<int>(h->items.size()))
        return nullptr;
    return FromHandle(h->items[static_cast<size_t>(nPos)].hSub);
}

int CMenu::GetMenuString(UINT nIDItem, std::string& rString, UINT nFlags) const
{
    rString.clear();
    if (HMENU__::Item* p = FindItem(m_hMenu, nIDItem, nFlags); p != nullptr)
        rString = p->strText;
    return static_cast<int>(rString.size());
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    HMENU hIn = nullptr;
    HMENU__::Item* p = FindItem(m_hMenu, nIDEnableItem, nEnable, &hIn);
    if (p == nullptr)
        return static_cast<UINT>(-1);
    const UINT nOld = p->nFlags & (MF_GRAYED | MF_DISABLED);
    p->nFlags = (p->nFlags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    // An item on show changes in place: rebuilding the bar would close a menu the user has open.
    if (p->pShown != nullptr)
        p->pShown->setEnabled((p->nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
    else
        Changed(hIn);
    return nOld;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    HMENU hIn = nullptr;
    HMENU__::Item* p = FindItem(m_hMenu, nIDCheckItem, nCheck, &hIn);
    if (p == nullptr)
        return static_cast<UINT>(-1);
    const UINT nOld = p->nFlags & MF_CHECKED;
    p->nFlags = (p->nFlags & ~MF_CHECKED) | (nCheck & MF_CHECKED);
    Changed(hIn);
    return nOld;
}
