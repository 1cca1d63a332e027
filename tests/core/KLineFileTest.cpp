// Plain "date,open,high,low,close" files: the rules of a line, read through the loader.
#include "core/KLineFile.h"
#include "KLineFixture.h"
#include "TempDir.h"
#include "core/KLineFields.h"

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
    {"2017-01-05, 10 ,\t11\t,9  ,+10.5", 42740, 10, 11, 9, 10.5},
    {"2017-01-05,-1.5,1e2,-2,12.", 42740, -1.5, 100, -2, 12},
    {"2017-01-05,123456789.123456789,1.5E+9,7e-1,3", 42740, 123456789.123456789, 1.5e9, 0.7, 3},
    {"2014/1/13,1,4,1,2", 41652, 1, 4, 1, 2},
    {"2014-1-5 10:00,1,2,1,2", 41644 + 10.0 / 24, 1, 2, 1, 2},
    {"2014-01-5,1,2,1,2", 41644, 1, 2, 1, 2},
    {"1899-12-30,1,1,1,1", 0, 1, 1, 1, 1},
    {"1899-12-29,1,1,1,1", -1, 1, 1, 1, 1},
    {"1900-03-01,1,1,1,1", 61, 1, 1, 1, 1},
    {"2017-01-05,1e-400,1,0,1", 42740, 0, 1, 0, 1},
    {"2017-01-05,1e12,1e12,-1e12,-1e12", 42740, 1e12, 1e12, -1e12, -1e12},
};

using namespace std::string_view_literals;

// Each follows a good bar in a file of its own and must be skipped, with its line number.
const std::string_view kNotBars[] = {
    "Date,Open,High,Low,Close",
    "2017-01-05,1,2,3",
    "2017-01-05,,,1,2,,3",
    // An empty field is a field: nothing moves into its place.
    "2017-01-05,,10,11,9,10.5",
    ",,2017-01-05,10,11,9,10.5,,",
    "2017-13-05,1,2,1,2",
    "2017-02-29,1,2,1,2",
    "0099-12-31,1,2,1,2",
    "20170105,1,2,1,2",
    "2017-01-05,nan,2,1,2",
    "2017-01-05,1,inf,1,2",
    "2017-01-05,1,2,1e400,2",
    "2017-01-05,1,2,1,-1e999",
    "\xff\xfe\x01garbage,\x02,\x03,\x04,\x05",
    // A price is the whole field, not a number at its start.
    "2017-01-05,N/A,2,1,2",
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
    "2015-01-05;49,86;50,16;48,67;48,92",
    "2015-01-05\t49.86\t50.16\t48.67\t48.92",
    // No bar can have these prices.
    "2020-01-02,1.0,0.5,2.0,1.2",
    "2020-01-02,5,4,1,2",
    "2020-01-02,0.5,4,1,2",
    "2020-01-02,2,4,1,5",
    "2020-01-02,2,4,1,0.5",
    "2020-01-02,1,1.000001e12,1,1",
    // A time that is not one does not move the bar to midnight.
    "2017-04-25 24:00,1,2,1,2",
    "2017-04-25 12:60,1,2,1,2",
    "2017-04-25X13:00,1,2,1,2",
    "2017-04-25 13,1,2,1,2",
};

} // namespace

TEST(KLineFile, ReadsBarsByTheLineRules)
{
    CTempDir dir;
    for (const SLineCase& c : kBars)
    {
        SCOPED_TRACE(c.pszLine);
        const SKLineLoad load = LoadFixture(dir, "bar.csv", std::string(c.pszLine) + "\n");
        ASSERT_EQ(load.m_vecBars.size(), 1u) << KLineLoadFailureText(load);
        const SChartCandlestickPoint& bar = load.m_vecBars[0];
        EXPECT_EQ(bar.dDate, c.dDate);
        EXPECT_DOUBLE_EQ(bar.dOpen, c.dOpen);
        EXPECT_DOUBLE_EQ(bar.dHigh, c.dHigh);
        EXPECT_DOUBLE_EQ(bar.dLow, c.dLow);
        EXPECT_DOUBLE_EQ(bar.dClose, c.dClose);
    }
}

