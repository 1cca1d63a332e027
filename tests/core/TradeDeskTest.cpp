#include "core/TradeDesk.h"
#include "TempDir.h"
#include "core/RiskSizing.h"
#include "core/SessionStats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <tuple>

namespace
{

constexpr ETradeSide kBuy = ETradeSide::Buy;
constexpr ETradeSide kSell = ETradeSide::Sell;
constexpr ETradeOrderKind kBuyLimit = ETradeOrderKind::BuyLimit;
constexpr ETradeOrderKind kBuyStop = ETradeOrderKind::BuyStop;
constexpr ETradeOrderKind kSellLimit = ETradeOrderKind::SellLimit;
constexpr ETradeOrderKind kSellStop = ETradeOrderKind::SellStop;
constexpr ETradeOrderKind kStopLoss = ETradeOrderKind::StopLoss;
constexpr ETradeOrderKind kTakeProfit = ETradeOrderKind::TakeProfit;

class TradeDesk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.Enter(); // the account writes its log into the cwd
        m_desk.SetInstrument("t.csv", 2);
    }

    // The next bar of the replay.
    int Bar(double dOpen, double dHigh, double dLow, double dClose)
    {
        m_dDate += 1.0;
        return m_desk.EvaluateBar({m_dDate, dLow, dHigh, dOpen, dClose});
    }

    // A desk that has shown one bar closing at dClose, holding nPosition units bought or sold
    // at it.
    void Start(double dClose, int nPosition = 0)
    {
        Bar(dClose, dClose, dClose, dClose);
        if (nPosition != 0)
        {
            ASSERT_TRUE(m_desk.Trade(nPosition > 0 ? kBuy : kSell, std::abs(nPosition)));
        }
    }

    int Place(ETradeOrderKind eKind, int nQuantity, double dPrice, int nAttachedTo = 0)
    {
        int nId = 0;
        STradeRefusal refusal;
        EXPECT_TRUE(m_desk.PlaceOrder(eKind, nQuantity, dPrice, nAttachedTo, &nId, &refusal))
            << refusal.strText;
        return nId;
    }

    std::vector<std::string> LoggedMessages() const
    {
        std::vector<std::string> messages;
        std::istringstream in(m_dir.Read(TradeLogFileName(std::time(nullptr))));
        for (std::string line; std::getline(in, line);)
            messages.push_back(line.substr(21, line.size() - 22));
        return messages;
    }

    CTempDir m_dir;
    CTradeDesk m_desk;
    double m_dDate = 42000.0;
};

} // namespace

TEST_F(TradeDesk, OrdersAreCheckedWhenPlacedAndNeverTurnedIntoAnotherKind)
{
    struct SCase
    {
        int nPosition;
        ETradeOrderKind eKind;
        int nQuantity;
        double dPrice;
        const char* pszRefusal; // empty: accepted
    };
    const SCase cases[] = {
        {0, kBuyLimit, 5, 9.5, ""},
        {0, kBuyLimit, 5, 10.5, "a buy limit must be below the close: 10.50 is not below 10.00"},
        {0, kBuyLimit, 5, 10, "a buy limit must be below the close: 10.00 is not below 10.00"},
        {0, kBuyStop, 5, 9.5, "a buy stop must be above the close: 9.50 is not above 10.00"},
        {0, kSellLimit, 5, 9.5, "a sell limit must be above the close: 9.50 is not above 10.00"},
        {0, kSellStop, 5, 10.5, "a sell stop must be below the close: 10.50 is not below 10.00"},
        {0, kStopLoss, 0, 9, "a stop loss needs an open position"},
        {5, kStopLoss, 0, 10.5,
         "a stop loss of a long position must be below the close: 10.50 is not below 10.00"},
        {-5, kTakeProfit, 0, 10.5,
         "a take profit of a short position must be below the close: 10.50 is not below 10.00"},
        {0, kBuyLimit, 200000, 9.5,
         "a position of 200000 units at 9.50 is worth more than the account value 1000000.00 "
         "times the leverage 1; at most 105263 units can be traded"},
        {0, kSellStop, 0, 9.5, "the quantity must be a whole number of at least 1"},
        {0, kBuyLimit, 5, std::nan(""), "the price is not a finite number"},
    };
    for (const SCase& c : cases)
    {
        CTradeDesk desk;
        desk.EvaluateBar({42000, 10, 10, 10, 10});
        if (c.nPosition != 0)
            desk.Trade(c.nPosition > 0 ? kBuy : kSell, std::abs(c.nPosition));
        STradeRefusal refusal;
        const bool bPlaced = desk.PlaceOrder(c.eKind, c.nQuantity, c.dPrice, 0, nullptr, &refusal);
        EXPECT_EQ(refusal.strText, c.pszRefusal) << OrderKindName(c.eKind) << " " << c.dPrice;
        EXPECT_EQ(bPlaced, *c.pszRefusal == '\0');
        EXPECT_EQ(desk.Orders().size(), bPlaced ? 1u : 0u);
        if (bPlaced)
        {
            EXPECT_EQ(desk.Orders()[0].eKind, c.eKind);
        }
    }
}

