#include "core/TradeJournal.h"
#include "TempDir.h"
#include "core/SessionStats.h"
#include "core/TradeAccount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace
{

// One step of a session: a trade (Buy/Sell at a price) or, with side 0, a mark at a price.
struct SStep
{
    int nSide; // +1 buy, -1 sell, 0 mark
    double dPrice;
};

class TradeJournal : public ::testing::Test
{
protected:
    void SetUp() override { m_dir.Enter(); } // the account writes its log into the cwd

    void Run(const std::vector<SStep>& vecSteps)
    {
        for (const SStep& step : vecSteps)
        {
            if (step.nSide == 0)
            {
                m_account.SetCurrentPrice(step.dPrice);
                m_journal.AddMark(m_account.GetShownAccount());
                continue;
            }
            m_journal.Trade(m_account, step.nSide > 0 ? ETradeSide::Buy : ETradeSide::Sell,
                            step.dPrice, 40000.0, 1700000000);
        }
    }

    const STradeRecord& At(std::size_t i) const { return m_journal.Records().at(i); }

    CTempDir m_dir;
    CTradeAccount m_account;
    CTradeJournal m_journal;
};

} // namespace

TEST_F(TradeJournal, RecordsWhatTheAccountBooksThroughReductionAndClose)
{
    // Long 2 at 11, reduced at 14, closed at 11: the reduction keeps its 3 in the average and
    // the close books all of it.
    Run({{+1, 10}, {+1, 12}, {-1, 14}, {-1, 11}});
    ASSERT_EQ(m_journal.Records().size(), 4u);
    EXPECT_EQ(At(1).nPosition, 2);
    EXPECT_DOUBLE_EQ(At(1).dAverage, 11);
    EXPECT_EQ(At(2).eSide, ETradeSide::Sell);
    EXPECT_EQ(At(2).nPositionBefore, 2);
    EXPECT_EQ(At(2).nPosition, 1);
    EXPECT_DOUBLE_EQ(At(2).dAverage, 8);
    EXPECT_DOUBLE_EQ(At(2).dRealized, 0);
    EXPECT_DOUBLE_EQ(At(2).dAccount, 1000006) << "two units bought at 11, worth 14";
    EXPECT_DOUBLE_EQ(At(3).dAverage, 0);
    EXPECT_DOUBLE_EQ(At(3).dRealized, 3);
    EXPECT_DOUBLE_EQ(At(3).dAccount, 1000003);
    EXPECT_EQ(At(3).dBarDate, 40000.0);
    EXPECT_EQ(At(3).tTime, 1700000000);
}

TEST_F(TradeJournal, RandomSessionsAgreeWithTheAccount)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> side(0, 2);
    std::uniform_int_distribution<int> tick(800, 1200);
    double dRealized = 0.0;
    for (int i = 0; i < 300; ++i)
    {
        const double dPrice = tick(random) / 100.0;
        const int nSide = side(random) - 1;
        Run({{nSide, dPrice}});
        if (nSide == 0)
            continue;
        const STradeRecord& record = m_journal.Records().back();
        dRealized += record.dRealized;
        EXPECT_EQ(record.nPosition, m_account.m_nPosition);
        EXPECT_EQ(record.nPosition - record.nPositionBefore, nSide);
        // The recorded value is what the account shows once marked at the trade's price.
        const double dShown = m_account.m_dNoPositionAccount +
                              (dPrice - m_account.m_dAverage) * m_account.m_nPosition;
        EXPECT_NEAR(record.dAccount, dShown, 1e-6);
        EXPECT_NEAR(1000000.0 + dRealized, m_account.m_dNoPositionAccount, 1e-6) << i;
    }
}

TEST_F(TradeJournal, StatisticsOfWinsAndLosses)
{
    // Long 10 -> 13 wins 3; short 20 -> 22 loses 2.
    Run({{+1, 10}, {0, 11}, {-1, 13}, {0, 13}, {-1, 20}, {0, 21}, {+1, 22}, {0, 22}});
    const SSessionStats stats = ComputeSessionStats(m_journal);
    EXPECT_EQ(stats.nTrades, 4);
    EXPECT_EQ(stats.nRoundTrips, 2);
    EXPECT_EQ(stats.nWins, 1);
    EXPECT_EQ(stats.nLosses, 1);
    EXPECT_DOUBLE_EQ(stats.dWinRate, 0.5);
    EXPECT_DOUBLE_EQ(stats.dAverageWin, 3);
    EXPECT_DOUBLE_EQ(stats.dAverageLoss, -2);
    EXPECT_DOUBLE_EQ(stats.dProfitFactor, 1.5);
    EXPECT_DOUBLE_EQ(stats.dLargestWin, 3);
    EXPECT_DOUBLE_EQ(stats.dLargestLoss, -2);
    // Marks 1000001, 1000003, 1000002, 1000001: peak 1000003, trough 1000001.
    EXPECT_DOUBLE_EQ(stats.dMaxDrawdown, 2);
    EXPECT_NEAR(stats.dMaxDrawdownPercent, 2.0 / 1000003 * 100, 1e-12);
    EXPECT_DOUBLE_EQ(stats.dFinalAccount, 1000001);
}

