#include "chart/ChartDateTimeAxis.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

namespace
{

double Date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    const CChartDateTimeAxis::SDate date = CChartDateTimeAxis::MakeDate(y, mo, d, h, mi, s);
    EXPECT_TRUE(date.bValid) << y << "-" << mo << "-" << d;
    return date.dDate;
}

// An axis laid out as the control would: horizontal from pixel 0, vertical from the bottom.
void Place(CChartDateTimeAxis& axis, bool bHorizontal, int nLength, double dMin, double dMax)
{
    axis.m_bHorizontal = bHorizontal;
    axis.m_nStartPixel = bHorizontal ? 0 : nLength;
    axis.m_nEndPixel = bHorizontal ? nLength : 0;
    axis.SetRange(dMin, dMax, ERangeChange::Reset);
}

struct SIncrementCase
{
    bool bHorizontal;
    int nLength;
    double dSpanDays;
    DateTimeTickUnit eUnit;
    int nMultiple;
    const char* pszFormat;
};

TEST(ChartDateTimeAxis, ChoosesTheIncrementFromTheRangeAndTheAxisLength)
{
    const double s = 1.0 / 86400;
    const SIncrementCase cases[] = {
        {true, 660, 35, UnitDay, 7, "%d %b"},
        {true, 660, 10.0 / 24, UnitHour, 1, "%H:00"},
        {false, 300, 36, UnitDay, 2, "%d %b"},
        {true, 600, 30 * s, UnitSecond, 5, "%H:%M:%S"},
        {true, 600, 10 * s, UnitSecond, 1, "%H:%M:%S"},
        {true, 600, 400 * s, UnitMinute, 1, "%H:%M"},
        {true, 600, 600 * 60 * s, UnitHour, 2, "%H:00"},
        {true, 600, 600 * s, UnitMinute, 2, "%H:%M"},
        {true, 600, 200 * 60 * s, UnitMinute, 30, "%H:%M"},
        {true, 600, 100, UnitMonth, 1, "%b %Y"},
        {true, 600, 1000, UnitMonth, 4, "%b %Y"},
        {true, 600, 2000, UnitYear, 1, "%Y"},
        {true, 600, 3650, UnitYear, 2, "%Y"},
        {true, 120, 4000, UnitYear, 6, "%Y"},
        {true, 30, 3, UnitDay, 7, "%d %b"}, // shorter than one label: one tick fits
    };
    for (const SIncrementCase& c : cases)
    {
        CChartDateTimeAxis axis;
        const double dStart = Date(2003, 5, 7);
        Place(axis, c.bHorizontal, c.nLength, dStart, dStart + c.dSpanDays);
        axis.RefreshTickIncrement();
        axis.RefreshFirstTick();
        EXPECT_EQ(axis.m_eTickUnit, c.eUnit) << c.nLength << " px, " << c.dSpanDays << " days";
        EXPECT_EQ(axis.m_nTickMultiple, c.nMultiple) << c.nLength << " px, " << c.dSpanDays;
        EXPECT_EQ(axis.m_strTickFormat, c.pszFormat) << c.dSpanDays;
    }
}

TEST(ChartDateTimeAxis, EmptyRangeOrManualTicksKeepTheUnit)
{
    CChartDateTimeAxis axis;
    Place(axis, true, 600, 100, 1600); // 150 days per tick
    axis.RefreshTickIncrement();
    ASSERT_EQ(axis.m_eTickUnit, UnitMonth);
    ASSERT_EQ(axis.m_nTickMultiple, 6);

    axis.SetRange(axis.m_dMin, axis.m_dMin, ERangeChange::Reset);
    axis.RefreshTickIncrement();
    EXPECT_EQ(axis.m_eTickUnit, UnitMonth);
    EXPECT_EQ(axis.m_nTickMultiple, 1);
    double dNext = -1;
    EXPECT_FALSE(axis.GetNextTick(100, &dNext));
    EXPECT_EQ(dNext, -1.0);

    axis.m_bAutoTicks = false;
    axis.SetRange(axis.m_dMin, axis.m_dMin + 1, ERangeChange::Reset);
    axis.RefreshTickIncrement();
    EXPECT_EQ(axis.m_eTickUnit, UnitMonth);
    EXPECT_EQ(axis.m_nTickMultiple, 1);
}