TEST_F(TradeDesk, OrdersFillWhereTheNextBarTradesThroughThemOrAtAGappedOpen)
{
    struct SCase
    {
        ETradeOrderKind eKind;
        double dPrice;
        double dOpen, dHigh, dLow, dClose;
        double dFill; // 0: not filled
    };
    const SCase cases[] = {
        {kBuyLimit, 9.5, 10, 10.2, 9.4, 9.8, 9.5},  {kBuyLimit, 9.5, 9.2, 9.6, 9.0, 9.3, 9.2},
        {kBuyLimit, 9.5, 10, 10.5, 9.6, 10, 0},     {kBuyStop, 10.5, 10, 10.8, 9.9, 10.6, 10.5},
        {kBuyStop, 10.5, 11, 11.2, 10.9, 11, 11},   {kSellLimit, 10.5, 10, 10.6, 9.9, 10.2, 10.5},
        {kSellLimit, 10.5, 11, 11.1, 10.8, 11, 11}, {kSellStop, 9.5, 10, 10.1, 9.4, 9.6, 9.5},
        {kSellStop, 9.5, 9, 9.2, 8.8, 9.1, 9},      {kSellStop, 9.5, 10, 10.3, 9.6, 9.9, 0},
    };
    for (const SCase& c : cases)
    {
        CTradeDesk desk;
        // The order is placed on a bar that traded through its price: that bar does not fill it.
        desk.EvaluateBar({42000, 9, 11, 10, 10});
        ASSERT_TRUE(desk.PlaceOrder(c.eKind, 3, c.dPrice, 0, nullptr));
        const int nFills = desk.EvaluateBar({42001, c.dLow, c.dHigh, c.dOpen, c.dClose});
        const std::string strCase = std::string(OrderKindName(c.eKind)) + " " +
                                    std::to_string(c.dPrice) + " open " + std::to_string(c.dOpen);
        ASSERT_EQ(nFills, c.dFill != 0 ? 1 : 0) << strCase;
        EXPECT_EQ(desk.Orders().empty(), c.dFill != 0) << strCase;
        if (c.dFill == 0)
            continue;
        EXPECT_EQ(desk.Fills()[0].dPrice, c.dFill) << strCase;
        EXPECT_EQ(desk.Journal().Records().back().dPrice, c.dFill) << strCase;
        EXPECT_EQ(desk.Journal().Records().back().eOrder, c.eKind) << strCase;
        EXPECT_EQ(desk.Account().m_nPosition, SideSign(EntrySide(c.eKind)) * 3) << strCase;
    }
}

TEST_F(TradeDesk, StopLossWinsABarThatHoldsBothAndEveryCloseCancelsTheGuards)
{
    Start(10, 5);
    Place(kStopLoss, 0, 9);
    Place(kTakeProfit, 0, 11);
    ASSERT_EQ(Bar(10, 11.5, 8.5, 10), 1);
    EXPECT_EQ(m_desk.Fills()[0].eKind, kStopLoss);
    EXPECT_EQ(m_desk.Account().m_nPosition, 0);
    EXPECT_TRUE(m_desk.Orders().empty()) << "one cancels the other";
    const std::vector<std::string> vecLog = LoggedMessages();
    ASSERT_GE(vecLog.size(), 3u);
    EXPECT_EQ(vecLog[vecLog.size() - 3], "Stop loss filled: Sell 5 @ 9.00");
    EXPECT_EQ(vecLog[vecLog.size() - 2], "Sell 5 @ 9.00");

    // The guards follow the position's size and go when any trade closes it or crosses 0.
    ASSERT_TRUE(m_desk.Trade(kBuy, 4));
    Place(kStopLoss, 0, 9);
    Place(kTakeProfit, 0, 12);
    ASSERT_TRUE(m_desk.Trade(kBuy, 3));
    EXPECT_EQ(m_desk.Orders()[0].nQuantity, 7);
    ASSERT_TRUE(m_desk.Trade(kSell, 5));
    EXPECT_EQ(m_desk.Orders()[1].nQuantity, 2);
    STradeRefusal refusal;
    EXPECT_FALSE(m_desk.PlaceOrder(kStopLoss, 0, 8, 0, nullptr, &refusal));
    EXPECT_EQ(refusal.strText, "the position already has a stop loss: move that one");
    ASSERT_TRUE(m_desk.Trade(kSell, 3));
    EXPECT_EQ(m_desk.Account().m_nPosition, -1);
    EXPECT_TRUE(m_desk.Orders().empty());
}

