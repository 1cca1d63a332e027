#include "core/Timeframe.h"
#include "core/TimeframeSeries.h"
#include "platform/OleDate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace
{

using Bars = std::vector<SChartCandlestickPoint>;

constexpr ETimeframe kAllFrames[] = {
    ETimeframe::Minute1,  ETimeframe::Minute5, ETimeframe::Minute15,
    ETimeframe::Minute30, ETimeframe::Hour1,   ETimeframe::Hour4,
    ETimeframe::Day,      ETimeframe::Week,    ETimeframe::Month,
};

double Ole(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0)
{
    SYSTEMTIME st;
    st.wYear = static_cast<std::uint16_t>(nYear);
    st.wMonth = static_cast<std::uint16_t>(nMonth);
    st.wDay = static_cast<std::uint16_t>(nDay);
    st.wHour = static_cast<std::uint16_t>(nHour);
    st.wMinute = static_cast<std::uint16_t>(nMinute);
    st.wSecond = static_cast<std::uint16_t>(nSecond);
    double dDate = std::nan("");
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &dDate));
    return dDate;
}

std::string Text(double dDate)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dDate, &st))
        return "no date " + std::to_string(dDate);
    char sz[48];
    std::snprintf(sz, sizeof sz, "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay,
                  st.wHour, st.wMinute, st.wSecond);
    return sz;
}

// The period start worked out on calendar fields, apart from the code's straight time line.
double ReferenceStart(ETimeframe eFrame, double dDate)
{
    SYSTEMTIME st;
    EXPECT_TRUE(VariantTimeToSystemTime(dDate, &st));
    st.wSecond = 0;
    st.wMilliseconds = 0;
    int nBackDays = 0;
    switch (eFrame)
    {
    case ETimeframe::Minute1:
        break;
    case ETimeframe::Minute5:
    case ETimeframe::Minute15:
    case ETimeframe::Minute30:
    {
        const int nStep = eFrame == ETimeframe::Minute5    ? 5
                          : eFrame == ETimeframe::Minute15 ? 15
                                                           : 30;
        st.wMinute = static_cast<std::uint16_t>(st.wMinute - st.wMinute % nStep);
        break;
    }
    case ETimeframe::Hour4:
        st.wHour = static_cast<std::uint16_t>(st.wHour - st.wHour % 4);
        [[fallthrough]];
    case ETimeframe::Hour1:
        st.wMinute = 0;
        break;
    case ETimeframe::Week:
        nBackDays = (st.wDayOfWeek + 6) % 7;
        [[fallthrough]];
    case ETimeframe::Day:
        st.wHour = st.wMinute = 0;
        break;
    case ETimeframe::Month:
        st.wDay = 1;
        st.wHour = st.wMinute = 0;
        break;
    }
    double dStart = std::nan("");
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &dStart));
    return dStart - nBackDays; // a midnight is a whole number on both sides of the epoch
}

std::vector<double> ReferenceStarts(const Bars& vecBars, ETimeframe eFrame)
{
    std::vector<double> vecStarts;
    for (const SChartCandlestickPoint& bar : vecBars)
        vecStarts.push_back(ReferenceStart(eFrame, bar.dDate));
    return vecStarts;
}

// The first nCount bars grouped by consecutive equal periods.
Bars ReferenceAggregate(const Bars& vecBars, const std::vector<double>& vecStarts,
                        std::size_t nCount, std::vector<std::size_t>* pvecBarOf = nullptr)
{
    Bars vecOut;
    for (std::size_t i = 0; i < nCount; ++i)
    {
        const SChartCandlestickPoint& bar = vecBars[i];
        if (vecOut.empty() || vecOut.back().dDate != vecStarts[i])
            vecOut.push_back({vecStarts[i], bar.dLow, bar.dHigh, bar.dOpen, bar.dClose});
        SChartCandlestickPoint& last = vecOut.back();
        last.dLow = std::min(last.dLow, bar.dLow);
        last.dHigh = std::max(last.dHigh, bar.dHigh);
        last.dClose = bar.dClose;
        if (pvecBarOf != nullptr)
            pvecBarOf->push_back(vecOut.size() - 1);
    }
    return vecOut;
}