TEST(ChartDateTimeAxis, TicksAlignToTheFirstOfJanuary2000)
{
    CChartDateTimeAxis axis;
    ASSERT_TRUE(axis.m_dtReference.bValid);
    EXPECT_EQ(axis.m_dtReference.dDate, 36526.0);

    const double dValue = Date(2000, 3, 17, 12);
    axis.m_eTickUnit = UnitMonth;
    axis.m_nTickMultiple = 2;
    EXPECT_EQ(axis.TickAtOrBefore(dValue), Date(2000, 3, 1));
    axis.m_eTickUnit = UnitDay;
    axis.m_nTickMultiple = 7;
    EXPECT_EQ(axis.TickAtOrBefore(dValue), Date(2000, 3, 11)) << "weekly ticks fall on Saturdays";
    axis.m_eTickUnit = UnitHour;
    axis.m_nTickMultiple = 6;
    EXPECT_EQ(axis.TickAtOrBefore(Date(2000, 3, 17, 17, 59)), Date(2000, 3, 17, 12));
    axis.m_eTickUnit = UnitMinute;
    axis.m_nTickMultiple = 30;
    EXPECT_EQ(axis.TickAtOrBefore(Date(2001, 3, 17, 17, 59)), Date(2001, 3, 17, 17, 30));
    axis.m_eTickUnit = UnitSecond;
    axis.m_nTickMultiple = 5;
    EXPECT_NEAR(axis.TickAtOrBefore(Date(2001, 3, 17, 17, 59, 59)), Date(2001, 3, 17, 17, 59, 55),
                1e-9);
    axis.m_eTickUnit = UnitYear;
    axis.m_nTickMultiple = 6;
    EXPECT_EQ(axis.TickAtOrBefore(Date(2013, 8, 1)), Date(2012, 1, 1));
    // Before 2000 truncation goes towards the reference, so the tick may follow the value.
    EXPECT_EQ(axis.TickAtOrBefore(Date(1995, 8, 1)), Date(2000, 1, 1));

    // A value a rounding error below a tick counts as on it.
    axis.m_eTickUnit = UnitDay;
    axis.m_nTickMultiple = 1;
    EXPECT_EQ(axis.TickAtOrBefore(Date(2000, 3, 11) - 1e-11), Date(2000, 3, 11));
}

TEST(ChartDateTimeAxis, AddMonthsKeepsTheDayOrFails)
{
    struct SCase
    {
        double dFrom;
        int nMonths;
        bool bValid;
        double dExpected;
    };
    const SCase cases[] = {
        {Date(2000, 1, 1), -1, true, Date(1999, 12, 1)},
        {Date(2000, 1, 31), 1, false, 0},
        {Date(2000, 1, 31), 2, true, Date(2000, 3, 31)},
        {Date(2000, 1, 15, 6, 30), -13, true, Date(1998, 12, 15, 6, 30)},
        {Date(2000, 2, 29), 12, false, 0},
        {Date(2000, 2, 29), 48, true, Date(2004, 2, 29)},
        {Date(9999, 12, 1), 1, false, 0},
        {1e9, 1, false, 0},
    };
    for (const SCase& c : cases)
    {
        const CChartDateTimeAxis::SDate result = CChartDateTimeAxis::AddMonths(c.dFrom, c.nMonths);
        EXPECT_EQ(result.bValid, c.bValid) << c.dFrom << " + " << c.nMonths;
        if (c.bValid)
        {
            EXPECT_NEAR(result.dDate, c.dExpected, 1e-9) << c.dFrom << " + " << c.nMonths;
        }
    }
}

TEST(ChartDateTimeAxis, StepsAcrossTheEpochOnTheContinuousDayCount)
{
    CChartDateTimeAxis axis;
    Place(axis, true, 600, -2.0, 1.0);
    axis.m_bAutoTicks = false;
    axis.m_eTickUnit = UnitHour;
    axis.m_nTickMultiple = 12;
    double dNext = 0;
    // -1.25 is 06:00 on the day before the epoch; 12 hours later is 18:00 that day.
    ASSERT_TRUE(axis.GetNextTick(-1.25, &dNext));
    EXPECT_NEAR(dNext, -1.75, 1e-12);
    ASSERT_TRUE(axis.GetNextTick(dNext, &dNext));
    EXPECT_NEAR(dNext, 0.25, 1e-12);
    EXPECT_FALSE(axis.GetNextTick(0.75, &dNext)) << "past the maximum";
    EXPECT_NEAR(dNext, 1.25, 1e-12);
}

