#pragma once

#include <string>

// Replaces the file at strPath with strContent in one step: the text goes to a temporary file in
// the same folder, which is flushed to disk and renamed over the old one. On failure the old file
// stays as it was, no temporary file is left, and *pReason (when given) says what went wrong.
bool AtomicWriteFile(const std::string& strPath, const std::string& strContent,
                     std::string* pReason);
