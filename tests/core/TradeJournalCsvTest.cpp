#include "core/TradeJournalCsv.h"
#include "TempDir.h"
#include "UtcZone.h"
#include "core/TradeJournal.h"
#include "platform/AtomicWrite.h"

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

// Times in these tests are written in UTC.
class TradeJournalCsv : public ::testing::Test
{
protected:
    static STradeRecord Record(std::time_t tTime, ETradeSide eSide, double dPrice, int nPosition,
                               double dAverage, double dRealized, double dAccount)
    {
        STradeRecord record;
        record.tTime = tTime;
        record.eSide = eSide;
        record.dPrice = dPrice;
        record.nPosition = nPosition;
        record.dAverage = dAverage;
        record.dRealized = dRealized;
        record.dGross = dRealized;
        record.dAccount = dAccount;
        return record;
    }

    void FillJournal()
    {
        // 2017-01-05 14:30:12 UTC and a minute later.
        m_journal.Append(Record(1483626612, ETradeSide::Buy, 1.23456, 1, 1.23456, 0, 1000000));
        STradeRecord sell = Record(1483626672, ETradeSide::Sell, 1.5, 0, 0, 0.26544, 1000000.26544);
        sell.nPositionBefore = 1;
        m_journal.Append(sell);
    }

    CUtcZone m_zone;
    CTradeJournal m_journal;
    CTempDir m_dir;
};

} // namespace

TEST_F(TradeJournalCsv, RowsCarryLocalTimePricePrecisionAndMoneyInCents)
{
    FillJournal();
    const std::string strHeader = "time,side,price,position,average,realized,account,date,file,"
                                  "quantity,order,costs,gross,net\n";
    EXPECT_EQ(FormatTradeJournalCsv(m_journal, 4),
              strHeader + "2017-01-05 14:30:12,Buy,1.2346,1,1.2346,0.00,1000000.00,1899-12-30,,1,"
                          "Market,0.00,,\n"
                          "2017-01-05 14:31:12,Sell,1.5000,0,0.0000,0.27,1000000.27,1899-12-30,,1,"
                          "Market,0.00,0.27,0.27\n");
    // The precision is kept between 2 and 10 decimals.
    EXPECT_NE(FormatTradeJournalCsv(m_journal, 0).find(",1.23,1,1.23,"), std::string::npos);
    EXPECT_NE(FormatTradeJournalCsv(m_journal, 12).find(",1.2345600000,1,1.2345600000,"),
              std::string::npos);
    EXPECT_EQ(FormatTradeJournalCsv(CTradeJournal(), 2), strHeader);
}

TEST_F(TradeJournalCsv, EachTradeKeepsItsOwnFilesDecimalsDateAndCosts)
{
    // A five-decimal forex trade, then a two-decimal file loaded: the forex row keeps its five.
    STradeRecord forex = Record(1483626612, ETradeSide::Buy, 1.07551, 3, 1.07551, 0, 1000000);
    forex.nFile = m_journal.FileIndex("EURUSD, 1h.csv");
    forex.nPriceDecimals = 5;
    forex.dBarDate = 42740.5625; // 2017-01-05 13:30
    forex.nQuantity = 3;
    forex.eOrder = ETradeOrderKind::BuyLimit;
    forex.dCosts = 1.25;
    m_journal.Append(forex);
    STradeRecord stock = Record(1483626672, ETradeSide::Sell, 12.5, 0, 0, 17.75, 1000017.75);
    stock.nFile = m_journal.FileIndex("600000.csv");
    stock.nPriceDecimals = 2;
    stock.dBarDate = 42741;
    stock.nPositionBefore = 3;
    stock.nQuantity = 3;
    stock.eOrder = ETradeOrderKind::StopLoss;
    stock.dCosts = 1.25;
    stock.dGross = 20.25;
    m_journal.Append(stock);
    const std::string strCsv = FormatTradeJournalCsv(m_journal, 2);
    EXPECT_EQ(strCsv.substr(strCsv.find('\n') + 1),
              "2017-01-05 14:30:12,Buy,1.07551,3,1.07551,0.00,1000000.00,2017-01-05 13:30,"
              "\"EURUSD, 1h.csv\",3,Buy limit,1.25,,\n"
              "2017-01-05 14:31:12,Sell,12.50,0,0.00,17.75,1000017.75,2017-01-06,600000.csv,3,"
              "Stop loss,1.25,20.25,17.75\n");
}