TEST_F(TradeJournal, AReversalThroughZeroClosesOneRoundTripAndOpensAnother)
{
    // Long at 10, sold at 12 (+2), sold again to go short at 12, covered at 9 (+3).
    Run({{+1, 10}, {-1, 12}, {-1, 12}, {+1, 9}});
    const SSessionStats stats = ComputeSessionStats(m_journal);
    EXPECT_EQ(stats.nRoundTrips, 2);
    EXPECT_EQ(stats.nWins, 2);
    EXPECT_DOUBLE_EQ(stats.dLargestWin, 3);
    EXPECT_EQ(stats.dProfitFactor, std::numeric_limits<double>::infinity()) << "no losses";
    EXPECT_DOUBLE_EQ(stats.dFinalAccount, 1000005) << "without marks, the last trade's value";

    // A record that crosses zero in one go also counts once.
    CTradeJournal jump;
    STradeRecord record;
    record.nPositionBefore = 2;
    record.nPosition = -1;
    jump.Append(record);
    EXPECT_EQ(ComputeSessionStats(jump).nRoundTrips, 1);
}

TEST_F(TradeJournal, ReductionsAreNeitherWinsNorLosses)
{
    Run({{+1, 10}, {+1, 12}, {-1, 14}});
    SSessionStats stats = ComputeSessionStats(m_journal);
    EXPECT_EQ(stats.nRoundTrips, 0);
    EXPECT_EQ(stats.nWins + stats.nLosses, 0);
    EXPECT_EQ(stats.dWinRate, 0);
    EXPECT_EQ(stats.dProfitFactor, 0);
    Run({{-1, 11}});
    stats = ComputeSessionStats(m_journal);
    EXPECT_EQ(stats.nRoundTrips, 1);
    EXPECT_DOUBLE_EQ(stats.dAverageWin, 3);
}

TEST_F(TradeJournal, OnlyLossesGiveAProfitFactorOfZero)
{
    Run({{+1, 10}, {-1, 8}, {-1, 8}, {+1, 9}});
    const SSessionStats stats = ComputeSessionStats(m_journal);
    EXPECT_EQ(stats.nLosses, 2);
    EXPECT_EQ(stats.nWins, 0);
    EXPECT_EQ(stats.dWinRate, 0);
    EXPECT_EQ(stats.dProfitFactor, 0);
    EXPECT_DOUBLE_EQ(stats.dAverageLoss, -1.5);
    EXPECT_DOUBLE_EQ(stats.dLargestLoss, -2);
    EXPECT_EQ(stats.dLargestWin, 0);
    EXPECT_DOUBLE_EQ(stats.dFinalAccount, 999997);
}

TEST(SessionStats, NoTradesGiveZerosAndTheLastMark)
{
    CTradeJournal journal;
    SSessionStats stats = ComputeSessionStats(journal);
    EXPECT_EQ(stats.nTrades, 0);
    EXPECT_EQ(stats.dFinalAccount, 0);
    EXPECT_EQ(stats.dMaxDrawdown, 0);
    journal.AddMark(1000000);
    journal.AddMark(1000000);
    stats = ComputeSessionStats(journal);
    EXPECT_EQ(stats.nRoundTrips, 0);
    EXPECT_EQ(stats.dProfitFactor, 0);
    EXPECT_EQ(stats.dFinalAccount, 1000000);
    EXPECT_EQ(stats.dMaxDrawdownPercent, 0);
}

TEST(SessionStats, TheFinalAccountIsWhatCameLastAMarkOrATradeAfterIt)
{
    // A close on the newest bar comes after that bar's mark and pays its commission.
    CTradeJournal journal;
    journal.AddMark(1000000);
    journal.AddMark(1000010);
    STradeRecord close;
    close.nPositionBefore = 1;
    close.dAccount = 1000005;
    journal.Append(close);
    EXPECT_DOUBLE_EQ(ComputeSessionStats(journal).dFinalAccount, 1000005);
    journal.AddMark(1000005);
    journal.AddMark(1000004);
    EXPECT_DOUBLE_EQ(ComputeSessionStats(journal).dFinalAccount, 1000004);
}

