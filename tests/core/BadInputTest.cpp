// Hostile files and hostile surroundings: each must end in a clear effect (skipped lines, no
// bars, a message on standard error) with the replay and the account still sound.
#include "CoreTestApp.h"
#include "TempDir.h"
#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "core/KLinePlayer.h"
#include "core/ReplaySettings.h"
#include "core/TradeAccount.h"
#include "core/TradeLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

constexpr const char* kBar = "2017-01-05,10,12,9,11\n";

// Root reads and writes everything, so permission cases run as the unprivileged user.
void BecomeUnprivileged()
{
    if (::geteuid() != 0)
        return;
    if (::setgid(65534) != 0 || ::setuid(65534) != 0)
        std::_Exit(3);
}

class BadInput : public ::testing::Test
{
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    void TearDown() override { ReplaySettings() = SReplaySettings(); }

    // Loads the file and returns what the loader said on standard error.
    std::string Load(const std::string& strPath)
    {
        testing::internal::CaptureStderr();
        m_player.Load(strPath);
        return testing::internal::GetCapturedStderr();
    }

    CTempDir m_dir;
    CKLinePlayer m_player;
};

TEST_F(BadInput, AFileWithoutReadPermissionIsReportedAndLeavesNoBars)
{
    const std::string path = m_dir.Write("locked.csv", kBar);
    fs::permissions(m_dir.Path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(path, fs::perms::none);
    EXPECT_EXIT(
        {
            BecomeUnprivileged();
            CKLinePlayer player;
            player.Load(path);
            std::_Exit(player.m_nBarCount == 0 && player.m_vecBars.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "Error opening file: Permission denied");
}

TEST_F(BadInput, AnEmptyFileGivesNoBarsSilently)
{
    m_player.Load(m_dir.Write("full.csv", kBar));
    EXPECT_EQ(Load(m_dir.Write("empty.csv", "")), "");
    EXPECT_EQ(m_player.m_nBarCount, 0);
    EXPECT_EQ(m_player.m_vecWindow.size(), 26u);
}

TEST_F(BadInput, BinaryBytesAreSkippedLineByLine)
{
    std::mt19937 random(7);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    const std::string err = Load(m_dir.Write("blob.bin", bytes + "\n" + kBar));
    EXPECT_EQ(m_player.m_nBarCount, 1) << "the bar after the binary block still counts";
    EXPECT_NE(err.find("skipped"), std::string::npos) << err;
}

TEST_F(BadInput, AFiftyMegabyteLineIsSkippedAndTheNextBarKept)
{
    const std::string path =
        m_dir.Write("long.csv", "2017-01-04," + std::string(50u << 20, '7') + "\n" + kBar);
    const auto start = std::chrono::steady_clock::now();
    const std::string err = Load(path);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(m_player.m_nBarCount, 1);
    EXPECT_EQ(m_player.m_vecBars.front().dClose, 11);
    EXPECT_NE(err.find("skipped 1 line(s) that are not bars (first: line 1)"), std::string::npos)
        << err;
}

TEST_F(BadInput, TenMillionShortLinesAreReadInOnePass)
{
    std::string text;
    text.reserve(20'000'000 + 32);
    for (int i = 0; i < 10'000'000; ++i)
        text += "x\n";
    text += kBar;
    const std::string path = m_dir.Write("many.csv", text);
    text = std::string();
    const auto start = std::chrono::steady_clock::now();
    const std::string err = Load(path);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(m_player.m_nBarCount, 1);
    EXPECT_NE(err.find("skipped 10000000 line(s)"), std::string::npos) << err;
}

// Prices at the edge of the doubles and dates far from today replay on a real chart: every
// axis keeps a finite range and the account books the trades.
TEST_F(BadInput, ExtremePricesAndDatesReplayAndTrade)
{
    EnsureCoreTestApp();
    CChartCtrl chart;
    ASSERT_TRUE(chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0));
    chart.NewDateTimeAxis()->SetRangeMode(AllPoints);
    chart.NewStandardAxis()->SetRangeMode(AllPoints);
    m_player.m_pChart = &chart;

    const std::string text = "1850-03-01,1e300,1e300,-1e300,-1e300\n"
                             "1899-12-29,1.7e308,1.7e308,-1.7e308,1\n"
                             "9500-06-30,-1e300,1e300,-1e300,1e300\n"
                             "9999-12-31,5,5,5,5\n";
    ReplaySettings().m_nWindowBars = 2;
    EXPECT_EQ(Load(m_dir.Write("edges.csv", text)), "");
    ASSERT_EQ(m_player.m_nBarCount, 4);

    m_dir.Enter();
    CTradeAccount account;
    while (m_player.Step() < m_player.m_nBarCount)
    {
        account.SetCurrentPrice(m_player.m_dClose);
        account.Buy(m_player.m_dClose);
    }
    for (CChartAxis* pAxis : {chart.GetAxis(SlotBottom), chart.GetAxis(SlotLeft)})
    {
        ASSERT_NE(pAxis, nullptr);
        EXPECT_TRUE(std::isfinite(pAxis->m_dMin) && std::isfinite(pAxis->m_dMax))
            << pAxis->m_dMin << " " << pAxis->m_dMax;
    }
    EXPECT_EQ(m_player.m_dClose, 5);
    EXPECT_GT(account.m_nPosition, 0);

    // A price of 1e300 prints with all its digits: the log line is whole, not cut.
    CTradeAccount big;
    big.Buy(1e300);
    const std::string log = m_dir.Read(TradeLogFileName(std::time(nullptr)));
    EXPECT_NE(log.find("Buy 1 @ 1" + std::string(10, '0')), std::string::npos);
    EXPECT_NE(log.find(".00\r\n"), std::string::npos);
}

TEST_F(BadInput, ALogDirectoryThatIsNotWritableLosesNoTradeFromTheAccount)
{
    fs::permissions(m_dir.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
    m_dir.Enter();
    EXPECT_EXIT(
        {
            BecomeUnprivileged();
            CTradeAccount account;
            account.Buy(10);
            account.SetCurrentPrice(12.5);
            account.Sell(12.5);
            const bool bBooked =
                account.m_nPosition == 0 && account.m_dNoPositionAccount == 1000002.5;
            std::_Exit(bBooked && !fs::exists(TradeLogFileName(std::time(nullptr))) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "cannot write [0-9]+TradeDetails.log.*Buy");
}

} // namespace
