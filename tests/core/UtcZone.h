#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

// Local time is UTC while this lives; the zone the process had comes back afterwards.
class CUtcZone
{
public:
    CUtcZone()
    {
        const char* pszTz = std::getenv("TZ");
        m_bHadTz = pszTz != nullptr;
        if (m_bHadTz)
            m_strTz = pszTz;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~CUtcZone()
    {
        if (m_bHadTz)
            ::setenv("TZ", m_strTz.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    CUtcZone(const CUtcZone&) = delete;
    CUtcZone& operator=(const CUtcZone&) = delete;

private:
    bool m_bHadTz = false;
    std::string m_strTz;
};
