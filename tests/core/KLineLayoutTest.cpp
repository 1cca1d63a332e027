// Price files in the layouts traders bring, each written here in its exporter's exact form and
// read through the loader's recognition.
#include "core/KLineLayout.h"
#include "KLineFixture.h"
#include "TempDir.h"
#include "core/KLineFile.h"
#include "core/KLineMessages.h"
#include "core/KLinePlayer.h"
#include "platform/StringFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace
{

template <typename T> void Put(std::string* pBytes, T value)
{
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    pBytes->append(bytes, sizeof value);
}

// A day file of the Chinese terminals: date, prices in cents, amount, volume, reserved.
std::string DayRecord(std::uint32_t nDate, int o, int h, int l, int c, std::uint32_t nVolume)
{
    std::string record;
    Put<std::uint32_t>(&record, nDate);
    for (int nPrice : {o, h, l, c})
        Put<std::int32_t>(&record, nPrice);
    Put<float>(&record, 12345.0f);
    Put<std::uint32_t>(&record, nVolume);
    Put<std::uint32_t>(&record, 0);
    return record;
}

// A MetaTrader 4 history file of version 401 with five digits.
std::string HistoryFile(std::int32_t nVersion, const std::vector<std::vector<double>>& rates)
{
    std::string file;
    Put<std::int32_t>(&file, nVersion);
    file += std::string(64, '\0') + std::string("EURUSD\0\0\0\0\0\0", 12);
    for (std::int32_t n : {60, 5, 0, 0})
        Put<std::int32_t>(&file, n);
    file += std::string(52, '\0');
    for (const std::vector<double>& rate : rates)
    {
        Put<std::int64_t>(&file, std::int64_t(rate[0]));
        for (int i = 1; i <= 4; ++i)
            Put<double>(&file, rate[size_t(i)]);
        Put<std::int64_t>(&file, std::int64_t(rate[5]));
        Put<std::int32_t>(&file, 12);
        Put<std::int64_t>(&file, 0);
    }
    return file;
}

struct SLayoutCase
{
    const char* pszFile;
    std::string strText;
    const char* pszLayoutName;
    std::vector<std::string> vecBars; // oldest first
    double dFirstVolume;              // -1: the file has no volume
};

// Two bars of 2021-03-01 in every layout that has times, in the exporters' own forms.
const std::string kGbkTitle = "600519 \xB9\xF3\xD6\xDD\xC3\xA9\xCC\xA8 \xC8\xD5\xCF\xDF\r\n";
const std::string kGbkFooter = "\xCA\xFD\xBE\xDD\xC0\xB4\xD4\xB4:\xCD\xA8\xB4\xEF\xD0\xC5\r\n";

std::vector<SLayoutCase> LayoutCases()
{
    const std::vector<std::string> kHourly = {"2021-03-01 09:00 1.2075 1.208 1.207 1.2078",
                                              "2021-03-01 10:00 1.2078 1.209 1.2071 1.2085"};
    return {
        {"yahoo.csv",
         "Date,Open,High,Low,Close,Adj Close,Volume\n"
         "2021-03-01,123.45,125.10,122.80,124.90,124.90,1000\n"
         "2021-03-02,null,null,null,null,null,null\n"
         "2021-03-03,124.900002,126.00,124.00,125.50,125.50,2000\n",
         "date, open, high, low, close",
         {"2021-03-01 00:00 123.45 125.1 122.8 124.9", "2021-03-03 00:00 124.900002 126 124 125.5"},
         1000},
        {"nasdaq.csv",
         "Date,Close/Last,Volume,Open,High,Low\n"
         "03/15/2021,$121.20,1100,$120.00,$122.00,$119.50\n"
         "03/12/2021,$120.50,900,$119.00,$121.00,$118.00\n",
         "month-first dates",
         {"2021-03-12 00:00 119 121 118 120.5", "2021-03-15 00:00 120 122 119.5 121.2"},
         900},
        {"yfinance.csv",
         "Price,Close,High,Low,Open,Volume\nTicker,NVDA,NVDA,NVDA,NVDA,NVDA\nDate,,,,,\n"
         "2024-01-02,48.17,49.10,47.50,48.00,411254000\n"
         "2024-01-03,47.58,48.20,47.10,47.90,320896000\n",
         "columns named in the header",
         {"2024-01-02 00:00 48 49.1 47.5 48.17", "2024-01-03 00:00 47.9 48.2 47.1 47.58"},
         411254000},
        {"chinese-names.csv",
         "\xE6\x97\xA5\xE6\x9C\x9F,\xE5\xBC\x80\xE7\x9B\x98,\xE6\x9C\x80\xE9\xAB\x98,"
         "\xE6\x9C\x80\xE4\xBD\x8E,\xE6\x94\xB6\xE7\x9B\x98,\xE6\x88\x90\xE4\xBA\xA4\xE9\x87\x8F\n"
         "2021-03-01,10.00,10.50,9.80,10.20,12345\n2021-03-02,10.20,10.60,10.10,10.40,23456\n",
         "Chinese terminal text export",
         {"2021-03-01 00:00 10 10.5 9.8 10.2", "2021-03-02 00:00 10.2 10.6 10.1 10.4"},
         12345},
        {"mt4-noheader.csv",
         "2021.03.01,09:00,1.20750,1.20800,1.20700,1.20780,100\r\n"
         "2021.03.01,10:00,1.20780,1.20900,1.20710,1.20850,200\r\n",
         "MetaTrader export, date and time columns", kHourly, 100},
        {"mt4-header.csv",
         "Date,Time,Open,High,Low,Close,Volume\n2021.03.01,09:00,1.20750,1.20800,1.20700,1.20780,"
         "100\n2021.03.01,10:00,1.20780,1.20900,1.20710,1.20850,200\n",
         "MetaTrader export, date and time columns", kHourly, 100},
        {"split-date-time.txt",
         "Date,Open,High,Low,Close,Volume,OpenInterest\r\n"
         "2021-03-01,09:00:00,1.2075,1.2080,1.2070,1.2078,100,0\r\n"
         "2021-03-01,10:00:00,1.2078,1.2090,1.2071,1.2085,200,0\r\n",
         "date and time in two columns", kHourly, 100},
        {"mt5.csv",
         "<DATE>\t<TIME>\t<OPEN>\t<HIGH>\t<LOW>\t<CLOSE>\t<TICKVOL>\t<VOL>\t<SPREAD>\n"
         "2021.03.01\t09:00:00\t1.20750\t1.20800\t1.20700\t1.20780\t167\t0\t15\n"
         "2021.03.01\t10:00:00\t1.20780\t1.20900\t1.20710\t1.20850\t563\t0\t11\n",
         "MetaTrader 5 export, tab-separated <DATE> and <TIME>", kHourly, 0},
        {"mt5-daily.csv",
         "<DATE>\t<OPEN>\t<HIGH>\t<LOW>\t<CLOSE>\t<TICKVOL>\t<VOL>\t<SPREAD>\n"
         "2021.03.01\t1.20750\t1.20800\t1.20700\t1.20780\t167\t0\t15\n"
         "2021.03.02\t1.20780\t1.20900\t1.20710\t1.20850\t563\t0\t11\n",
         "MetaTrader 5 export, tab-separated <DATE>",
         {"2021-03-01 00:00 1.2075 1.208 1.207 1.2078",
          "2021-03-02 00:00 1.2078 1.209 1.2071 1.2085"},
         0},
        {"abc.us.txt",
         "<TICKER>,<PER>,<DATE>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>,<OPENINT>\n"
         "ABC.US,60,20210301,090000,1.2075,1.208,1.207,1.2078,100,0\n"
         "ABC.US,60,20210301,100000,1.2078,1.209,1.2071,1.2085,200,0\n",
         "<TICKER> export with YYYYMMDD dates", kHourly, 100},
        {"dtyyyymmdd.csv",
         "<TICKER>,<DTYYYYMMDD>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>\n"
         "EURUSD,20210301,0900,1.2075,1.208,1.207,1.2078,100\n"
         "EURUSD,20210301,1000,1.2078,1.209,1.2071,1.2085,200\n",
         "<TICKER> export with YYYYMMDD dates", kHourly, 100},
        {"unix-seconds.csv",
         "time,open,high,low,close,Volume\n1614589200,1.2075,1.208,1.207,1.2078,100\n"
         "1614592800,1.2078,1.209,1.2071,1.2085,200\n",
         "Unix time in seconds", kHourly, 100},
        {"unix-fraction.csv",
         "Timestamp,Open,High,Low,Close,Volume\n1614589200.0,1.2075,1.208,1.207,1.2078,0.5\n"
         "1614592800.0,1.2078,1.209,1.2071,1.2085,0.25\n",
         "Unix time in seconds", kHourly, 0.5},
        {"BTCUSDT-1h-2021-03.csv",
         "1614589200000,1.2075,1.208,1.207,1.2078,539.23,1614592799999,2240.39,13,401.82,1669.98,"
         "0\n"
         "1614592800000,1.2078,1.209,1.2071,1.2085,100.5,1614596399999,2240.39,13,401.82,1669.98,"
         "0\n",
         "exchange archive, Unix time in milliseconds", kHourly, 539.23},
        {"BTCUSDT-1h-2025-01.csv",
         "1614589200000000,1.2075,1.208,1.207,1.2078,539.23,1614592799999999,2240.39,13,401.82,"
         "1669.98,0\n"
         "1614592800000000,1.2078,1.209,1.2071,1.2085,100.5,1614596399999999,2240.39,13,401.82,"
         "1669.98,0\n",
         "exchange archive, Unix time in microseconds", kHourly, 539.23},
        {"um-archive.csv",
         "open_time,open,high,low,close,volume,close_time,quote_volume,count,taker_buy_volume,"
         "taker_buy_quote_volume,ignore\n"
         "1614589200000,1.2075,1.208,1.207,1.2078,71.187,1614592799999,6658941.5,1660,35.5,3325936."
         "3,0\n"
         "1614592800000,1.2078,1.209,1.2071,1.2085,39.526,1614596399999,3699698.6,1371,24.3,"
         "2282997.2,0\n",
         "exchange archive, Unix time in milliseconds", kHourly, 71.187},
        {"iso-offset.csv",
         "Datetime,Open,High,Low,Close,Volume,Dividends,Stock Splits\n"
         "2021-03-01 09:00:00+05:30,1.2075,1.208,1.207,1.2078,0,0,0\n"
         "2021-03-01 10:00:00+05:30,1.2078,1.209,1.2071,1.2085,12000,0,0\n",
         "date, open, high, low, close", kHourly, 0},
        {"iso-fraction.csv",
         "Datetime,Open,High,Low,Close,Volume,OpenInterest\n"
         "2021-03-01T09:00:42.146,1.2075,1.208,1.207,1.2078,180,0\n"
         "2021-03-01T10:00:00.238,1.2078,1.209,1.2071,1.2085,2,0\n",
         "date, open, high, low, close",
         {"2021-03-01 09:00:42 1.2075 1.208 1.207 1.2078",
          "2021-03-01 10:00:00 1.2078 1.209 1.2071 1.2085"},
         180},
        {"dukascopy.csv",
         "Gmt time,Open,High,Low,Close,Volume\n"
         "13.03.2021 09:00:00.000,1.20750,1.20800,1.20700,1.20780,27022000000\n"
         "13.03.2021 10:00:00.000,1.20780,1.20900,1.20710,1.20850,27236400390.625\n",
         "day-first dates with dots",
         {"2021-03-13 09:00 1.2075 1.208 1.207 1.2078",
          "2021-03-13 10:00 1.2078 1.209 1.2071 1.2085"},
         27022000000},
        {"month-first.csv",
         "time,open,high,low,close,volume\n3/1/2021 9:00,1.2075,1.208,1.207,1.2078,3060\n"
         "3/13/2021 0:00,1.2078,1.209,1.2071,1.2085,3437\n",
         "month-first dates",
         {"2021-03-01 09:00 1.2075 1.208 1.207 1.2078",
          "2021-03-13 00:00 1.2078 1.209 1.2071 1.2085"},
         3060},
        {"day-first.csv",
         "timestamp,open,high,low,close,volume\n13/03/2021 09:00,1.2075,1.208,1.207,1.2078,0\n"
         "13/03/2021 10:00,1.2078,1.209,1.2071,1.2085,0\n",
         "day-first dates",
         {"2021-03-13 09:00 1.2075 1.208 1.207 1.2078",
          "2021-03-13 10:00 1.2078 1.209 1.2071 1.2085"},
         0},
        {"investing.csv",
         "\xEF\xBB\xBF\"Date\",\"Price\",\"Open\",\"High\",\"Low\",\"Vol.\",\"Change %\"\r\n"
         "\"Mar 02, "
         "2021\",\"1,125.50\",\"1,124.90\",\"1,130.00\",\"1,120.00\",\"57.32K\",\"0.05%\"\r\n"
         "\"Mar 01, "
         "2021\",\"1,124.90\",\"1,123.45\",\"1,126.00\",\"1,122.00\",\"1.20M\",\"-0.10%\"",
         "quoted fields with month names",
         {"2021-03-01 00:00 1123.45 1126 1122 1124.9", "2021-03-02 00:00 1124.9 1130 1120 1125.5"},
         1.2e6},
        {"wienerborse.csv",
         "Datum;Er\xC3\xB6"
         "ffnungspreis;Tageshoch;Tagestief;Schlusspreis;Diff.%;Geldumsatz;"
         "St\xC3\xBC"
         "ckumsatz\n19.03.2021;123,45;125,10;122,80;124,90;-0,12 %;16.426.450;504.442\n"
         "22.03.2021;1.124,90;1.130,00;1.120,00;1.125,50;+0,06 %;14.713.789;451.898\n",
         "semicolons and decimal commas",
         {"2021-03-19 00:00 123.45 125.1 122.8 124.9", "2021-03-22 00:00 1124.9 1130 1120 1125.5"},
         -1},
        {"histdata.csv",
         "20210301 090000;1.2075;1.2080;1.2070;1.2078;0\n20210301 "
         "100000;1.2078;1.2090;1.2071;1.2085;0\n",
         "semicolon-separated", kHourly, 0},
        {"SH600519.txt",
         kGbkTitle +
             "      \xC8\xD5\xC6\xDA\t    \xBF\xAA\xC5\xCC\t    \xD7\xEE\xB8\xDF\t    "
             "\xD7\xEE\xB5\xCD"
             "\t    \xCA\xD5\xC5\xCC\t    \xB3\xC9\xBD\xBB\xC1\xBF\t    "
             "\xB3\xC9\xBD\xBB\xB6\xEE\r\n"
             "2001/08/27\t-29.49\t-28.91\t-29.79\t-29.31\t40631800\t1410347136.00\r\n"
             "2001/08/28\t-29.41\t-29.05\t-29.47\t-29.08\t12964700\t463463136.00\r\n" +
             kGbkFooter,
         "Chinese terminal text export",
         {"2001-08-27 00:00 -29.49 -28.91 -29.79 -29.31",
          "2001-08-28 00:00 -29.41 -29.05 -29.47 -29.08"},
         40631800},
        {"SZ000001-5min.txt",
         "000001 \xE5\xB9\xB3\xE5\xAE\x89 5\xE5\x88\x86\xE9\x92\x9F\xE7\xBA\xBF\n"
         "      \xE6\x97\xA5\xE6\x9C\x9F\t    \xE6\x97\xB6\xE9\x97\xB4\t    "
         "\xE5\xBC\x80\xE7\x9B\x98\t"
         "    \xE6\x9C\x80\xE9\xAB\x98\t    \xE6\x9C\x80\xE4\xBD\x8E\t    "
         "\xE6\x94\xB6\xE7\x9B\x98\t"
         "    \xE6\x88\x90\xE4\xBA\xA4\xE9\x87\x8F\n"
         "2021/03/01\t0900\t1.2075\t1.208\t1.207\t1.2078\t100\n"
         "2021/03/01\t1000\t1.2078\t1.209\t1.2071\t1.2085\t200\n"
         "\xE6\x95\xB0\xE6\x8D\xAE\xE6\x9D\xA5\xE6\xBA\x90:tdx\n",
         "Chinese terminal text export with a time column", kHourly, 100},
        {"sh600000.day",
         DayRecord(20210302, 1012, 1050, 1001, 1040, 23456) +
             DayRecord(20210301, 1000, 1020, 990, 1012, 12345),
         "Chinese terminal day file (.day)",
         {"2021-03-01 00:00 10 10.2 9.9 10.12", "2021-03-02 00:00 10.12 10.5 10.01 10.4"},
         12345},
        {"EURUSD60.hst",
         HistoryFile(401, {{1614589200, 1.2075, 1.208, 1.207, 1.2078, 100},
                           {1614592800, 1.2078, 1.209, 1.2071, 1.2085, 200}}),
         "MetaTrader 4 history file (.hst)", kHourly, 100},
    };
}

} // namespace

