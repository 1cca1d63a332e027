// Hostile files and hostile surroundings: each must end in a clear effect (skipped lines, no
// bars, a message on standard error) with the replay and the account still sound.
#include "CoreTestApp.h"
#include "TempDir.h"
#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "core/BarLabels.h"
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
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// A load that gives no bars says why and leaves the replay going on as it was.
TEST_F(BadInput, ALoadThatGivesNoBarsKeepsTheReplayAndSaysWhy)
{
    ReplaySettings().m_nWindowBars = 2;
    std::string bars;
    for (int i = 1; i <= 5; ++i)
        bars += "2017-01-0" + std::to_string(i) + ",10,12,9," + std::to_string(10 + i % 2) + "\n";
    const std::string good = m_dir.Write("good.csv", bars);
    ASSERT_TRUE(m_player.Load(good));
    m_player.Step();
    m_player.Step();
    const std::vector<SChartCandlestickPoint> window = m_player.m_vecWindow;
    const double dClose = m_player.m_dClose;

    std::mt19937 random(7);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    const std::string fifo = (m_dir.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = (m_dir.Path() / "socket").string();
    const int fdSocket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fdSocket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const std::pair<std::string, std::string> cases[] = {
        {(m_dir.Path() / "missing.csv").string(), "No such file or directory"},
        {m_dir.Write("empty.csv", ""), "the file is empty"},
        {m_dir.Write("blank.csv", "\n  \r\n\t\n"), "the file is empty"},
        {m_dir.Write("blob.bin", bytes + "\n" + kBar), "not a text file (it holds binary data)"},
        {m_dir.Write("words.txt", "\nDear trader,\nhere are no prices.\n"),
         "no line could be read as a bar (first skipped: line 2)"},
        {m_dir.Write("partly.csv", "Date,Open,Hi,Lo,Close\n2017-01-05,10,12,9,11\n"),
         "its columns can be read more than one way; choose the layout"},
        {fifo, "not a regular file (a named pipe)"},
        {socketPath, "not a regular file (a socket)"},
        {m_dir.Path().string(), "not a regular file (a directory)"},
        {"/dev/zero", "not a regular file (a character device)"},
    };
    for (const auto& [path, reason] : cases)
    {
        SCOPED_TRACE(path);
        const auto start = std::chrono::steady_clock::now();
        std::string strReason;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(m_player.Load(path, &strReason));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5))
            << "a named pipe without a writer must not block";
        EXPECT_EQ(strReason, reason);
        EXPECT_NE(err.find(reason), std::string::npos) << err;
        EXPECT_EQ(m_player.m_strFilePath, good);
        EXPECT_EQ(m_player.m_nBarCount, 5);
        EXPECT_EQ(m_player.m_nCursor, 3);
        ASSERT_EQ(m_player.m_vecWindow.size(), window.size());
        EXPECT_EQ(m_player.m_vecWindow.back().dDate, window.back().dDate);
        EXPECT_EQ(m_player.m_dClose, dClose);
    }
    ::close(fdSocket);
}

TEST_F(BadInput, BinaryBytesBetweenBarsAreSkippedLineByLine)
{
    std::mt19937 random(7);
    std::string bytes(1024, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() % 2 ? random() : 'x');
    const std::string err = Load(m_dir.Write("blob.csv", kBar + bytes + "\n" + kBar));
    EXPECT_EQ(m_player.m_nBarCount, 2) << "the bars around the binary block still count";
    EXPECT_NE(err.find("skipped"), std::string::npos) << err;
}

TEST_F(BadInput, AFiftyMegabyteLineIsSkippedInBoundedMemoryAndTheNextBarKept)
{
    const std::string path =
        m_dir.Write("long.csv", "2017-01-04," + std::string(50u << 20, '7') + "\n" + kBar);
    ResetPeakMemory();
    const long nBefore = PeakMemoryKiB();
    const auto start = std::chrono::steady_clock::now();
    const std::string err = Load(path);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_LT(PeakMemoryKiB() - nBefore, 16 * 1024) << "KiB; the line must not be held whole";
    EXPECT_EQ(m_player.m_nBarCount, 1);
    EXPECT_EQ(m_player.m_vecBars.front().dClose, 11);
    EXPECT_NE(err.find("1 line skipped (1 not a bar, first: line 1)"), std::string::npos) << err;
}

