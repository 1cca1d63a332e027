#include "app/ReportDlg.h"

#include "app/StringIds.h"
#include "app/StringTable.h"

#include "chart/ChartLineSerie.h"
#include "chart/ChartStandardAxis.h"
#include "core/SessionStats.h"
#include "core/TradeJournal.h"
#include "platform/DataExchange.h"
#include "platform/Resource.h"
#include "platform/StringFormat.h"

#include <cmath>
#include <string>
#include <vector>

namespace
{

static_assert(IDS_REPORT_LAST_ROW - IDS_REPORT_FIRST_ROW + 1 == ReportRowCount);

// Signs, the same in every language.
constexpr const char* kUndefined = "-"; // a figure without the trades it needs
constexpr const char* kInfinity = "∞";  // profit factor with wins and no losses

// Layout in dialog units: names and values on the left, the equity curve on the right.
constexpr int kRowTop = 7;
constexpr int kRowPitch = 12;
constexpr int kNameX = 7;
constexpr int kNameWidth = 54;
constexpr int kValueX = 63;
constexpr int kValueWidth = 74;
constexpr int kChartX = 142;
constexpr int kChartWidth = 251;
constexpr int kChartHeight = 147;
constexpr int kDialogWidth = 400;
constexpr int kDialogHeight = 180;

SDialogItemTemplate Item(const char* pszClass, const char* pszText, int nId, RECT rc, DWORD dwStyle)
{
    SDialogItemTemplate item;
    item.pszClass = pszClass;
    item.pszText = pszText;
    item.nId = nId;
    item.x = rc.left;
    item.y = rc.top;
    item.cx = rc.right;
    item.cy = rc.bottom;
    item.dwStyle = dwStyle;
    return item;
}

std::string Money(double dValue)
{
    return StringFormat("%.2f", dValue);
}

std::string ProfitFactorText(const SSessionStats& stats)
{
    if (stats.nWins == 0 && stats.nLosses == 0)
        return kUndefined;
    if (std::isinf(stats.dProfitFactor))
        return kInfinity;
    return Money(stats.dProfitFactor);
}

std::vector<std::string> FigureTexts(const SSessionStats& stats, bool bHasSession)
{
    const std::string strNone = kUndefined;
    const bool bDecided = stats.nWins + stats.nLosses > 0;
    std::vector<std::string> vecTexts(ReportRowCount);
    vecTexts[ReportTrades] = StringFormat("%d", stats.nTrades);
    vecTexts[ReportRoundTrips] = StringFormat("%d", stats.nRoundTrips);
    vecTexts[ReportWins] = StringFormat("%d", stats.nWins);
    vecTexts[ReportLosses] = StringFormat("%d", stats.nLosses);
    vecTexts[ReportWinRate] = bDecided ? StringFormat("%.2f%%", stats.dWinRate * 100.0) : strNone;
    vecTexts[ReportAverageWin] = stats.nWins > 0 ? Money(stats.dAverageWin) : strNone;
    vecTexts[ReportAverageLoss] = stats.nLosses > 0 ? Money(stats.dAverageLoss) : strNone;
    vecTexts[ReportProfitFactor] = ProfitFactorText(stats);
    vecTexts[ReportLargestWin] = stats.nWins > 0 ? Money(stats.dLargestWin) : strNone;
    vecTexts[ReportLargestLoss] = stats.nLosses > 0 ? Money(stats.dLargestLoss) : strNone;
    vecTexts[ReportMaxDrawdown] =
        StringFormat("%.2f (%.2f%%)", stats.dMaxDrawdown, stats.dMaxDrawdownPercent);
    vecTexts[ReportFinalAccount] = bHasSession ? Money(stats.dFinalAccount) : strNone;
    return vecTexts;
}

} // namespace

void RegisterReportDialogTemplate()
{
    constexpr DWORD kLabel = SS_LEFT | WS_VISIBLE | WS_GROUP;
    SDialogTemplate t;
    t.nId = IDD_REPORT;
    t.cx = kDialogWidth;
    t.cy = kDialogHeight;
    t.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SHELLFONT;
    t.pszCaption = AppText(IDS_REPORT_CAPTION);
    t.nPointSize = 9;
    for (int r = 0; r < ReportRowCount; ++r)
    {
        const int y = kRowTop + r * kRowPitch;
        t.items.push_back(Item("STATIC", AppText(IDS_REPORT_FIRST_ROW + static_cast<unsigned>(r)),
                               IDC_STATIC, {kNameX, y, kNameWidth, 8}, kLabel));
        t.items.push_back(
            Item("STATIC", "", IDC_REPORT_FIRST_VALUE + r, {kValueX, y, kValueWidth, 8}, kLabel));
    }
    t.items.push_back(Item("ChartCtrl", "", IDC_REPORT_CHART,
                           {kChartX, kRowTop, kChartWidth, kChartHeight},
                           WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP));
    t.items.push_back(Item("BUTTON", AppText(IDS_OK), IDOK,
                           {kDialogWidth - 57, kDialogHeight - 21, 50, 14},
                           BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP | WS_GROUP));
    RegisterDialogTemplate(t);
}

CReportDlg::CReportDlg(const CTradeJournal& journal, CWnd* pParent)
    : CDialogEx(IDD_REPORT, pParent), m_journal(journal)
{
}

void CReportDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REPORT_CHART, m_chart);
}

BOOL CReportDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    ShowFigures();
    ShowEquityCurve();
    return TRUE;
}

void CReportDlg::ShowFigures()
{
    const bool bHasSession = !m_journal.Records().empty() || !m_journal.Marks().empty();
    const std::vector<std::string> vecTexts =
        FigureTexts(ComputeSessionStats(m_journal), bHasSession);
    for (int r = 0; r < ReportRowCount; ++r)
        SetDlgItemText(IDC_REPORT_FIRST_VALUE + r, vecTexts[static_cast<std::size_t>(r)].c_str());
}

void CReportDlg::ShowEquityCurve()
{
    // Bars along the bottom, account value at the left; both follow the curve.
    auto* pBars = new CChartStandardAxis;
    m_chart.InstallAxis(pBars, SlotBottom); // the chart owns it from here
    pBars->SetRangeMode(AllPoints);
    CChartStandardAxis* pValues = m_chart.NewStandardAxis();
    pValues->SetRangeMode(AllPoints);

    const std::vector<double>& vecMarks = m_journal.Marks();
    std::vector<SChartLinePoint> vecPoints;
    vecPoints.reserve(vecMarks.size());
    for (std::size_t i = 0; i < vecMarks.size(); ++i)
        vecPoints.push_back({static_cast<double>(i + 1), vecMarks[i]});
    auto* pCurve = new CChartLineSerie(&m_chart);
    m_chart.AttachSerie(pCurve);
    if (!vecPoints.empty())
        pCurve->AddPoints(vecPoints.data(), static_cast<unsigned>(vecPoints.size()));
}
