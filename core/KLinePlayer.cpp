#include "core/KLinePlayer.h"

#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/RefreshHold.h"
#include "core/BarLabels.h"
#include "core/KLineFile.h"
#include "core/KLineMessages.h"
#include "core/ReplaySettings.h"

#include <algorithm>

bool CKLinePlayer::Load(const std::string& strPath, std::string* pstrReason)
{
    SKLineLoad load;
    const bool bRead = LoadKLineFile(strPath, &load);
    return Take(strPath, &load, bRead, pstrReason);
}

bool CKLinePlayer::Load(const std::string& strPath, const SKLineLayout& layout,
                        std::string* pstrReason)
{
    SKLineLoad load;
    const bool bRead = LoadKLineFile(strPath, &load, &layout);
    return Take(strPath, &load, bRead, pstrReason);
}

bool CKLinePlayer::Load(const std::string& strPath, const SKLineLayout* pLayout,
                        SKLineLoad* pRefused)
{
    SKLineLoad load;
    const bool bRead = LoadKLineFile(strPath, &load, pLayout);
    if (Take(strPath, &load, bRead, nullptr))
        return true;
    *pRefused = std::move(load);
    return false;
}

bool CKLinePlayer::Take(const std::string& strPath, SKLineLoad* pLoad, bool bRead,
                        std::string* pstrReason)
{
    ReportKLineLoad(strPath, *pLoad);
    if (!bRead)
    {
        // The replay going on keeps its file, bars, cursor and window.
        if (pstrReason != nullptr)
            *pstrReason = KLineLoadFailureText(*pLoad);
        return false;
    }
    const int nWindowBars = ReplaySettings().m_nWindowBars;
    // Swapping gives the previous file's storage back.
    m_vecBars.swap(pLoad->m_vecBars);
    m_vecVolumes.swap(pLoad->m_vecVolumes);
    std::vector<SChartCandlestickPoint>(nWindowBars > 0 ? nWindowBars : 0).swap(m_vecWindow);
    m_nCursor = 0;
    m_nBarCount = static_cast<int>(m_vecBars.size());
    m_layout = pLoad->m_layout;
    m_stats = pLoad->m_stats;
    m_strFilePath = strPath;
    m_nPriceDecimals = ShownPriceDecimals(m_stats.m_nPriceDecimals);
    m_bTimeOfDay = m_stats.m_bTimeOfDay;
    // The old file's last close must not be traded at or marked to.
    MakeCurrent(SChartCandlestickPoint{});
    return true;
}

std::string CKLinePlayer::LoadNote() const
{
    if (m_strFilePath.empty())
        return {};
    return KLineLoadNote(m_layout, m_stats, m_vecBars);
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
