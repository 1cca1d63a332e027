#include "core/ReplayChart.h"

#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCrosshair.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartLineSerie.h"
#include "chart/ChartOrderLineSerie.h"
#include "chart/ChartOrderLines.h"
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

// The bars the longest average reaches back before the window's first bar.
constexpr std::size_t kAverageHistory = 59;

// The shortest spacing between neighbouring bars; infinity for fewer than two.
double ShortestGap(const std::vector<SChartCandlestickPoint>& vecBars)
{
    double dSpacing = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < vecBars.size(); ++i)
    {
        const double dGap = vecBars[i].dDate - vecBars[i - 1].dDate;
        if (dGap > 0.0 && dGap < dSpacing)
            dSpacing = dGap;
    }
    return dSpacing;
}
// The lines' colours follow what an order does.
EChartOrderRole OrderRole(ETradeOrderKind eKind)
{
    switch (eKind)
    {
    case ETradeOrderKind::StopLoss:
        return EChartOrderRole::StopLoss;
    case ETradeOrderKind::TakeProfit:
        return EChartOrderRole::TakeProfit;
    default:
        return EChartOrderRole::Entry;
    }
}

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

void CReplayChart::SetTimeframe(std::optional<ETimeframe> timeframe)
{
    m_timeframe = timeframe;
}

void CReplayChart::ShowNewFile(const CPracticeSession& session)
{
    const CKLinePlayer& player = session.Player();
    m_pSeries.reset();
    if (m_timeframe)
        m_pSeries = std::make_unique<CTimeframeSeries>(player.m_vecBars.data(),
                                                       player.m_vecBars.size(), *m_timeframe);
    const bool bTimeOfDay = player.m_bTimeOfDay && (!m_timeframe || *m_timeframe < ETimeframe::Day);
    FitAxesToBars(m_pTimeAxis, m_pPriceAxis, bTimeOfDay, player.m_nPriceDecimals);
    m_pCrosshair->SetDecimals(player.m_nPriceDecimals);
    Clear();
    SetDatePadding(session);
}

void CReplayChart::Clear()
{
    // Without series the automatic axes fall back to the empty range they started with.
    CRefreshHold hold(&m_chart);
    m_chart.DeleteAllSeries();
    m_vecShown.clear();
    m_nWindowShown = 0;
    m_pTimeAxis->RefreshAutoRange();
    m_pPriceAxis->RefreshAutoRange();
}

void CReplayChart::SetDatePadding(const CPracticeSession& session)
{
    // Half the shortest spacing of the bars keeps the outer candles whole.
    const double dSpacing =
        ShortestGap(m_pSeries ? m_pSeries->Bars() : session.Player().m_vecBars);
    m_pTimeAxis->m_dAutoPadding = std::isfinite(dSpacing) ? dSpacing / 2.0 : 0.5;
}

void CReplayChart::ShownBars(const CPracticeSession& session, std::size_t nHistory,
                             std::vector<SChartCandlestickPoint>* pvecBars) const
{
    const CKLinePlayer& player = session.Player();
    const std::size_t nCursor = static_cast<std::size_t>(std::max(0, player.m_nCursor));
    const std::size_t nWanted = static_cast<std::size_t>(session.WindowBars()) + nHistory;
    if (m_pSeries)
    {
        m_pSeries->RevealedWindow(nCursor, nWanted, pvecBars);
        return;
    }
    const std::size_t nEnd = std::min(nCursor, player.m_vecBars.size());
    const std::size_t nBegin = nEnd > nWanted ? nEnd - nWanted : 0;
    pvecBars->assign(player.m_vecBars.begin() + static_cast<std::ptrdiff_t>(nBegin),
                     player.m_vecBars.begin() + static_cast<std::ptrdiff_t>(nEnd));
}

double CReplayChart::ShownDate(double dFileBarDate) const
{
    double dStart = dFileBarDate;
    if (m_timeframe && TimeframePeriodStart(*m_timeframe, dFileBarDate, &dStart))
        return dStart;
    return dFileBarDate;
}

void CReplayChart::ShowReplay(const CPracticeSession& session)
{
    if (!session.Player().HasCurrentBar())
        return;
    CRefreshHold hold(&m_chart);
    ShownBars(session, kAverageHistory, &m_vecShown);
    m_nWindowShown =
        std::min(m_vecShown.size(), static_cast<std::size_t>(std::max(0, session.WindowBars())));
    ShowCandles();
    ShowAverages();
    ShowTradeMarkers(session);
    ShowOrderLines(session);
}

