#include "app/ReportDlg.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/JournalModel.h"
#include "app/Resources.h"
#include "chart/ChartAxisLabel.h"
#include "chart/ChartLineSerie.h"
#include "chart/ChartStandardAxis.h"
#include "core/SessionStats.h"
#include "core/TradeJournal.h"
#include "platform/StringFormat.h"
#include "platform/WidgetHost.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QPushButton>

#include <algorithm>
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
constexpr int kChartHeight = 200;
constexpr int kDialogWidth = 400;
constexpr int kTradesTop = 234;
constexpr int kTradesHeight = 110;
constexpr int kDialogHeight = 370;
constexpr int kNoteTop = 214;
constexpr int kNoteWidth = 386;

std::string Money(double dValue)
{
    return StringFormat("%.2f", dValue);
}

// Two decimals, or two significant digits where two decimals would show a fall as 0.00.
std::string PercentText(double dPercent)
{
    if (dPercent == 0.0 || std::fabs(dPercent) >= 0.01)
        return StringFormat("%.2f", dPercent);
    return StringFormat("%.2g", dPercent);
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
    vecTexts[ReportMaxDrawdown] = StringFormat("%.2f (%s%%)", stats.dMaxDrawdown,
                                               PercentText(stats.dMaxDrawdownPercent).c_str());
    vecTexts[ReportFinalAccount] = bHasSession ? Money(stats.dFinalAccount) : strNone;
    vecTexts[ReportCostsPaid] = Money(stats.dCostsPaid);
    vecTexts[ReportBeforeCosts] = Money(stats.dProfitBeforeCosts);
    vecTexts[ReportNetProfit] = Money(stats.dNetProfit);
    vecTexts[ReportExpectancy] = stats.nRoundTrips > 0 ? Money(stats.dExpectancy) : strNone;
    // The mean R and how many positions with a stop it is taken over.
    vecTexts[ReportAverageR] = stats.nRiskedTrips > 0
                                   ? StringFormat("%.2f (%d)", stats.dAverageR, stats.nRiskedTrips)
                                   : strNone;
    return vecTexts;
}

} // namespace

CReportDlg::CReportDlg(const CTradeJournal& journal, QWidget* pParent) : QDialog(pParent)
{
    const CDialogUnits units(9);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_REPORT_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(kDialogWidth, kDialogHeight));

    const bool bHasSession = !journal.Records().empty() || !journal.Marks().empty();
    const std::vector<std::string> vecTexts =
        FigureTexts(ComputeSessionStats(journal), bHasSession);
    for (int r = 0; r < ReportRowCount; ++r)
    {
        const int y = kRowTop + r * kRowPitch;
        AddLabel(this, units, AppQText(IDS_REPORT_FIRST_ROW + static_cast<unsigned>(r)),
                 {kNameX, y, kNameWidth, 8});
        QLabel* pValue =
            AddLabel(this, units, QString::fromStdString(vecTexts[static_cast<std::size_t>(r)]),
                     {kValueX, y, kValueWidth, 8});
        pValue->setObjectName(QStringLiteral("value%1").arg(r));
    }
    QLabel* pNote = AddLabel(this, units, AppQText(IDS_REPORT_STOP_FIRST),
                             {kNameX, kNoteTop, kNoteWidth, 18});
    pNote->setWordWrap(true);
    const QRect rcChart = units.Rect(kChartX, kRowTop, kChartWidth, kChartHeight);
    CreateWindowInWidget(m_chart, "ChartCtrl", this,
                         RECT{rcChart.left(), rcChart.top(), rcChart.right() + 1,
                              rcChart.bottom() + 1});
    // Every trade with the file it was made on: a session may hold several instruments.
    auto* pTrades = new QTableView(this);
    pTrades->setModel(new CJournalModel(journal, pTrades));
    pTrades->verticalHeader()->hide();
    pTrades->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    pTrades->verticalHeader()->setDefaultSectionSize(pTrades->fontMetrics().height() + 4);
    pTrades->setSelectionBehavior(QAbstractItemView::SelectRows);
    pTrades->setGeometry(units.Rect(kNameX, kTradesTop, kDialogWidth - 2 * kNameX, kTradesHeight));
    pTrades->setFocusPolicy(Qt::NoFocus);
    pTrades->scrollToBottom();
    QPushButton* pOk = AddButton(this, units, AppQText(IDS_OK),
                                 {kDialogWidth - 57, kDialogHeight - 21, 50, 14}, true);
    connect(pOk, &QPushButton::clicked, this, &CReportDlg::accept);
    ShowEquityCurve(journal);
    // The first control in the tab order has the focus; Return still answers OK.
    if (QWidget* pChart = WidgetOfWindow(m_chart))
        pChart->setFocus(Qt::TabFocusReason);
}

void CReportDlg::ShowEquityCurve(const CTradeJournal& journal)
{
    // Bars along the bottom, money gained or lost at the left; both follow the curve, with a
    // margin above and below it so its peak and trough stay clear of the plot's edges.
    auto* pBars = new CChartStandardAxis;
    m_chart.InstallAxis(pBars, SlotBottom); // the chart owns it from here
    pBars->SetRangeMode(AllPoints);
    pBars->m_pCaption->SetText(AppText(IDS_REPORT_CURVE_BARS));
    CChartStandardAxis* pValues = m_chart.NewStandardAxis();
    pValues->SetRangeMode(AllPoints);
    pValues->m_pCaption->SetText(AppText(IDS_REPORT_CURVE_MONEY));

    const std::vector<double>& vecMarks = journal.Marks();
    std::vector<SChartLinePoint> vecPoints;
    vecPoints.reserve(vecMarks.size());
    for (std::size_t i = 0; i < vecMarks.size(); ++i)
        vecPoints.push_back({static_cast<double>(i + 1), vecMarks[i] - vecMarks.front()});
    if (!vecMarks.empty())
    {
        const auto [itLow, itHigh] = std::minmax_element(vecMarks.begin(), vecMarks.end());
        const double dSpan = *itHigh - *itLow;
        pValues->m_dAutoPadding = dSpan > 0.0 ? dSpan * 0.08 : 1.0;
    }
    auto* pCurve = new CChartLineSerie(&m_chart);
    m_chart.AttachSerie(pCurve);
    if (!vecPoints.empty())
        pCurve->AddPoints(vecPoints.data(), static_cast<unsigned>(vecPoints.size()));
}
