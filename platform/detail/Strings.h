// Private to the platform layer: small text helpers shared by its parts.
#pragma once

#include <string>

namespace platform_detail
{

// Class and face names compare without regard to ASCII case, whatever the locale.
inline std::string Lower(const char* psz)
{
    std::string s = psz != nullptr ? psz : "";
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace platform_detail
