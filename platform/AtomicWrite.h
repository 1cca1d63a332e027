#pragma once

#include <csignal>
#include <string>

// While it lives, a write past the file size limit fails with EFBIG instead of ending the
// process, so the caller hears about it and can take the partial write back.
class CFileSizeSignalGuard
{
public:
    CFileSizeSignalGuard();
    ~CFileSizeSignalGuard();
    CFileSizeSignalGuard(const CFileSizeSignalGuard&) = delete;
    CFileSizeSignalGuard& operator=(const CFileSizeSignalGuard&) = delete;

private:
    struct sigaction m_previous = {};
};

// Replaces the file at strPath with strContent in one step: the text goes to a temporary file in
// the same folder as the file (the file a link names), which is flushed to disk and renamed over
// it. The replacement keeps the old file's permissions; a new file gets the usual ones. On
// failure the old file stays as it was, no temporary file is left, errno tells the cause and
// *pReason (when given) says what went wrong. A write past the file size limit fails with EFBIG
// instead of ending the process.
bool AtomicWriteFile(const std::string& strPath, const std::string& strContent,
                     std::string* pReason);

// As AtomicWriteFile, but an existing device or pipe (/dev/stdout, a FIFO) gets the bytes as
// they are: there is nothing to rename there.
bool WriteFileOrDevice(const std::string& strPath, const std::string& strContent,
                       std::string* pReason);
