#include "chart/ChartStandardAxis.h"
#include "ChartTestApp.h"
#include "chart/ChartGrid.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <iomanip>
#include <locale>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

// An axis laid out over nLength pixels: horizontal from 0, or vertical with its minimum at the
// bottom.
void Layout(CChartStandardAxis& axis, bool bHorizontal, int nLength, double dMin, double dMax)
{
    axis.m_bHorizontal = bHorizontal;
    axis.m_nStartPixel = bHorizontal ? 0 : nLength;
    axis.m_nEndPixel = bHorizontal ? nLength : 0;
    axis.SetRange(dMin, dMax, ERangeChange::Reset);
    axis.RefreshTickIncrement();
    axis.RefreshFirstTick();
}

std::vector<std::string> Labels(const CChartStandardAxis& axis)
{
    std::vector<std::string> labels;
    double dTick = axis.GetFirstTick();
    labels.push_back(axis.FormatTickLabel(dTick));
    double dNext = 0;
    while (axis.GetNextTick(dTick, &dNext) && labels.size() < 1000)
    {
        dTick = dNext;
        labels.push_back(axis.FormatTickLabel(dTick));
    }
    return labels;
}

} // namespace

TEST(ChartStandardAxis, IncrementIsTheSmallestRoundStepThatFits)
{
    struct Row
    {
        bool bHorizontal;
        int nLength;
        double dMin, dMax;
        double dStep;
        int nDecimals;
    };
    // Per-tick spans: 0.03, 0.07, 130, 1, 7, 0.04, 50 and 1.
    const Row rows[] = {
        {false, 400, 0, 0.6, 0.05, 2},     {false, 400, 0, 1.4, 0.1, 1},
        {false, 400, 0, 2600, 200, 0},     {false, 400, 0, 20, 1, 0},
        {true, 300, 0, 70, 10, 0},         {false, 400, 10.2, 11.0, 0.05, 2},
        {false, 400, 0, 1000, 50, 0},      {true, 300, 3.7, 13.7, 1, 0},
        {false, 40, 0, 0.0007, 0.0005, 4}, {true, 60, 0, 1.9, 1, 0},
    };
    for (const Row& row : rows)
    {
        CChartStandardAxis axis;
        Layout(axis, row.bHorizontal, row.nLength, row.dMin, row.dMax);
        EXPECT_DOUBLE_EQ(axis.m_dTickStep, row.dStep) << row.dMin << ".." << row.dMax;
        EXPECT_EQ(axis.m_nDecimals, row.nDecimals) << row.dMin << ".." << row.dMax;
    }
}

TEST(ChartStandardAxis, FirstTickIsTheFirstMultipleAtOrAboveTheMinimum)
{
    struct Row
    {
        bool bHorizontal;
        int nLength;
        double dMin, dMax;
        double dFirst;
    };
    const Row rows[] = {
        {false, 400, 0, 1000, 0}, {true, 300, 3.7, 13.7, 4},   {false, 400, -7.5, 12.5, -7},
        {false, 400, -8, 12, -8}, {false, 400, -0.3, 19.7, 0}, {false, 400, 10, 30, 10},
    };
    for (const Row& row : rows)
    {
        CChartStandardAxis axis;
        Layout(axis, row.bHorizontal, row.nLength, row.dMin, row.dMax);
        EXPECT_DOUBLE_EQ(axis.m_dFirstTick, row.dFirst) << row.dMin << ".." << row.dMax;
        EXPECT_GE(axis.GetFirstTick(), row.dMin);
    }
}

TEST(ChartStandardAxis, PriceLabelsStopBeforeARoundedMaximum)
{
    CChartStandardAxis axis;
    Layout(axis, false, 400, 10.20, 11.00);
    // 10.2 / 0.05 truncates to 203, so the first tick is reached by one added step.
    EXPECT_EQ(axis.m_dFirstTick, 203 * 0.05 + 0.05);
    const std::vector<std::string> labels = Labels(axis);
    ASSERT_EQ(labels.size(), 16u);
    EXPECT_EQ(labels.front(), "10.20");
    EXPECT_EQ(labels[1], "10.25");
    EXPECT_EQ(labels.back(), "10.95");
}

