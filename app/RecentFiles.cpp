#include "app/RecentFiles.h"

#include "platform/ProfileFile.h"

#include <algorithm>
#include <filesystem>

namespace
{

constexpr const char* kSection = "RecentFiles";

std::string KeyName(int nIndex)
{
    return "File" + std::to_string(nIndex + 1);
}

} // namespace

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
    // A name the settings file cannot hold would be lost at the next start anyway.
    if (strPath.empty() || !CProfileFile::IsValidValue(strPath))
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

void CRecentFiles::Load()
{
    m_vecFiles.clear();
    // Added oldest first, so the newest ends at the front and repeats keep their newest place.
    for (int i = kMaxFiles - 1; i >= 0; --i)
        Add(GetProfileString(kSection, KeyName(i), std::string()));
}

bool CRecentFiles::Save() const
{
    std::vector<std::pair<std::string, std::string>> vecKeys;
    for (int i = 0; i < kMaxFiles; ++i)
    {
        const std::size_t n = static_cast<std::size_t>(i);
        vecKeys.emplace_back(KeyName(i), n < m_vecFiles.size() ? m_vecFiles[n] : std::string());
    }
    return WriteProfileKeys(kSection, vecKeys);
}
