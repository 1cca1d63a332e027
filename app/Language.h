#pragma once

#include <optional>
#include <string_view>

// The language of the window, menus and dialogs. Log lines and exported files never change with it.
enum class ELanguage
{
    Chinese,
    English
};

// What the locale variables ask for: the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty decides, as the C library does for messages; a name beginning with "en" is English and
// everything else, "C" and "POSIX" included, is Chinese. Null stands for an unset variable.
ELanguage LanguageFromLocale(const char* pszLcAll, const char* pszLcMessages, const char* pszLang);
ELanguage LanguageFromEnvironment();

// "zh" or "en", as --lang takes them; nothing for any other name.
std::optional<ELanguage> LanguageFromName(std::string_view name);

// The language the program's texts are registered in; Chinese until set.
ELanguage AppLanguage();
void SetAppLanguage(ELanguage eLanguage);
