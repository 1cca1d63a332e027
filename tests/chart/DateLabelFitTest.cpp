// Date labels drawn by a chart never overlap, whatever the span and the plot width.

#include "ChartTestApp.h"
#include "ChartTextRecordingDC.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace
{

double Date(int y, int mo, int d, int h = 0, int mi = 0)
{
    return CChartDateTimeAxis::MakeDate(y, mo, d, h, mi).dDate;
}

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = 1.0 / 1440;

struct SLabelRect
{
    int nLeft;
    int nRight;
    std::string str;
};

// Draws a chart holding only a date axis over [dMin, dMax] and returns its label rectangles,
// left to right.
std::vector<SLabelRect> DrawDateLabels(int nWidth, double dMin, double dMax, bool bFixedFormat,
                                       bool bTimeOfDay)
{
    EnsureChartTestApp();
    CChartCtrl chart;
    CChartDateTimeAxis* pAxis = chart.NewDateTimeAxis();
    if (bFixedFormat)
        pAxis->SetTickLabelFormat(false, "%Y-%m-%d");
    pAxis->SetTimeOfDayLabels(bTimeOfDay);
    pAxis->SetRange(dMin, dMax, ERangeChange::Reset);

    CTextRecordingDC dc;
    EXPECT_TRUE(dc.Open(nWidth, 200, RGB(255, 255, 255)));
    chart.PaintContents(&dc, RECT{0, 0, nWidth, 200});
    std::vector<SLabelRect> rects;
    for (const CTextRecordingDC::SText& text : dc.m_texts)
    {
        const int nTextWidth =
            dc.Measure(pAxis->m_strTickFontFace.c_str(), pAxis->m_nTickFontSize, text.str).cx;
        rects.push_back({text.x, text.x + nTextWidth, text.str});
    }
    std::sort(rects.begin(), rects.end(),
              [](const SLabelRect& a, const SLabelRect& b) { return a.nLeft < b.nLeft; });
    return rects;
}

std::string Describe(const std::vector<SLabelRect>& rects)
{
    std::string str;
    for (const SLabelRect& rect : rects)
        str +=
            rect.str + " [" + std::to_string(rect.nLeft) + "," + std::to_string(rect.nRight) + ") ";
    return str;
}

} // namespace

TEST(DateLabelFit, LabelsNeverOverlapOverSpansAndPlotWidths)
{
    struct SSpan
    {
        const char* pszName;
        double dMin;
        double dMax;
        bool bTimeOfDay;
    };
    const SSpan spans[] = {
        {"26 days, seven a week", Date(2018, 1, 1), Date(2018, 1, 26), false},
        {"36 days of trading days", Date(2017, 1, 3), Date(2017, 2, 8), false},
        {"26 hours", Date(2017, 4, 25, 9), Date(2017, 4, 25, 9) + 25 * kHour, true},
        {"8 hours", Date(2017, 4, 25, 9), Date(2017, 4, 25, 17), true},
        {"26 hours over a weekend", Date(2017, 4, 28, 9), Date(2017, 5, 1, 12), true},
        {"26 minutes", Date(2017, 4, 25, 13), Date(2017, 4, 25, 13) + 25 * kMinute, true},
        {"5000 minutes", Date(2017, 4, 25), Date(2017, 4, 25) + 5000 * kMinute, true},
        {"20 years", Date(1995, 1, 3), Date(2014, 12, 31), false},
        {"300 years", Date(1800, 1, 1), Date(2100, 1, 1), false},
    };
    const int widths[] = {160, 300, 640, 1000, 1900};
    for (const SSpan& span : spans)
    {
        for (int nWidth : widths)
        {
            for (bool bFixed : {true, false})
            {
                SCOPED_TRACE(std::string(span.pszName) + ", width " + std::to_string(nWidth) +
                             (bFixed ? ", fixed format" : ", automatic format"));
                const std::vector<SLabelRect> rects =
                    DrawDateLabels(nWidth, span.dMin, span.dMax, bFixed, span.bTimeOfDay);
                ASSERT_FALSE(rects.empty());
                for (size_t i = 1; i < rects.size(); ++i)
                    EXPECT_LE(rects[i - 1].nRight, rects[i].nLeft) << Describe(rects);
                if (nWidth >= 640)
                {
                    EXPECT_GE(rects.size(), 3u)
                        << "a wide plot keeps several labels: " << Describe(rects);
                }
            }
        }
    }
}

TEST(DateLabelFit, IntradayLabelsCarryTheTimeWhileTicksAreUnderADay)
{
    struct SCase
    {
        double dMin;
        double dMax;
        const char* pszPattern;
    };
    const SCase cases[] = {
        {Date(2017, 4, 25, 9), Date(2017, 4, 25, 17), "[0-9]{2}:[0-9]{2}"},
        {Date(2017, 4, 25, 9), Date(2017, 4, 25, 9) + 25 * kHour, "04-2[56] [0-9]{2}:[0-9]{2}"},
        {Date(2017, 4, 1), Date(2017, 6, 1), "2017-0[4-6]-[0-9]{2}"},
    };
    for (const SCase& c : cases)
    {
        const std::vector<SLabelRect> rects = DrawDateLabels(640, c.dMin, c.dMax, true, true);
        ASSERT_GE(rects.size(), 2u);
        for (const SLabelRect& rect : rects)
            EXPECT_TRUE(std::regex_match(rect.str, std::regex(c.pszPattern))) << Describe(rects);
    }
}

TEST(DateLabelFit, WindowsThatFitKeepTheirIncrement)
{
    // 26 trading days on the replay's plot: the labels fit, so nothing changes.
    CChartDateTimeAxis axis;
    axis.SetTickLabelFormat(false, "%Y-%m-%d");
    axis.m_bHorizontal = true;
    axis.m_nStartPixel = 60;
    axis.m_nEndPixel = 620;
    axis.SetRange(Date(2017, 1, 3), Date(2017, 2, 8), ERangeChange::Reset);
    axis.RefreshTickIncrement();
    axis.RefreshFirstTick();
    const DateTimeTickUnit eUnit = axis.m_eTickUnit;
    const int nMultiple = axis.m_nTickMultiple;

    EnsureChartTestApp();
    CTextRecordingDC dc;
    ASSERT_TRUE(dc.Open(640, 200, RGB(255, 255, 255)));
    axis.FitTickLabels(&dc);
    EXPECT_EQ(axis.m_eTickUnit, eUnit);
    EXPECT_EQ(axis.m_nTickMultiple, nMultiple);

    // Seven days a week at 2-day ticks do not fit and step up to a week.
    axis.SetRange(Date(2018, 1, 1), Date(2018, 1, 26), ERangeChange::Reset);
    axis.RefreshTickIncrement();
    axis.RefreshFirstTick();
    EXPECT_EQ(axis.m_eTickUnit, UnitDay);
    EXPECT_EQ(axis.m_nTickMultiple, 2);
    axis.FitTickLabels(&dc);
    EXPECT_EQ(axis.m_eTickUnit, UnitDay);
    EXPECT_EQ(axis.m_nTickMultiple, 7);
}
