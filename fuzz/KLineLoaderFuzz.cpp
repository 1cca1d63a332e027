// libFuzzer target: arbitrary bytes as a price file, through the real loader: the layout
// recognised from the first lines, then the single pass; the same bytes as a Chinese terminal
// day file and as a MetaTrader 4 history file; the first line as a layout's text form. Run it
// with -close_fd_mask=2 to silence the loader's notes.
#include "core/KLineFields.h"
#include "core/KLineFile.h"
#include "core/KLineLayout.h"
#include "core/KLineMessages.h"
#include "core/KLinePlayer.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
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
    CMemoryFile(const CMemoryFile&) = delete;
    CMemoryFile& operator=(const CMemoryFile&) = delete;
    std::string Path() const { return "/proc/self/fd/" + std::to_string(m_fd); }
    int Rewound() const
    {
        ::lseek(m_fd, 0, SEEK_SET);
        return m_fd;
    }

private:
    int m_fd;
};

// Bars are sound, in time order, from 100-01-01 00:00 to 9999-12-31 23:59:59, each with its
// volume when there are volumes; the layout read with survives its text form.
void CheckLoad(const SKLineLoad& load, bool bRead)
{
    if (bRead != !load.m_vecBars.empty() || (bRead && load.m_eError != EKLineLoadError::None))
        std::abort();
    if (!load.m_vecVolumes.empty() && load.m_vecVolumes.size() != load.m_vecBars.size())
        std::abort();
    double dPrevious = -1e300;
    for (const SChartCandlestickPoint& bar : load.m_vecBars)
    {
        const double dInstant = KLineInstant(bar.dDate);
        if (dInstant < std::exchange(dPrevious, dInstant) || !(dInstant >= -657434) ||
            !(dInstant < 2958466) || !(bar.dLow <= bar.dOpen && bar.dOpen <= bar.dHigh) ||
            !(bar.dLow <= bar.dClose && bar.dClose <= bar.dHigh) ||
            !(std::fabs(bar.dLow) <= kMaxKLinePrice) || !(std::fabs(bar.dHigh) <= kMaxKLinePrice))
            std::abort();
    }
    if (load.m_stats.m_nPriceDecimals < 0 ||
        load.m_stats.m_nPriceDecimals > kMostKLinePriceDecimals)
        std::abort();
    SKLineLayout layout;
    if (!ParseKLineLayoutText(KLineLayoutText(load.m_layout), &layout) ||
        !(layout == load.m_layout))
        std::abort();
    if ((bRead ? KLineLoadNote(load) : KLineLoadFailureText(load)).empty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize)
{
    CMemoryFile file(pData, nSize);
    CKLinePlayer player;
    std::string strReason;
    const bool bLoaded = player.Load(file.Path(), &strReason);
    long nLineEnds = 0; // a CRLF counts twice, which only loosens the bound
    for (size_t i = 0; i < nSize; ++i)
        nLineEnds += pData[i] == '\n' || pData[i] == '\r';
    if (player.m_nBarCount > nLineEnds + 1 || player.m_vecWindow.size() != (bLoaded ? 26u : 0u) ||
        bLoaded == !strReason.empty())
        std::abort();

    SKLineLoad load;
    CheckLoad(load, LoadKLineDescriptor(file.Rewound(), "kline.csv", &load, nullptr,
                                        EKLineDateOrder::MonthDayYear));
    CheckLoad(load, LoadKLineDescriptor(file.Rewound(), "kline.day", &load, nullptr,
                                        EKLineDateOrder::DayMonthYear));
    CheckLoad(load, LoadKLineDescriptor(file.Rewound(), "kline.hst", &load, nullptr,
                                        EKLineDateOrder::DayMonthYear));

    // A layout kept in the settings file may be damaged: the first line as its text form.
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    SKLineLayout layout;
    if (ParseKLineLayoutText(text.substr(0, text.find('\n')), &layout))
    {
        SKLineLayout again;
        if (!ParseKLineLayoutText(KLineLayoutText(layout), &again) || !(again == layout))
            std::abort();
        if (layout.m_eKind == EKLineFileKind::Text)
            CheckLoad(load, ReadKLineText(text, layout, &load));
    }
    return 0;
}
