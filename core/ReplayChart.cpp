#include "core/ReplayChart.h"

#include "chart/ChartCrosshair.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartLineSerie.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartStandardAxis.h"
#include "chart/ChartTradeMarkerSerie.h"
#include "chart/RefreshHold.h"
#include "core/BarLabels.h"
#include "core/MovingAverage.h"
#include "core/PracticeSession.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// Never the candles' red: the averages must stay apart from rising bars.
constexpr std::array<COLORREF, 4> kAverageColors = {
    RGB(0, 90, 200),
    RGB(230, 140, 0),
    RGB(150, 0, 170),
    RGB(0, 150, 120),
};
} // namespace

CReplayChart::CReplayChart(CChartCtrl& chart) : m_chart(chart)
{
    m_pTimeAxis = m_chart.NewDateTimeAxis();
    m_pTimeAxis->SetRangeMode(AllPoints);
    m_pTimeAxis->SetTickLabelFormat(false, "%Y-%m-%d");
    if (CChartScrollBar* pScrollBar = m_pTimeAxis->m_pAxisScrollBar)
    {
        pScrollBar->m_bEnabled = true;
        pScrollBar->ShowWindow(SW_SHOW);
    }
    m_pPriceAxis = m_chart.NewStandardAxis();
    m_pPriceAxis->SetRangeMode(AllPoints);
    m_pCrosshair = new CChartCrosshair(&m_chart);
    m_chart.AddOverlay(m_pCrosshair);
}

void CReplayChart::ShowNewFile(const CPracticeSession& session)
{
    const CKLinePlayer& player = session.Player();
    FitAxesToBars(m_pTimeAxis, m_pPriceAxis, player.m_bTimeOfDay, player.m_nPriceDecimals);
    m_pCrosshair->SetDecimals(player.m_nPriceDecimals);
    Clear();
    SetDatePadding(session);
}

void CReplayChart::Clear()
{
    // Without series the automatic axes fall back to the empty range they started with.
    CRefreshHold hold(&m_chart);
    m_chart.DeleteAllSeries();
    m_pTimeAxis->RefreshAutoRange();
    m_pPriceAxis->RefreshAutoRange();
}

void CReplayChart::SetDatePadding(const CPracticeSession& session)
{
    // Half the shortest spacing of the file's bars keeps the outer candles whole.
    const std::vector<SChartCandlestickPoint>& vecBars = session.Player().m_vecBars;
    double dSpacing = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < vecBars.size(); ++i)
    {
        const double dGap = vecBars[i].dDate - vecBars[i - 1].dDate;
        if (dGap > 0.0 && dGap < dSpacing)
            dSpacing = dGap;
    }
    m_pTimeAxis->m_dAutoPadding = std::isfinite(dSpacing) ? dSpacing / 2.0 : 0.5;
}

void CReplayChart::ShowOverlays(const CPracticeSession& session)
{
    ShowAverages(session);
    ShowTradeMarkers(session);
}

void CReplayChart::Redraw(CPracticeSession& session)
{
    if (!session.Player().HasCurrentBar())
        return;
    CRefreshHold hold(&m_chart);
    // The player's series goes with every other one; the window is drawn again from its bars.
    session.ShowCurrentWindow();
    ShowOverlays(session);
}

void CReplayChart::ShowAverages(const CPracticeSession& session)
{
    const CKLinePlayer& player = session.Player();
    const std::size_t nEnd = static_cast<std::size_t>(std::max(0, player.m_nCursor));
    const std::size_t nShown = std::min(player.m_vecWindow.size(), nEnd);
    if (nShown == 0 || nEnd > player.m_vecBars.size())
        return;
    const std::size_t nWindowStart = nEnd - nShown;
    for (std::size_t i = 0; i < kAveragePeriods.size(); ++i)
    {
        if (!m_arrAverageShown[i])
            continue;
        // Only the bars the averages at the window's first bar reach back to are read.
        const std::size_t nHistory = static_cast<std::size_t>(kAveragePeriods[i] - 1);
        const std::size_t nFirst = nWindowStart > nHistory ? nWindowStart - nHistory : 0;
        const std::vector<SChartLinePoint> vecPoints =
            MovingAverage(player.m_vecBars.data() + nFirst, nEnd - nFirst, kAveragePeriods[i],
                          nWindowStart - nFirst);
        auto* pLine = new CChartLineSerie(&m_chart);
        m_chart.AttachSerie(pLine); // the chart owns it; the next step replaces it
        pLine->SetColor(kAverageColors[i]);
        pLine->AddPoints(vecPoints.data(), static_cast<unsigned>(vecPoints.size()));
    }
}

CChartTradeMarkerSerie* CReplayChart::FindMarkerSerie()
{
    m_chart.RewindSeries();
    while (CChartSerie* pSerie = m_chart.NextSerie())
        if (auto* pMarkers = dynamic_cast<CChartTradeMarkerSerie*>(pSerie))
            return pMarkers;
    return nullptr;
}

void CReplayChart::ShowTradeMarkers(const CPracticeSession& session)
{
    const CKLinePlayer& player = session.Player();
    if (!player.HasCurrentBar())
        return;
    // The loaded file's trades on the bars in the window; others would sit on another
    // instrument's prices or outside the plot.
    const std::vector<SChartTradeMarker>& vecAll = session.FileMarkers();
    const auto itFirst = std::lower_bound(
        vecAll.begin(), vecAll.end(), player.m_vecWindow.front().dDate,
        [](const SChartTradeMarker& marker, double dDate) { return marker.dDate < dDate; });
    const auto itEnd = std::upper_bound(
        itFirst, vecAll.end(), player.m_vecWindow.back().dDate,
        [](double dDate, const SChartTradeMarker& marker) { return dDate < marker.dDate; });
    CChartTradeMarkerSerie* pSerie = FindMarkerSerie();
    if (pSerie == nullptr && itFirst == itEnd && !session.HasOpenPosition())
        return;
    if (pSerie == nullptr)
    {
        pSerie = new CChartTradeMarkerSerie(&m_chart);
        m_chart.AttachSerie(pSerie); // the chart owns it; the next step replaces it
    }
    CRefreshHold hold(&m_chart);
    pSerie->SetBars(player.m_vecWindow.data(), static_cast<unsigned>(player.m_vecWindow.size()));
    pSerie->SetMarkers(vecAll.data() + (itFirst - vecAll.begin()),
                       static_cast<unsigned>(itEnd - itFirst));
    pSerie->SetPriceDecimals(session.PriceDecimals());
    const CTradeAccount& account = session.Account();
    if (account.m_nPosition != 0)
        pSerie->SetAveragePrice(account.m_dAverage);
    else
        pSerie->ClearAveragePrice();
}
