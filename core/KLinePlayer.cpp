#include "core/KLinePlayer.h"

#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/RefreshHold.h"
#include "core/BarLabels.h"
#include "core/KLineFile.h"
#include "core/ReplaySettings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

bool CKLinePlayer::Load(const std::string& strPath, std::string* pstrReason)
{
    const int nWindowBars = ReplaySettings().m_nWindowBars;

    std::vector<SChartCandlestickPoint> vecBars;
    SKLineReadStats stats;
    const bool bRead = ReadKLineFile(strPath, &vecBars, &stats);
    if (!bRead)
    {
        const char* pszReason = std::strerror(errno);
        std::fprintf(stderr, "Error opening file: %s\n", pszReason);
        if (pstrReason != nullptr)
            *pstrReason = pszReason;
    }
    ReportKLineRead(strPath, stats, vecBars.size());

    // Swapping gives the previous file's storage back.
    m_vecBars.swap(vecBars);
    std::vector<SChartCandlestickPoint>(nWindowBars > 0 ? nWindowBars : 0).swap(m_vecWindow);
    m_nCursor = 0;
    m_nBarCount = static_cast<int>(m_vecBars.size());
    m_nPriceDecimals = ShownPriceDecimals(stats.m_nPriceDecimals);
    m_bTimeOfDay = stats.m_bTimeOfDay;
    // The old file's last close must not be traded at or marked to.
    MakeCurrent(SChartCandlestickPoint{});
    return bRead;
}

int CKLinePlayer::Step()
{
    const int nWindowBars = ReplaySettings().m_nWindowBars;

    // 1. Too few bars for a window: show what there is and report the end.
    if (m_nBarCount < nWindowBars)
    {
        m_vecWindow.assign(m_vecBars.begin(), m_vecBars.end());
        if (!m_vecBars.empty())
            MakeCurrent(m_vecBars.back());
        m_nCursor = m_nBarCount;
        ShowWindow(m_vecWindow.data(), m_vecWindow.size());
        return m_nCursor;
    }

    // 2. Move the window: the first N bars, nothing at the end, else one bar on.
    if (m_nCursor < nWindowBars)
    {
        m_vecWindow.assign(m_vecBars.begin(), m_vecBars.begin() + nWindowBars);
        m_nCursor = nWindowBars;
        if (nWindowBars > 0)
            MakeCurrent(m_vecWindow.back());
    }
    else if (m_nCursor >= m_nBarCount)
    {
        ShowWindow(m_vecWindow.data(), m_vecWindow.size());
        return m_nCursor;
    }
    else
    {
        const SChartCandlestickPoint& bar = m_vecBars[static_cast<size_t>(m_nCursor)];
        if (!m_vecWindow.empty())
        {
            std::move(m_vecWindow.begin() + 1, m_vecWindow.end(), m_vecWindow.begin());
            m_vecWindow.back() = bar;
        }
        MakeCurrent(bar);
        ++m_nCursor;
    }

    // 3. Show it.
    ShowWindow(m_vecWindow.data(), m_vecWindow.size());
    return m_nCursor;
}

void CKLinePlayer::MakeCurrent(const SChartCandlestickPoint& bar)
{
    m_dOpen = bar.dOpen;
    m_dHigh = bar.dHigh;
    m_dLow = bar.dLow;
    m_dClose = bar.dClose;
}

void CKLinePlayer::ShowWindow(const SChartCandlestickPoint* pBars, size_t nCount)
{
    if (m_pChart == nullptr)
        return;
    // Clearing, attaching and filling each redraw the whole chart; held together, one tick
    // redraws it once with the same picture.
    CRefreshHold hold(m_pChart);
    m_pChart->DeleteAllSeries();
    auto* pSerie = new CChartCandlestickSerie(m_pChart);
    m_pChart->AttachSerie(pSerie); // the chart owns it from here
    pSerie->AddPoints(pBars, static_cast<unsigned>(nCount));
}
