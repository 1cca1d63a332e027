// The files loaded last, listed in the file menu before its last item and kept between runs.
#include "app/OrvantaDlg.h"

#include "platform/Menu.h"
#include "platform/StringFormat.h"

#include <string_view>

namespace
{

// Longer paths keep their first folder and their file name around an ellipsis.
constexpr std::size_t kMaxShownPath = 60;

// Cut only at '/', so a name in any script stays whole.
std::string ShortenedPath(const std::string& strPath)
{
    if (strPath.size() <= kMaxShownPath)
        return strPath;
    const std::size_t nFirstEnd = strPath.find('/', 1);
    const std::size_t nLastStart = strPath.rfind('/');
    if (nFirstEnd == std::string::npos || nFirstEnd >= nLastStart)
        return strPath;
    return strPath.substr(0, nFirstEnd + 1) + "…" + strPath.substr(nLastStart);
}

// Where 退出 sits in the file menu, or -1.
int ExitPosition(const CMenu& fileMenu)
{
    for (UINT i = 0; i < fileMenu.GetMenuItemCount(); ++i)
        if (fileMenu.GetMenuItemID(static_cast<int>(i)) == ID_MENU_EXIT)
            return static_cast<int>(i);
    return -1;
}

} // namespace

std::string RecentFileMenuText(int nIndex, const std::string& strPath)
{
    // A '&' of the name would otherwise take the mnemonic.
    std::string strShown;
    for (char c : ShortenedPath(strPath))
    {
        strShown += c;
        if (c == '&')
            strShown += '&';
    }
    return StringFormat("&%d %s", nIndex + 1, strShown.c_str());
}

void COrvantaDlg::SetUpRecentFiles()
{
    m_recentFiles.Load();
    ShowRecentFiles();
}

void COrvantaDlg::RememberLoad(const std::string& strPath, bool bLoaded)
{
    // A file that can no longer be read leaves the list instead of failing again next time.
    if (bLoaded)
        m_recentFiles.Add(strPath);
    else
        m_recentFiles.Remove(strPath);
    m_recentFiles.Save();
    ShowRecentFiles();
}

void COrvantaDlg::ShowRecentFiles()
{
    CMenu* pBar = GetMenu();
    CMenu* pFile = pBar != nullptr ? pBar->GetSubMenu(0) : nullptr;
    if (pFile == nullptr)
        return;
    // The list and the separator after it sit just before 退出.
    if (m_nRecentShown > 0)
    {
        for (UINT nId = ID_MENU_RECENT_FIRST; nId <= ID_MENU_RECENT_LAST; ++nId)
            pFile->DeleteMenu(nId, MF_BYCOMMAND);
        if (const int nExit = ExitPosition(*pFile); nExit > 0)
            pFile->DeleteMenu(static_cast<UINT>(nExit - 1), MF_BYPOSITION);
    }
    const std::vector<std::string>& vecFiles = m_recentFiles.Files();
    for (std::size_t i = 0; i < vecFiles.size(); ++i)
        pFile->InsertMenu(ID_MENU_EXIT, MF_BYCOMMAND | MF_STRING,
                          ID_MENU_RECENT_FIRST + static_cast<UINT>(i),
                          RecentFileMenuText(static_cast<int>(i), vecFiles[i]).c_str());
    if (!vecFiles.empty())
        pFile->InsertMenu(ID_MENU_EXIT, MF_BYCOMMAND | MF_SEPARATOR);
    m_nRecentShown = vecFiles.size();
}

void COrvantaDlg::OnRecentFile(UINT nID)
{
    const std::vector<std::string>& vecFiles = m_recentFiles.Files();
    const std::size_t nIndex = nID - ID_MENU_RECENT_FIRST;
    if (nIndex >= vecFiles.size())
        return;
    // Copied: loading reorders the list.
    const std::string strPath = vecFiles[nIndex];
    LoadChosenFile(strPath, true);
}