::testing::AssertionResult SameBars(const Bars& vecGot, const Bars& vecWant)
{
    if (vecGot.size() != vecWant.size())
        return ::testing::AssertionFailure()
               << vecGot.size() << " bars instead of " << vecWant.size();
    for (std::size_t i = 0; i < vecGot.size(); ++i)
    {
        const SChartCandlestickPoint& a = vecGot[i];
        const SChartCandlestickPoint& b = vecWant[i];
        if (a.dDate != b.dDate || a.dOpen != b.dOpen || a.dHigh != b.dHigh || a.dLow != b.dLow ||
            a.dClose != b.dClose)
            return ::testing::AssertionFailure()
                   << "bar " << i << ": " << Text(a.dDate) << " " << a.dOpen << "/" << a.dHigh
                   << "/" << a.dLow << "/" << a.dClose << " instead of " << Text(b.dDate) << " "
                   << b.dOpen << "/" << b.dHigh << "/" << b.dLow << "/" << b.dClose;
    }
    return ::testing::AssertionSuccess();
}

// A bar every nSpacing minutes from the start, seconds past the minute as some feeds write them,
// no bars on Saturdays and Sundays, now and then a few missing bars or days of suspension.
Bars RandomFile(std::mt19937* pRandom, double dStartDay, int nSpacingMinutes, int nSecond,
                std::size_t nCount)
{
    std::mt19937& random = *pRandom;
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Bars vecBars;
    double dPrice = 100.0;
    std::int64_t nMinutes = 9 * 60 + 30;
    while (vecBars.size() < nCount)
    {
        const auto nDay = static_cast<int>(nMinutes / 1440);
        const int nMinuteOfDay = static_cast<int>(nMinutes % 1440);
        SYSTEMTIME st;
        EXPECT_TRUE(VariantTimeToSystemTime(dStartDay + nDay, &st));
        const int nStep = nSpacingMinutes * (unit(random) < 0.1 ? 2 + int(random() % 3) : 1);
        nMinutes += nStep + (unit(random) < 0.004 ? 1440 * (1 + int(random() % 9)) : 0);
        if (st.wDayOfWeek == 0 || st.wDayOfWeek == 6)
            continue;
        const double dOpen = dPrice;
        dPrice = std::max(1.0, dPrice + unit(random) * 2.0 - 1.0);
        vecBars.push_back(
            {Ole(st.wYear, st.wMonth, st.wDay, nMinuteOfDay / 60, nMinuteOfDay % 60, nSecond),
             std::min(dOpen, dPrice) - unit(random), std::max(dOpen, dPrice) + unit(random), dOpen,
             dPrice});
    }
    return vecBars;
}

struct SFileShape
{
    const char* szWhat;
    double dStartDay;
    int nSpacingMinutes;
    int nSecond;
};

// Weeks across year ends, February in leap and common years, months of 30 and 31 days, and
// dates before 1899-12-30, where the time of day counts away from zero.
const SFileShape kShapes[] = {
    {"minutes over a year end", Ole(2019, 12, 18), 1, 0},
    {"minutes stamped at :59", Ole(2024, 2, 20), 1, 59},
    {"five minutes through a leap February", Ole(2024, 1, 29), 5, 0},
    {"hours across the epoch", Ole(1899, 11, 20), 60, 0},
    {"half hours in 1850", Ole(1850, 2, 11), 30, 0},
    {"four hours in 2023", Ole(2022, 12, 26), 240, 0},
    {"days over several years", Ole(1897, 6, 2), 1440, 0},
};

} // namespace

TEST(Timeframe, IndicesFollowTheKeysFromFinestToCoarsest)
{
    std::set<std::string> setCodes;
    for (int i = 0; i < kTimeframeCount; ++i)
    {
        ETimeframe eFrame = ETimeframe::Month;
        ASSERT_TRUE(TimeframeFromIndex(i, &eFrame));
        EXPECT_EQ(eFrame, kAllFrames[i]);
        EXPECT_EQ(TimeframeIndex(eFrame), i);
        setCodes.insert(TimeframeCode(eFrame));
        if (i > 0)
        {
            EXPECT_GT(TimeframeSeconds(eFrame), TimeframeSeconds(kAllFrames[i - 1]));
        }
    }
    EXPECT_EQ(setCodes.size(), std::size_t(kTimeframeCount));
    ETimeframe eFrame = ETimeframe::Hour4;
    EXPECT_FALSE(TimeframeFromIndex(-1, &eFrame));
    EXPECT_FALSE(TimeframeFromIndex(kTimeframeCount, &eFrame));
    EXPECT_EQ(eFrame, ETimeframe::Hour4);
}

