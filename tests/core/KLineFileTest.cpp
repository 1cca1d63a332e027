#include "core/KLineFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <limits>
#include <utility>

namespace
{

struct SLineCase
{
    const char* pszLine;
    double dDate, dOpen, dHigh, dLow, dClose;
};

const SLineCase kBars[] = {
    {"2017-01-05,10.0,11.5,9.5,11.0", 42740, 10.0, 11.5, 9.5, 11.0},
    {"2017-01-05 14:30:00,10,11,9,10.5", 42740 + 14.5 / 24, 10, 11, 9, 10.5},
    {"2017/01/06,1,2,0.5,1.5,12345", 42741, 1, 2, 0.5, 1.5},
    {"2017-01-05,,10,11,9,10.5", 42740, 10, 11, 9, 10.5},
    {",,2017-01-05,10,11,9,10.5,,", 42740, 10, 11, 9, 10.5},
    {"2017-01-05, 10 ,\t11\t,9  ,+10.5", 42740, 10, 11, 9, 10.5},
    {"2017-01-05,-1.5,1e2,-.5,12.", 42740, -1.5, 100, -0.5, 12},
    {"2017-01-05,1234567890.123456789,1.5E+1,7e-1,3", 42740, 1234567890.123456789, 15, 0.7, 3},
    {"2014/1/13,1,2,3,4", 41652, 1, 2, 3, 4},
    {"2014-1-5 10:00,1,2,3,4", 41644, 1, 2, 3, 4},
    {"2014-01-5,1,2,3,4", 41644, 1, 2, 3, 4},
    {"1899-12-30,1,1,1,1", 0, 1, 1, 1, 1},
    {"1899-12-29,1,1,1,1", -1, 1, 1, 1, 1},
    {"1900-03-01,1,1,1,1", 61, 1, 1, 1, 1},
    {"2017-01-05,1e-400,1,1,1", 42740, 0, 1, 1, 1},
};

using namespace std::string_view_literals;

const std::string_view kNotBars[] = {
    "Date,Open,High,Low,Close",
    "",
    "2017-01-05,1,2,3",
    "2017-01-05,,,1,2,,3",
    "2017-13-05,1,2,3,4",
    "2017-02-29,1,2,3,4",
    "0099-12-31,1,2,3,4",
    "20170105,1,2,3,4",
    "1/13/2014,1,2,3,4",
    "2017-01-05,nan,2,3,4",
    "2017-01-05,1,inf,3,4",
    "2017-01-05,1,2,1e400,4",
    "2017-01-05,1,2,3,-1e999",
    "\xff\xfe\x01garbage,\x02,\x03,\x04,\x05",
    // A price is the whole field, not a number at its start.
    "2017-01-05,N/A,2,3,4",
    "2017-01-05,abc,11,9,10",
    "2017-01-05,10,11x,9,10",
    "2017-01-05,10,11,9,10.5.1",
    "2017-01-05,0x10,11,9,10",
    "2017-01-05,--5,11,9,10",
    "2017-01-05,+-1,11,9,10",
    "2017-01-05,1.5e,11,9,10",
    "2017-01-05,.,11,9,10",
    "2017-01-05,1 2,11,9,10",
    "2017-01-05,\0"
    "5,11,9,10"sv,
    // Decimal commas with another separator split into fields like "49;50".
    "2015-01-05;49,86;50,16;48,67;48,92",
    "2015-01-05\t49.86\t50.16\t48.67\t48.92",
};

} // namespace

TEST(KLineFile, ParsesBarsByTheLineRules)
{
    for (const SLineCase& c : kBars)
    {
        SCOPED_TRACE(c.pszLine);
        SChartCandlestickPoint bar;
        ASSERT_TRUE(ParseKLineLine(c.pszLine, &bar));
        EXPECT_EQ(bar.dDate, c.dDate);
        EXPECT_DOUBLE_EQ(bar.dOpen, c.dOpen);
        EXPECT_DOUBLE_EQ(bar.dHigh, c.dHigh);
        EXPECT_DOUBLE_EQ(bar.dLow, c.dLow);
        EXPECT_DOUBLE_EQ(bar.dClose, c.dClose);
    }
}

