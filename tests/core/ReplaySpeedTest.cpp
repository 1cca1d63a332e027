#include "core/ReplaySpeed.h"

#include <gtest/gtest.h>

TEST(ReplaySpeedTest, FasterAndSlowerGoToTheNextStepAndStayAtTheEnds)
{
    const struct
    {
        int nPeriod;
        int nFaster;
        int nSlower;
    } cases[] = {
        {100, 100, 200},    {200, 100, 500},     {500, 200, 1000}, {1000, 500, 2000},
        {2000, 1000, 5000}, {5000, 2000, 5000},  {150, 100, 200},  {999, 500, 1000},
        {1001, 1000, 2000}, {4999, 2000, 5000},  {50, 50, 100},    {9000, 5000, 9000},
        {0, 0, 100},        {-3000, -3000, 100},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(FasterReplayPeriod(c.nPeriod), c.nFaster) << c.nPeriod;
        EXPECT_EQ(SlowerReplayPeriod(c.nPeriod), c.nSlower) << c.nPeriod;
    }
}

TEST(ReplaySpeedTest, RepeatedStepsWalkEveryStepOnce)
{
    int nPeriod = 5000;
    for (int i = kReplaySpeedStepCount - 1; i >= 0; --i)
    {
        EXPECT_EQ(ReplaySpeedIndex(nPeriod), i);
        nPeriod = FasterReplayPeriod(nPeriod);
    }
    EXPECT_EQ(nPeriod, 100);
    for (int i = 0; i < kReplaySpeedStepCount; ++i)
        nPeriod = SlowerReplayPeriod(nPeriod);
    EXPECT_EQ(nPeriod, 5000);
}

TEST(ReplaySpeedTest, PeriodsBetweenStepsHaveNoIndex)
{
    for (int nPeriod : {0, 99, 101, 1500, 5001, -100})
        EXPECT_EQ(ReplaySpeedIndex(nPeriod), -1) << nPeriod;
}

TEST(ReplaySpeedTest, SecondsPerBarWithoutTrailingZeros)
{
    EXPECT_EQ(ReplaySpeedSeconds(100), "0.1");
    EXPECT_EQ(ReplaySpeedSeconds(500), "0.5");
    EXPECT_EQ(ReplaySpeedSeconds(1000), "1");
    EXPECT_EQ(ReplaySpeedSeconds(5000), "5");
    EXPECT_EQ(ReplaySpeedSeconds(1500), "1.5");
}
