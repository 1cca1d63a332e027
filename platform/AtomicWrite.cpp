#include "platform/AtomicWrite.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

bool Failed(std::string* pReason, const char* pszWhat, const std::string& strPath, int nError)
{
    if (pReason != nullptr)
        *pReason = std::string(pszWhat) + " " + strPath + ": " + std::strerror(nError);
    return false;
}

// Every byte, through short writes and interruptions; a write that makes no progress is a full
// disk.
bool WriteEverything(int fd, const std::string& strContent)
{
    std::size_t nDone = 0;
    while (nDone < strContent.size())
    {
        const ssize_t n = ::write(fd, strContent.data() + nDone, strContent.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            errno = n == 0 ? ENOSPC : errno;
            return false;
        }
        nDone += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool AtomicWriteFile(const std::string& strPath, const std::string& strContent,
                     std::string* pReason)
{
    std::string strTemp = strPath + ".XXXXXX";
    const int fd = ::mkostemp(strTemp.data(), O_CLOEXEC);
    if (fd < 0)
        return Failed(pReason, "cannot create a temporary file for", strPath, errno);
    // The replacement keeps the permissions of the file it replaces.
    struct stat old = {};
    ::fchmod(fd, ::stat(strPath.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);

    const bool bWritten = WriteEverything(fd, strContent) && ::fsync(fd) == 0;
    int nError = errno;
    const bool bClosed = ::close(fd) == 0;
    if (bWritten && !bClosed)
        nError = errno;
    if (bWritten && bClosed && ::rename(strTemp.c_str(), strPath.c_str()) == 0)
        return true;
    const bool bRenameFailed = bWritten && bClosed;
    if (bRenameFailed)
        nError = errno;
    ::unlink(strTemp.c_str());
    return Failed(pReason, bRenameFailed ? "cannot replace" : "cannot write", strPath, nError);
}
