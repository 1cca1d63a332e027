#include "app/RecentFiles.h"

#include <algorithm>
#include <filesystem>

std::string CRecentFiles::Normalised(const std::string& strPath)
{
    if (strPath.empty())
        return strPath;
    std::error_code ec;
    const std::filesystem::path fullPath = std::filesystem::absolute(strPath, ec);
    return (ec ? std::filesystem::path(strPath) : fullPath).lexically_normal().string();
}

void CRecentFiles::Add(const std::string& strPath)
{
    if (strPath.empty())
        return;
    Remove(strPath);
    m_vecFiles.insert(m_vecFiles.begin(), Normalised(strPath));
    if (m_vecFiles.size() > static_cast<std::size_t>(kMaxFiles))
        m_vecFiles.resize(kMaxFiles);
}

void CRecentFiles::Remove(const std::string& strPath)
{
    const std::string strNormal = Normalised(strPath);
    m_vecFiles.erase(std::remove(m_vecFiles.begin(), m_vecFiles.end(), strNormal),
                     m_vecFiles.end());
}

void CRecentFiles::SetFiles(const std::vector<std::string>& vecFiles)
{
    m_vecFiles.clear();
    // Added oldest first, so the newest ends at the front and repeats keep their newest place.
    for (auto it = vecFiles.rbegin(); it != vecFiles.rend(); ++it)
        Add(*it);
}
