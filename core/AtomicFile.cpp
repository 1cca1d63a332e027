#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string FolderOf(const std::string& strPath)
{
    const std::size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

bool Fail(std::string* pReason, const std::string& strWhat, const std::string& strPath, int nError)
{
    if (pReason != nullptr)
        *pReason = strWhat + " " + strPath + ": " + std::strerror(nError);
    return false;
}

bool WriteAll(int fd, const std::string& strContent)
{
    const char* p = strContent.data();
    std::size_t nLeft = strContent.size();
    while (nLeft > 0)
    {
        const ssize_t n = ::write(fd, p, nLeft);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        nLeft -= static_cast<std::size_t>(n);
    }
    return true;
}

// A file the user replaces keeps its permissions; a new one gets the usual ones.
void CopyMode(int fd, const std::string& strPath)
{
    struct stat old = {};
    const mode_t mode = ::stat(strPath.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);
}

} // namespace

bool WriteFileAtomically(const std::string& strPath, const std::string& strContent,
                         std::string* pReason)
{
    std::string strTemp = strPath + ".XXXXXX";
    const int fd = ::mkostemp(strTemp.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(pReason, "cannot create a temporary file in", FolderOf(strPath), errno);
    CopyMode(fd, strPath);
    bool bOk = WriteAll(fd, strContent) && ::fsync(fd) == 0;
    int nError = errno;
    if (::close(fd) != 0 && bOk)
    {
        bOk = false;
        nError = errno;
    }
    if (bOk && ::rename(strTemp.c_str(), strPath.c_str()) == 0)
        return true;
    if (bOk)
        nError = errno;
    ::unlink(strTemp.c_str());
    return Fail(pReason, bOk ? "cannot replace" : "cannot write", bOk ? strPath : strTemp, nError);
}