TEST_F(TradeDesk, AnEntrysGuardsWorkOnceItFillsTheStopLossAlreadyOnItsBar)
{
    STradeSettings settings;
    settings.costs = {ECommissionKind::PerUnit, 0.1, 0.01};
    ASSERT_TRUE(m_desk.SetSettings(settings));
    Start(10);
    const int nEntry = Place(kBuyLimit, 5, 9.5);
    const int nStop = Place(kStopLoss, 0, 9, nEntry);
    Place(kTakeProfit, 0, 11, nEntry);
    STradeRefusal refusal;
    EXPECT_FALSE(m_desk.MoveOrder(nEntry, 8.9, &refusal));
    EXPECT_EQ(refusal.strText,
              "a stop loss of a long position must be below its entry: 9.00 is not below 8.90");
    EXPECT_FALSE(m_desk.MoveOrder(nStop, 9.6, &refusal));
    EXPECT_EQ(m_desk.FindOrder(nStop)->dPrice, 9);
    ASSERT_TRUE(m_desk.MoveOrder(nStop, 9.1));

    // Down through the entry and the stop, up through the take profit: the worse case is taken.
    ASSERT_EQ(Bar(10, 11.5, 8.8, 10), 2);
    EXPECT_EQ(m_desk.Fills()[0].eKind, kBuyLimit);
    EXPECT_EQ(m_desk.Fills()[1].eKind, kStopLoss);
    EXPECT_EQ(m_desk.Fills()[1].dPrice, 9.09);
    EXPECT_TRUE(m_desk.Orders().empty());
    const std::vector<std::string> vecLog = LoggedMessages();
    EXPECT_EQ(vecLog[0], "Buy limit filled: Buy 5 @ 9.51");
    EXPECT_EQ(vecLog[2], "Buy 5 @ 9.51, current position:5, current average:9.51, profit:0.00, "
                         "PositionAccount:1000000.00, NoPositionAccount:999999.50, "
                         "commission:0.50, slippage:0.05");
    EXPECT_EQ(vecLog[3], "Stop loss filled: Sell 5 @ 9.09");

    // Filled on one bar, the take profit works from the next; cancelling an entry takes its
    // guards along.
    const int nSecond = Place(kBuyLimit, 5, 9.5);
    Place(kTakeProfit, 0, 10.5, nSecond);
    ASSERT_EQ(Bar(9.6, 10.8, 9.4, 10), 1);
    ASSERT_EQ(m_desk.Orders().size(), 1u);
    EXPECT_EQ(m_desk.Orders()[0].nAttachedTo, 0);
    EXPECT_EQ(m_desk.Orders()[0].nQuantity, 5);
    ASSERT_EQ(Bar(10, 10.6, 9.9, 10.2), 1);
    EXPECT_EQ(m_desk.Fills()[0].eKind, kTakeProfit);
    const int nThird = Place(kBuyLimit, 5, 9.5);
    Place(kStopLoss, 0, 9, nThird);
    EXPECT_TRUE(m_desk.CancelOrder(nThird));
    EXPECT_TRUE(m_desk.Orders().empty());
    EXPECT_FALSE(m_desk.CancelOrder(nThird));
}