TEST(ChartStandardAxis, EmptyRangeHasNoTicksAndKeepsItsDecimals)
{
    CChartStandardAxis axis;
    Layout(axis, false, 400, 0, 0.6);
    ASSERT_EQ(axis.m_nDecimals, 2);
    Layout(axis, false, 400, 5, 5);
    EXPECT_EQ(axis.m_dTickStep, 0);
    EXPECT_EQ(axis.m_dFirstTick, 5);
    double dNext = -1;
    EXPECT_FALSE(axis.GetNextTick(5, &dNext));
    EXPECT_EQ(dNext, -1);
    EXPECT_EQ(axis.FormatTickLabel(5), "5.00");
}

TEST(ChartStandardAxis, ShortAxisKeepsItsIncrement)
{
    CChartStandardAxis axis;
    Layout(axis, false, 400, 0, 20);
    ASSERT_EQ(axis.m_dTickStep, 1);
    Layout(axis, false, 19, 0, 2000);
    EXPECT_EQ(axis.m_dTickStep, 1);
}

TEST(ChartStandardAxis, ManualTicksStepByOneWithoutDecimals)
{
    CChartStandardAxis axis;
    axis.m_bAutoTicks = false;
    Layout(axis, true, 600, 2.5, 6.2);
    EXPECT_EQ(axis.m_dTickStep, 1);
    EXPECT_EQ(axis.m_dFirstTick, 3);
    EXPECT_EQ(Labels(axis), (std::vector<std::string>{"3", "4", "5", "6"}));
}

TEST(ChartStandardAxis, BetweenTicksLabelsSitInTheIntervalMiddles)
{
    CChartStandardAxis axis;
    Layout(axis, true, 300, 0, 10); // step 1, 30 pixels per step
    ASSERT_EQ(axis.m_dTickStep, 1);
    axis.m_bBetweenTicks = true;
    EXPECT_EQ(axis.GetFirstTick(), -1);
    EXPECT_EQ(axis.IntervalMidPixel(3), 105);
    EXPECT_EQ(axis.IntervalMidPixel(3.99), 105);
    EXPECT_EQ(axis.IntervalMidPixel(4 - 1e-12), 135); // a rounding error below a tick is on it
    EXPECT_EQ(axis.LabelPixel(3), 105);
    // Negative values truncate toward zero: -0.5 falls in the interval from 0 to 1.
    EXPECT_EQ(axis.IntervalMidPixel(-0.5), 15);
}

TEST(ChartStandardAxis, LabelsIgnoreTheProcessLocale)
{
    CChartStandardAxis axis;
    axis.m_nDecimals = 2;
    // Whichever of these is installed writes a decimal comma and groups thousands.
    const std::locale oldGlobal = std::locale();
    for (const char* pName : {"de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
    {
        try
        {
            std::locale::global(std::locale(pName));
            std::setlocale(LC_ALL, pName);
            break;
        }
        catch (const std::runtime_error&)
        {
        }
    }
    EXPECT_EQ(axis.FormatTickLabel(1234.5), "1234.50");
    EXPECT_EQ(axis.FormatTickLabel(0.05), "0.05");
    EXPECT_EQ(axis.FormatTickLabel(-2.125), "-2.12");
    std::locale::global(oldGlobal);
    std::setlocale(LC_ALL, "C");
}

TEST(ChartStandardAxis, LabelsMatchTheClassicFixedPointStream)
{
    CChartStandardAxis axis;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-8, 12);
    std::uniform_int_distribution<int> decimals(0, 9);
    std::vector<double> values = {0.0, -0.0, 0.125, 2.5, 1e300, -1e-300, 1234.5};
    for (int i = 0; i < 2000; ++i)
        values.push_back(mantissa(rng) * std::pow(10.0, exponent(rng)));
    for (const double dValue : values)
    {
        axis.m_nDecimals = decimals(rng);
        std::ostringstream expected;
        expected.imbue(std::locale::classic());
        expected << std::fixed << std::setprecision(axis.m_nDecimals) << dValue;
        // A value that rounds to zero is "0", never "-0": a tick a rounding error below 0.
        std::string strExpected = expected.str();
        if (strExpected.find_first_of("123456789") == std::string::npos && strExpected[0] == '-')
            strExpected.erase(0, 1);
        ASSERT_EQ(axis.FormatTickLabel(dValue), strExpected) << axis.m_nDecimals;
    }
}

TEST(ChartStandardAxis, TickWalksEndWhereTheStepIsLostInTheValues)
{
    EnsureChartTestApp();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, 100, 600);
    CBitmap* pOld = dc.SelectObject(&bitmap);

    // Near 1e17 neighbouring doubles are 16 apart: adding a step of 5 changes nothing.
    CChartStandardAxis axis;
    Layout(axis, false, 400, 1e17, 1e17 + 100);
    axis.m_rcBand = {0, 0, 60, 400};
    const SIZE sz = axis.GetMaxTickLabelSize(&dc);
    EXPECT_GT(sz.cx, 0);
    axis.Draw(&dc);
    EXPECT_LE(axis.m_pGrid->m_TickPixels.size(), 2u);
    dc.SelectObject(pOld);
}

