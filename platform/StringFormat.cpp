#include "platform/StringFormat.h"

#include "platform/ClassicLocale.h"

#include <cstdarg>
#include <cstdio>

namespace
{

// Switches this thread to the "C" locale for the guard's lifetime.
class CClassicLocaleScope
{
public:
    CClassicLocaleScope() : m_previous(uselocale(ClassicLocale())) {}
    ~CClassicLocaleScope() { uselocale(m_previous); }
    CClassicLocaleScope(const CClassicLocaleScope&) = delete;
    CClassicLocaleScope& operator=(const CClassicLocaleScope&) = delete;

private:
    locale_t m_previous;
};

} // namespace

std::string StringFormat(const char* pszFormat, ...)
{
    CClassicLocaleScope scope;
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int needed = std::vsnprintf(small, sizeof small, pszFormat, args);
    va_end(args);
    std::string result;
    if (needed < 0)
    {
        va_end(copy);
        return result;
    }
    if (static_cast<size_t>(needed) < sizeof small)
    {
        result.assign(small, static_cast<size_t>(needed));
    }
    else
    {
        result.resize(static_cast<size_t>(needed));
        std::vsnprintf(result.data(), result.size() + 1, pszFormat, copy);
    }
    va_end(copy);
    return result;
}
