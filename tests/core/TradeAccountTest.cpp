#include "core/TradeAccount.h"
#include "TempDir.h"
#include "core/TradeCosts.h"
#include "core/TradeLog.h"
#include "core/TradeRefusal.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
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

namespace
{

struct STradeStep
{
    ETradeSide eSide;
    int nQuantity;
    double dPrice;
    double dCommission;
};

struct SBookCase
{
    const char* pszName;
    std::vector<STradeStep> vecSteps;
    int nPosition;
    double dAverage;
    double dNoPositionAccount;
};

constexpr ETradeSide kBuy = ETradeSide::Buy;
constexpr ETradeSide kSell = ETradeSide::Sell;

} // namespace

TEST_F(TradeAccount, BooksQuantitiesThroughZeroAndPaysCommissionAtOnce)
{
    const SBookCase cases[] = {
        {"adding averages by units", {{kBuy, 3, 10, 0}, {kBuy, 2, 15, 0}}, 5, 12, 1000000},
        {"closing books the fill", {{kBuy, 3, 10, 0}, {kSell, 3, 12, 0}}, 0, 0, 1000006},
        {"crossing a long", {{kBuy, 3, 10, 0}, {kSell, 5, 12, 0}}, -2, 12, 1000006},
        {"crossing a short", {{kSell, 4, 20, 0}, {kBuy, 6, 18, 0}}, 2, 18, 1000008},
        {"reducing keeps the profit", {{kBuy, 5, 10, 0}, {kSell, 2, 13, 0}}, 3, 8, 1000000},
        {"commission", {{kBuy, 2, 10, 5}, {kSell, 2, 11, 5}}, 0, 0, 999992},
    };
    for (const SBookCase& c : cases)
    {
        CTradeAccount account;
        for (const STradeStep& step : c.vecSteps)
            account.Book({step.eSide, step.nQuantity, step.dPrice, step.dCommission, 0.0});
        EXPECT_EQ(account.m_nPosition, c.nPosition) << c.pszName;
        EXPECT_DOUBLE_EQ(account.m_dAverage, c.dAverage) << c.pszName;
        EXPECT_DOUBLE_EQ(account.m_dNoPositionAccount, c.dNoPositionAccount) << c.pszName;
    }
}

TEST_F(TradeAccount, LogsQuantitiesAndOnlyCostsThatWerePaid)
{
    m_account.Book({kBuy, 5, 10.05, 2.5, 0.25});
    m_account.Book({kSell, 2, 11, 0, 0});
    EXPECT_EQ(LoggedMessages(),
              (std::vector<std::string>{
                  "Buy 5 @ 10.05",
                  "Buy 5 @ 10.05, current position:5, current average:10.05, profit:0.00, "
                  "PositionAccount:1000000.00, NoPositionAccount:999997.50, commission:2.50, "
                  "slippage:0.25",
                  "Sell 2 @ 11.00",
                  "Sell 2 @ 11.00, current position:3, current average:9.42, profit:0.00, "
                  "PositionAccount:1000000.00, NoPositionAccount:999997.50",
              }));
}

// Random trades of random sizes under each kind of commission, against cash flows at the fill
// prices with costs, and against an account making the same trades at the market without costs:
// what each position makes before costs is what it makes there.
TEST_F(TradeAccount, RandomSizedTradesWithCostsMatchCashFlowBookkeeping)
{
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> side(0, 1);
    std::uniform_int_distribution<int> units(1, 7);
    std::uniform_int_distribution<int> cents(500, 1500);
    for (const ECommissionKind eKind :
         {ECommissionKind::PerTrade, ECommissionKind::PerUnit, ECommissionKind::PercentOfValue})
    {
        const STradeCosts costs = {eKind, 0.5, 0.03};
        CTradeAccount account;
        CTradeAccount bare;
        double dCash = 1000000.0;
        double dNet = 0.0, dCosts = 0.0;
        for (int i = 0; i < 300; ++i)
        {
            const ETradeSide eSide = side(random) == 0 ? kBuy : kSell;
            const int nQuantity = units(random);
            const double dMarket = cents(random) / 100.0;
            const double dFill = FillPrice(costs, eSide, dMarket);
            const double dCommission = Commission(costs, nQuantity, dFill);
            const STradeOutcome outcome =
                account.Book({eSide, nQuantity, dFill, dCommission, costs.dSlippage * nQuantity});
            const STradeOutcome bareOutcome = bare.Book({eSide, nQuantity, dMarket, 0, 0});
            dCash -= SideSign(eSide) * nQuantity * dFill + dCommission;
            dCosts += outcome.dCosts;
            ASSERT_EQ(outcome.bClosed, bareOutcome.bClosed);
            if (outcome.bClosed)
            {
                dNet += outcome.dNet;
                ASSERT_NEAR(outcome.dGross, bareOutcome.dNet, 1e-6) << "trade " << i;
            }
            const double dMark = cents(random) / 100.0;
            ASSERT_NEAR(account.ValueAt(dMark), dCash + account.m_nPosition * dMark, 1e-6) << i;
            if (account.m_nPosition != 0)
                continue;
            ASSERT_NEAR(dNet, account.m_dNoPositionAccount - 1000000.0, 1e-6) << i;
            ASSERT_NEAR(bare.m_dNoPositionAccount - account.m_dNoPositionAccount, dCosts, 1e-6);
        }
    }
}

