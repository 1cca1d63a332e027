#include "core/ReplayStart.h"
#include "core/KLinePlayer.h"
#include "core/ReplaySettings.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

// nBars bars on consecutive days from 2020-01-01 (OLE day 43831) at noon; bar i closes at i.
std::vector<SChartCandlestickPoint> DailyBars(int nBars)
{
    std::vector<SChartCandlestickPoint> vecBars;
    for (int i = 0; i < nBars; ++i)
        vecBars.push_back({43831.0 + i + 0.5, double(i), double(i), double(i), double(i)});
    return vecBars;
}

} // namespace

TEST(ReplayStartTest, DateStartsAtTheLastBarOnOrBeforeItButAtLeastNBarsIn)
{
    const std::vector<SChartCandlestickPoint> vecBars = DailyBars(100); // 2020-01-01 .. 2020-04-09
    const struct
    {
        const char* pszDate;
        int nCursor;
    } cases[] = {
        {"2020-02-15", 46},  // bar 45 is that day, time of day ignored
        {"2020-01-27", 27},  // bar 26: N + 1 bars in
        {"2020-01-26", 26},  // bar 25 is the N-th bar
        {"2020-01-10", 26},  // inside the first window
        {"1999-12-31", 26},  // before the file
        {"2020-04-09", 100}, // the last bar
        {"2031-01-01", 100}, // after the file
        {"2020-02-29", 60},  // a leap day
    };
    for (const auto& c : cases)
    {
        int nCursor = -1;
        EXPECT_TRUE(ReplayStartForDate(vecBars, 26, c.pszDate, &nCursor)) << c.pszDate;
        EXPECT_EQ(nCursor, c.nCursor) << c.pszDate;
    }
}

TEST(ReplayStartTest, DateGapsGoBackToTheBarBefore)
{
    std::vector<SChartCandlestickPoint> vecBars = DailyBars(40);
    vecBars.erase(vecBars.begin() + 30, vecBars.begin() + 35); // 2020-01-31 .. 02-04 missing
    int nCursor = -1;
    ASSERT_TRUE(ReplayStartForDate(vecBars, 26, "2020-02-02", &nCursor));
    EXPECT_EQ(nCursor, 30);
}

TEST(ReplayStartTest, MalformedDatesAndEmptyFilesAnswerFalse)
{
    const std::vector<SChartCandlestickPoint> vecBars = DailyBars(50);
    for (const char* pszDate :
         {"", "2020-1-05", "2020/01/05", "20200105", "2020-13-01", "2021-02-29", "2020-01-32",
          "2020-01-05 ", "abcd-ef-gh", "0000-01-01", "2020-00-10", "+020-01-01"})
    {
        int nCursor = -1;
        EXPECT_FALSE(ReplayStartForDate(vecBars, 26, pszDate, &nCursor)) << pszDate;
        EXPECT_EQ(nCursor, -1) << pszDate;
    }
    int nCursor = -1;
    EXPECT_FALSE(ReplayStartForDate({}, 26, "2020-01-05", &nCursor));
    EXPECT_EQ(nCursor, -1);
}

TEST(ReplayStartTest, AFileShorterThanTheWindowStartsAtItsEnd)
{
    int nCursor = -1;
    ASSERT_TRUE(ReplayStartForDate(DailyBars(10), 26, "2020-01-03", &nCursor));
    EXPECT_EQ(nCursor, 10);
}

TEST(ReplayStartTest, RandomStartsLeaveNBarsBeforeAndAFifthAfter)
{
    const std::vector<SChartCandlestickPoint> vecBars = DailyBars(101);
    std::mt19937 generator(7);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i)
    {
        int nCursor = -1;
        ASSERT_TRUE(RandomReplayStart(vecBars, 26, generator, &nCursor));
        ASSERT_GE(nCursor, 26);
        ASSERT_GE(101 - nCursor, 21) << "a fifth of 101 bars, rounded up, stays to be played";
        seen.insert(nCursor);
    }
    EXPECT_EQ(*seen.begin(), 26);
    EXPECT_EQ(*seen.rbegin(), 80);
    EXPECT_EQ(seen.size(), 55u) << "every start in range comes up";
}

TEST(ReplayStartTest, RandomStartsRepeatWithTheSameSeed)
{
    const std::vector<SChartCandlestickPoint> vecBars = DailyBars(500);
    std::mt19937 first(42), second(42), other(43);
    std::vector<int> vecFirst, vecSecond, vecOther;
    for (int i = 0; i < 20; ++i)
    {
        int n1 = 0, n2 = 0, n3 = 0;
        RandomReplayStart(vecBars, 26, first, &n1);
        RandomReplayStart(vecBars, 26, second, &n2);
        RandomReplayStart(vecBars, 26, other, &n3);
        vecFirst.push_back(n1);
        vecSecond.push_back(n2);
        vecOther.push_back(n3);
    }
    EXPECT_EQ(vecFirst, vecSecond);
    EXPECT_NE(vecFirst, vecOther);
}

TEST(ReplayStartTest, RandomStartInATooShortFileIsTheNthBarOrNothing)
{
    std::mt19937 generator(1);
    const struct
    {
        int nBars;
        bool bAnswer;
        int nCursor;
    } cases[] = {
        {32, true, 26}, // 26 before and 7 after cannot both hold
        {26, true, 26},
        {25, false, -1},
        {0, false, -1},
    };
    for (const auto& c : cases)
    {
        int nCursor = -1;
        EXPECT_EQ(RandomReplayStart(DailyBars(c.nBars), 26, generator, &nCursor), c.bAnswer)
            << c.nBars;
        EXPECT_EQ(nCursor, c.nCursor) << c.nBars;
    }
}

class SeekReplayStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ReplaySettings().m_nWindowBars = 5;
        m_player.m_vecBars = DailyBars(20);
        m_player.m_nBarCount = 20;
        m_player.m_vecWindow.assign(5, SChartCandlestickPoint{});
    }
    void TearDown() override { ReplaySettings() = SReplaySettings(); }

    CKLinePlayer m_player;
};

TEST_F(SeekReplayStartTest, TheNextStepShowsTheWindowEndingAtTheStart)
{
    for (int nCursor : {5, 6, 12, 20})
    {
        SeekReplayStart(m_player, nCursor);
        ASSERT_EQ(m_player.Step(), nCursor);
        ASSERT_EQ(m_player.m_vecWindow.size(), 5u);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(m_player.m_vecWindow[i].dClose, nCursor - 5 + i) << nCursor;
        EXPECT_EQ(m_player.m_dClose, nCursor - 1);
    }
}

TEST_F(SeekReplayStartTest, StartsOutsideTheFileAreKeptInside)
{
    SeekReplayStart(m_player, 2);
    EXPECT_EQ(m_player.Step(), 5);
    SeekReplayStart(m_player, 99);
    EXPECT_EQ(m_player.Step(), 20);
    EXPECT_EQ(m_player.m_dClose, 19);
    EXPECT_EQ(m_player.Step(), 20) << "the start at the last bar is the end";
}
