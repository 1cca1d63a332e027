// Prices in the dialog and its trade log follow the decimals of the loaded file.

#include "AppTestSupport.h"

#include "app/OrvantaDlg.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "platform/testsupport/TestSupport.h"

namespace
{

const char* const kPlay = "播放K线";

class PricePrecisionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureAppTestToolkit();
        ReplaySettings() = SReplaySettings{};
        ReplaySettings().m_nRefreshSeconds = 3600; // only the test's own ticks
    }
    void TearDown() override { ReplaySettings() = SReplaySettings{}; }

    // Starts the dialog on strBars, plays the first window, buys, takes one tick and sells,
    // then runs check.
    void PlayBuyTickSell(const std::string& strBars, const std::function<void()>& check)
    {
        m_dlg.m_strStartFile = m_dir.Write("bars.csv", strBars);
        RunModalDialog(m_dlg,
                       [&]
                       {
                           EXPECT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
                           EXPECT_TRUE(ClickButton("Buy"));
                           m_dlg.SendMessage(WM_TIMER, COrvantaDlg::kReplayTimer, 0);
                           EXPECT_TRUE(ClickButton("Sell"));
                           check();
                       });
    }

    std::string Text(int nId) const
    {
        std::string strText;
        m_dlg.GetDlgItemText(nId, strText);
        return strText;
    }

    // The log's messages without their time stamps.
    std::vector<std::string> LoggedMessages() const
    {
        std::vector<std::string> vecMessages;
        for (const std::string& strLine : m_dir.TradeLogLines())
            vecMessages.push_back(strLine.substr(21)); // "YYYY-MM-DD HH:MM:SS: "
        return vecMessages;
    }

    // nBars hourly bars from 2017-04-19 09:00, closing at 1.07219 + i * 0.0001.
    static std::string FiveDecimalBars(int nBars)
    {
        std::string strBars = ",Open,High,Low,Close,Volume\n";
        for (int i = 0; i < nBars; ++i)
        {
            const int nDay = 19 + (9 + i) / 24;
            const int nHour = (9 + i) % 24;
            strBars += StringFormat("2017-04-%02d %02d:00:00,%.5f,%.5f,%.5f,%.5f,1413\n", nDay,
                                    nHour, 1.0716 + i * 0.0001, 1.0722 + i * 0.0001,
                                    1.07083 + i * 0.0001, 1.07219 + i * 0.0001);
        }
        return strBars;
    }

    CWorkDir m_dir;
    COrvantaDlg m_dlg;
};

} // namespace

TEST_F(PricePrecisionTest, AFiveDecimalFileShowsAndLogsFiveDecimals)
{
    PlayBuyTickSell(
        FiveDecimalBars(30),
        [&]
        {
            // Bar 26 is current after the tick.
            EXPECT_EQ(Text(IDC_STATIC_OPEN), "Open:1.07420");
            EXPECT_EQ(Text(IDC_STATIC_HIGH), "High:1.07480");
            EXPECT_EQ(Text(IDC_STATIC_LOW), "Low:1.07343");
            EXPECT_EQ(Text(IDC_STATIC_CLOSE), "Close:1.07479");
            EXPECT_EQ(Text(IDC_STATIC_ACCOUNT), "Account:1000000.00") << "money keeps cents";
            EXPECT_EQ(LoggedMessages(),
                      (std::vector<std::string>{
                          "Buy 1 @ 1.07469\r",
                          "Buy 1 @ 1.07469, current position:1, current average:1.07469, "
                          "profit:0.00, PositionAccount:1000000.00, NoPositionAccount:1000000.00\r",
                          "CTradeAccount::SetCurrentPrice(1.07479), Profit:0.00, "
                          "PositionAccount:1000000.00, NoPositionAccount:1000000.00\r",
                          "Sell 1 @ 1.07479\r",
                          "Sell 1 @ 1.07479, current position:0, current average:0.00000, "
                          "profit:0.00, PositionAccount:1000000.00, NoPositionAccount:1000000.00\r",
                      }));
            EXPECT_EQ(m_dlg.m_pPriceAxis->m_nMaxDecimals, 5);
            EXPECT_TRUE(m_dlg.m_pTimeAxis->m_bTimeOfDayLabels);
            EXPECT_EQ(m_dlg.m_pTimeAxis->m_strTickFormat, "%Y-%m-%d");
        });
}

TEST_F(PricePrecisionTest, ATwoDecimalFileShowsAndLogsExactlyAsBefore)
{
    PlayBuyTickSell(
        KLineText(30),
        [&]
        {
            EXPECT_EQ(Text(IDC_STATIC_OPEN), "Open:36.00");
            EXPECT_EQ(Text(IDC_STATIC_HIGH), "High:38.00");
            EXPECT_EQ(Text(IDC_STATIC_LOW), "Low:35.00");
            EXPECT_EQ(Text(IDC_STATIC_CLOSE), "Close:36.50");
            EXPECT_EQ(LoggedMessages(),
                      (std::vector<std::string>{
                          "Buy 1 @ 35.50\r",
                          "Buy 1 @ 35.50, current position:1, current average:35.50, "
                          "profit:0.00, PositionAccount:1000000.00, NoPositionAccount:1000000.00\r",
                          "CTradeAccount::SetCurrentPrice(36.50), Profit:1.00, "
                          "PositionAccount:1000001.00, NoPositionAccount:1000000.00\r",
                          "Sell 1 @ 36.50\r",
                          "Sell 1 @ 36.50, current position:0, current average:0.00, "
                          "profit:1.00, PositionAccount:1000001.00, NoPositionAccount:1000001.00\r",
                      }));
            EXPECT_FALSE(m_dlg.m_pTimeAxis->m_bTimeOfDayLabels);
            EXPECT_EQ(m_dlg.m_pTimeAxis->m_strTickFormat, "%Y-%m-%d");
        });
}

TEST_F(PricePrecisionTest, AnOpenLossUnderACentShowsAsZeroWithoutASign)
{
    // Closes fall by a hundredth of a cent per bar: the open loss is -0.0001 after one tick.
    std::string strBars;
    for (int i = 0; i < 30; ++i)
        strBars +=
            StringFormat("2017-04-%02d,1.07200,1.07300,1.07100,%.5f\n", i + 1, 1.0725 - i * 0.0001);
    m_dlg.m_strStartFile = m_dir.Write("bars.csv", strBars);
    RunModalDialog(m_dlg,
                   [&]
                   {
                       EXPECT_TRUE(ClickButton(QString::fromUtf8(kPlay)));
                       EXPECT_TRUE(ClickButton("Buy"));
                       m_dlg.SendMessage(WM_TIMER, COrvantaDlg::kReplayTimer, 0);
                       EXPECT_LT(m_dlg.m_account.GetShownProfit(), 0.0);
                       EXPECT_EQ(Text(IDC_STATIC_PROFIT), "Profit:0.00");
                       EXPECT_EQ(Text(IDC_STATIC_ACCOUNT), "Account:1000000.00");
                   });
}