void CReplayChart::ShowCandles()
{
    // Every step draws the window again as a fresh series.
    m_chart.DeleteAllSeries();
    auto* pSerie = new CChartCandlestickSerie(&m_chart);
    m_chart.AttachSerie(pSerie); // the chart owns it from here
    pSerie->AddPoints(m_vecShown.data() + (m_vecShown.size() - m_nWindowShown),
                      static_cast<unsigned>(m_nWindowShown));
}

void CReplayChart::ShowAverages()
{
    const std::size_t nWindowStart = m_vecShown.size() - m_nWindowShown;
    if (m_nWindowShown == 0)
        return;
    for (std::size_t i = 0; i < kAveragePeriods.size(); ++i)
    {
        if (!m_arrAverageShown[i])
            continue;
        const std::vector<SChartLinePoint> vecPoints =
            MovingAverage(m_vecShown.data(), m_vecShown.size(), kAveragePeriods[i], nWindowStart);
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
    if (m_nWindowShown == 0)
        return;
    const SChartCandlestickPoint* pWindow = m_vecShown.data() + (m_vecShown.size() - m_nWindowShown);
    // The loaded file's trades on the bars in the window, each on the bar that holds it; others
    // would sit on another instrument's prices or outside the plot.
    const std::vector<SChartTradeMarker>& vecAll = session.FileMarkers();
    std::vector<SChartTradeMarker> vecShownMarkers;
    for (auto it = std::lower_bound(vecAll.begin(), vecAll.end(), pWindow->dDate,
                                    [](const SChartTradeMarker& marker, double dDate)
                                    { return marker.dDate < dDate; });
         it != vecAll.end(); ++it)
    {
        SChartTradeMarker marker = *it;
        marker.dDate = ShownDate(marker.dDate);
        if (marker.dDate > pWindow[m_nWindowShown - 1].dDate)
            break;
        vecShownMarkers.push_back(marker);
    }
    CChartTradeMarkerSerie* pSerie = FindMarkerSerie();
    if (pSerie == nullptr && vecShownMarkers.empty() && !session.HasOpenPosition())
        return;
    if (pSerie == nullptr)
    {
        pSerie = new CChartTradeMarkerSerie(&m_chart);
        m_chart.AttachSerie(pSerie); // the chart owns it; the next step replaces it
    }
    CRefreshHold hold(&m_chart);
    pSerie->SetBars(pWindow, static_cast<unsigned>(m_nWindowShown));
    pSerie->SetMarkers(vecShownMarkers.data(), static_cast<unsigned>(vecShownMarkers.size()));
    pSerie->SetPriceDecimals(session.PriceDecimals());
    const CTradeAccount& account = session.Account();
    if (account.m_nPosition != 0)
        pSerie->SetAveragePrice(account.m_dAverage);
    else
        pSerie->ClearAveragePrice();
}

CChartOrderLineSerie* CReplayChart::FindOrderLineSerie()
{
    m_chart.RewindSeries();
    while (CChartSerie* pSerie = m_chart.NextSerie())
        if (auto* pLines = dynamic_cast<CChartOrderLineSerie*>(pSerie))
            return pLines;
    return nullptr;
}

void CReplayChart::ShowOrderLines(const CPracticeSession& session)
{
    if (session.Player().HasCurrentBar())
        ShowOrderLines(session.Desk(), session.PriceDecimals());
}

void CReplayChart::ShowOrderLines(const CTradeDesk& desk, int nPriceDecimals)
{
    const std::vector<STradeOrder>& vecOrders = desk.Orders();
    m_vecOrderLines.resize(vecOrders.size());
    for (std::size_t i = 0; i < vecOrders.size(); ++i)
    {
        const STradeOrder& order = vecOrders[i];
        SChartOrderLine& line = m_vecOrderLines[i];
        line.nId = order.nId;
        line.eRole = OrderRole(order.eKind);
        line.strKind = m_fnOrderKindName(order.eKind);
        line.nQuantity = order.nQuantity;
        line.dPrice = order.dPrice;
    }
    CRefreshHold hold(&m_chart);
    if (m_pOrderLines == nullptr)
    {
        // The lines outlive the steps, which replace every series: the chart keeps them.
        m_pOrderLines = new CChartOrderLines(&m_chart);
        m_chart.AddOverlay(m_pOrderLines);
    }
    // The chart owns the series; the next step replaces it.
    if (FindOrderLineSerie() == nullptr)
        m_chart.AttachSerie(new CChartOrderLineSerie(&m_chart, m_pOrderLines));
    m_pOrderLines->SetPriceDecimals(nPriceDecimals);
    m_pOrderLines->SetLines(m_vecOrderLines.data(), static_cast<unsigned>(m_vecOrderLines.size()));
}