TEST(SessionStats, DrawdownPercentIsOfThePeakTheWorstFallStartedFrom)
{
    CTradeJournal journal;
    // 100 -> 50 falls by half, but 1000 -> 900 is the worst fall in money: 10 % of its peak.
    for (const double dValue : {100.0, 50.0, 70.0, 1000.0, 900.0, 950.0})
        journal.AddMark(dValue);
    SSessionStats stats = ComputeSessionStats(journal);
    EXPECT_DOUBLE_EQ(stats.dMaxDrawdown, 100);
    EXPECT_DOUBLE_EQ(stats.dMaxDrawdownPercent, 10);
    EXPECT_DOUBLE_EQ(stats.dFinalAccount, 950);

    // A fall of 3.76 on a million is 0.000376 %, not 0.00 %.
    CTradeJournal million;
    for (const double dValue : {1000000.0, 1000001.0, 999997.24, 999999.0})
        million.AddMark(dValue);
    stats = ComputeSessionStats(million);
    EXPECT_NEAR(stats.dMaxDrawdown, 3.76, 1e-9);
    EXPECT_NEAR(stats.dMaxDrawdownPercent, 3.76 / 1000001 * 100, 1e-12);

    CTradeJournal rising;
    for (const double dValue : {1.0, 2.0, 3.0})
        rising.AddMark(dValue);
    EXPECT_EQ(ComputeSessionStats(rising).dMaxDrawdown, 0);
}

TEST(SessionStats, CostsResultsExpectancyAndRComeFromClosedPositions)
{
    CTradeJournal journal;
    auto Add = [&](int nBefore, int nAfter, double dCosts, double dGross, double dNet, double dRisk)
    {
        STradeRecord record;
        record.nPositionBefore = nBefore;
        record.nPosition = nAfter;
        record.dCosts = dCosts;
        record.dGross = dGross;
        record.dRealized = dNet;
        record.dRisk = dRisk;
        journal.Append(record);
    };
    Add(0, 10, 1.5, 0, 0, 0);
    Add(10, 0, 1.5, 20, 17, 50); // +17 risking 50: R 0.34
    Add(0, -4, 1, 0, 0, 0);
    Add(-4, 2, 2, -8, -10.5, 20); // crossing: -10.5 risking 20: R -0.525
    Add(2, 0, 1, 4, 2.5, 0);      // no stop: no R
    Add(0, 3, 0.75, 0, 0, 0);     // still open: its costs are paid, its result is not in
    const SSessionStats stats = ComputeSessionStats(journal);
    EXPECT_EQ(stats.nRoundTrips, 3);
    EXPECT_EQ(stats.nWins, 2);
    EXPECT_EQ(stats.nLosses, 1);
    EXPECT_DOUBLE_EQ(stats.dCostsPaid, 7.75);
    EXPECT_DOUBLE_EQ(stats.dProfitBeforeCosts, 16);
    EXPECT_DOUBLE_EQ(stats.dNetProfit, 9);
    EXPECT_DOUBLE_EQ(stats.dExpectancy, 3);
    EXPECT_EQ(stats.nRiskedTrips, 2);
    EXPECT_DOUBLE_EQ(stats.dAverageR, (0.34 - 0.525) / 2);
}

TEST(TradeJournalMarkers, FollowTheRecordsThroughTruncation)
{
    CTempDir dir;
    dir.Enter();
    CTradeAccount account;
    CTradeJournal journal;
    journal.Trade(account, ETradeSide::Buy, 10, 40000, 0);
    journal.AddMark(1000000);
    const std::size_t nRecords = journal.Records().size();
    const std::size_t nMarks = journal.Marks().size();
    journal.Trade(account, ETradeSide::Sell, 11, 40001, 0);
    journal.Trade(account, ETradeSide::Sell, 12, 40002, 0);
    journal.AddMark(1000001);
    ASSERT_EQ(journal.Markers().size(), 3u);
    EXPECT_EQ(journal.Markers()[2].dDate, 40002);
    EXPECT_EQ(journal.Markers()[2].dPrice, 12);
    EXPECT_FALSE(journal.Markers()[2].bBuy);

    journal.Truncate(nRecords, nMarks);
    ASSERT_EQ(journal.Records().size(), 1u);
    ASSERT_EQ(journal.Markers().size(), 1u);
    EXPECT_EQ(journal.Marks(), std::vector<double>{1000000});
    EXPECT_TRUE(journal.Markers()[0].bBuy);
    EXPECT_EQ(journal.Records()[0].nPriceDecimals, 2) << "the account's decimals at the trade";
}
