// The "C" locale as a handle for the *_l functions (strtod_l, strftime_l), whatever locale the
// toolkit set for the process: K-line files and logs always use a decimal point, and month names
// are the classic English ones.
#pragma once

#include <locale.h>

locale_t ClassicLocale();
