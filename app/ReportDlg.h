#pragma once

#include "chart/ChartCtrl.h"

#include <QDialog>

class CTradeJournal;

// The rows of the report, top to bottom.
enum EReportRow : int
{
    ReportTrades,
    ReportRoundTrips,
    ReportWins,
    ReportLosses,
    ReportWinRate,
    ReportAverageWin,
    ReportAverageLoss,
    ReportProfitFactor,
    ReportLargestWin,
    ReportLargestLoss,
    ReportMaxDrawdown,
    ReportFinalAccount,
    ReportCostsPaid,
    ReportBeforeCosts,
    ReportNetProfit,
    ReportExpectancy,
    ReportAverageR,
    ReportRowCount,
};

// The session report: the figures of a trade journal and its equity curve, the money gained or
// lost since the first mark, per bar.
class CReportDlg : public QDialog
{
public:
    explicit CReportDlg(const CTradeJournal& journal, QWidget* pParent = nullptr);

    // The equity curve, for reading its pixels.
    CChartCtrl& Chart() { return m_chart; }

private:
    void ShowEquityCurve(const CTradeJournal& journal);

    CChartCtrl m_chart;
};
