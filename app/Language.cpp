#include "app/Language.h"

#include <cstdlib>

namespace
{
ELanguage g_eLanguage = ELanguage::Chinese;
}

ELanguage LanguageFromLocale(const char* pszLcAll, const char* pszLcMessages, const char* pszLang)
{
    for (const char* pszName : {pszLcAll, pszLcMessages, pszLang})
        if (pszName != nullptr && *pszName != '\0')
            return std::string_view(pszName).starts_with("en") ? ELanguage::English
                                                               : ELanguage::Chinese;
    return ELanguage::Chinese;
}

ELanguage LanguageFromEnvironment()
{
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"));
}

std::optional<ELanguage> LanguageFromName(std::string_view name)
{
    if (name == "zh")
        return ELanguage::Chinese;
    if (name == "en")
        return ELanguage::English;
    return std::nullopt;
}

ELanguage AppLanguage()
{
    return g_eLanguage;
}

void SetAppLanguage(ELanguage eLanguage)
{
    g_eLanguage = eLanguage;
}
