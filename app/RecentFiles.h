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
    // The list as the settings file holds it, newest first; empty or repeated entries are
    // skipped and at most kMaxFiles kept.
    void SetFiles(const std::vector<std::string>& vecFiles);

    static std::string Normalised(const std::string& strPath);

private:
    std::vector<std::string> m_vecFiles;
};

// "&1 /path/file.csv": the file menu's item for the recent file at nIndex. A '&' of the name is
// doubled; a path longer than 60 characters keeps its first folder and its file name around "…".
std::string RecentFileMenuText(int nIndex, const std::string& strPath);