TEST_F(BadInput, TenMillionShortLinesAreReadInOnePass)
{
    std::string text = kBar;
    text.reserve(20'000'000 + 64);
    for (int i = 0; i < 10'000'000; ++i)
        text += "x\n";
    text += "2017-01-06,10,12,9,11\n";
    const std::string path = m_dir.Write("many.csv", text);
    text = std::string();
    const auto start = std::chrono::steady_clock::now();
    const std::string err = Load(path);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(m_player.m_nBarCount, 2);
    EXPECT_NE(err.find("10000000 lines skipped"), std::string::npos) << err;
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
        EXPECT_EQ(Load(m_dir.Write(c.pszName, text)).find("skipped"), std::string::npos);
        ASSERT_EQ(m_player.m_nBarCount, 3);
        EXPECT_EQ(m_player.m_vecBars[0].dDate, 42740);
        EXPECT_EQ(m_player.m_vecBars[2].dClose, 3.5);
    }

    // Mixed ends, a CRLF cut by the 1 MiB read boundary, and no end on the last line.
    std::string text = "2017-01-05,1,2,0.5,1.5\r2017-01-06,2,3,1,2.5\n";
    text += std::string((1 << 20) - text.size() - 1, ' ') + "\r\n";
    text += "2017-01-09,3,4,2,3.5\r\n\r2017-01-10,4,5,3,4.5";
    SKLineLoad load;
    ASSERT_TRUE(LoadKLineFile(m_dir.Write("mixed.csv", text), &load));
    ASSERT_EQ(load.m_vecBars.size(), 4u);
    EXPECT_EQ(load.m_vecBars[3].dClose, 4.5);
    EXPECT_EQ(load.m_stats.m_nLines, 6) << "a CRLF is one line end, even across reads";
    EXPECT_EQ(load.m_stats.m_nSkipped, 0);
}

TEST_F(BadInput, APriceThatIsNotAWholeNumberSkipsItsLine)
{
    using namespace std::string_literals;
    const std::string text = "2017-01-04,N/A,12,9,11\n2017-01-05,abc,12,9,11\n2017-01-06,\0"
                             "5,12,9,11\n"s +
                             kBar;
    EXPECT_NE(Load(m_dir.Write("bad-prices.csv", text))
                  .find("3 lines skipped (3 not bars, first: line 1)"),
              std::string::npos);
    ASSERT_EQ(m_player.m_nBarCount, 1);
    EXPECT_EQ(m_player.m_vecBars[0].dOpen, 10);
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
    EXPECT_NE(err.find("newest first, replayed oldest first"), std::string::npos) << err;

    EXPECT_EQ(Load(m_dir.Write("in-order.csv", "2017-01-05,1,1,1,1\n2017-01-05,2,2,2,2\n"))
                  .find("oldest first"),
              std::string::npos);
}

// Prices around 1e-8 are shown and logged with every decimal the file writes, up to ten.
TEST_F(BadInput, TinyPricesKeepTheirDecimals)
{
    Load(m_dir.Write("tiny.csv", "2021-03-01,0.0000000123,0.0000000125,0.0000000121,0.0000000124\n"
                                 "2021-03-02,0.00000001,0.00000002,0.000000009,0.00000001\n"));
    ASSERT_EQ(m_player.m_nBarCount, 2);
    EXPECT_EQ(m_player.m_nPriceDecimals, 10);
    EXPECT_EQ(ShownPriceDecimals(14), 10);
    m_player.Step();
    char close[64];
    std::snprintf(close, sizeof close, "Close:%.*f", m_player.m_nPriceDecimals, m_player.m_dClose);
    EXPECT_STREQ(close, "Close:0.0000000100");
    m_dir.Enter();
    CTradeAccount account;
    account.m_nPriceDecimals = m_player.m_nPriceDecimals;
    account.Buy(m_player.m_dClose);
    EXPECT_NE(m_dir.Read(TradeLogFileName(std::time(nullptr))).find("Buy 1 @ 0.0000000100"),
              std::string::npos);
}

// Prices beyond 1e12 are skipped, so no product of two trades leaves the finite range; dates
// far from today replay on a real chart.
TEST_F(BadInput, HugePricesAreSkippedAndExtremeDatesReplayAndTrade)
{
    EnsureCoreTestApp();
    CChartCtrl chart;
    ASSERT_TRUE(chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0));
    chart.NewDateTimeAxis()->SetRangeMode(AllPoints);
    chart.NewStandardAxis()->SetRangeMode(AllPoints);
    m_player.m_pChart = &chart;

    const std::string text = "1850-03-01,1e12,1e12,-1e12,-1e12\n"
                             "1899-12-29,1.7e308,1.7e308,-1.7e308,1\n"
                             "1950-01-02,1,2e12,0.5,1\n"
                             "9500-06-30,-1e12,1e12,-1e12,1e12\n"
                             "9999-12-31,5,5,5,5\n";
    ReplaySettings().m_nWindowBars = 2;
    EXPECT_NE(
        Load(m_dir.Write("edges.csv", text)).find("2 lines skipped (2 not bars, first: line 2)"),
        std::string::npos);
    ASSERT_EQ(m_player.m_nBarCount, 3);

    m_dir.Enter();
    CTradeAccount account;
    while (m_player.Step() < m_player.m_nBarCount)
    {
        account.SetCurrentPrice(m_player.m_dClose);
        account.Buy(m_player.m_dClose);
        account.Buy(m_player.m_dClose);
        EXPECT_TRUE(std::isfinite(account.m_dPositionAccount) && std::isfinite(account.m_dProfit));
    }
    for (CChartAxis* pAxis : {chart.GetAxis(SlotBottom), chart.GetAxis(SlotLeft)})
    {
        ASSERT_NE(pAxis, nullptr);
        EXPECT_TRUE(std::isfinite(pAxis->m_dMin) && std::isfinite(pAxis->m_dMax))
            << pAxis->m_dMin << " " << pAxis->m_dMax;
    }
    EXPECT_EQ(m_player.m_dClose, 5);
    EXPECT_GT(account.m_nPosition, 0);
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
