#include "AppTestSupport.h"

#include "app/ReportDlg.h"
#include "core/TradeJournal.h"
#include "platform/WinUser.h"

#include <QLabel>

namespace
{

const QString kCaption = QString::fromUtf8("交易统计");

STradeRecord Trade(ETradeSide eSide, int nBefore, int nAfter, double dRealized)
{
    STradeRecord record;
    record.eSide = eSide;
    record.nPositionBefore = nBefore;
    record.nPosition = nAfter;
    record.dRealized = dRealized;
    return record;
}

class ReportDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureAppTestToolkit();
        RegisterReportDialogTemplate();
    }

    // Opens the report on the journal, runs body while it shows, then closes it with Return.
    void WhileShown(const std::function<void(CReportDlg&, QWidget*)>& body)
    {
        CReportDlg dlg(m_journal);
        WhenModal(TitleIs(kCaption),
                  [&](QWidget* pWindow)
                  {
                      CPlatformApp::ProcessEvents();
                      body(dlg, pWindow);
                      QTest::keyClick(pWindow, Qt::Key_Return);
                  });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }

    std::vector<std::string> ValueTexts()
    {
        std::vector<std::string> vecTexts;
        WhileShown(
            [&](CReportDlg& dlg, QWidget*)
            {
                for (int r = 0; r < ReportRowCount; ++r)
                {
                    std::string strText;
                    dlg.GetDlgItemText(IDC_REPORT_FIRST_VALUE + r, strText);
                    vecTexts.push_back(strText);
                }
            });
        return vecTexts;
    }

    CTradeJournal m_journal;
};

// The y of the topmost pixel of colour cr in column x of the plot, or -1.
int CurveY(CChartCtrl& chart, int x, COLORREF cr)
{
    const RECT rcPlot = chart.GetPlotRect();
    for (int y = rcPlot.top; y < rcPlot.bottom; ++y)
        if (chart.GetBufferDC()->GetPixel(x, y) == cr)
            return y;
    return -1;
}

} // namespace

TEST_F(ReportDlgTest, ShowsTheSessionFigures)
{
    m_journal.Append(Trade(ETradeSide::Buy, 0, 1, 0));
    m_journal.Append(Trade(ETradeSide::Sell, 1, 0, 300));
    m_journal.Append(Trade(ETradeSide::Buy, 0, 1, 0));
    m_journal.Append(Trade(ETradeSide::Sell, 1, 0, -100));
    m_journal.Append(Trade(ETradeSide::Sell, 0, -1, 0));
    m_journal.Append(Trade(ETradeSide::Buy, -1, 0, 50.005));
    for (double dMark : {1000000.0, 1000300.0, 1000200.0, 1000250.0})
        m_journal.AddMark(dMark);

    const std::vector<std::string> vecExpected = {
        "6",       "3",    "2",      "1",       "66.67%",         "175.00",
        "-100.00", "3.50", "300.00", "-100.00", "100.00 (0.01%)", "1000250.00",
    };
    EXPECT_EQ(ValueTexts(), vecExpected);
}

TEST_F(ReportDlgTest, FiguresWithoutTheTradesTheyNeedShowADash)
{
    EXPECT_EQ(ValueTexts(), (std::vector<std::string>{"0", "0", "0", "0", "-", "-", "-", "-", "-",
                                                      "-", "0.00 (0.00%)", "-"}));

    // Wins only: the profit factor has no losses to divide by.
    m_journal.Append(Trade(ETradeSide::Buy, 0, 1, 0));
    m_journal.Append(Trade(ETradeSide::Sell, 1, 0, 20));
    m_journal.AddMark(1000020);
    EXPECT_EQ(ValueTexts(),
              (std::vector<std::string>{"2", "1", "1", "0", "100.00%", "20.00", "-", "∞", "20.00",
                                        "-", "0.00 (0.00%)", "1000020.00"}));

    // Losses only: a profit factor of 0.
    m_journal.Clear();
    m_journal.Append(Trade(ETradeSide::Sell, 0, -1, 0));
    m_journal.Append(Trade(ETradeSide::Buy, -1, 0, -5));
    EXPECT_EQ(ValueTexts()[ReportProfitFactor], "0.00");
}

TEST_F(ReportDlgTest, LabelsCaptionAndButtonAreChinese)
{
    QStringList names;
    QString strButton;
    WhileShown(
        [&](CReportDlg&, QWidget* pWindow)
        {
            for (QLabel* pLabel : pWindow->findChildren<QLabel*>())
                names << pLabel->text();
            if (QAbstractButton* pOk = FindButton(QString::fromUtf8("确定")))
                strButton = pOk->text();
        });
    for (const char* pszName :
         {"交易次数", "回合数", "盈利次数", "亏损次数", "胜率", "平均盈利", "平均亏损", "盈亏比",
          "最大盈利", "最大亏损", "最大回撤", "期末账户"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(pszName))) << pszName;
    EXPECT_EQ(strButton, QString::fromUtf8("确定"));
}

TEST_F(ReportDlgTest, ReturnAndEscapeCloseIt)
{
    WhileShown([](CReportDlg&, QWidget*) {}); // Return, checked inside

    CReportDlg dlg(m_journal);
    WhenModal(TitleIs(kCaption),
              [](QWidget* pWindow) { QTest::keyClick(pWindow, Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(ReportDlgTest, DrawsTheEquityCurveOverTheMarks)
{
    // Up, down to the bottom, back up: a V whose lowest point is in the middle.
    for (double dMark : {1000.0, 1200.0, 1400.0, 1000.0, 600.0, 1000.0, 1400.0, 1200.0, 1000.0})
        m_journal.AddMark(dMark);
    WhileShown(
        [&](CReportDlg& dlg, QWidget*)
        {
            const RECT rcPlot = dlg.m_chart.GetPlotRect();
            ASSERT_GT(rcPlot.right - rcPlot.left, 100);
            const COLORREF crCurve = CChartCtrl::DefaultSerieColor(0);
            const int nWidth = rcPlot.right - rcPlot.left;
            const int yQuarter = CurveY(dlg.m_chart, rcPlot.left + nWidth / 4, crCurve);
            const int yMiddle = CurveY(dlg.m_chart, rcPlot.left + nWidth / 2, crCurve);
            const int yThreeQuarters = CurveY(dlg.m_chart, rcPlot.left + nWidth * 3 / 4, crCurve);
            ASSERT_NE(yQuarter, -1);
            ASSERT_NE(yMiddle, -1);
            // Mark 1400 at the quarter points, 600 (the lowest) in the middle.
            EXPECT_EQ(yQuarter, yThreeQuarters);
            EXPECT_GT(yMiddle - yQuarter, (rcPlot.bottom - rcPlot.top) / 2);
        });
}

TEST_F(ReportDlgTest, AnEmptyJournalDrawsNoCurve)
{
    WhileShown(
        [&](CReportDlg& dlg, QWidget*)
        {
            const RECT rcPlot = dlg.m_chart.GetPlotRect();
            const COLORREF crCurve = CChartCtrl::DefaultSerieColor(0);
            for (int x = rcPlot.left; x < rcPlot.right; x += 3)
                EXPECT_EQ(CurveY(dlg.m_chart, x, crCurve), -1) << x;
        });
}
