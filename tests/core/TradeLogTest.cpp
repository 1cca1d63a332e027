#include "core/TradeLog.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace
{

// Local time is UTC for these tests, so the stamps below are exact.
class TradeLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* tz = std::getenv("TZ");
        m_previousTz = tz ? tz : "";
        m_bHadTz = tz != nullptr;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        m_dir.Enter();
    }
    void TearDown() override
    {
        if (m_bHadTz)
            ::setenv("TZ", m_previousTz.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

    CTempDir m_dir;
    std::string m_previousTz;
    bool m_bHadTz = false;
};

constexpr std::time_t kJan5At1430 = 1483626612; // 2017-01-05 14:30:12 UTC

} // namespace

TEST_F(TradeLog, NamesTheFileAfterTheDayAndStampsEachLine)
{
    EXPECT_EQ(TradeLogFileName(kJan5At1430), "20170105TradeDetails.log");
    WriteTradeLog("Buy 1 @ 10.50", kJan5At1430);
    WriteTradeLog("Sell 1 @ 11.00", kJan5At1430 + 1);
    EXPECT_EQ(m_dir.Read("20170105TradeDetails.log"),
              "2017-01-05 14:30:12: Buy 1 @ 10.50\r\n2017-01-05 14:30:13: Sell 1 @ 11.00\r\n");
}

TEST_F(TradeLog, AppendsToAnExistingFileAndStartsANewOneAfterMidnight)
{
    m_dir.Write("20170105TradeDetails.log", "earlier line\r\n");
    const std::time_t tLastSecond = 1483660799; // 2017-01-05 23:59:59
    WriteTradeLog("a", tLastSecond);
    WriteTradeLog("b", tLastSecond + 1);
    EXPECT_EQ(m_dir.Read("20170105TradeDetails.log"), "earlier line\r\n2017-01-05 23:59:59: a\r\n");
    EXPECT_EQ(m_dir.Read("20170106TradeDetails.log"), "2017-01-06 00:00:00: b\r\n");
}

TEST_F(TradeLog, ConcurrentWritersNeverLoseOrSplitALine)
{
    constexpr int kLines = 200;
    auto writer = [](char c) {
        for (int i = 0; i < kLines; ++i)
            WriteTradeLog(std::string(100, c), kJan5At1430);
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    const std::string content = m_dir.Read("20170105TradeDetails.log");
    const std::string lineA = "2017-01-05 14:30:12: " + std::string(100, 'a') + "\r\n";
    const std::string lineB = "2017-01-05 14:30:12: " + std::string(100, 'b') + "\r\n";
    ASSERT_EQ(content.size(), 2 * kLines * lineA.size());
    for (size_t pos = 0; pos < content.size(); pos += lineA.size())
    {
        const std::string line = content.substr(pos, lineA.size());
        ASSERT_TRUE(line == lineA || line == lineB) << line;
    }
}

TEST_F(TradeLog, ReportsALineItCannotOpenTheFileForToTheCaller)
{
    // A directory in the log's place cannot be opened for writing, not even by root.
    std::filesystem::create_directory("20170105TradeDetails.log");
    testing::internal::CaptureStderr();
    std::string strReason;
    EXPECT_FALSE(WriteTradeLog("Buy 1 @ 10.50", kJan5At1430, &strReason));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(strReason, "cannot write 20170105TradeDetails.log: Is a directory");
    EXPECT_NE(err.find(strReason), std::string::npos) << err;
    EXPECT_NE(err.find("Buy 1 @ 10.50"), std::string::npos) << err;

    EXPECT_EXIT(
        {
            std::filesystem::remove("20170105TradeDetails.log");
            std::filesystem::permissions(".", std::filesystem::perms(0555));
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(3);
            std::string strWhy;
            const bool bWritten = WriteTradeLog("Sell 1 @ 9.00", kJan5At1430, &strWhy);
            std::_Exit(!bWritten && strWhy.find("Permission denied") != std::string::npos ? 0 : 1);
        },
        testing::ExitedWithCode(0), "cannot write 20170105TradeDetails.log: Permission denied");
}

TEST_F(TradeLog, ALineThatDoesNotFitWholeIsTakenBack)
{
    const std::string strBefore = "2017-01-05 14:30:11: Buy 1 @ 10.50\r\n";
    m_dir.Write("20170105TradeDetails.log", strBefore);
    // A file size limit cuts the write short the way a full disk does, for root too.
    rlimit old = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = strBefore.size() + 20;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStderr();
    std::string strReason;
    const bool bWritten = WriteTradeLog(
        "Sell 1 @ 10.52, current position:0, PositionAccount:1000001.56, NoPositionAccount:"
        "1000000.02",
        kJan5At1430, &strReason);
    ::setrlimit(RLIMIT_FSIZE, &old);
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_FALSE(bWritten);
    EXPECT_EQ(strReason, "cannot write 20170105TradeDetails.log: File too large");
    EXPECT_EQ(m_dir.Read("20170105TradeDetails.log"), strBefore) << "no fragment is left";
    ASSERT_TRUE(WriteTradeLog("Sell 1 @ 10.52", kJan5At1430));
    EXPECT_EQ(m_dir.Read("20170105TradeDetails.log"),
              strBefore + "2017-01-05 14:30:12: Sell 1 @ 10.52\r\n");
}

TEST_F(TradeLog, ReportsALineThatDoesNotFitOnTheDisk)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    std::filesystem::create_symlink("/dev/full", "20170105TradeDetails.log");
    testing::internal::CaptureStderr();
    WriteTradeLog("Sell 1 @ 9.00", kJan5At1430);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
    EXPECT_NE(err.find("Sell 1 @ 9.00"), std::string::npos) << err;
}
