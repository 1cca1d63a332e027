// Hostile files and hostile surroundings: each must end in a clear effect (skipped lines, no
// bars, a message on standard error) with the replay and the account still sound.
#include "CoreTestApp.h"
#include "TempDir.h"
#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "core/KLineFile.h"
#include "core/KLinePlayer.h"
#include "core/ReplaySettings.h"
#include "core/TradeAccount.h"
#include "core/TradeLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

constexpr const char* kBar = "2017-01-05,10,12,9,11\n";

// Peak resident memory in KiB since the last ResetPeakMemory.
long PeakMemoryKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

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

TEST_F(BadInput, LineEndsOfEveryKindAndAByteOrderMarkLoseNoBar)
{
    const std::string bars = "2017-01-05,1,2,0.5,1.5|2017-01-06,2,3,1,2.5|2017-01-09,3,4,2,3.5";
    struct SCase
    {
        const char* pszName;
        std::string strEnd;
        std::string strPrefix;
    } cases[] = {
        {"lf.csv", "\n", ""},
        {"crlf.csv", "\r\n", ""},
        {"cr.csv", "\r", ""},
        {"bom-lf.csv", "\n", "\xEF\xBB\xBF"},
        {"bom-crlf.csv", "\r\n", "\xEF\xBB\xBF"},
        {"bom-cr.csv", "\r", "\xEF\xBB\xBF"},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        std::string text = c.strPrefix + bars + c.strEnd;
        for (size_t i = text.find('|'); i != std::string::npos; i = text.find('|'))
            text.replace(i, 1, c.strEnd);
        EXPECT_EQ(Load(m_dir.Write(c.pszName, text)), "");
        ASSERT_EQ(m_player.m_nBarCount, 3);
        EXPECT_EQ(m_player.m_vecBars[0].dDate, 42740);
        EXPECT_EQ(m_player.m_vecBars[2].dClose, 3.5);
    }

    // Mixed ends, a CRLF cut by the 1 MiB read boundary, and no end on the last line.
    std::string text = "2017-01-05,1,2,0.5,1.5\r2017-01-06,2,3,1,2.5\n";
    text += std::string((1 << 20) - text.size() - 1, ' ') + "\r\n";
    text += "2017-01-09,3,4,2,3.5\r\n\r2017-01-10,4,5,3,4.5";
    std::vector<SChartCandlestickPoint> read;
    SKLineReadStats stats;
    ASSERT_TRUE(ReadKLineFile(m_dir.Write("mixed.csv", text), &read, &stats));
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[3].dClose, 4.5);
    EXPECT_EQ(stats.m_nLines, 6) << "a CRLF is one line end, even across reads";
    EXPECT_EQ(stats.m_nSkipped, 0);
}

TEST_F(BadInput, APriceThatIsNotAWholeNumberSkipsItsLine)
{
    using namespace std::string_literals;
    const std::string text = "2017-01-04,N/A,2,3,4\n2017-01-05,abc,2,3,4\n2017-01-06,\0"
                             "5,2,3,4\n"s +
                             kBar;
    EXPECT_NE(Load(m_dir.Write("bad-prices.csv", text))
                  .find("skipped 3 line(s) that are not bars (first: line 1)"),
              std::string::npos);
    ASSERT_EQ(m_player.m_nBarCount, 1);
    EXPECT_EQ(m_player.m_vecBars[0].dOpen, 10);
}

TEST_F(BadInput, ASemicolonOrTabFileLoadsNothingAndSaysTheSeparatorMustBeAComma)
{
    const char* const kNote = "the separator must be a comma";
    std::string err = Load(m_dir.Write(
        "semicolon.csv", "Date;Open;High;Low;Close\n2015-01-05;49,86;50,16;48,67;48,92\n"
                         "2015-01-06;48,92;49,50;48,10;49,20\n"));
    EXPECT_EQ(m_player.m_nBarCount, 0) << "decimal commas must not read as prices 86, 16, ...";
    EXPECT_NE(err.find("skipped 3 line(s)"), std::string::npos) << err;
    EXPECT_NE(err.find(kNote), std::string::npos) << err;

    err = Load(m_dir.Write("tabs.csv", "2015-01-05\t49.86\t50.16\t48.67\t48.92\n"));
    EXPECT_EQ(m_player.m_nBarCount, 0);
    EXPECT_NE(err.find(kNote), std::string::npos) << err;

    // Only when nothing loads: one odd line in a comma file is an ordinary skipped line.
    err = Load(m_dir.Write("one-odd.csv", std::string("note;this\n") + kBar));
    EXPECT_EQ(m_player.m_nBarCount, 1);
    EXPECT_EQ(err.find(kNote), std::string::npos) << err;
}

TEST_F(BadInput, ANewestFirstFileReplaysOldestFirst)
{
    const std::string err = Load(m_dir.Write("newest-first.csv", "2017-01-09,9,9,9,9\n"
                                                                 "2017-01-06,6,6,6,6\n"
                                                                 "2017-01-06,7,7,7,7\n"
                                                                 "2017-01-05 15:00,2,2,2,2\n"
                                                                 "2017-01-05 10:00,1,1,1,1\n"));
    ASSERT_EQ(m_player.m_nBarCount, 5);
    // Times of day order the bars of one day; bars of the same instant keep their file order.
    const double closes[] = {1, 2, 6, 7, 9};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(m_player.m_vecBars[i].dClose, closes[i]) << i;
    EXPECT_EQ(err,
              m_dir.Path().string() +
                  "/newest-first.csv: bars are not in date order; replaying them oldest first\n");

    EXPECT_EQ(Load(m_dir.Write("in-order.csv", "2017-01-05,1,1,1,1\n2017-01-05,2,2,2,2\n")), "");
}

TEST_F(BadInput, AnEndlessDeviceIsRefusedAtOnce)
{
    m_player.Load(m_dir.Write("full.csv", kBar));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Load("/dev/zero"), "Error opening file: No such device\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(m_player.m_nBarCount, 0);
}

TEST_F(BadInput, AHugeLineThroughAPipeIsSkippedInBoundedMemory)
{
    const std::string path = (m_dir.Path() / "pipe").string();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    constexpr size_t kLineMiB = 256;
    std::thread writer(
        [&]
        {
            const int fd = ::open(path.c_str(), O_WRONLY);
            const std::string block(1 << 20, '7');
            for (size_t i = 0; i < kLineMiB && fd >= 0; ++i)
                if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size()))
                    break;
            if (fd >= 0 && ::write(fd, "\n", 1) == 1)
                (void)!::write(fd, kBar, std::strlen(kBar));
            ::close(fd);
        });
    ResetPeakMemory();
    const long nBefore = PeakMemoryKiB();
    const std::string err = Load(path);
    const long nGrowth = PeakMemoryKiB() - nBefore;
    writer.join();
    EXPECT_EQ(m_player.m_nBarCount, 1);
    EXPECT_NE(err.find("skipped 1 line(s) that are not bars (first: line 1)"), std::string::npos)
        << err;
    EXPECT_LT(nGrowth, 64 * 1024) << "KiB; the line must not be held whole";
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