TEST(KLineFile, SkipsLinesThatAreNotBars)
{
    for (std::string_view line : kNotBars)
    {
        SCOPED_TRACE(std::string(line));
        SChartCandlestickPoint bar;
        bar.dClose = 77;
        EXPECT_FALSE(ParseKLineLine(line, &bar));
        EXPECT_EQ(bar.dClose, 77) << "a rejected line must not touch the bar";
    }
}

TEST(KLineFile, APriceIsTheWholeFieldButItsBlanks)
{
    const std::pair<std::string_view, double> prices[] = {
        {" 12 ", 12}, {"\t-0.25\t", -0.25}, {"+3", 3}, {"1E3", 1000}, {"1e-400", 0}};
    for (const auto& [text, dExpected] : prices)
    {
        double dPrice = -1;
        EXPECT_TRUE(ParseKLinePrice(text, &dPrice)) << text;
        EXPECT_EQ(dPrice, dExpected) << text;
    }
    for (std::string_view text : {""sv, std::string_view(), " "sv, "+"sv, "-"sv, "1e400"sv,
                                  "-1e400"sv, "12 3"sv, "nan"sv, "infinity"sv, "0x1p3"sv})
    {
        double dPrice = -1;
        EXPECT_FALSE(ParseKLinePrice(text, &dPrice)) << text;
        EXPECT_EQ(dPrice, -1) << text;
    }
}

TEST(KLineFile, PricesIgnoreTheProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/install-deps.sh makes it";
    double dPrice = 0;
    EXPECT_TRUE(ParseKLinePrice("10.5", &dPrice));
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(dPrice, 10.5);
}

TEST(KLineFile, ReadsCrLfLinesAndALastLineWithoutLineFeed)
{
    CTempDir dir;
    const std::string path = dir.Write("bars.csv", "Date,Open,High,Low,Close\r\n"
                                                   "2017-01-05,1,2,0.5,1.5\r\n"
                                                   "\r\n"
                                                   "2017-01-06,2,3,1,2.5");
    std::vector<SChartCandlestickPoint> bars;
    SKLineReadStats stats;
    ASSERT_TRUE(ReadKLineFile(path, &bars, &stats));
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].dClose, 1.5);
    EXPECT_EQ(bars[1].dDate, 42741);
    EXPECT_EQ(bars[1].dClose, 2.5);
    EXPECT_EQ(stats.m_nLines, 4);
    EXPECT_EQ(stats.m_nSkipped, 1) << "the blank line is not counted as lost";
    EXPECT_EQ(stats.m_nFirstSkippedLine, 1);
}

TEST(KLineFile, ReadsLongLinesWholeAcrossReadChunks)
{
    CTempDir dir;
    // A line longer than any buffer: its tail must not become a bar of its own.
    std::string content =
        "2017-01-05,1,2,0.5,1.5," + std::string(300, '9') + ",2017-01-06,5,5,5,5\n";
    // A bar straddling the 1 MiB read boundary.
    content += std::string((1 << 20) - content.size() - 10, ' ') + "\n";
    content += "2017-01-09,7,8,6,7.5\n";
    content += "2017-01-10," + std::string(3 << 20, '1') + ",1,1,1\n"; // 3 MiB open price
    const std::string path = dir.Write("long.csv", content);
    std::vector<SChartCandlestickPoint> bars;
    SKLineReadStats stats;
    ASSERT_TRUE(ReadKLineFile(path, &bars, &stats));
    ASSERT_EQ(bars.size(), 2u) << "the 3 MiB number is out of range, so that line is skipped";
    EXPECT_EQ(bars[0].dClose, 1.5);
    EXPECT_EQ(bars[1].dDate, 42744);
    EXPECT_EQ(bars[1].dClose, 7.5);
    EXPECT_EQ(stats.m_nSkipped, 1);
    EXPECT_EQ(stats.m_nFirstSkippedLine, 4);
}

