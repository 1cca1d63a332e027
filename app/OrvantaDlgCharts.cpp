// The main window's charts: the main one and a second of the same file, each in its own
// timeframe; a crosshair on one marks its instant on the other.
#include "app/OrvantaDlg.h"

#include "app/DialogControls.h"
#include "app/Resources.h"
#include "app/TradeTexts.h"
#include "chart/ChartCrosshair.h"
#include "chart/RefreshHold.h"
#include "core/ReplayChart.h"
#include "platform/WidgetHost.h"

#include <QAction>
#include <QMenu>
#include <QSplitter>

void COrvantaDlg::CreateCharts(const QRect& rcCharts)
{
    m_pSplitter = new QSplitter(Qt::Horizontal, m_pClient);
    m_pSplitter->setChildrenCollapsible(false);
    m_pSplitter->setGeometry(rcCharts);
    const RECT rcChart = {0, 0, rcCharts.width(), rcCharts.height()};
    for (CChartCtrl* pChart : {&m_chart, &m_chart2})
    {
        CreateWindowInWidget(*pChart, "ChartCtrl", m_pSplitter, rcChart);
        m_pSplitter->addWidget(WidgetOfWindow(*pChart));
    }
    WidgetOfWindow(m_chart2)->hide();
    m_chart.m_pOrderSink = this;
    m_chart2.m_pOrderSink = this;
    m_pReplayChart = std::make_unique<CReplayChart>(m_chart);
    m_pReplayChart2 = std::make_unique<CReplayChart>(m_chart2);
    for (CReplayChart* pChart : {m_pReplayChart.get(), m_pReplayChart2.get()})
        pChart->SetOrderKindNames([](ETradeOrderKind eKind)
                                  { return OrderKindText(eKind, ETradeSide::Buy).toStdString(); });
    // Each chart's crosshair marks its instant on the other.
    const auto link = [this](CReplayChart* pFrom, CReplayChart* pTo)
    {
        pFrom->Crosshair()->SetMoveListener(
            [this, pTo](const double* pdDate)
            {
                if (pdDate != nullptr && HasSecondChart())
                    pTo->Crosshair()->ShowLinkedDate(*pdDate);
                else
                    pTo->Crosshair()->HideLinkedDate();
            });
    };
    link(m_pReplayChart.get(), m_pReplayChart2.get());
    link(m_pReplayChart2.get(), m_pReplayChart.get());
}

void COrvantaDlg::CreateChartActions()
{
    for (int i = 0; i < kTimeframeCount; ++i)
    {
        const QString strName = AppQText(IDS_TIMEFRAME_FIRST + static_cast<unsigned>(i));
        auto* pMain = new QAction(strName, this);
        pMain->setShortcut(Qt::Key_1 + i);
        connect(pMain, &QAction::triggered, this, [this, i] { OnTimeframe(i); });
        m_vecTimeframeActions.push_back(pMain);
        auto* pSecond = new QAction(strName, this);
        connect(pSecond, &QAction::triggered, this, [this, i] { OnSecondTimeframe(i); });
        m_vecSecondTimeframeActions.push_back(pSecond);
    }
    addActions({m_vecTimeframeActions.begin(), m_vecTimeframeActions.end()});
    const unsigned arrIds[] = {IDS_MENU_SECOND_OFF, IDS_MENU_SECOND_SIDE, IDS_MENU_SECOND_STACKED};
    for (int nMode = 0; nMode < 3; ++nMode)
    {
        m_arrSecondChartActions[static_cast<std::size_t>(nMode)] = new QAction(AppQText(arrIds[nMode]), this);
        connect(m_arrSecondChartActions[static_cast<std::size_t>(nMode)], &QAction::triggered,
                this, [this, nMode] { OnSecondChart(nMode); });
    }
}

void COrvantaDlg::CreateChartMenus(QMenu* pOptions)
{
    QMenu* pTimeframe = pOptions->addMenu(AppQText(IDS_MENU_TIMEFRAME));
    pTimeframe->addActions({m_vecTimeframeActions.begin(), m_vecTimeframeActions.end()});
    QMenu* pSecond = pOptions->addMenu(AppQText(IDS_MENU_SECOND_CHART));
    pSecond->addActions({m_arrSecondChartActions.begin(), m_arrSecondChartActions.end()});
    pSecond->addSeparator();
    pSecond->addActions({m_vecSecondTimeframeActions.begin(), m_vecSecondTimeframeActions.end()});
}

std::optional<ETimeframe> COrvantaDlg::ShownTimeframe(int nChosen) const
{
    ETimeframe eFrame = ETimeframe::Minute1;
    if (m_nFinestTimeframe < 0 || nChosen <= m_nFinestTimeframe ||
        !TimeframeFromIndex(nChosen, &eFrame))
        return std::nullopt;
    return eFrame;
}

