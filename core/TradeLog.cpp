#include "core/TradeLog.h"

#include "platform/AtomicWrite.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string FormatLocalTime(std::time_t tNow, const char* pszFormat)
{
    std::tm local{};
    localtime_r(&tNow, &local);
    char text[64];
    const size_t length = std::strftime(text, sizeof text, pszFormat, &local);
    return std::string(text, length);
}

bool LoseLine(const std::string& strFile, const std::string& strLine, const std::string& strWhy,
              std::string* pReason)
{
    const std::string strReason = "cannot write " + strFile + ": " + strWhy;
    std::fprintf(stderr, "Trade log: %s; line not logged: %.*s\n", strReason.c_str(),
                 static_cast<int>(strLine.size() - 2), strLine.c_str());
    if (pReason != nullptr)
        *pReason = strReason;
    return false;
}

// Why only part of a line went in: the process's file size limit, or else a full disk.
int ShortWriteError(off_t nEnd)
{
    rlimit limit = {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        static_cast<rlim_t>(nEnd) >= limit.rlim_cur)
        return EFBIG;
    return ENOSPC;
}

// The file a batch keeps open, and how many batches are alive.
struct SHeldLog
{
    int nBatches = 0;
    int fd = -1;
    std::string strFile;
};

SHeldLog& HeldLog()
{
    static SHeldLog s_held;
    return s_held;
}

// The open file for strFile: the one a batch holds, or a new one (held if a batch is alive).
int OpenLog(const std::string& strFile)
{
    SHeldLog& held = HeldLog();
    if (held.fd >= 0 && held.strFile == strFile)
        return held.fd;
    const int fd = ::open(strFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0 && held.nBatches > 0)
    {
        if (held.fd >= 0)
            ::close(held.fd); // the day changed
        held.fd = fd;
        held.strFile = strFile;
    }
    return fd;
}

void CloseLog(int fd)
{
    if (fd != HeldLog().fd)
        ::close(fd);
}

} // namespace

CTradeLogBatch::CTradeLogBatch()
{
    ++HeldLog().nBatches;
}

CTradeLogBatch::~CTradeLogBatch()
{
    SHeldLog& held = HeldLog();
    if (--held.nBatches == 0 && held.fd >= 0)
    {
        ::close(held.fd);
        held.fd = -1;
        held.strFile.clear();
    }
}

std::string TradeLogFileName(std::time_t tNow)
{
    return FormatLocalTime(tNow, "%Y%m%d") + "TradeDetails.log";
}

bool WriteTradeLog(const std::string& strMessage, std::string* pReason)
{
    return WriteTradeLog(strMessage, std::time(nullptr), pReason);
}

bool WriteTradeLog(const std::string& strMessage, std::time_t tNow, std::string* pReason)
{
    const std::string strFile = TradeLogFileName(tNow);
    const std::string strLine =
        FormatLocalTime(tNow, "%Y-%m-%d %H:%M:%S") + ": " + strMessage + "\r\n";

    // O_APPEND makes each write land whole at the end, whoever else has the file open; the line
    // therefore goes in one write, never in pieces another writer could come between.
    const int fd = OpenLog(strFile);
    if (fd < 0)
        return LoseLine(strFile, strLine, std::strerror(errno), pReason);
    const CFileSizeSignalGuard guard;
    ssize_t nWritten = 0;
    do
        nWritten = ::write(fd, strLine.data(), strLine.size());
    while (nWritten < 0 && errno == EINTR);
    const int nWriteError = errno;
    if (nWritten == static_cast<ssize_t>(strLine.size()))
    {
        CloseLog(fd);
        return true;
    }
    std::string strWhy = std::strerror(nWriteError);
    if (nWritten > 0)
    {
        // Take the fragment back, so the next line does not glue onto it; only if nobody has
        // appended after it meanwhile.
        const off_t nEnd = ::lseek(fd, 0, SEEK_CUR);
        struct stat info = {};
        const bool bCut = nEnd >= nWritten && ::fstat(fd, &info) == 0 && info.st_size == nEnd &&
                          ::ftruncate(fd, nEnd - nWritten) == 0;
        strWhy = std::strerror(ShortWriteError(nEnd));
        if (!bCut)
            strWhy += "; a part of the line is left in the file";
    }
    CloseLog(fd);
    return LoseLine(strFile, strLine, strWhy, pReason);
}
