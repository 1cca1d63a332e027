#pragma once

#include <string>
#include <vector>

// The files loaded last, most recent first, kept in the settings file between runs.
class CRecentFiles
{
public:
    static constexpr int kMaxFiles = 5;

    // Puts the file at the front; one already listed moves there. Paths are made absolute and
    // normal first, so two spellings of one file are one entry. An empty path is ignored.
    void Add(const std::string& strPath);
    void Remove(const std::string& strPath);
    const std::vector<std::string>& Files() const { return m_vecFiles; }

    // Section "RecentFiles", keys "File1" to "File5"; empty or repeated entries are skipped.
    void Load();
    bool Save() const;

    static std::string Normalised(const std::string& strPath);

private:
    std::vector<std::string> m_vecFiles;
};