TEST(Timeframe, PeriodsStartOnTheClockAndTheCalendar)
{
    struct SRow
    {
        ETimeframe eFrame;
        double dDate;
        double dStart;
    };
    const SRow kRows[] = {
        {ETimeframe::Minute1, Ole(2024, 3, 5, 10, 14, 59), Ole(2024, 3, 5, 10, 14)},
        {ETimeframe::Minute5, Ole(2024, 3, 5, 10, 14, 59), Ole(2024, 3, 5, 10, 10)},
        {ETimeframe::Minute15, Ole(2024, 3, 5, 10, 15), Ole(2024, 3, 5, 10, 15)},
        {ETimeframe::Minute30, Ole(2024, 3, 5, 23, 59, 59), Ole(2024, 3, 5, 23, 30)},
        {ETimeframe::Hour1, Ole(2024, 3, 5, 9, 30), Ole(2024, 3, 5, 9)},
        {ETimeframe::Hour4, Ole(2024, 3, 5, 3, 59, 59), Ole(2024, 3, 5)},
        {ETimeframe::Hour4, Ole(2024, 3, 5, 4), Ole(2024, 3, 5, 4)},
        {ETimeframe::Hour4, Ole(2024, 3, 5, 23, 15), Ole(2024, 3, 5, 20)},
        {ETimeframe::Day, Ole(2024, 3, 5, 23, 59, 59), Ole(2024, 3, 5)},
        // A time a hair before midnight rounds to it, as the calendar conversions do.
        {ETimeframe::Day, Ole(2024, 3, 6) - 1e-10, Ole(2024, 3, 6)},
        {ETimeframe::Week, Ole(2024, 12, 31, 12), Ole(2024, 12, 30)},
        {ETimeframe::Week, Ole(2025, 1, 5, 23), Ole(2024, 12, 30)},
        {ETimeframe::Week, Ole(2025, 1, 6), Ole(2025, 1, 6)},
        {ETimeframe::Month, Ole(2024, 2, 29, 15), Ole(2024, 2, 1)},
        {ETimeframe::Month, Ole(2023, 12, 31, 23, 59), Ole(2023, 12, 1)},
        // Before the epoch: -1.25 is 1899-12-29 06:00, a Friday.
        {ETimeframe::Hour4, -1.25, Ole(1899, 12, 29, 4)},
        {ETimeframe::Hour1, -1.25, -1.25},
        {ETimeframe::Day, -1.25, -1.0},
        {ETimeframe::Week, -1.25, Ole(1899, 12, 25)},
        {ETimeframe::Month, -1.25, Ole(1899, 12, 1)},
        {ETimeframe::Day, -0.5, 0.0}, // the same time as 0.5
        {ETimeframe::Week, Ole(1850, 1, 1, 18), Ole(1849, 12, 31)},
        {ETimeframe::Minute30, Ole(1850, 1, 1, 18, 45), Ole(1850, 1, 1, 18, 30)},
    };
    for (const SRow& row : kRows)
    {
        double dStart = 0.0;
        ASSERT_TRUE(TimeframePeriodStart(row.eFrame, row.dDate, &dStart)) << row.dDate;
        EXPECT_EQ(dStart, row.dStart)
            << TimeframeCode(row.eFrame) << " " << Text(row.dDate) << " gave " << Text(dStart);
    }
    double dStart = 7.0;
    EXPECT_FALSE(TimeframePeriodStart(ETimeframe::Day, std::nan(""), &dStart));
    EXPECT_FALSE(TimeframePeriodStart(ETimeframe::Month, 3e6, &dStart));
    EXPECT_FALSE(TimeframePeriodStart(ETimeframe::Minute1, -700000.0, &dStart));
    EXPECT_EQ(dStart, 7.0);
}

