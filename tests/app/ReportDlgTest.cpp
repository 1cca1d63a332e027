#include "AppTestSupport.h"

#include "app/ReportDlg.h"
#include "core/TradeJournal.h"

#include <QTableView>

namespace
{

STradeRecord Trade(ETradeSide eSide, int nBefore, int nAfter, double dRealized)
{
    STradeRecord record;
    record.eSide = eSide;
    record.nPositionBefore = nBefore;
    record.nPosition = nAfter;
    record.dRealized = dRealized;
    return record;
}

std::vector<std::string> ValueTexts(const CTradeJournal& journal)
{
    CReportDlg dlg(journal);
    std::vector<std::string> vecTexts;
    for (int r = 0; r < ReportRowCount; ++r)
        if (auto* pValue = dlg.findChild<QLabel*>(QStringLiteral("value%1").arg(r)))
            vecTexts.push_back(pValue->text().toStdString());
    return vecTexts;
}

// The y of the topmost pixel of colour cr in column x of the plot, or -1.
int CurveY(CChartCtrl& chart, int x, COLORREF cr)
{
    const RECT rcPlot = chart.GetPlotRect();
    for (int y = rcPlot.top; y < rcPlot.bottom; ++y)
        if (chart.GetBufferDC()->GetPixel(x, y) == cr)
            return y;
    return -1;
}

TEST(ReportDlgTest, ShowsTheSessionFiguresAndADashWhereTheTradesTheyNeedAreMissing)
{
    SetAppLanguage(ELanguage::Chinese);
    CTradeJournal journal;
    EXPECT_EQ(ValueTexts(journal),
              (std::vector<std::string>{"0", "0", "0", "0", "-", "-", "-", "-", "-", "-",
                                        "0.00 (0.00%)", "-", "0.00", "0.00", "0.00", "-", "-"}));
    // Wins only: the profit factor has no losses to divide by.
    journal.Append(Trade(ETradeSide::Buy, 0, 1, 0));
    journal.Append(Trade(ETradeSide::Sell, 1, 0, 20));
    journal.AddMark(1000020);
    EXPECT_EQ(ValueTexts(journal),
              (std::vector<std::string>{"2", "1", "1", "0", "100.00%", "20.00", "-", "∞", "20.00",
                                        "-", "0.00 (0.00%)", "1000020.00", "0.00", "0.00",
                                        "20.00", "20.00", "-"}));

    journal.Clear();
    journal.Append(Trade(ETradeSide::Buy, 0, 1, 0));
    journal.Append(Trade(ETradeSide::Sell, 1, 0, 300));
    journal.Append(Trade(ETradeSide::Buy, 0, 1, 0));
    journal.Append(Trade(ETradeSide::Sell, 1, 0, -100));
    journal.Append(Trade(ETradeSide::Sell, 0, -1, 0));
    // The last position had a stop that risked 25 and paid 2 of costs: 2.00 R net.
    STradeRecord last = Trade(ETradeSide::Buy, -1, 0, 50.0);
    last.dGross = 52.0;
    last.dCosts = 2.0;
    last.dRisk = 25.0;
    journal.Append(last);
    for (double dMark : {1000000.0, 1000300.0, 1000200.0, 1000250.0})
        journal.AddMark(dMark);
    // A fall of 100 from a peak of 1,000,300 is 0.0099969 %, shown to two significant digits.
    EXPECT_EQ(ValueTexts(journal),
              (std::vector<std::string>{"6", "3", "2", "1", "66.67%", "175.00", "-100.00", "3.50",
                                        "300.00", "-100.00", "100.00 (0.01%)", "1000250.00",
                                        "2.00", "52.00", "250.00", "83.33", "2.00 (1)"}));
}

TEST(ReportDlgTest, ListsEveryTradeWithTheFileItWasMadeOn)
{
    SetAppLanguage(ELanguage::Chinese);
    CTradeJournal journal;
    for (auto [pszFile, eSide, dPrice, nDecimals] :
         {std::tuple{"EURUSD.csv", ETradeSide::Buy, 1.07551, 5},
          {"SH600000.txt", ETradeSide::Sell, 15.2, 2}})
    {
        STradeRecord record = Trade(eSide, 0, eSide == ETradeSide::Buy ? 1 : -1, 0);
        record.nFile = journal.FileIndex(pszFile);
        record.dPrice = dPrice;
        record.nPriceDecimals = nDecimals;
        journal.Append(record);
    }
    CReportDlg dlg(journal);
    const QAbstractItemModel* pTrades = dlg.findChild<QTableView*>()->model();
    ASSERT_EQ(pTrades->rowCount(), 2);
    EXPECT_EQ(pTrades->index(0, 1).data().toString(), QStringLiteral("EURUSD.csv"));
    EXPECT_EQ(pTrades->index(0, 4).data().toString(), QStringLiteral("1.07551"));
    EXPECT_EQ(pTrades->index(1, 1).data().toString(), QStringLiteral("SH600000.txt"));
    EXPECT_EQ(pTrades->index(1, 2).data().toString(), QString::fromUtf8("卖出"));
    EXPECT_EQ(pTrades->index(1, 4).data().toString(), QStringLiteral("15.20"));
}

TEST(ReportDlgTest, DrawsTheEquityCurveOverTheMarksAndNoneWithoutThem)
{
    CTradeJournal journal;
    {
        CReportDlg empty(journal);
        const RECT rcPlot = empty.Chart().GetPlotRect();
        for (int x = rcPlot.left; x < rcPlot.right; x += 3)
            EXPECT_EQ(CurveY(empty.Chart(), x, CChartCtrl::DefaultSerieColor(0)), -1) << x;
    }
    // Up, down to the bottom, back up: a V whose lowest point is in the middle.
    for (double dMark : {1000.0, 1200.0, 1400.0, 1000.0, 600.0, 1000.0, 1400.0, 1200.0, 1000.0})
        journal.AddMark(dMark);
    CReportDlg dlg(journal);
    const RECT rcPlot = dlg.Chart().GetPlotRect();
    ASSERT_GT(rcPlot.right - rcPlot.left, 100);
    const COLORREF crCurve = CChartCtrl::DefaultSerieColor(0);
    const int nWidth = rcPlot.right - rcPlot.left;
    const int yQuarter = CurveY(dlg.Chart(), rcPlot.left + nWidth / 4, crCurve);
    const int yMiddle = CurveY(dlg.Chart(), rcPlot.left + nWidth / 2, crCurve);
    ASSERT_NE(yQuarter, -1);
    // Mark 1400 at the quarter points, 600 (the lowest) in the middle.
    EXPECT_EQ(yQuarter, CurveY(dlg.Chart(), rcPlot.left + nWidth * 3 / 4, crCurve));
    EXPECT_GT(yMiddle - yQuarter, (rcPlot.bottom - rcPlot.top) / 2);
}

} // namespace