TEST(KLineFile, SkipsLinesThatAreNotBarsAndCountsThem)
{
    CTempDir dir;
    for (std::string_view line : kNotBars)
    {
        SCOPED_TRACE(std::string(line));
        const SKLineLoad load = LoadFixture(dir, "bars.csv",
                                            "2017-01-04,1,2,0.5,1.5\n" + std::string(line) +
                                                "\n2017-01-06,1,2,0.5,1.5\n");
        ASSERT_EQ(load.m_vecBars.size(), 2u) << KLineLoadFailureText(load);
        EXPECT_EQ(load.m_vecBars[1].dDate, 42741);
        EXPECT_EQ(load.m_stats.m_nSkipped, 1);
        EXPECT_EQ(load.m_stats.m_nFirstSkippedLine, 2);
    }
}

TEST(KLineFile, ANumberIsTheWholeFieldInTheFilesOwnMarks)
{
    struct SNumber
    {
        std::string_view strText;
        bool bDecimalComma;
        char cThousands;
        double dValue;
        int nDecimals;
    };
    const SNumber numbers[] = {
        {" 12 ", false, 0, 12, 0},
        {"\t-0.25\t", false, 0, -0.25, 2},
        {"+3", false, 0, 3, 0},
        {"1E3", false, 0, 1000, 0},
        {"1e-400", false, 0, 0, 99},
        {"1.5e-3", false, 0, 0.0015, 4},
        {"0.0000000123", false, 0, 1.23e-8, 10},
        {"$121.20", false, 0, 121.2, 2},
        {"-\xE2\x82\xAC"
         "3",
         false, 0, -3, 0},
        {"1,124.90", false, ',', 1124.9, 2},
        {"32,4200", true, '.', 32.42, 4},
        {"16.426.450", true, '.', 16426450, 0},
    };
    for (const SNumber& n : numbers)
    {
        double dValue = -1;
        int nDecimals = -1;
        EXPECT_TRUE(ParseKLineNumber(n.strText, n.bDecimalComma, n.cThousands, &dValue, &nDecimals))
            << n.strText;
        EXPECT_DOUBLE_EQ(dValue, n.dValue) << n.strText;
        EXPECT_EQ(nDecimals, n.nDecimals) << n.strText;
    }
    for (std::string_view text : {""sv, " "sv, "+"sv, "-"sv, "1e400"sv, "-1e400"sv, "12 3"sv,
                                  "nan"sv, "infinity"sv, "0x1p3"sv, "1,5"sv, "$"sv})
    {
        double dValue = -1;
        int nDecimals = -1;
        EXPECT_FALSE(ParseKLineNumber(text, false, 0, &dValue, &nDecimals)) << text;
        EXPECT_EQ(dValue, -1) << text;
    }
}

TEST(KLineFile, PricesIgnoreTheProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/install-deps.sh makes it";
    double dPrice = 0;
    int nDecimals = 0;
    EXPECT_TRUE(ParseKLineNumber("10.5", false, 0, &dPrice, &nDecimals));
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(dPrice, 10.5);
}

TEST(KLineFile, ReadsCrLfLinesAndALastLineWithoutLineFeed)
{
    CTempDir dir;
    const SKLineLoad load = LoadFixture(dir, "bars.csv",
                                        "Date,Open,High,Low,Close\r\n"
                                        "2017-01-05,1,2,0.5,1.5\r\n"
                                        "\r\n"
                                        "2017-01-06,2,3,1,2.5");
    ASSERT_EQ(load.m_vecBars.size(), 2u);
    EXPECT_EQ(load.m_vecBars[0].dClose, 1.5);
    EXPECT_EQ(load.m_vecBars[1].dDate, 42741);
    EXPECT_EQ(load.m_vecBars[1].dClose, 2.5);
    EXPECT_EQ(load.m_stats.m_nLines, 4);
    EXPECT_EQ(load.m_stats.m_nSkipped, 1) << "the blank line is not counted as lost";
    EXPECT_EQ(load.m_stats.m_nRoutineSkipped, 1) << "a header is routine";
    EXPECT_EQ(load.m_stats.m_nFirstSkippedLine, 1);
    EXPECT_EQ(load.m_stats.m_nFirstFaultLine, 0);
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
    content += "2017-01-10," + std::string(3 << 20, '1') + ",1,1,1\n"; // a 3 MiB line
    const SKLineLoad load = LoadFixture(dir, "long.csv", content);
    ASSERT_EQ(load.m_vecBars.size(), 2u);
    EXPECT_EQ(load.m_vecBars[0].dClose, 1.5);
    EXPECT_EQ(load.m_vecBars[1].dDate, 42744);
    EXPECT_EQ(load.m_vecBars[1].dClose, 7.5);
    EXPECT_EQ(load.m_stats.m_nSkipped, 1);
    EXPECT_EQ(load.m_stats.m_nFirstSkippedLine, 4);
}