TEST_F(TradeJournalCsv, ADecimalCommaLocaleStillWritesPoints)
{
    FillJournal();
    const std::string strExpected = FormatTradeJournalCsv(m_journal, 2);
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/install-deps.sh makes it";
    const std::string strGerman = FormatTradeJournalCsv(m_journal, 2);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(strGerman, strExpected);
    EXPECT_NE(strGerman.find(",1.23,1,1.23,0.00,1000000.00,"), std::string::npos);
}

TEST_F(TradeJournalCsv, ExportReplacesTheFileAndLeavesNoTemporaryFile)
{
    FillJournal();
    const std::string strPath = m_dir.Write("trades.csv", "old\n");
    std::string strReason = "untouched";
    ASSERT_TRUE(ExportTradeJournalCsv(m_journal, strPath, 2, &strReason));
    EXPECT_EQ(strReason, "untouched");
    EXPECT_EQ(m_dir.Read("trades.csv"), FormatTradeJournalCsv(m_journal, 2));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1);
}

TEST_F(TradeJournalCsv, FailuresKeepTheOldFileAndSayWhy)
{
    FillJournal();
    std::string strReason;
    // The folder does not exist.
    EXPECT_FALSE(
        ExportTradeJournalCsv(m_journal, (m_dir.Path() / "none/t.csv").string(), 2, &strReason));
    EXPECT_NE(strReason.find("cannot create a temporary file in"), std::string::npos) << strReason;

    // The name is taken by a folder: the rename fails and the temporary file goes away.
    std::filesystem::create_directory(m_dir.Path() / "taken");
    strReason.clear();
    EXPECT_FALSE(
        ExportTradeJournalCsv(m_journal, (m_dir.Path() / "taken").string(), 2, &strReason));
    EXPECT_NE(strReason.find("cannot replace"), std::string::npos) << strReason;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1);
}

TEST_F(TradeJournalCsv, AFullDiskKeepsTheOldFile)
{
    for (int i = 0; i < 200; ++i)
        m_journal.Append(Record(1483626612 + i, ETradeSide::Buy, 10, i + 1, 10, 0, 1000000));
    const std::string strPath = m_dir.Write("trades.csv", "old\n");

    // A file size limit makes writes fail the way a full disk does, for root too.
    rlimit old = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string strReason;
    const bool bWritten = ExportTradeJournalCsv(m_journal, strPath, 2, &strReason);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(bWritten);
    EXPECT_NE(strReason.find("cannot write"), std::string::npos) << strReason;
    EXPECT_EQ(m_dir.Read("trades.csv"), "old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1);
}

TEST_F(TradeJournalCsv, AReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const std::string strPath = m_dir.Write("trades.csv", "old\n");
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_read |
                                                   std::filesystem::perms::owner_exec);
    std::string strReason;
    EXPECT_FALSE(ExportTradeJournalCsv(m_journal, strPath, 2, &strReason));
    EXPECT_NE(strReason.find("Permission denied"), std::string::npos) << strReason;
    EXPECT_EQ(m_dir.Read("trades.csv"), "old\n");
}

TEST(AtomicFile, KeepsThePermissionsOfTheFileItReplaces)
{
    CTempDir dir;
    const std::string strPath = dir.Write("a.txt", "x");
    std::filesystem::permissions(strPath, std::filesystem::perms(0640));
    ASSERT_TRUE(AtomicWriteFile(strPath, "y", nullptr));
    EXPECT_EQ(std::filesystem::status(strPath).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(dir.Read("a.txt"), "y");
    EXPECT_FALSE(AtomicWriteFile((dir.Path() / "no/a.txt").string(), "y", nullptr));
}