TEST(Timeframe, SpacingIsTheFilesCommonGap)
{
    const auto File = [](const std::vector<double>& vecDates)
    {
        Bars vecBars;
        for (const double dDate : vecDates)
            vecBars.push_back({dDate, 1, 2, 1, 2});
        return vecBars;
    };
    const auto Minutes = [](double dFrom, const std::vector<int>& vecOffsets)
    {
        std::vector<double> vecDates;
        for (const int n : vecOffsets)
            vecDates.push_back(dFrom + n / 1440.0);
        return vecDates;
    };
    const double dMonday = Ole(2024, 3, 4);
    struct SRow
    {
        const char* szWhat;
        std::vector<double> vecDates;
        std::int64_t nSeconds;
        ETimeframe eFinest;
    };
    const SRow kRows[] = {
        {"days with a weekend and a holiday",
         {dMonday, dMonday + 1, dMonday + 2, dMonday + 3, dMonday + 4, dMonday + 7, dMonday + 8,
          dMonday + 10, dMonday + 11},
         86400,
         ETimeframe::Day},
        {"hours with missing bars and a night",
         Minutes(dMonday + 0.375, {0, 60, 120, 240, 300, 360, 1440, 1500, 1620}), 3600,
         ETimeframe::Hour1},
        {"minutes", Minutes(dMonday + 0.5, {0, 1, 2, 3, 4, 6, 7}), 60, ETimeframe::Minute1},
        {"two minutes", Minutes(dMonday, {0, 2, 4, 6, 8, 10}), 120, ETimeframe::Minute5},
        {"four hours", Minutes(dMonday, {0, 240, 480, 720, 960, 1200}), 14400, ETimeframe::Hour4},
        {"weeks", {dMonday, dMonday + 7, dMonday + 14, dMonday + 28}, 604800, ETimeframe::Week},
        {"months",
         {Ole(2023, 1, 1), Ole(2023, 2, 1), Ole(2023, 3, 1), Ole(2023, 4, 1), Ole(2023, 5, 1),
          Ole(2023, 6, 1)},
         31 * 86400,
         ETimeframe::Month},
        {"quarters",
         {Ole(2023, 1, 2), Ole(2023, 4, 3), Ole(2023, 7, 3)},
         91 * 86400,
         ETimeframe::Month},
        {"a tie takes the smaller gap", Minutes(dMonday, {0, 5, 10, 25, 40}), 300,
         ETimeframe::Minute5},
        {"repeated dates do not count", Minutes(dMonday, {0, 0, 15, 15, 30, 30}), 900,
         ETimeframe::Minute15},
        // 1899-12-27 06:00 to 1899-12-28 06:00, six hours apart.
        {"before the epoch", {-3.25, -3.5, -3.75, -2.0, -2.25}, 6 * 3600, ETimeframe::Day},
        {"irregular: the median gap", Minutes(dMonday, {0, 1, 3, 6, 10, 15, 21, 28, 36}), 240,
         ETimeframe::Minute5},
        {"seconds late still one minute",
         {dMonday, dMonday + 60.4 / 86400, dMonday + 120.3 / 86400},
         60,
         ETimeframe::Minute1},
        {"one bar", {dMonday}, 0, ETimeframe::Minute1},
        {"no bars", {}, 0, ETimeframe::Minute1},
    };
    for (const SRow& row : kRows)
    {
        const Bars vecBars = File(row.vecDates);
        const std::int64_t nSeconds = BarSpacingSeconds(vecBars.data(), vecBars.size());
        EXPECT_EQ(nSeconds, row.nSeconds) << row.szWhat;
        EXPECT_EQ(FinestTimeframeFor(nSeconds), row.eFinest) << row.szWhat;
    }
}

TEST(TimeframeSeries, AggregatesAsThePlainCalendarDoes)
{
    std::mt19937 random(20240305);
    for (const SFileShape& shape : kShapes)
    {
        const Bars vecFile =
            RandomFile(&random, shape.dStartDay, shape.nSpacingMinutes, shape.nSecond, 3000);
        for (const ETimeframe eFrame : kAllFrames)
        {
            SCOPED_TRACE(std::string(shape.szWhat) + " in " + TimeframeCode(eFrame));
            std::vector<std::size_t> vecBarOf;
            const Bars vecWant = ReferenceAggregate(vecFile, ReferenceStarts(vecFile, eFrame),
                                                    vecFile.size(), &vecBarOf);
            const CTimeframeSeries series(vecFile.data(), vecFile.size(), eFrame);
            ASSERT_TRUE(SameBars(series.Bars(), vecWant));
            for (std::size_t i = 0; i < vecFile.size(); ++i)
            {
                ASSERT_EQ(series.BarOfFileBar(i), vecBarOf[i]) << i;
                if (i == 0 || vecBarOf[i] != vecBarOf[i - 1])
                {
                    ASSERT_EQ(series.FirstFileBar(vecBarOf[i]), i);
                }
                // A marker dated at a file bar finds its aggregate bar by its date alone.
                double dStart = 0.0;
                ASSERT_TRUE(TimeframePeriodStart(eFrame, vecFile[i].dDate, &dStart));
                ASSERT_EQ(dStart, series.Bars()[vecBarOf[i]].dDate) << Text(vecFile[i].dDate);
            }
        }
    }
}

