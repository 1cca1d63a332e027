#include "platform/AtomicWrite.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

bool Failed(std::string* pReason, const std::string& strWhat, int nError)
{
    if (pReason != nullptr)
        *pReason = strWhat + ": " + std::strerror(nError);
    errno = nError;
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

CFileSizeSignalGuard::CFileSizeSignalGuard()
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &m_previous);
}

CFileSizeSignalGuard::~CFileSizeSignalGuard()
{
    ::sigaction(SIGXFSZ, &m_previous, nullptr);
}

namespace
{

// The file a link names, so the link survives the rename.
std::string RealTarget(const std::string& strPath)
{
    std::string strTarget = strPath;
    if (char* pszReal = ::realpath(strPath.c_str(), nullptr))
    {
        strTarget = pszReal;
        std::free(pszReal);
    }
    return strTarget;
}

// The old file's permissions, or what a new file gets under the process's umask.
mode_t ReplacementMode(const std::string& strTarget)
{
    struct stat existing = {};
    if (::stat(strTarget.c_str(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t nMask = ::umask(0);
    ::umask(nMask);
    return 0666 & ~nMask;
}

bool WriteInPlace(const std::string& strPath, const std::string& strContent, std::string* pReason)
{
    const int fd = ::open(strPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return Failed(pReason, "cannot open " + strPath, errno);
    const bool bWritten = WriteEverything(fd, strContent);
    const int nError = errno;
    const bool bClosed = ::close(fd) == 0;
    if (!bWritten || !bClosed)
        return Failed(pReason, "cannot write " + strPath, bWritten ? errno : nError);
    return true;
}

} // namespace

bool AtomicWriteFile(const std::string& strPath, const std::string& strContent,
                     std::string* pReason)
{
    const CFileSizeSignalGuard guard;
    const std::string strTarget = RealTarget(strPath);
    const std::size_t nSlash = strTarget.rfind('/');
    const std::string strFolder = nSlash == std::string::npos ? "." : strTarget.substr(0, nSlash);
    std::string strTemp = strFolder + "/.orvanta-XXXXXX";
    const int fd = ::mkostemp(strTemp.data(), O_CLOEXEC);
    if (fd < 0)
        return Failed(pReason, "cannot create a temporary file in " + strFolder, errno);

    const bool bWritten = ::fchmod(fd, ReplacementMode(strTarget)) == 0 &&
                          WriteEverything(fd, strContent) && ::fsync(fd) == 0;
    int nError = errno;
    const bool bClosed = ::close(fd) == 0;
    if (bWritten && !bClosed)
        nError = errno;
    if (bWritten && bClosed && ::rename(strTemp.c_str(), strTarget.c_str()) == 0)
        return true;
    const bool bRenameFailed = bWritten && bClosed;
    if (bRenameFailed)
        nError = errno;
    ::unlink(strTemp.c_str());
    return Failed(pReason, (bRenameFailed ? "cannot replace " : "cannot write ") + strPath, nError);
}

bool WriteFileOrDevice(const std::string& strPath, const std::string& strContent,
                       std::string* pReason)
{
    struct stat target = {};
    if (::stat(strPath.c_str(), &target) == 0 && !S_ISREG(target.st_mode))
    {
        const CFileSizeSignalGuard guard;
        return WriteInPlace(strPath, strContent, pReason);
    }
    return AtomicWriteFile(strPath, strContent, pReason);
}