// Unix times are instants: the bars are at their UTC time whatever zone the machine is in.
TEST(KLineLayout, ReadsEveryExporterLayoutBarForBar)
{
    const char* pszTz = std::getenv("TZ");
    const std::string strTz = pszTz != nullptr ? pszTz : "";
    ::setenv("TZ", "Asia/Kolkata", 1);
    ::tzset();
    CTempDir dir;
    for (const SLayoutCase& c : LayoutCases())
    {
        SCOPED_TRACE(c.pszFile);
        const SKLineLoad load = LoadFixture(dir, c.pszFile, c.strText);
        ASSERT_EQ(load.m_eError, EKLineLoadError::None) << KLineLoadFailureText(load);
        EXPECT_EQ(KLineLayoutName(load.m_layout), c.pszLayoutName);
        EXPECT_EQ(BarTexts(load.m_vecBars), c.vecBars);
        if (c.dFirstVolume < 0)
            EXPECT_TRUE(load.m_vecVolumes.empty()) << "a file without volume has none, not zeros";
        else
        {
            ASSERT_EQ(load.m_vecVolumes.size(), load.m_vecBars.size());
            EXPECT_DOUBLE_EQ(load.m_vecVolumes[0], c.dFirstVolume);
        }
        EXPECT_EQ(load.m_stats.m_nFirstFaultLine, 0) << "only routine lines may be skipped";
    }
    if (pszTz != nullptr)
        ::setenv("TZ", strTz.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

// The same random bars written by five exporters read back as the same bars.
TEST(KLineLayout, TheSameBarsInEveryTextLayoutReadBackAlike)
{
    std::mt19937 random(11);
    std::string plain, metaTrader, unix, semicolons, quoted;
    std::vector<double> closes;
    std::int64_t nSeconds = 1'600'000'000 - 1'600'000'000 % 3600;
    for (int i = 0; i < 300; ++i, nSeconds += 3600 * (1 + random() % 30))
    {
        const double dLow = 0.5 + (random() % 2000000) / 100000.0;
        const double dHigh = dLow + (random() % 50000) / 100000.0;
        const double dOpen = dLow + (dHigh - dLow) * (random() % 101) / 100.0;
        const double dClose = dLow + (dHigh - dLow) * (random() % 101) / 100.0;
        const std::time_t t = static_cast<std::time_t>(nSeconds);
        std::tm tm;
        gmtime_r(&t, &tm);
        char date[64], prices[128], line[256], close[32];
        std::snprintf(prices, sizeof prices, "%.5f,%.5f,%.5f,%.5f", dOpen, dHigh, dLow, dClose);
        std::snprintf(close, sizeof close, "%.5f", dClose);
        std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &tm);
        plain += std::string(date) + "," + prices + ",1000\n";
        std::strftime(date, sizeof date, "%Y.%m.%d,%H:%M", &tm);
        metaTrader += std::string(date) + "," + prices + ",1000\r\n";
        unix += std::to_string(nSeconds * 1000) + "," + prices + ",1000\n";
        std::string comma = prices;
        for (char& ch : comma)
            ch = ch == ',' ? ';' : ch == '.' ? ',' : ch;
        std::strftime(date, sizeof date, "%d.%m.%Y %H:%M", &tm);
        semicolons += std::string(date) + ";" + comma + ";1.000\n";
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
        std::snprintf(line, sizeof line, "\"%s\",\"%.5f\",\"%.5f\",\"%.5f\",\"%.5f\"\n", date,
                      dOpen, dHigh, dLow, dClose);
        quoted += line;
        closes.push_back(std::strtod(close, nullptr));
    }
    CTempDir dir;
    const SKLineLoad reference = LoadFixture(dir, "plain.csv", plain);
    ASSERT_EQ(reference.m_vecBars.size(), 300u);
    for (size_t i = 0; i < closes.size(); ++i)
        ASSERT_EQ(reference.m_vecBars[i].dClose, closes[i]) << i;
    EXPECT_EQ(reference.m_stats.m_nPriceDecimals, 5);
    for (const auto& [pszName, text] : {std::pair{"mt.csv", metaTrader},
                                        {"unix.csv", unix},
                                        {"semicolons.csv", semicolons},
                                        {"quoted.csv", quoted}})
    {
        SCOPED_TRACE(pszName);
        const SKLineLoad load = LoadFixture(dir, pszName, text);
        ASSERT_EQ(load.m_vecBars.size(), 300u) << KLineLoadFailureText(load);
        for (size_t i = 0; i < 300; ++i)
            ASSERT_EQ(BarText(load.m_vecBars[i]), BarText(reference.m_vecBars[i])) << i;
        EXPECT_EQ(load.m_stats.m_nPriceDecimals, 5);
    }

    // A preview reads only the first bars, with the layout found.
    SKLineLoad preview;
    ASSERT_TRUE(
        ReadKLineText(metaTrader, LoadFixture(dir, "mt.csv", metaTrader).m_layout, &preview, 3));
    EXPECT_EQ(preview.m_vecBars.size(), 3u);
}

TEST(KLineLayout, DayOrMonthFirstIsSettledByTheDatesElseByTheLocale)
{
    CTempDir dir;
    const std::string undecided = "01/02/2021,1,2,0.5,1.5\n03/04/2021,1,2,0.5,1.5\n";
    EXPECT_EQ(KLineLocaleDateOrder("en_US.UTF-8"), EKLineDateOrder::MonthDayYear);
    EXPECT_EQ(KLineLocaleDateOrder("en_GB.UTF-8"), EKLineDateOrder::DayMonthYear);
    EXPECT_EQ(KLineLocaleDateOrder("zh_CN.UTF-8"), EKLineDateOrder::DayMonthYear);

    SKLineLoad us = LoadFixture(dir, "us.csv", undecided, EKLineDateOrder::MonthDayYear);
    EXPECT_EQ(BarText(us.m_vecBars[0]), "2021-01-02 00:00 1 2 0.5 1.5");
    EXPECT_NE(KLineLoadNote(us).find("month first, the locale's order"), std::string::npos)
        << KLineLoadNote(us);
    SKLineLoad other = LoadFixture(dir, "other.csv", undecided, EKLineDateOrder::DayMonthYear);
    EXPECT_EQ(BarText(other.m_vecBars[0]), "2021-02-01 00:00 1 2 0.5 1.5");
    EXPECT_NE(KLineLoadNote(other).find("day first, the locale's order"), std::string::npos);

    // Minute bars of a fortnight: the first day over 12 comes long after the lines the layout
    // was chosen from, and turns the bars read before it round too.
    std::string minutes;
    for (int nDay = 9; nDay <= 14; ++nDay)
        for (int nMinute = 0; nMinute < 60; ++nMinute)
            minutes += StringFormat("%02d/01/2020 10:%02d,1,2,0.5,1.5\n", nDay, nMinute);
    const SKLineLoad late = LoadFixture(dir, "late.csv", minutes, EKLineDateOrder::MonthDayYear);
    ASSERT_EQ(late.m_vecBars.size(), 360u) << KLineLoadFailureText(late);
    EXPECT_EQ(BarText(late.m_vecBars.front()), "2020-01-09 10:00 1 2 0.5 1.5");
    EXPECT_EQ(BarText(late.m_vecBars.back()), "2020-01-14 10:59 1 2 0.5 1.5");
    EXPECT_FALSE(late.m_stats.m_bReordered);
    EXPECT_EQ(late.m_layout.m_eDateOrder, EKLineDateOrder::DayMonthYear);
    EXPECT_FALSE(late.m_layout.m_bOrderFromLocale) << "the dates told, so the note says no guess";
}

// What used to load silently wrong.
TEST(KLineLayout, ColumnsNeverShiftAndImpossibleBarsAreSkippedWithTheirLine)
{
    CTempDir dir;
    const SKLineLoad load =
        LoadFixture(dir, "faults.csv",
                    "Date,Open,High,Low,Close,Adj Close,Volume\n"
                    "2014-01-07,16.04,16.20,15.93,16.14,15.36,8332200\n"
                    "2014-01-08,,16.44,16.14,16.36,15.57,7704800\n" // pandas writes NaN as nothing
                    "2017-04-19 9:00:00,1.0716,1.0722,1.07083,1.07219,15.36,1413\n"
                    "2020-01-02,1.0,0.5,2.0,1.2,1,1\n"   // high under low
                    "2020-01-03,3.0,2.0,1.0,1.5,1,1\n"   // open above high
                    "2020-01-06 25:00,1,2,0.5,1.5,1,1\n" // no such time
                    "2020-01-07,1,2,0.5,1.5,1,\n");      // no volume for this bar
    EXPECT_EQ(BarTexts(load.m_vecBars),
              (std::vector<std::string>{"2014-01-07 00:00 16.04 16.2 15.93 16.14",
                                        "2017-04-19 09:00 1.0716 1.0722 1.07083 1.07219",
                                        "2020-01-07 00:00 1 2 0.5 1.5"}));
    EXPECT_EQ(load.m_stats.m_nSkipped, 5);
    EXPECT_EQ(load.m_stats.m_nFirstFaultLine, 3);
    ASSERT_EQ(load.m_vecVolumes.size(), 3u);
    EXPECT_TRUE(std::isnan(load.m_vecVolumes[2]));
    EXPECT_EQ(KLineLoadNote(load),
              "date, open, high, low, close: 3 bars, 2014-01-07 00:00 to 2020-01-07 00:00; "
              "5 lines skipped (4 not bars, first: line 3)");
}

TEST(KLineLayout, SaysWhenALayoutCannotBeRecognisedOrIsAmbiguous)
{
    CTempDir dir;
    // Some prices named, others not: which column is the high is a guess.
    SKLineLoad load =
        LoadFixture(dir, "partly-named.csv", "Date,Open,Hi,Lo,Close\n2021-03-01,1,2,0.5,1.5\n");
    EXPECT_EQ(load.m_eError, EKLineLoadError::AmbiguousLayout);
    EXPECT_EQ(load.m_eRecognition, EKLineRecognition::Ambiguous);
    EXPECT_EQ(load.m_layout.m_nHighColumn, 2) << "the likeliest reading is proposed";
    EXPECT_TRUE(load.m_vecBars.empty());

    load = LoadFixture(dir, "no-dates.csv", "id,a,b,c,d\n1,2,3,4,5\n6,7,8,9,10\n");
    EXPECT_EQ(load.m_eError, EKLineLoadError::UnknownLayout);
    EXPECT_EQ(KLineLoadFailureText(load), "no line could be read as a bar (first skipped: line 1)");

    SKLineLayout proposed;
    EXPECT_EQ(RecognizeKLineFile(dir.Write("mt.csv", "2021.03.01,09:00,1,2,0.5,1.5,7\n"),
                                 EKLineDateOrder::DayMonthYear, &proposed),
              EKLineRecognition::Recognized);
    EXPECT_EQ(proposed.m_nTimeColumn, 1);

    // A history file of another version is not read as one.
    load = LoadFixture(dir, "old.hst", HistoryFile(399, {{1614589200, 1, 2, 0.5, 1.5, 1}}));
    EXPECT_EQ(KLineLoadFailureText(load), "not a MetaTrader 4 history file of version 400 or 401");
    // A day file cut inside its last record keeps the whole ones and counts the piece.
    load = LoadFixture(dir, "cut.day", DayRecord(20210301, 1000, 1020, 990, 1012, 1) + "\x01\x02");
    EXPECT_EQ(load.m_vecBars.size(), 1u);
    EXPECT_EQ(load.m_stats.m_nFirstFaultLine, 2);
}

// The text form is what the settings file keeps: every layout survives it, and a damaged one
// is refused rather than half read.
TEST(KLineLayout, TheTextFormKeepsEveryFieldAndRefusesDamage)
{
    std::mt19937 random(5);
    for (int i = 0; i < 500; ++i)
    {
        SKLineLayout layout;
        layout.m_eKind = EKLineFileKind(random() % 3);
        layout.m_eFamily = EKLineFamily(random() % 16);
        layout.m_eEncoding = EKLineEncoding(random() % 2);
        layout.m_cSeparator = ",\t;| "[random() % 5];
        layout.m_bQuoted = random() % 2;
        layout.m_nHeaderLines = int(random() % 5);
        layout.m_eDateForm = EKLineDateForm(random() % 4);
        layout.m_eDateOrder = EKLineDateOrder(random() % 3);
        layout.m_bOrderFromLocale = random() % 2;
        layout.m_eUnixUnit = EKLineUnixUnit(random() % 4);
        layout.m_eTimeForm = EKLineTimeForm(random() % 2);
        // Distinct columns, some of the optional ones absent.
        std::vector<int> columns(kMaxKLineColumn + 1);
        std::iota(columns.begin(), columns.end(), 0);
        std::shuffle(columns.begin(), columns.end(), random);
        layout.m_nDateColumn = columns[0];
        layout.m_nTimeColumn = random() % 2 ? columns[1] : -1;
        layout.m_nOpenColumn = columns[2];
        layout.m_nHighColumn = columns[3];
        layout.m_nLowColumn = columns[4];
        layout.m_nCloseColumn = columns[5];
        layout.m_nVolumeColumn = random() % 2 ? columns[6] : -1;
        layout.m_bDecimalComma = random() % 2;
        layout.m_cThousands = layout.m_bDecimalComma ? ".' "[random() % 3] : ",' "[random() % 3];
        if (layout.m_cThousands == layout.m_cSeparator)
            layout.m_cThousands = 0;
        ASSERT_TRUE(IsUsableKLineLayout(layout)) << KLineLayoutText(layout);
        SKLineLayout read;
        ASSERT_TRUE(ParseKLineLayoutText(KLineLayoutText(layout), &read))
            << KLineLayoutText(layout);
        ASSERT_EQ(read, layout) << KLineLayoutText(layout);
    }

    const std::string good = KLineLayoutText(SKLineLayout());
    SKLineLayout kept;
    kept.m_nOpenColumn = 7;
    ASSERT_TRUE(ParseKLineLayoutText(good + " some-later-key=x", &kept)) << "unknown keys pass";
    EXPECT_EQ(kept, SKLineLayout());
    for (const std::string& bad :
         {std::string("kind=text"), good + " open=256", good + " high=1", good + " separator=quote",
          good + " date-form=julian", std::string("kline-layout=2"), good + " close=-1",
          good + " header-lines=x"})
    {
        SKLineLayout untouched;
        untouched.m_nOpenColumn = 7;
        EXPECT_FALSE(ParseKLineLayoutText(bad, &untouched)) << bad;
        EXPECT_EQ(untouched.m_nOpenColumn, 7) << bad;
    }
}

// The player takes a layout the trader chose, and keeps the one it read with.
TEST(KLineLayout, ThePlayerLoadsWithAChosenLayout)
{
    CTempDir dir;
    const std::string path = dir.Write("two-prices.csv", "x;2021-03-01;9;1,5;2,0;0,5;1,2\n");
    SKLineLayout layout;
    layout.m_cSeparator = ';';
    layout.m_bDecimalComma = true;
    layout.m_nDateColumn = 1;
    layout.m_nOpenColumn = 3;
    layout.m_nHighColumn = 4;
    layout.m_nLowColumn = 5;
    layout.m_nCloseColumn = 6;
    CKLinePlayer player;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(player.Load(path, layout));
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(player.m_nBarCount, 1);
    EXPECT_EQ(BarText(player.m_vecBars[0]), "2021-03-01 00:00 1.5 2 0.5 1.2");
    EXPECT_EQ(player.m_layout, layout);
    EXPECT_EQ(player.LoadNote(), "a layout set by hand: 1 bar, 2021-03-01 to 2021-03-01");
}

// A file no rule reads still gets a layout to start the import dialog from: what its lines tell,
// and its columns of numbers in order as the prices. The proposal is always one the reader takes.
TEST(KLineLayout, AnUnrecognisedFileGetsAProposalToPutRight)
{
    struct SCase
    {
        const char* pszText;
        char cSeparator;
        int nHeaderLines, nDate, nOpen, nHigh, nLow, nClose, nVolume;
        int nBars; // read with the proposal
    };
    const SCase cases[] = {
        // A text column between the date and the prices.
        {"Datum;Wertpapier;Erster;Hoch;Tief;Letzter;Stueck\n"
         "01.03.2021;AT0000831706;10,50;11,00;10,00;10,80;1200\n"
         "02.03.2021;AT0000831706;10,80;11,20;10,60;11,10;900\n",
         ';', 1, 0, 2, 3, 4, 5, 6, 2},
        // Prices on both sides of the date: in the file's order, for the trader to reorder.
        {"Schluss;Datum;Hoch;Tief;Erster\n10,80;01.03.2021;11,00;10,00;10,50\n", ';', 1, 1, 0, 2, 3,
         4, -1, 1},
        // Too few columns of numbers: the others take free columns.
        {"2021-03-01|1|2|x|4|5\n2021-03-02|1|2|3|y|5\n", '|', 0, 0, 1, 2, 3, 5, -1, 0},
        // Nothing looks like a bar: only the separator is told.
        {"a\tb\tc\n1\t2\t3\n", '\t', 0, 0, 1, 2, 3, 4, -1, 0},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.pszText);
        SKLineLayout proposed;
        ASSERT_EQ(RecognizeKLineLayout(std::string_view(c.pszText), "file.csv",
                                       EKLineDateOrder::DayMonthYear, &proposed),
                  EKLineRecognition::Unknown);
        EXPECT_EQ(proposed.m_eFamily, EKLineFamily::Custom);
        EXPECT_EQ(proposed.m_cSeparator, c.cSeparator);
        EXPECT_EQ(proposed.m_nHeaderLines, c.nHeaderLines);
        EXPECT_EQ(proposed.m_nDateColumn, c.nDate);
        EXPECT_EQ(
            (std::vector<int>{proposed.m_nOpenColumn, proposed.m_nHighColumn, proposed.m_nLowColumn,
                              proposed.m_nCloseColumn, proposed.m_nVolumeColumn}),
            (std::vector<int>{c.nOpen, c.nHigh, c.nLow, c.nClose, c.nVolume}));
        EXPECT_TRUE(IsUsableKLineLayout(proposed));
        SKLineLoad load;
        ReadKLineText(c.pszText, proposed, &load);
        EXPECT_EQ(load.m_vecBars.size(), size_t(c.nBars));
    }
}

// The import dialog's sample: never a line cut in two, and the reason when there is none.
TEST(KLineFile, TheHeadOfAFileEndsAfterAWholeLine)
{
    CTempDir dir;
    const std::string strPath =
        dir.Write("bars.csv", "2021-03-01,1,2,0.5,1.5\n2021-03-02,1,2,0.5,1.5\n");
    std::string strHead;
    std::string strReason;
    ASSERT_TRUE(ReadKLineFileHead(strPath, 30, &strHead, &strReason));
    EXPECT_EQ(strHead, "2021-03-01,1,2,0.5,1.5\n");
    ASSERT_TRUE(ReadKLineFileHead(strPath, 1000, &strHead, &strReason));
    EXPECT_EQ(strHead.size(), 46u);
    EXPECT_FALSE(
        ReadKLineFileHead((dir.Path() / "missing.csv").string(), 30, &strHead, &strReason));
    EXPECT_EQ(strReason, "No such file or directory");
    EXPECT_FALSE(ReadKLineFileHead(dir.Path().string(), 30, &strHead, &strReason));
    EXPECT_EQ(strReason, "not a regular file");
}
