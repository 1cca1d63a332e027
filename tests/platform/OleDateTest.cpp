#include "platform/OleDate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

SYSTEMTIME Day(int y, int m, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    SYSTEMTIME st;
    st.wYear = static_cast<std::uint16_t>(y);
    st.wMonth = static_cast<std::uint16_t>(m);
    st.wDay = static_cast<std::uint16_t>(d);
    st.wHour = static_cast<std::uint16_t>(h);
    st.wMinute = static_cast<std::uint16_t>(mi);
    st.wSecond = static_cast<std::uint16_t>(s);
    st.wMilliseconds = static_cast<std::uint16_t>(ms);
    return st;
}

struct SDateCase
{
    SYSTEMTIME st;
    double dDate;
};

} // namespace

TEST(OleDate, ConvertsKnownDates)
{
    const SDateCase cases[] = {
        {Day(1899, 12, 30), 0.0},
        {Day(1899, 12, 30, 12), 0.5},
        {Day(1899, 12, 29, 6), -1.25},
        {Day(1899, 12, 28, 18), -2.75},
        {Day(1900, 1, 1), 2.0},
        {Day(1900, 3, 1), 61.0}, // 1900 is not a leap year
        {Day(2000, 2, 29), 36585.0},
        {Day(2017, 1, 5), 42740.0},
        {Day(2017, 1, 5, 14, 30), 42740.0 + 14.5 / 24},
        {Day(100, 1, 1), -657434.0},
        {Day(9999, 12, 31), 2958465.0},
    };
    for (const SDateCase& c : cases)
    {
        SCOPED_TRACE(c.dDate);
        double dDate = 0;
        ASSERT_TRUE(SystemTimeToVariantTime(&c.st, &dDate));
        EXPECT_DOUBLE_EQ(dDate, c.dDate);
        SYSTEMTIME back;
        ASSERT_TRUE(VariantTimeToSystemTime(c.dDate, &back));
        EXPECT_EQ(back.wYear, c.st.wYear);
        EXPECT_EQ(back.wMonth, c.st.wMonth);
        EXPECT_EQ(back.wDay, c.st.wDay);
        EXPECT_EQ(back.wHour, c.st.wHour);
        EXPECT_EQ(back.wMinute, c.st.wMinute);
    }
}

TEST(OleDate, RejectsDaysAndValuesOutsideTheCalendar)
{
    const SYSTEMTIME bad[] = {Day(99, 12, 31),       Day(10000, 1, 1), Day(2017, 0, 1),
                              Day(2017, 13, 1),      Day(2017, 2, 29), Day(1900, 2, 29),
                              Day(2017, 4, 31),      Day(2017, 1, 0),  Day(2017, 1, 1, 24),
                              Day(2017, 1, 1, 0, 60)};
    for (const SYSTEMTIME& st : bad)
    {
        double dDate = 42;
        EXPECT_FALSE(SystemTimeToVariantTime(&st, &dDate));
        EXPECT_EQ(dDate, 42);
    }
    const double badValues[] = {
        -657435.0, 2958466.0, std::nan(""), std::numeric_limits<double>::infinity(), -1e300, 1e300};
    for (double v : badValues)
    {
        SYSTEMTIME st = Day(1, 2, 3);
        EXPECT_FALSE(VariantTimeToSystemTime(v, &st)) << v;
        EXPECT_EQ(st.wYear, 1);
    }
}

TEST(OleDate, FillsWeekdayAndDayOfYear)
{
    UDATE u;
    ASSERT_TRUE(VarUdateFromDate(42740.0, 0, &u)); // 2017-01-05, a Thursday
    EXPECT_EQ(u.st.wDayOfWeek, 4);
    EXPECT_EQ(u.wDayOfYear, 5);
    ASSERT_TRUE(VarUdateFromDate(-1.0, 0, &u)); // 1899-12-29, a Friday
    EXPECT_EQ(u.st.wDayOfWeek, 5);
    EXPECT_EQ(u.wDayOfYear, 363);
    ASSERT_TRUE(VarUdateFromDate(36891.0, 0, &u)); // 2000-12-31, a leap year's last day
    EXPECT_EQ(u.wDayOfYear, 366);
    EXPECT_EQ(u.st.wDayOfWeek, 0);
}

TEST(OleDate, RoundsTheTimeOfDayUpToTheNextDay)
{
    SYSTEMTIME st;
    ASSERT_TRUE(VariantTimeToSystemTime(42740.9999999999, &st));
    EXPECT_EQ(st.wDay, 6);
    EXPECT_EQ(st.wHour, 0);
    ASSERT_TRUE(VariantTimeToSystemTime(-1.9999999999, &st)); // 1899-12-29 23:59:59.99999
    EXPECT_EQ(st.wDay, 30);
    EXPECT_EQ(st.wHour, 0);
}

TEST(OleDate, RoundTripsEveryDayOfTheValidRange)
{
    double dExpected = -657434.0; // 0100-01-01
    int nWeekday = 5;             // 0100-01-01 was a Friday
    for (int y = 100; y <= 9999; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d)
            {
                const SYSTEMTIME st = Day(y, m, d, 6);
                double dDate = 0;
                if (!SystemTimeToVariantTime(&st, &dDate))
                    continue;
                const double dWhole = dExpected;
                ASSERT_EQ(dDate, dWhole < 0 ? dWhole - 0.25 : dWhole + 0.25)
                    << y << '-' << m << '-' << d;
                UDATE u;
                ASSERT_TRUE(VarUdateFromDate(dDate, 0, &u));
                ASSERT_EQ(u.st.wYear, y);
                ASSERT_EQ(u.st.wMonth, m);
                ASSERT_EQ(u.st.wDay, d);
                ASSERT_EQ(u.st.wHour, 6);
                ASSERT_EQ(u.st.wDayOfWeek, nWeekday);
                dExpected += 1.0;
                nWeekday = (nWeekday + 1) % 7;
            }
    EXPECT_EQ(dExpected, 2958466.0);
}