TEST(TimeframeSeries, TheReplayShowsTheAggregateOfTheRevealedBarsOnly)
{
    std::mt19937 random(7);
    std::vector<SChartCandlestickPoint> vecWindow;
    for (const SFileShape& shape : kShapes)
    {
        const Bars vecFile =
            RandomFile(&random, shape.dStartDay, shape.nSpacingMinutes, shape.nSecond, 300);
        for (const ETimeframe eFrame : kAllFrames)
        {
            SCOPED_TRACE(std::string(shape.szWhat) + " in " + TimeframeCode(eFrame));
            const CTimeframeSeries series(vecFile.data(), vecFile.size(), eFrame);
            const std::vector<double> vecStarts = ReferenceStarts(vecFile, eFrame);
            // Forward through the file, back to the start, then jumps as a seek would make.
            std::vector<std::size_t> vecCursors;
            for (std::size_t n = 0; n <= vecFile.size(); ++n)
                vecCursors.push_back(n);
            for (std::size_t n = vecFile.size(); n-- > 0;)
                vecCursors.push_back(n);
            for (int i = 0; i < 50; ++i)
                vecCursors.push_back(random() % (vecFile.size() + 1));
            for (const std::size_t nCursor : vecCursors)
            {
                const Bars vecWant = ReferenceAggregate(vecFile, vecStarts, nCursor);
                ASSERT_EQ(series.RevealedCount(nCursor), vecWant.size()) << nCursor;
                series.RevealedWindow(nCursor, vecWant.size(), &vecWindow);
                ASSERT_TRUE(SameBars(vecWindow, vecWant)) << "cursor " << nCursor;
                series.RevealedWindow(nCursor, 26, &vecWindow);
                const std::size_t nTail = std::min<std::size_t>(26, vecWant.size());
                ASSERT_TRUE(
                    SameBars(vecWindow, Bars(vecWant.end() - std::ptrdiff_t(nTail), vecWant.end())))
                    << "window of 26 at cursor " << nCursor;
                SChartCandlestickPoint forming{-9, -9, -9, -9, -9};
                ASSERT_EQ(series.FormingBar(nCursor, &forming), nCursor > 0);
                if (nCursor == 0)
                {
                    ASSERT_EQ(forming.dClose, -9);
                }
                else
                {
                    ASSERT_TRUE(SameBars({forming}, {vecWant.back()}));
                }
            }
        }
    }
}

TEST(TimeframeSeries, NoPriceOfAnUnrevealedBarReachesTheWindow)
{
    std::mt19937 random(99);
    Bars vecFile = RandomFile(&random, Ole(2023, 12, 27), 1, 0, 2000);
    // The last bars of a month, a week, a day and an hour carry prices no earlier bar comes near.
    constexpr std::size_t kExtremeBars = 5;
    for (std::size_t i = vecFile.size() - kExtremeBars; i < vecFile.size(); ++i)
        vecFile[i] = {vecFile[i].dDate, 1e-6, 1e9, 5e8, 5e8};
    std::vector<SChartCandlestickPoint> vecWindow;
    for (const ETimeframe eFrame : kAllFrames)
    {
        const CTimeframeSeries series(vecFile.data(), vecFile.size(), eFrame);
        // The extreme bars share the newest group in every timeframe but the finest ones.
        for (std::size_t nCursor = 0; nCursor <= vecFile.size() - kExtremeBars; ++nCursor)
        {
            series.RevealedWindow(nCursor, 26, &vecWindow);
            for (const SChartCandlestickPoint& bar : vecWindow)
            {
                ASSERT_LT(bar.dHigh, 1e9) << TimeframeCode(eFrame) << " cursor " << nCursor;
                ASSERT_GT(bar.dLow, 1e-6) << TimeframeCode(eFrame) << " cursor " << nCursor;
                ASSERT_LT(bar.dClose, 5e8) << TimeframeCode(eFrame) << " cursor " << nCursor;
            }
        }
        series.RevealedWindow(vecFile.size(), 1, &vecWindow);
        ASSERT_EQ(vecWindow.size(), 1u);
        EXPECT_EQ(vecWindow[0].dHigh, 1e9) << "once revealed they count";
    }
}