TEST_F(TradeDesk, AnEntryTheAccountCanNoLongerAffordIsCancelledWhenItWouldFill)
{
    Start(10);
    const int nEntry = Place(kBuyLimit, 100000, 9.5);
    ASSERT_TRUE(m_desk.Trade(kBuy, 50000));
    EXPECT_EQ(Bar(10, 10, 9, 9.5), 0);
    ASSERT_EQ(m_desk.Fills().size(), 1u);
    EXPECT_EQ(m_desk.Fills()[0].nOrderId, nEntry);
    EXPECT_EQ(m_desk.Fills()[0].eRefused, ETradeRefusal::BuyingPower);
    EXPECT_TRUE(m_desk.Orders().empty());
    EXPECT_EQ(m_desk.Account().m_nPosition, 50000);
    EXPECT_EQ(LoggedMessages().back().rfind("Buy limit 9.50 cancelled, not filled: a position of "
                                            "150000 units at 9.50 is worth more",
                                            0),
              0u)
        << LoggedMessages().back();
}

TEST(RiskSizing, TheLargestQuantityWhoseLossAtTheStopFitsTheRisk)
{
    struct SCase
    {
        ETradeSide eSide;
        double dEntry, dStop, dPercent;
        STradeCosts costs;
        int nQuantity; // 0: refused
        const char* pszRefusal;
    };
    const STradeCosts none;
    const SCase cases[] = {
        {kBuy, 10, 9, 1, none, 10000, ""},
        {kBuy, 10, 9, 1, {ECommissionKind::PerTrade, 5, 0}, 9990, ""},
        {kBuy, 10, 9, 1, {ECommissionKind::PerTrade, 0, 0.05}, 9090, ""},
        {kSell, 10, 11, 1, {ECommissionKind::PercentOfValue, 0.1, 0}, 9794, ""},
        {kBuy, 1.07551, 1.07301, 2, {ECommissionKind::PerUnit, 0.00002, 0.00005}, 7575757, ""},
        {kBuy, 10, 10, 1, none, 0,
         "the stop of a buy must lie below its entry: 10.00 is not below 10.00"},
        {kSell, 10, 9, 1, none, 0,
         "the stop of a sell must lie above its entry: 9.00 is not above 10.00"},
        {kBuy, 1e6, 1, 0.01, none, 0,
         "one unit loses 999999.00 at the stop, more than 0.01 % of the account (100.00)"},
        {kBuy, 10, 9, 0, none, 0,
         "the risk must be above 0 and at most 100 % of an account above 0"},
    };
    for (const SCase& c : cases)
    {
        int nQuantity = -1;
        STradeRefusal refusal;
        const bool bSized = RiskSizedQuantity(c.eSide, c.dEntry, c.dStop, c.dPercent, 1000000,
                                              c.costs, 2, &nQuantity, &refusal);
        EXPECT_EQ(refusal.strText, c.pszRefusal) << c.dEntry << " " << c.dStop;
        EXPECT_EQ(nQuantity, bSized ? c.nQuantity : -1) << c.dEntry << " " << c.dStop;
        if (!bSized)
            continue;
        const double dBudget = 1000000 * c.dPercent / 100;
        EXPECT_LE(LossAtStop(c.eSide, nQuantity, c.dEntry, c.dStop, c.costs), dBudget);
        EXPECT_GT(LossAtStop(c.eSide, nQuantity + 1, c.dEntry, c.dStop, c.costs), dBudget);
    }
}

TEST_F(TradeDesk, APositionSizedByRiskAndStoppedOutLosesOneR)
{
    STradeSettings settings;
    settings.costs = {ECommissionKind::PerTrade, 3, 0.02};
    ASSERT_TRUE(m_desk.SetSettings(settings));
    Start(20);
    int nQuantity = 0;
    ASSERT_TRUE(m_desk.SizeByRisk(kBuy, 20, 18.5, 1, &nQuantity));
    ASSERT_TRUE(m_desk.Trade(kBuy, nQuantity));
    Place(kStopLoss, 0, 18.5);
    ASSERT_EQ(Bar(19, 19.2, 18.4, 18.6), 1);
    const SSessionStats stats = ComputeSessionStats(m_desk.Journal());
    EXPECT_EQ(stats.nRiskedTrips, 1);
    EXPECT_NEAR(stats.dAverageR, -1, 1e-9);
    EXPECT_LE(-stats.dNetProfit, 10000);
    EXPECT_NEAR(stats.dCostsPaid, 6 + 0.04 * nQuantity, 1e-9);
    EXPECT_NEAR(stats.dProfitBeforeCosts, -1.5 * nQuantity, 1e-6);
}