TEST(ChartStandardAxis, IncrementStopsAtTheFinestDecimalOfTheValues)
{
    struct Row
    {
        int nMaxDecimals;
        double dMin, dMax;
        double dStep;
        int nDecimals;
    };
    // 400 vertical pixels: 20 ticks fit.
    const Row rows[] = {
        {5, 1.07100, 1.07150, 0.00005, 5}, // the range needs every decimal of the prices
        {5, 1.07100, 1.07110, 0.00001, 5}, // finer steps would label prices no bar has
        {5, 1.0700, 1.0900, 0.002, 3},     // a wide range needs fewer
        {2, 10.00, 10.05, 0.01, 2},        {2, 10.20, 11.00, 0.05, 2}, {-1, 10.00, 10.05, 0.005, 3},
        // Prices around 1e-8 with ten decimals: steps of a billionth, not one label of 0.00.
        {10, 0.000000009, 0.000000025, 0.000000001, 9},
    };
    for (const Row& row : rows)
    {
        CChartStandardAxis axis;
        axis.m_nMaxDecimals = row.nMaxDecimals;
        Layout(axis, false, 400, row.dMin, row.dMax);
        EXPECT_DOUBLE_EQ(axis.m_dTickStep, row.dStep) << row.dMin << ".." << row.dMax;
        EXPECT_EQ(axis.m_nDecimals, row.nDecimals) << row.dMin << ".." << row.dMax;
    }
    CChartStandardAxis axis;
    axis.m_nMaxDecimals = 5;
    Layout(axis, false, 400, 1.07100, 1.07150);
    const std::vector<std::string> labels = Labels(axis);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "1.07100");

    axis.m_nMaxDecimals = 10;
    Layout(axis, false, 400, 0.000000009, 0.000000025);
    const std::vector<std::string> tiny = Labels(axis);
    ASSERT_GE(tiny.size(), 2u);
    EXPECT_EQ(tiny.front(), "0.000000009");
    EXPECT_EQ(tiny[1], "0.000000010");
}

TEST(ChartStandardAxis, FineStepsLabelEveryDecimalOfTheValuesCoarseOnesStayShort)
{
    CChartStandardAxis axis;
    axis.m_nMaxDecimals = 5;
    axis.m_nMinDecimals = 5;
    Layout(axis, false, 400, 1.0700, 1.0900);
    EXPECT_DOUBLE_EQ(axis.m_dTickStep, 0.002); // the step is the range's, only the text changes
    std::vector<std::string> labels = Labels(axis);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels.front(), "1.07000");
    EXPECT_EQ(labels[1], "1.07200");

    // Ten times wider: a step of 0.05 is far from the fifth decimal.
    Layout(axis, false, 400, 1.00, 1.50);
    EXPECT_DOUBLE_EQ(axis.m_dTickStep, 0.05);
    labels = Labels(axis);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[1], "1.05");

    // Six decimals of a share price in dollars stay off a step of 0.2.
    axis.m_nMaxDecimals = 6;
    axis.m_nMinDecimals = 6;
    Layout(axis, false, 400, 15.0, 18.0);
    EXPECT_EQ(Labels(axis).front(), "15.0");
}
