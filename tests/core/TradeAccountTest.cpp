#include "core/TradeAccount.h"
#include "TempDir.h"
#include "core/TradeLog.h"

#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <sstream>
#include <vector>

namespace
{

class TradeAccount : public ::testing::Test
{
protected:
    void SetUp() override { m_dir.Enter(); }

    // The messages written to today's log so far, without their time stamps.
    std::vector<std::string> LoggedMessages() const
    {
        std::vector<std::string> messages;
        std::istringstream in(m_dir.Read(TradeLogFileName(std::time(nullptr))));
        for (std::string line; std::getline(in, line);)
        {
            EXPECT_EQ(line.back(), '\r');
            messages.push_back(line.substr(21, line.size() - 22)); // "YYYY-MM-DD HH:MM:SS: "
        }
        return messages;
    }

    CTempDir m_dir;
    CTradeAccount m_account;
};

} // namespace

TEST_F(TradeAccount, BuyFromFlatLogsTheTradeAndTheNewState)
{
    m_account.Buy(10);
    EXPECT_EQ(m_account.m_nPosition, 1);
    EXPECT_EQ(m_account.m_dAverage, 10);
    EXPECT_EQ(LoggedMessages(),
              (std::vector<std::string>{"Buy 1 @ 10.00",
                                        "Buy 1 @ 10.00, current position:1, current average:10.00, "
                                        "profit:0.00, PositionAccount:1000000.00, "
                                        "NoPositionAccount:1000000.00"}));
}

TEST_F(TradeAccount, MarksTheOpenPositionAndLogsOnlyWhileOpen)
{
    m_account.SetCurrentPrice(5);
    EXPECT_TRUE(LoggedMessages().empty()) << "flat marks are not logged";
    EXPECT_EQ(m_account.m_dPositionAccount, m_account.m_dNoPositionAccount);

    m_account.Buy(10);
    m_account.SetCurrentPrice(12);
    EXPECT_EQ(m_account.m_dProfit, 2);
    EXPECT_EQ(m_account.m_dPositionAccount, 1000002);
    EXPECT_EQ(m_account.m_dNoPositionAccount, 1000000);
    EXPECT_EQ(m_account.GetShownAccount(), 1000002);
    EXPECT_EQ(LoggedMessages().back(), "CTradeAccount::SetCurrentPrice(12.00), Profit:2.00, "
                                       "PositionAccount:1000002.00, NoPositionAccount:1000000.00");
}

TEST_F(TradeAccount, AveragesLongAndShortPositions)
{
    m_account.Buy(10);
    m_account.Buy(12);
    EXPECT_EQ(m_account.m_nPosition, 2);
    EXPECT_EQ(m_account.m_dAverage, 11);

    CTradeAccount shortAccount;
    shortAccount.Sell(10);
    shortAccount.Sell(12);
    shortAccount.SetCurrentPrice(9);
    EXPECT_EQ(shortAccount.m_nPosition, -2);
    EXPECT_EQ(shortAccount.m_dAverage, 11);
    EXPECT_EQ(shortAccount.m_dProfit, 4);
    EXPECT_EQ(shortAccount.m_dPositionAccount, 1000004);
}

TEST_F(TradeAccount, ClosingAtTheMarkKeepsTheLoggedMarks)
{
    m_account.Buy(10);
    m_account.SetCurrentPrice(13);
    m_account.Sell(13);
    EXPECT_EQ(m_account.m_nPosition, 0);
    EXPECT_EQ(m_account.m_dAverage, 0);
    EXPECT_EQ(m_account.m_dNoPositionAccount, 1000003);
    EXPECT_EQ(m_account.GetShownAccount(), 1000003);
    EXPECT_EQ(LoggedMessages().back(), "Sell 1 @ 13.00, current position:0, current average:0.00, "
                                       "profit:3.00, PositionAccount:1000003.00, "
                                       "NoPositionAccount:1000003.00");
}

TEST_F(TradeAccount, ClosingBooksTheTradePriceNotAStaleMark)
{
    m_account.Sell(10);
    m_account.SetCurrentPrice(10);
    m_account.Buy(7); // covered before any mark at 7
    EXPECT_EQ(m_account.m_dNoPositionAccount, 1000003);
    m_account.Buy(0); // a trade before any bar is accepted like any other
    EXPECT_EQ(m_account.m_nPosition, 1);
    EXPECT_EQ(m_account.m_dAverage, 0);
}

TEST_F(TradeAccount, ReducingKeepsTheAccountValueContinuous)
{
    m_account.Buy(10);
    m_account.Buy(10);
    m_account.Sell(13); // the unit closed earned 3
    m_account.SetCurrentPrice(13);
    EXPECT_EQ(m_account.m_dPositionAccount, 1000006);
    m_account.Sell(13);
    EXPECT_EQ(m_account.m_dNoPositionAccount, 1000006);

    CTradeAccount shortAccount;
    shortAccount.Sell(10);
    shortAccount.Sell(10);
    shortAccount.Buy(8);
    shortAccount.SetCurrentPrice(8);
    EXPECT_EQ(shortAccount.m_dPositionAccount, 1000004);
}

TEST_F(TradeAccount, RandomTradesMatchCashFlowBookkeeping)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> side(0, 1);
    std::uniform_int_distribution<int> cents(100, 20000);
    double dCash = 1000000.0; // cash plus the value of the units held, computed independently
    int nUnits = 0;
    for (int i = 0; i < 400; ++i)
    {
        const double dPrice = cents(random) / 100.0;
        if (side(random) == 0)
        {
            m_account.Buy(dPrice);
            dCash -= dPrice;
            ++nUnits;
        }
        else
        {
            m_account.Sell(dPrice);
            dCash += dPrice;
            --nUnits;
        }
        const double dMark = cents(random) / 100.0;
        m_account.SetCurrentPrice(dMark);
        ASSERT_EQ(m_account.m_nPosition, nUnits);
        ASSERT_NEAR(m_account.GetShownAccount(), dCash + nUnits * dMark, 1e-6) << "trade " << i;
    }
}

TEST_F(TradeAccount, LogsDecimalPointsUnderAnyLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/install-deps.sh makes it";
    m_account.Buy(10.5);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(LoggedMessages().front(), "Buy 1 @ 10.50");
}

TEST_F(TradeAccount, LogsPricesInTheFilesDecimalsAndMoneyInCents)
{
    m_account.m_nPriceDecimals = 5;
    m_account.Buy(1.07219);
    m_account.Buy(1.07221);
    m_account.SetCurrentPrice(1.07301);
    EXPECT_EQ(LoggedMessages(),
              (std::vector<std::string>{
                  "Buy 1 @ 1.07219",
                  "Buy 1 @ 1.07219, current position:1, current average:1.07219, profit:0.00, "
                  "PositionAccount:1000000.00, NoPositionAccount:1000000.00",
                  "Buy 1 @ 1.07221",
                  "Buy 1 @ 1.07221, current position:2, current average:1.07220, profit:0.00, "
                  "PositionAccount:1000000.00, NoPositionAccount:1000000.00",
                  "CTradeAccount::SetCurrentPrice(1.07301), Profit:0.00, "
                  "PositionAccount:1000000.00, NoPositionAccount:1000000.00",
              }));
}
