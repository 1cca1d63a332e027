#pragma once

#include <string>
#include <utility>
#include <vector>

// The program's settings file: INI text of [section] headers and key=value lines. Section and
// key names match without regard to ASCII case; values are kept exactly as written.
class CProfileFile
{
public:
    explicit CProfileFile(std::string strPath) : m_strPath(std::move(strPath)) {}

    // Reads the file. A missing file is an empty profile; a damaged or unreadable one is ignored
    // (empty profile) with one note on standard error.
    void Load();
    // Writes the whole profile atomically, creating its folder. A read-only file is left alone.
    bool Save(std::string* pReason) const;

    // False, *pValue untouched, when the key is not there.
    bool Get(const std::string& strSection, const std::string& strKey, std::string* pValue) const;
    // False for names or values the file cannot hold (line breaks, '=' in a key, ...).
    bool Set(const std::string& strSection, const std::string& strKey, const std::string& strValue);

    const std::string& Path() const { return m_strPath; }

    static bool IsValidName(const std::string& strName, bool bSection);
    static bool IsValidValue(const std::string& strValue);

private:
    struct SSection
    {
        std::string strName;
        std::vector<std::pair<std::string, std::string>> vecEntries; // file order
    };

    // Fills m_vecSections from the text; false with the reason when the text is damaged.
    bool Parse(const std::string& strText, std::string* pReason);
    // One line; *pSection is the section the line is in and changes at a header.
    bool ParseLine(const std::string& strLine, std::string* pSection, std::string* pReason);
    std::string Text() const;
    SSection* FindSection(const std::string& strName);
    const SSection* FindSection(const std::string& strName) const;

    std::string m_strPath;
    std::vector<SSection> m_vecSections;
};

// $XDG_CONFIG_HOME/orvanta/orvanta.ini, else $HOME/.config/orvanta/orvanta.ini; empty when
// neither is set.
std::string ProfileFilePath();

// The program's settings, read from and written to ProfileFilePath() at each call.
std::string GetProfileString(const std::string& strSection, const std::string& strKey,
                             const std::string& strDefault);
// The number the value starts with; the default for a missing key or one without digits.
int GetProfileInt(const std::string& strSection, const std::string& strKey, int nDefault);
bool WriteProfileString(const std::string& strSection, const std::string& strKey,
                        const std::string& strValue);
// Several keys of one section in one write; nothing is written when one of them is refused.
bool WriteProfileKeys(const std::string& strSection,
                      const std::vector<std::pair<std::string, std::string>>& vecKeys);
bool WriteProfileInt(const std::string& strSection, const std::string& strKey, int nValue);
