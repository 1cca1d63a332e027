// The program's texts by id, one table per language.
#pragma once

#include "app/Language.h"

#include <span>

struct SAppString
{
    unsigned nId;
    const char* pszText; // UTF-8; printf conversions as the id's comment in StringIds.h says
};

std::span<const SAppString> ChineseStrings();
std::span<const SAppString> EnglishStrings();
std::span<const SAppString> AppStrings(ELanguage eLanguage);

// The text of nId in the program's language; "" for an id no table has.
const char* AppText(unsigned nId);