TEST(KLineFile, FailsOnMissingFilesAndDirectories)
{
    CTempDir dir;
    std::vector<SChartCandlestickPoint> bars;
    SKLineReadStats stats;
    errno = 0;
    EXPECT_FALSE(ReadKLineFile((dir.Path() / "missing.csv").string(), &bars, &stats));
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_FALSE(ReadKLineFile(dir.Path().string(), &bars, &stats));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(bars.empty());
}

TEST(KLineFile, KeepsTheTimeOfDayOfIntradayDates)
{
    const double dDay = 42850; // 2017-04-25
    const std::pair<std::string_view, double> dates[] = {
        {"2017-04-25", dDay},
        {"2017-04-25 13:00", dDay + 13.0 / 24},
        {"2017-04-25T13:00:00", dDay + 13.0 / 24},
        {"2017/04/25 13:00:00", dDay + 13.0 / 24},
        {"2017-04-25 00:00:00", dDay},
        {"2017-04-25 23:59:59", dDay + 86399.0 / 86400},
        {"2017-04-25 09:30:15.250", dDay + (9 * 3600 + 30 * 60 + 15) / 86400.0},
        // Not a time of day: the bar stays at the start of its day.
        {"2017-04-25 24:00", dDay},
        {"2017-04-25 12:60", dDay},
        {"2017-04-25 1:00", dDay},
        {"2017-04-25 13", dDay},
        {"2017-04-25X13:00", dDay},
        // Before the epoch the time counts forward from the day's number.
        {"1899-12-29 06:00", -1.25},
    };
    for (const auto& [text, dExpected] : dates)
    {
        double dDate = -7;
        EXPECT_TRUE(ParseKLineDate(text, &dDate)) << text;
        EXPECT_NEAR(dDate, dExpected, 1e-9) << text;
    }
}

TEST(KLineFile, PutsTimesOfDayInOrderAndNotesPriceDecimals)
{
    EXPECT_EQ(KLinePriceDecimals("2017-04-19 09:00:00,1.0716,1.0722,1.07083,1.07219,1413"), 5);
    EXPECT_EQ(KLinePriceDecimals("2017-04-19,10,11,9,10.5,1.1234567"), 1) << "volume is no price";
    EXPECT_EQ(KLinePriceDecimals("2017-04-19,10,11,9,10"), 0);
    EXPECT_EQ(KLinePriceDecimals("2017-04-19,1.5e-3,1,1,1"), 1);

    CTempDir dir;
    std::vector<SChartCandlestickPoint> bars;
    SKLineReadStats daily;
    ASSERT_TRUE(ReadKLineFile(dir.Write("daily.csv", "Date,Open,High,Low,Close\n"
                                                     "2017-01-05,10.5,11,9.25,10\n"
                                                     "2017-01-06 00:00,10,11,9,10\n"),
                              &bars, &daily));
    EXPECT_EQ(daily.m_nPriceDecimals, 2);
    EXPECT_FALSE(daily.m_bTimeOfDay);

    SKLineReadStats hourly;
    bars.clear();
    ASSERT_TRUE(
        ReadKLineFile(dir.Write("hourly.csv", "2017-04-25 14:00,1.07216,1.0722,1.0708,1.07\n"
                                              "2017-04-25 13:00,1.0716,1.0722,1.0708,1.07\n"),
                      &bars, &hourly));
    EXPECT_EQ(hourly.m_nPriceDecimals, 5);
    EXPECT_TRUE(hourly.m_bTimeOfDay);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_LT(bars[0].dDate, bars[1].dDate) << "bars of one day are put in time order";
    EXPECT_EQ(bars[0].dOpen, 1.0716);
    EXPECT_TRUE(hourly.m_bReordered);

    // Before the epoch 06:00 is -1.25, yet comes after midnight, -1.0.
    SKLineReadStats old;
    bars.clear();
    ASSERT_TRUE(ReadKLineFile(dir.Write("old.csv", "1899-12-29 06:00,2,2,2,2\n"
                                                   "1899-12-29 00:00,1,1,1,1\n"
                                                   "1899-12-28 18:00,0,0,0,0\n"),
                              &bars, &old));
    ASSERT_EQ(bars.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bars[i].dClose, i);
}
