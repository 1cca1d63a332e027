// libFuzzer target: arbitrary bytes as a K-line file, through the real loader. Run it with
// -close_fd_mask=2 to silence the loader's notes about skipped lines.
#include "core/KLineFile.h"
#include "core/KLinePlayer.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace
{

// The input as a file the loader opens by path, without touching the disk.
class CMemoryFile
{
public:
    CMemoryFile(const std::uint8_t* pData, size_t nSize) : m_fd(::memfd_create("kline", 0))
    {
        if (m_fd < 0 || ::write(m_fd, pData, nSize) != static_cast<ssize_t>(nSize))
            std::abort();
    }
    ~CMemoryFile() { ::close(m_fd); }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

private:
    int m_fd;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize)
{
    CMemoryFile file(pData, nSize);
    CKLinePlayer player;
    player.Load(file.Path());

    long nLineEnds = 0; // a CRLF counts twice, which only loosens the bound
    for (size_t i = 0; i < nSize; ++i)
        nLineEnds += pData[i] == '\n' || pData[i] == '\r';
    if (player.m_nBarCount > nLineEnds + 1 || player.m_vecWindow.size() != 26)
        std::abort();
    // Bars are in time order, from 100-01-01 00:00 to 9999-12-31 23:59:59.
    double dPrevious = -1e300;
    for (const SChartCandlestickPoint& bar : player.m_vecBars)
    {
        const double dInstant = KLineInstant(bar.dDate);
        if (dInstant < std::exchange(dPrevious, dInstant) || !std::isfinite(bar.dOpen) ||
            !std::isfinite(bar.dHigh) || !std::isfinite(bar.dLow) || !std::isfinite(bar.dClose) ||
            !(dInstant >= -657434) || !(dInstant < 2958466))
            std::abort();
    }
    return 0;
}
