#include "app/StringTable.h"

std::span<const SAppString> AppStrings(ELanguage eLanguage)
{
    return eLanguage == ELanguage::English ? EnglishStrings() : ChineseStrings();
}

const char* AppText(unsigned nId)
{
    for (const SAppString& entry : AppStrings(AppLanguage()))
        if (entry.nId == nId)
            return entry.pszText;
    return "";
}
