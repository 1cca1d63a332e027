#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A fresh directory that the test works in; the previous working directory comes back and the
// directory is removed at the end.
class CTempDir
{
public:
    CTempDir()
    {
        char pattern[] = "/tmp/orvanta-test-XXXXXX";
        m_path = ::mkdtemp(pattern);
        m_previous = std::filesystem::current_path();
    }
    ~CTempDir()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    void Enter() const { std::filesystem::current_path(m_path); }

    std::string Write(const std::string& strName, const std::string& strContent) const
    {
        const std::string path = (m_path / strName).string();
        std::ofstream(path, std::ios::binary) << strContent;
        return path;
    }

    std::string Read(const std::string& strName) const
    {
        std::ifstream in(m_path / strName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};
