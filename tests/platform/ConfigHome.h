#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// A fresh, empty XDG_CONFIG_HOME (not yet created) below a temporary folder, for one test. HOME
// and XDG_CONFIG_HOME come back and the folder goes at the end.
class CConfigHome
{
public:
    CConfigHome()
    {
        char szPattern[] = "/tmp/orvanta-profile-XXXXXX";
        m_root = ::mkdtemp(szPattern);
        for (const char* pszName : {"XDG_CONFIG_HOME", "HOME"})
        {
            const char* pszValue = std::getenv(pszName);
            m_vecSaved.emplace_back(pszName,
                                    pszValue ? std::optional<std::string>(pszValue) : std::nullopt);
        }
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    }
    ~CConfigHome()
    {
        for (const auto& [strName, strValue] : m_vecSaved)
            if (strValue.has_value())
                ::setenv(strName.c_str(), strValue->c_str(), 1);
            else
                ::unsetenv(strName.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    CConfigHome(const CConfigHome&) = delete;
    CConfigHome& operator=(const CConfigHome&) = delete;

    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path IniPath() const { return m_root / "config" / "orvanta" / "orvanta.ini"; }

private:
    std::filesystem::path m_root;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_vecSaved;
};