void COrvantaDlg::ShowNewFileOnCharts()
{
    const std::vector<SChartCandlestickPoint>& vecBars = m_session.Player().m_vecBars;
    m_nFinestTimeframe = TimeframeIndex(
        FinestTimeframeFor(BarSpacingSeconds(vecBars.data(), vecBars.size())));
    m_pReplayChart->SetTimeframe(ShownTimeframe(m_settings.nTimeframe));
    m_pReplayChart2->SetTimeframe(ShownTimeframe(m_settings.nSecondTimeframe));
    m_pReplayChart->ShowNewFile(m_session);
    m_pReplayChart2->ShowNewFile(m_session);
}

void COrvantaDlg::ShowCharts()
{
    for (CReplayChart* pChart : {m_pReplayChart.get(), m_pReplayChart2.get()})
    {
        if (pChart == m_pReplayChart2.get() && !HasSecondChart())
            continue;
        // The step's candles and the averages and markers over them make one redraw.
        CRefreshHold hold(&pChart->Chart());
        pChart->ShowReplay(m_session);
    }
}

void COrvantaDlg::ShowTradingOnCharts()
{
    for (CReplayChart* pChart : {m_pReplayChart.get(), m_pReplayChart2.get()})
    {
        if (pChart == m_pReplayChart2.get() && !HasSecondChart())
            continue;
        CRefreshHold hold(&pChart->Chart());
        pChart->ShowTradeMarkers(m_session);
        pChart->ShowOrderLines(m_session);
    }
}

void COrvantaDlg::ShowChartChecks()
{
    // Without a file every timeframe may be chosen; with one, those at or above its spacing.
    const bool bFile = m_nFinestTimeframe >= 0;
    const int nMain = bFile ? std::max(m_settings.nTimeframe, m_nFinestTimeframe)
                            : m_settings.nTimeframe;
    const int nSecond = bFile ? std::max(m_settings.nSecondTimeframe, m_nFinestTimeframe)
                              : m_settings.nSecondTimeframe;
    for (int i = 0; i < kTimeframeCount; ++i)
    {
        const std::size_t n = static_cast<std::size_t>(i);
        const bool bOffered = !bFile || i >= m_nFinestTimeframe;
        m_vecTimeframeActions[n]->setEnabled(bOffered);
        ShowMenuCheck(m_vecTimeframeActions[n], i == nMain);
        m_vecSecondTimeframeActions[n]->setEnabled(bOffered);
        ShowMenuCheck(m_vecSecondTimeframeActions[n], i == nSecond);
    }
    for (int nMode = 0; nMode < 3; ++nMode)
        ShowMenuCheck(m_arrSecondChartActions[static_cast<std::size_t>(nMode)],
                    nMode == m_settings.nSecondChart);
}

void COrvantaDlg::OnTimeframe(int nIndex)
{
    if (m_nFinestTimeframe >= 0 && nIndex < m_nFinestTimeframe)
        return;
    m_settings.nTimeframe = nIndex;
    m_settingsFile.writeSettings(m_settings);
    m_pReplayChart->SetTimeframe(ShownTimeframe(nIndex));
    if (m_nFinestTimeframe >= 0)
        m_pReplayChart->ShowNewFile(m_session);
    ShowCharts();
    ShowSession();
    ShowNotes();
}

void COrvantaDlg::OnSecondTimeframe(int nIndex)
{
    if (m_nFinestTimeframe >= 0 && nIndex < m_nFinestTimeframe)
        return;
    m_settings.nSecondTimeframe = nIndex;
    m_settingsFile.writeSettings(m_settings);
    m_pReplayChart2->SetTimeframe(ShownTimeframe(nIndex));
    if (m_nFinestTimeframe >= 0)
        m_pReplayChart2->ShowNewFile(m_session);
    ShowCharts();
    ShowSession();
    ShowNotes();
}

void COrvantaDlg::OnSecondChart(int nMode)
{
    m_settings.nSecondChart = nMode;
    m_settingsFile.writeSettings(m_settings);
    ApplySecondChart();
    ShowCharts();
    ShowSession();
    ShowNotes();
}

void COrvantaDlg::ApplySecondChart()
{
    QWidget* pSecond = WidgetOfWindow(m_chart2);
    if (!HasSecondChart())
    {
        m_pReplayChart->Crosshair()->HideLinkedDate();
        pSecond->hide();
        return;
    }
    m_pSplitter->setOrientation(m_settings.nSecondChart == 1 ? Qt::Horizontal : Qt::Vertical);
    pSecond->show();
    // Half each to begin with; the user drags the split from there.
    const int nSpan = m_settings.nSecondChart == 1 ? m_pSplitter->width() : m_pSplitter->height();
    m_pSplitter->setSizes({nSpan / 2, nSpan - nSpan / 2});
}
