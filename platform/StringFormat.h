#pragma once

#include <string>

// printf-style formatting that always uses the "C" locale, whatever the toolkit set from the
// environment: logs, labels and tick texts always print a decimal point.
std::string StringFormat(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
