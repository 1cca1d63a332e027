#include "platform/ProfileFile.h"

#include "platform/AtomicWrite.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace
{

// Settings are a few lines; anything much larger is not ours.
constexpr long kMaxProfileBytes = 1 << 20;

// Each distinct complaint once per run, so a damaged file read at every lookup is said once.
void NoteOnce(const std::string& strNote)
{
    static std::set<std::string> s_setSaid;
    if (s_setSaid.insert(strNote).second)
        std::fprintf(stderr, "%s\n", strNote.c_str());
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        const unsigned char ca = static_cast<unsigned char>(a[i]);
        const unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca != cb && !(ca < 128 && cb < 128 && std::tolower(ca) == std::tolower(cb)))
            return false;
    }
    return true;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& str)
{
    std::size_t nFirst = 0;
    std::size_t nEnd = str.size();
    while (nFirst < nEnd && IsBlank(str[nFirst]))
        ++nFirst;
    while (nEnd > nFirst && IsBlank(str[nEnd - 1]))
        --nEnd;
    return str.substr(nFirst, nEnd - nFirst);
}

// The whole file; false with the reason when it cannot be read or is far too large. A missing
// file reads as empty.
bool ReadProfileText(const std::string& strPath, std::string* pText, std::string* pReason)
{
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
    {
        *pReason = std::strerror(errno);
        return errno == ENOENT;
    }
    struct stat st = {};
    bool bOk = ::fstat(fd, &st) == 0;
    if (!bOk || !S_ISREG(st.st_mode))
        *pReason = bOk ? "not a regular file" : std::strerror(errno);
    else if (st.st_size > kMaxProfileBytes)
        *pReason = "larger than " + std::to_string(kMaxProfileBytes) + " bytes";
    else
    {
        pText->resize(static_cast<std::size_t>(st.st_size));
        const ssize_t n = ::read(fd, pText->data(), pText->size());
        bOk = n == st.st_size;
        if (!bOk)
            *pReason = n < 0 ? std::strerror(errno) : "the file changed while it was read";
        ::close(fd);
        return bOk;
    }
    ::close(fd);
    return false;
}

bool MakeFolders(const std::string& strFolder, std::string* pReason)
{
    for (std::size_t nSlash = strFolder.find('/', 1);; nSlash = strFolder.find('/', nSlash + 1))
    {
        const std::string strPart = strFolder.substr(0, nSlash);
        if (::mkdir(strPart.c_str(), 0700) != 0 && errno != EEXIST)
        {
            *pReason = "cannot create " + strPart + ": " + std::strerror(errno);
            return false;
        }
        if (nSlash == std::string::npos)
            return true;
    }
}

std::string FolderOf(const std::string& strPath)
{
    const std::size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos || nSlash == 0 ? std::string() : strPath.substr(0, nSlash);
}

} // namespace

bool CProfileFile::IsValidName(const std::string& strName, bool bSection)
{
    if (strName.empty() || Trimmed(strName) != strName)
        return false;
    if (!bSection && (strName[0] == '[' || strName[0] == ';' || strName[0] == '#'))
        return false;
    for (char c : strName)
        if (c == '\n' || c == '\r' || c == '\0' || c == (bSection ? ']' : '='))
            return false;
    return true;
}

bool CProfileFile::IsValidValue(const std::string& strValue)
{
    return strValue.find_first_of(std::string("\n\r\0", 3)) == std::string::npos;
}

bool CProfileFile::ParseLine(const std::string& strLine, std::string* pSection,
                             std::string* pReason)
{
    for (char c : strLine)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
        {
            *pReason = "binary data";
            return false;
        }
    const std::string strTrimmed = Trimmed(strLine);
    if (strTrimmed.empty() || strTrimmed[0] == ';' || strTrimmed[0] == '#')
        return true;
    if (strTrimmed.front() == '[' && strTrimmed.back() == ']')
    {
        *pSection = Trimmed(strTrimmed.substr(1, strTrimmed.size() - 2));
        *pReason = "bad section name";
        return IsValidName(*pSection, true);
    }
    const std::size_t nEqual = strLine.find('=');
    const std::string strKey = Trimmed(strLine.substr(0, nEqual));
    if (nEqual == std::string::npos)
        *pReason = "no '='";
    else if (pSection->empty())
        *pReason = "a key before any section";
    else if (!IsValidName(strKey, false))
        *pReason = "bad key";
    else
        return Set(*pSection, strKey, strLine.substr(nEqual + 1));
    return false;
}

bool CProfileFile::Parse(const std::string& strText, std::string* pReason)
{
    std::string strSection;
    int nLine = 0;
    for (std::size_t nStart = 0; nStart < strText.size();)
    {
        std::size_t nEnd = strText.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        std::string strLine = strText.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        ++nLine;
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (!ParseLine(strLine, &strSection, pReason))
        {
            *pReason += " on line " + std::to_string(nLine);
            return false;
        }
    }
    return true;
}

void CProfileFile::Load()
{
    m_vecSections.clear();
    std::string strText;
    std::string strReason;
    if (ReadProfileText(m_strPath, &strText, &strReason) && Parse(strText, &strReason))
        return;
    m_vecSections.clear();
    NoteOnce("Settings: ignoring " + m_strPath + ": " + strReason);
}