TEST(TradeLimits, QuantityBoundKeepsTradeValuesExactToTheCent)
{
    const std::pair<double, int> cases[] = {
        {0, 1000000000},   {-50, 1000000000}, {10000, 1000000000}, {1e5, 100000000},
        {7.9e11, 12},      {1e13, 1},         {1.0000001e13, 0},   {1e300, 0},
        {std::nan(""), 0}, {-2e5, 50000000},
    };
    for (const auto& [dPrice, nMax] : cases)
        EXPECT_EQ(MaxTradeQuantity(dPrice), nMax) << dPrice;
}

TEST_F(TradeAccount, BuyingPowerRefusesOnlyWhatWouldOutgrowTheAccount)
{
    struct SCheck
    {
        int nPosition; // held at 10 before the check
        double dPrice;
        double dLeverage;
        ETradeSide eSide;
        int nQuantity;
        ETradeRefusal eRefusal;
        int nMaxQuantity;
    };
    const SCheck cases[] = {
        {0, 7.9e11, 1, kBuy, 1, ETradeRefusal::BuyingPower, 0},
        {0, 10, 1, kBuy, 100000, ETradeRefusal::None, 100000},
        {0, 10, 1, kSell, 100001, ETradeRefusal::BuyingPower, 100000},
        {0, 10, 30, kBuy, 3000001, ETradeRefusal::BuyingPower, 3000000},
        {100000, 5, 1, kSell, 100000, ETradeRefusal::None, 200000}, // a loss, then closing
        {100000, 5, 1, kBuy, 1, ETradeRefusal::BuyingPower, 0},
        {100000, 10, 1, kSell, 200000, ETradeRefusal::None, 200000}, // through 0 to short
        {100000, 10, 1, kSell, 200001, ETradeRefusal::BuyingPower, 200000},
        {0, 10, 1, kBuy, 0, ETradeRefusal::BadQuantity, 100000},
        {0, 1e12, 1000, kBuy, 11, ETradeRefusal::QuantityTooLarge, 0},
    };
    for (const SCheck& c : cases)
    {
        CTradeAccount account;
        if (c.nPosition != 0)
            account.Book({kBuy, c.nPosition, 10, 0, 0});
        STradeRefusal refusal;
        const bool bAllowed =
            account.CheckTrade(c.eSide, c.nQuantity, c.dPrice, c.dLeverage, &refusal);
        const std::string strCase = std::to_string(c.nPosition) + " then " +
                                    std::to_string(c.nQuantity) + " at " + std::to_string(c.dPrice);
        EXPECT_EQ(bAllowed, c.eRefusal == ETradeRefusal::None) << strCase;
        EXPECT_EQ(refusal.eReason, c.eRefusal) << strCase << ": " << refusal.strText;
        EXPECT_EQ(account.MaxQuantity(c.eSide, c.dPrice, c.dLeverage), c.nMaxQuantity) << strCase;
    }

    STradeRefusal refusal;
    EXPECT_FALSE(m_account.CheckTrade(kBuy, 1, 790000000000.0, 1, &refusal));
    EXPECT_EQ(refusal.strText, "a position of 1 unit at 790000000000.00 is worth more than the "
                               "account value 1000000.00 times the leverage 1; at most 0 units "
                               "can be traded");
}
TEST_F(TradeAccount, KnowsWhileItsLogLinesAreLost)
{
    const std::string strFile = TradeLogFileName(std::time(nullptr));
    std::filesystem::create_directory(strFile);
    CTradeAccount account;
    testing::internal::CaptureStderr();
    account.Buy(10);
    account.SetCurrentPrice(11);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(account.LogHealth().bFailing);
    EXPECT_EQ(account.LogHealth().nLinesLost, 3);
    EXPECT_EQ(account.LogHealth().strReason, "cannot write " + strFile + ": Is a directory");
    EXPECT_EQ(account.m_nPosition, 1) << "a lost line loses no trade";

    std::filesystem::remove(strFile);
    account.SetCurrentPrice(12);
    EXPECT_FALSE(account.LogHealth().bFailing);
    EXPECT_EQ(account.LogHealth().nLinesLost, 3);
}