TEST(ChartDateTimeAxis, EnumeratesIncreasingTicksFromTheFirstAlignedOne)
{
    CChartDateTimeAxis axis;
    // 26 daily bars over 36 days on a 500 px axis: weekly ticks.
    const double dMin = Date(2017, 1, 5);
    Place(axis, true, 500, dMin, dMin + 36);
    axis.RefreshTickIncrement();
    axis.RefreshFirstTick();
    ASSERT_EQ(axis.m_eTickUnit, UnitDay);
    ASSERT_EQ(axis.m_nTickMultiple, 7);
    std::vector<std::string> labels;
    double dTick = axis.GetFirstTick();
    EXPECT_EQ(dTick, Date(2016, 12, 31)) << "the Saturday at or before the range";
    do
        labels.push_back(axis.FormatTickLabel(dTick));
    while (axis.GetNextTick(dTick, &dTick));
    EXPECT_EQ(labels, (std::vector<std::string>{"31 Dec", "07 Jan", "14 Jan", "21 Jan", "28 Jan",
                                                "04 Feb"}));

    axis.m_bBetweenTicks = true;
    EXPECT_EQ(axis.GetFirstTick(), Date(2016, 12, 24));
    // The middle of the week holding a value, on the pixels of its two ticks.
    const int p0 = axis.ValueToPixel(Date(2017, 1, 7));
    const int p1 = axis.ValueToPixel(Date(2017, 1, 14));
    EXPECT_EQ(axis.IntervalMidPixel(Date(2017, 1, 10)), p0 + (p1 - p0) / 2);
}

TEST(ChartDateTimeAxis, HugeRangesStillEndTheEnumeration)
{
    CChartDateTimeAxis axis;
    Place(axis, true, 600, 0, 1e300);
    axis.RefreshTickIncrement();
    axis.RefreshFirstTick();
    EXPECT_EQ(axis.m_eTickUnit, UnitYear);
    int nTicks = 0;
    double dTick = axis.GetFirstTick();
    while (axis.GetNextTick(dTick, &dTick) && nTicks < 100000)
        ++nTicks;
    EXPECT_LT(nTicks, 100000);

    // Seconds added to a date far beyond any calendar make no progress: the walk stops.
    axis.m_bAutoTicks = false;
    axis.m_eTickUnit = UnitSecond;
    axis.m_nTickMultiple = 1;
    axis.SetRange(1e17, 1e17 + 1000, ERangeChange::Reset);
    double dNext = 0;
    EXPECT_FALSE(axis.GetNextTick(1e17, &dNext));
}

TEST(ChartDateTimeAxis, LabelsUseEnglishMonthsUnderAnyLocale)
{
    CChartDateTimeAxis axis;
    axis.m_strTickFormat = "%Y-%m-%d";
    EXPECT_EQ(axis.FormatTickLabel(36526.5), "2000-01-01");
    axis.m_strTickFormat = "%d %b";
    EXPECT_EQ(axis.FormatTickLabel(36526.5), "01 Jan");
    EXPECT_EQ(axis.FormatTickLabel(1e7), "Invalid DateTime");
    EXPECT_EQ(axis.FormatTickLabel(std::nan("")), "Invalid DateTime");
    axis.m_strTickFormat = "%H:%M:%S";
    EXPECT_EQ(axis.FormatTickLabel(Date(2001, 2, 3, 4, 5, 6)), "04:05:06");

    const std::string strSaved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "de_DE.utf8") == nullptr)
        GTEST_SKIP() << "no German locale installed";
    axis.m_strTickFormat = "%b %Y";
    const std::string strDecember = axis.FormatTickLabel(Date(1999, 12, 24));
    const std::string strMarch = axis.FormatTickLabel(Date(2000, 3, 2));
    std::setlocale(LC_ALL, strSaved.c_str());
    EXPECT_EQ(strDecember, "Dec 1999");
    EXPECT_EQ(strMarch, "Mar 2000");
}

TEST(ChartDateTimeAxis, AFixedFormatOutlivesUnitChanges)
{
    CChartDateTimeAxis axis;
    axis.SetTickLabelFormat(false, "%Y-%m-%d");
    Place(axis, true, 600, 100, 100.01);
    axis.RefreshTickIncrement();
    axis.RefreshFirstTick();
    EXPECT_EQ(axis.m_strTickFormat, "%Y-%m-%d");
    axis.SetTickLabelFormat(true, "");
    axis.RefreshFirstTick();
    EXPECT_EQ(axis.m_strTickFormat, "%H:%M");
}

} // namespace