std::string CProfileFile::Text() const
{
    std::string strText;
    for (const SSection& section : m_vecSections)
    {
        if (section.vecEntries.empty())
            continue;
        if (!strText.empty())
            strText += '\n';
        strText += '[' + section.strName + "]\n";
        for (const auto& [strKey, strValue] : section.vecEntries)
            strText += strKey + '=' + strValue + '\n';
    }
    return strText;
}

bool CProfileFile::Save(std::string* pReason) const
{
    std::string strReason;
    struct stat st = {};
    // Checked on the mode bits, so a file the user made read-only stays so even for root.
    if (::stat(m_strPath.c_str(), &st) == 0 && (st.st_mode & 0222) == 0)
        strReason = m_strPath + " is read-only";
    else if (MakeFolders(FolderOf(m_strPath), &strReason) &&
             AtomicWriteFile(m_strPath, Text(), &strReason))
        return true;
    if (pReason != nullptr)
        *pReason = strReason;
    return false;
}

const CProfileFile::SSection* CProfileFile::FindSection(const std::string& strName) const
{
    for (const SSection& section : m_vecSections)
        if (EqualNoCase(section.strName, strName))
            return &section;
    return nullptr;
}

CProfileFile::SSection* CProfileFile::FindSection(const std::string& strName)
{
    return const_cast<SSection*>(std::as_const(*this).FindSection(strName));
}

bool CProfileFile::Get(const std::string& strSection, const std::string& strKey,
                       std::string* pValue) const
{
    const SSection* pSection = FindSection(strSection);
    if (pSection == nullptr)
        return false;
    for (const auto& [strName, strValue] : pSection->vecEntries)
        if (EqualNoCase(strName, strKey))
        {
            *pValue = strValue;
            return true;
        }
    return false;
}

bool CProfileFile::Set(const std::string& strSection, const std::string& strKey,
                       const std::string& strValue)
{
    if (!IsValidName(strSection, true) || !IsValidName(strKey, false) || !IsValidValue(strValue))
        return false;
    SSection* pSection = FindSection(strSection);
    if (pSection == nullptr)
    {
        m_vecSections.push_back({strSection, {}});
        pSection = &m_vecSections.back();
    }
    for (auto& [strName, strOld] : pSection->vecEntries)
        if (EqualNoCase(strName, strKey))
        {
            strOld = strValue;
            return true;
        }
    pSection->vecEntries.emplace_back(strKey, strValue);
    return true;
}

std::string ProfileFilePath()
{
    // Only an absolute XDG_CONFIG_HOME counts; a relative one would follow the working folder.
    const char* pszConfig = std::getenv("XDG_CONFIG_HOME");
    if (pszConfig != nullptr && pszConfig[0] == '/')
        return std::string(pszConfig) + "/orvanta/orvanta.ini";
    const char* pszHome = std::getenv("HOME");
    if (pszHome != nullptr && pszHome[0] != '\0')
        return std::string(pszHome) + "/.config/orvanta/orvanta.ini";
    return std::string();
}

std::string GetProfileString(const std::string& strSection, const std::string& strKey,
                             const std::string& strDefault)
{
    const std::string strPath = ProfileFilePath();
    std::string strValue = strDefault;
    if (strPath.empty())
        return strValue;
    CProfileFile profile(strPath);
    profile.Load();
    profile.Get(strSection, strKey, &strValue);
    return strValue;
}

int GetProfileInt(const std::string& strSection, const std::string& strKey, int nDefault)
{
    const std::string strValue = GetProfileString(strSection, strKey, std::string());
    char* pEnd = nullptr;
    errno = 0;
    const long nValue = std::strtol(strValue.c_str(), &pEnd, 10);
    if (pEnd == strValue.c_str())
        return nDefault;
    if (nValue > INT_MAX || (errno == ERANGE && nValue > 0))
        return INT_MAX;
    if (nValue < INT_MIN || (errno == ERANGE && nValue < 0))
        return INT_MIN;
    return static_cast<int>(nValue);
}

bool WriteProfileString(const std::string& strSection, const std::string& strKey,
                        const std::string& strValue)
{
    return WriteProfileKeys(strSection, {{strKey, strValue}});
}

bool WriteProfileKeys(const std::string& strSection,
                      const std::vector<std::pair<std::string, std::string>>& vecKeys)
{
    const std::string strPath = ProfileFilePath();
    if (strPath.empty())
    {
        NoteOnce("Settings: cannot save: neither XDG_CONFIG_HOME nor HOME is set");
        return false;
    }
    CProfileFile profile(strPath);
    profile.Load();
    for (const auto& [strKey, strValue] : vecKeys)
        if (!profile.Set(strSection, strKey, strValue))
            return false;
    std::string strReason;
    if (profile.Save(&strReason))
        return true;
    NoteOnce("Settings: cannot save " + strPath + ": " + strReason);
    return false;
}

bool WriteProfileInt(const std::string& strSection, const std::string& strKey, int nValue)
{
    return WriteProfileString(strSection, strKey, std::to_string(nValue));
}
