#pragma once

#include <string>

// Replaces the file at strPath with strContent all at once: the text goes to a temporary file in
// the same folder, which is then renamed over the old one. On failure the old file is left as it
// was, the temporary file is removed, and *pReason (when given) says what went wrong.
bool WriteFileAtomically(const std::string& strPath, const std::string& strContent,
                         std::string* pReason);
