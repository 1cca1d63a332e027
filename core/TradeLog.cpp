#include "core/TradeLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

void ReportLostLine(const std::string& strFile, const std::string& strLine, int nError)
{
    std::fprintf(stderr, "Trade log: cannot write %s: %s; line not logged: %.*s\n", strFile.c_str(),
                 std::strerror(nError), static_cast<int>(strLine.size() - 2), strLine.c_str());
}

} // namespace

std::string TradeLogFileName(std::time_t tNow)
{
    return FormatLocalTime(tNow, "%Y%m%d") + "TradeDetails.log";
}

void WriteTradeLog(const std::string& strMessage)
{
    WriteTradeLog(strMessage, std::time(nullptr));
}

void WriteTradeLog(const std::string& strMessage, std::time_t tNow)
{
    const std::string strFile = TradeLogFileName(tNow);
    const std::string strLine = FormatLocalTime(tNow, "%Y-%m-%d %H:%M:%S") + ": " + strMessage + "\r\n";

    // O_APPEND makes each write land whole at the end, whoever else has the file open.
    const int fd = ::open(strFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
    {
        ReportLostLine(strFile, strLine, errno);
        return;
    }
    ssize_t written = 0;
    do
        written = ::write(fd, strLine.data(), strLine.size());
    while (written < 0 && errno == EINTR);
    const int nWriteError = errno;
    if (written != static_cast<ssize_t>(strLine.size()))
        ReportLostLine(strFile, strLine, written < 0 ? nWriteError : ENOSPC);
    ::close(fd);
}
