#pragma once

#include "chart/ChartCtrl.h"
#include "platform/DialogEx.h"

class CTradeJournal;

constexpr unsigned IDD_REPORT = 140;
constexpr int IDC_REPORT_CHART = 1100;
constexpr int IDC_REPORT_FIRST_VALUE = 1101; // value of row r is IDC_REPORT_FIRST_VALUE + r

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
    ReportRowCount,
};

// Registers the report's dialog template; registering again replaces it.
void RegisterReportDialogTemplate();

// The session report: the figures of a trade journal and its equity curve, the marked account
// value per bar. The journal must outlive the dialog.
class CReportDlg : public CDialogEx
{
public:
    explicit CReportDlg(const CTradeJournal& journal, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    void ShowFigures();
    void ShowEquityCurve();

    const CTradeJournal& m_journal;

public:
    CChartCtrl m_chart;
};
