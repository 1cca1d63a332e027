#include "core/KLinePlayer.h"

#include "core/KLineFile.h"
#include "core/ReplaySettings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

void CKLinePlayer::Load(const std::string& strPath)
{
    const int nWindowBars = ReplaySettings().m_nWindowBars;

    std::vector<SChartCandlestickPoint> vecBars;
    SKLineReadStats stats;
    if (!ReadKLineFile(strPath, &vecBars, &stats))
        std::fprintf(stderr, "Error opening file: %s\n", std::strerror(errno));
    if (stats.m_nSkipped > 0)
        std::fprintf(stderr, "%s: skipped %ld line(s) that are not bars (first: line %ld)\n",
                     strPath.c_str(), stats.m_nSkipped, stats.m_nFirstSkippedLine);

    // Swapping gives the previous file's storage back.
    m_vecBars.swap(vecBars);
    std::vector<SChartCandlestickPoint>(nWindowBars > 0 ? nWindowBars : 0).swap(m_vecWindow);
    m_nCursor = 0;
    m_nBarCount = static_cast<int>(m_vecBars.size());
}