// A random session, stepped back to a random bar and played again from there the same way,
// ends exactly where the first run ended.
TEST_F(TradeDesk, RestoringABarsSnapshotReplaysExactlyTheSameSession)
{
    constexpr int kBars = 120;
    std::mt19937 prices(99);
    std::normal_distribution<double> step(0.0, 0.15);
    std::vector<SChartCandlestickPoint> vecBars;
    double dClose = 20.0;
    for (int i = 0; i < kBars; ++i)
    {
        const double dOpen = dClose + step(prices);
        dClose = dOpen + step(prices);
        const double dWick = std::fabs(step(prices));
        vecBars.push_back({42000.0 + i, std::min(dOpen, dClose) - dWick,
                           std::max(dOpen, dClose) + dWick, dOpen, dClose});
    }
    // What the trader does on bar i, the same every time bar i comes.
    auto Act = [](CTradeDesk& desk, int i)
    {
        std::mt19937 random(static_cast<unsigned>(i));
        const double dClose = desk.Bar().dClose;
        switch (random() % 6)
        {
        case 0:
            desk.Trade(random() % 2 ? kBuy : kSell, 1 + static_cast<int>(random() % 5));
            break;
        case 1:
        {
            int nId = 0;
            if (desk.PlaceOrder(random() % 2 ? kBuyLimit : kSellStop, 3, dClose - 0.2, 0, &nId))
                desk.PlaceOrder(kStopLoss, 0, dClose - 0.5, nId, nullptr);
            break;
        }
        case 2:
            desk.PlaceOrder(kStopLoss, 0, dClose + (desk.Account().m_nPosition > 0 ? -0.3 : 0.3), 0,
                            nullptr);
            desk.PlaceOrder(kTakeProfit, 0, dClose + (desk.Account().m_nPosition > 0 ? 0.4 : -0.4),
                            0, nullptr);
            break;
        case 3:
            if (!desk.Orders().empty())
                desk.MoveOrder(desk.Orders().front().nId, desk.Orders().front().dPrice + 0.05);
            break;
        case 4:
            if (!desk.Orders().empty())
                desk.CancelOrder(desk.Orders().back().nId);
            break;
        default:
            break;
        }
    };
    STradeSettings settings;
    settings.dLeverage = 2;
    settings.costs = {ECommissionKind::PercentOfValue, 0.05, 0.01};
    ASSERT_TRUE(m_desk.SetSettings(settings));
    std::vector<STradeDeskSnapshot> vecBefore;
    auto Play = [&](int nFrom)
    {
        for (int i = nFrom; i < kBars; ++i)
        {
            if (static_cast<int>(vecBefore.size()) <= i)
                vecBefore.push_back(m_desk.Snapshot());
            m_desk.EvaluateBar(vecBars[static_cast<size_t>(i)]);
            m_desk.Mark();
            Act(m_desk, i);
        }
    };
    auto State = [](const CTradeDesk& desk)
    {
        std::ostringstream out;
        out.precision(17);
        const CTradeAccount& a = desk.Account();
        out << a.m_nPosition << ' ' << a.m_dAverage << ' ' << a.m_dNoPositionAccount << ' '
            << a.m_dPositionAccount << ' ' << a.m_dTripCash << ' ' << a.m_dTripCosts << ' '
            << a.m_dTripRisk << " next id " << desk.Snapshot().nNextOrderId << '\n';
        for (const STradeOrder& o : desk.Orders())
            out << o.nId << ' ' << static_cast<int>(o.eKind) << ' ' << o.nQuantity << ' '
                << o.dPrice << ' ' << o.nAttachedTo << '\n';
        for (const STradeRecord& r : desk.Journal().Records())
            out << r.dBarDate << ' ' << r.dPrice << ' ' << r.nQuantity << ' ' << r.nPosition << ' '
                << r.dRealized << ' ' << r.dGross << ' ' << r.dCosts << ' ' << r.dRisk << '\n';
        for (const double dMark : desk.Journal().Marks())
            out << dMark << ' ';
        return out.str();
    };
    Play(0);
    const std::string strEnd = State(m_desk);
    ASSERT_GT(m_desk.Journal().Records().size(), 20u) << "the session should trade";
    for (const int nBack : {kBars - 1, 77, 31, 0})
    {
        m_desk.Restore(vecBefore[static_cast<size_t>(nBack)]);
        EXPECT_EQ(m_desk.Journal().Marks().size(), static_cast<size_t>(nBack));
        Play(nBack);
        ASSERT_EQ(State(m_desk), strEnd) << "stepped back to bar " << nBack;
    }
}