TEST(KLineFile, KeepsTheTimeOfDayAsWritten)
{
    const double dDay = 42850; // 2017-04-25
    const std::pair<std::string_view, double> dates[] = {
        {"2017-04-25", dDay},
        {"2017-04-25 13:00", dDay + 13.0 / 24},
        {"2017-04-25T13:00:00", dDay + 13.0 / 24},
        {"2017/04/25 13:00:00", dDay + 13.0 / 24},
        {"2017-04-25 00:00:00", dDay},
        {"2017-04-25 23:59:59", dDay + 86399.0 / 86400},
        {"2017-04-25 09:30:15.250", dDay + (9 * 3600 + 30 * 60 + 15.25) / 86400.0},
        {"2017-04-25 1:00", dDay + 1.0 / 24},
        {"2017-04-25 9:00 PM", dDay + 21.0 / 24},
        {"2017-04-25T13:00:00+05:30", dDay + 13.0 / 24},
        {"2017-04-25T13:00:00Z", dDay + 13.0 / 24},
        // Before the epoch the time counts forward from the day's number.
        {"1899-12-29 06:00", -1.25},
    };
    for (const auto& [text, dExpected] : dates)
    {
        double dDate = -7;
        EXPECT_TRUE(ParseKLineDate(text, &dDate)) << text;
        EXPECT_NEAR(dDate, dExpected, 1e-9) << text;
    }
    for (std::string_view text : {"2017-04-25 24:00"sv, "2017-04-25 12:60"sv, "2017-04-25 13"sv,
                                  "2017-04-25X13:00"sv, "2017-04-25 13:00 XM"sv})
    {
        double dDate = -7;
        EXPECT_FALSE(ParseKLineDate(text, &dDate)) << text;
        EXPECT_EQ(dDate, -7) << text;
    }
}

TEST(KLineFile, PutsTimesOfDayInOrderAndNotesPriceDecimals)
{
    CTempDir dir;
    const SKLineLoad daily = LoadFixture(dir, "daily.csv",
                                         "Date,Open,High,Low,Close,Volume\n"
                                         "2017-01-05,10.5,11,9.25,10,1.2345678\n"
                                         "2017-01-06 00:00,10,11,9,10,7\n");
    EXPECT_EQ(daily.m_stats.m_nPriceDecimals, 2) << "the volume's decimals are no price's";
    EXPECT_FALSE(daily.m_stats.m_bTimeOfDay);

    const SKLineLoad hourly = LoadFixture(dir, "hourly.csv",
                                          "2017-04-25 14:00,1.07216,1.0722,1.0708,1.0721\n"
                                          "2017-04-25 13:00,1.0716,1.0722,1.0708,1.0721\n");
    EXPECT_EQ(hourly.m_stats.m_nPriceDecimals, 5);
    EXPECT_TRUE(hourly.m_stats.m_bTimeOfDay);
    ASSERT_EQ(hourly.m_vecBars.size(), 2u);
    EXPECT_LT(hourly.m_vecBars[0].dDate, hourly.m_vecBars[1].dDate) << "put in time order";
    EXPECT_EQ(hourly.m_vecBars[0].dOpen, 1.0716);
    EXPECT_TRUE(hourly.m_stats.m_bReordered);

    // Before the epoch 06:00 is -1.25, yet comes after midnight, -1.0.
    const SKLineLoad old = LoadFixture(dir, "old.csv",
                                       "1899-12-29 06:00,2,2,2,2\n"
                                       "1899-12-29 00:00,1,1,1,1\n"
                                       "1899-12-28 18:00,0,0,0,0\n");
    ASSERT_EQ(old.m_vecBars.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(old.m_vecBars[size_t(i)].dClose, i);
}

TEST(KLineFile, RefusesWhatIsNotARegularFileBeforeReading)
{
    CTempDir dir;
    SKLineLoad load;
    EXPECT_FALSE(LoadKLineFile((dir.Path() / "missing.csv").string(), &load));
    EXPECT_EQ(load.m_eError, EKLineLoadError::CannotOpen);
    EXPECT_EQ(load.m_nErrno, ENOENT);
    EXPECT_FALSE(LoadKLineFile(dir.Path().string(), &load));
    EXPECT_EQ(load.m_eError, EKLineLoadError::NotRegularFile);
    EXPECT_EQ(load.m_eFileType, EKLineFileType::Directory);
    EXPECT_TRUE(load.m_vecBars.empty());
}
