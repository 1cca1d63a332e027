#include "core/KLinePlayer.h"
#include "TempDir.h"
#include "core/ReplaySettings.h"

#include <gtest/gtest.h>

namespace
{

bool IsZeroBar(const SChartCandlestickPoint& bar)
{
    return bar.dDate == 0 && bar.dLow == 0 && bar.dHigh == 0 && bar.dOpen == 0 && bar.dClose == 0;
}

// Restores the process-wide replay settings a test changes.
class KLinePlayerLoad : public ::testing::Test
{
protected:
    void TearDown() override { ReplaySettings() = SReplaySettings(); }

    CTempDir m_dir;
    CKLinePlayer m_player;
};

} // namespace

TEST_F(KLinePlayerLoad, ReadsEveryBarAndPreparesAWindowOfZeroBars)
{
    const std::string path =
        m_dir.Write("a.csv", "2017-01-05,10.0,11.5,9.5,11.0\n2017-01-06,11,12,10,11.5\n");
    m_player.m_nCursor = 7;
    EXPECT_TRUE(m_player.Load(path));
    EXPECT_EQ(m_player.m_nBarCount, 2);
    EXPECT_EQ(m_player.m_nCursor, 0);
    ASSERT_EQ(m_player.m_vecBars.size(), 2u);
    EXPECT_EQ(m_player.m_vecBars[1].dClose, 11.5);
    ASSERT_EQ(m_player.m_vecWindow.size(), 26u);
    for (const SChartCandlestickPoint& bar : m_player.m_vecWindow)
        EXPECT_TRUE(IsZeroBar(bar));
}

TEST_F(KLinePlayerLoad, ReadsTheWindowSizeAtEveryLoad)
{
    const std::string path = m_dir.Write("a.csv", "2017-01-05,10.0,11.5,9.5,11.0\n");
    ReplaySettings().m_nWindowBars = 5;
    m_player.Load(path);
    EXPECT_EQ(m_player.m_vecWindow.size(), 5u);
    ReplaySettings().m_nWindowBars = -3;
    m_player.Load(path);
    EXPECT_TRUE(m_player.m_vecWindow.empty());
    EXPECT_EQ(m_player.m_nBarCount, 1);
}

TEST_F(KLinePlayerLoad, ASecondFileReplacesTheFirst)
{
    m_player.Load(
        m_dir.Write("a.csv", "2017-01-05,1,1,1,1\n2017-01-06,2,2,2,2\n2017-01-09,3,3,3,3\n"));
    m_player.m_nCursor = 3;
    m_player.Load(m_dir.Write("b.csv", "2018-01-05,9,9,9,9\n"));
    EXPECT_EQ(m_player.m_nBarCount, 1);
    EXPECT_EQ(m_player.m_nCursor, 0);
    EXPECT_EQ(m_player.m_vecBars.front().dOpen, 9);
}

TEST_F(KLinePlayerLoad, AFileThatCannotBeOpenedKeepsTheFileLoaded)
{
    m_player.Load(m_dir.Write("a.csv", "2017-01-05,1,1,1,1\n"));
    testing::internal::CaptureStderr();
    std::string strReason;
    EXPECT_FALSE(m_player.Load((m_dir.Path() / "missing.csv").string(), &strReason));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error opening file: No such file or directory\n");
    EXPECT_EQ(strReason, "No such file or directory");
    EXPECT_EQ(m_player.m_nBarCount, 1);
    EXPECT_EQ(m_player.m_vecBars.size(), 1u);
    EXPECT_EQ(m_player.m_vecWindow.size(), 26u);
}

TEST_F(KLinePlayerLoad, SaysWhatItReadOnce)
{
    const std::string path = m_dir.Write(
        "h.csv", "Date,Open,High,Low,Close\n2017-01-05,1,1,1,1\nfooter line\n2017-01-06,1,2,1,2\n");
    testing::internal::CaptureStderr();
    m_player.Load(path);
    const std::string strNote =
        "date, open, high, low, close: 2 bars, 2017-01-05 to 2017-01-06; 2 lines skipped "
        "(1 not a bar, first: line 3)";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), path + ": " + strNote + "\n");
    EXPECT_EQ(m_player.LoadNote(), strNote);
    EXPECT_EQ(m_player.m_nBarCount, 2);
}

TEST_F(KLinePlayerLoad, TakesPricePrecisionAndTimesOfDayFromTheFile)
{
    struct SCase
    {
        const char* pszBars;
        int nDecimals;
        bool bTimeOfDay;
    };
    const SCase cases[] = {
        {"2017-01-05,10,11,9,10\n", 2, false},
        {"2017-01-05,10.5,11.25,9.125,10\n", 3, false},
        {"2017-04-19 09:00:00,1.0716,1.0722,1.07083,1.07219\n", 5, true},
        {"1995-01-03,2.179012,2.1913581,2.117284,2.117284\n", 7, false},
        {"2021-03-01,0.00000001234,0.00000001234,0.00000001234,0.00000001234\n", 10, false},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.pszBars);
        m_player.Load(m_dir.Write("a.csv", c.pszBars));
        EXPECT_EQ(m_player.m_nPriceDecimals, c.nDecimals);
        EXPECT_EQ(m_player.m_bTimeOfDay, c.bTimeOfDay);
    }
}
