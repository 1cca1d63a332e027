#include "AxisTestSerie.h"
#include "ChartTestApp.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartGrid.h"
#include "chart/ChartStandardAxis.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <list>

namespace
{

// A standard axis placed by hand: horizontal from start to end pixel, or vertical with the
// start (minimum) at the bottom.
CChartStandardAxis& Place(CChartStandardAxis& axis, bool bHorizontal, int nStart, int nEnd,
                          double dMin, double dMax)
{
    axis.m_bHorizontal = bHorizontal;
    axis.m_nStartPixel = nStart;
    axis.m_nEndPixel = nEnd;
    axis.SetRange(dMin, dMax, ERangeChange::Reset);
    return axis;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST(ChartAxis, MapsValuesToPixelsOnAHorizontalAxis)
{
    CChartStandardAxis axis;
    Place(axis, true, 100, 300, 0, 10);
    EXPECT_EQ(axis.ValueToPixel(5), 200);
    EXPECT_EQ(axis.ValueToPixel(0.04), 100); // floor, not rounding
    EXPECT_EQ(axis.ValueToPixel(0), 100);
    EXPECT_EQ(axis.ValueToPixel(10), 300);
    EXPECT_DOUBLE_EQ(axis.PixelToValue(150), 2.5);
    EXPECT_DOUBLE_EQ(axis.PixelToValue(100), 0);
    EXPECT_DOUBLE_EQ(axis.PixelToValue(300), 10);
}

TEST(ChartAxis, MapsValuesUpwardOnAVerticalAxis)
{
    CChartStandardAxis axis;
    Place(axis, false, 300, 100, 0, 10);
    EXPECT_EQ(axis.ValueToPixel(10), 100);
    EXPECT_EQ(axis.ValueToPixel(2.5), 250);
    EXPECT_EQ(axis.ValueToPixel(0), 300);
    EXPECT_DOUBLE_EQ(axis.PixelToValue(250), 2.5);
    EXPECT_DOUBLE_EQ(axis.PixelToValue(100), 10);
}

TEST(ChartAxis, ReversedAxesSwapTheEnds)
{
    CChartStandardAxis horizontal;
    Place(horizontal, true, 100, 300, 0, 10).m_bReversed = true;
    EXPECT_EQ(horizontal.ValueToPixel(0), 300);
    EXPECT_EQ(horizontal.ValueToPixel(10), 100);
    EXPECT_EQ(horizontal.ValueToPixel(2.5), 250);
    EXPECT_DOUBLE_EQ(horizontal.PixelToValue(250), 2.5);

    CChartStandardAxis vertical;
    Place(vertical, false, 300, 100, 0, 10).m_bReversed = true;
    EXPECT_EQ(vertical.ValueToPixel(0), 100);
    EXPECT_EQ(vertical.ValueToPixel(10), 300);
    EXPECT_DOUBLE_EQ(vertical.PixelToValue(150), 2.5);
}

TEST(ChartAxis, ValueToPixelToValueStaysWithinOnePixel)
{
    for (const bool bHorizontal : {true, false})
    {
        for (const bool bReversed : {false, true})
        {
            CChartStandardAxis axis;
            if (bHorizontal)
                Place(axis, true, 37, 611, -3.25, 1234.5);
            else
                Place(axis, false, 611, 37, -3.25, 1234.5);
            axis.m_bReversed = bReversed;
            const double dPixelSpan = (axis.m_dMax - axis.m_dMin) / 574.0;
            for (double v = axis.m_dMin; v <= axis.m_dMax; v += 3.7)
            {
                const double dBack = axis.PixelToValue(axis.ValueToPixel(v));
                EXPECT_NEAR(dBack, v, dPixelSpan + 1e-9)
                    << "horizontal " << bHorizontal << " reversed " << bReversed;
            }
        }
    }
}

TEST(ChartAxis, ExtremeValuesGiveClampedPixels)
{
    CChartStandardAxis axis;
    Place(axis, true, 100, 300, 0, 10);
    EXPECT_GT(axis.ValueToPixel(1e300), 300);
    EXPECT_LT(axis.ValueToPixel(1e300), 100 + (1 << 21));
    EXPECT_LT(axis.ValueToPixel(-1e300), 100);
    EXPECT_GT(axis.ValueToPixel(-1e300), 100 - (1 << 21));
    EXPECT_EQ(axis.ValueToPixel(kInf), axis.ValueToPixel(1e300));
    EXPECT_EQ(axis.ValueToPixel(-kInf), axis.ValueToPixel(-1e300));
    EXPECT_EQ(axis.ValueToPixel(kNaN), 100);

    // An empty range or an axis of no length has no quotient to take.
    Place(axis, true, 100, 300, 5, 5);
    EXPECT_GE(axis.ValueToPixel(6), 100);
    Place(axis, true, 100, 100, 0, 10);
    EXPECT_EQ(axis.ValueToPixel(5), 100);
    EXPECT_DOUBLE_EQ(axis.PixelToValue(120), 0);
    Place(axis, true, 100, 300, 5, 5);
    EXPECT_DOUBLE_EQ(axis.PixelToValue(250), 5);
}

TEST(ChartAxis, LabelsOfAnEmptyRangeGoToTheAxisMiddle)
{
    CChartStandardAxis horizontal;
    Place(horizontal, true, 100, 301, 5, 5);
    EXPECT_EQ(horizontal.LabelPixel(5), 200);
    EXPECT_TRUE(horizontal.IsLabelInside(123));

    CChartStandardAxis vertical;
    Place(vertical, false, 300, 100, 5, 5);
    EXPECT_EQ(vertical.LabelPixel(5), 200);

    Place(horizontal, true, 100, 300, 0, 10);
    EXPECT_EQ(horizontal.LabelPixel(5), 200);
    EXPECT_FALSE(horizontal.IsLabelInside(10.1));
    EXPECT_TRUE(horizontal.IsLabelInside(10));
}

TEST(ChartAxis, ZoomKeepsTheSmallestSpanAndRefusesAnEmptyAxis)
{
    CChartStandardAxis axis;
    Place(axis, true, 100, 300, 0, 10);
    axis.SetZoomRange(5, 5.0001);
    EXPECT_DOUBLE_EQ(axis.m_dMin, 5);
    EXPECT_DOUBLE_EQ(axis.m_dMax, 5.001);

    axis.SetZoomRange(8, 2); // reversed request: the smallest span from the new minimum
    EXPECT_DOUBLE_EQ(axis.m_dMin, 8);
    EXPECT_DOUBLE_EQ(axis.m_dMax, 8.001);

    axis.SetZoomRange(2, 4);
    EXPECT_DOUBLE_EQ(axis.m_dMin, 2);
    EXPECT_DOUBLE_EQ(axis.m_dMax, 4);
    EXPECT_DOUBLE_EQ(axis.m_dSavedMin, 0); // zooming never touches the saved range

    for (const double dBad : {kInf, -kInf, kNaN})
    {
        axis.SetZoomRange(dBad, 4);
        axis.SetZoomRange(1, dBad);
        EXPECT_DOUBLE_EQ(axis.m_dMin, 2);
        EXPECT_DOUBLE_EQ(axis.m_dMax, 4);
    }

    axis.m_bZoomable = false;
    axis.SetZoomRange(0, 1);
    EXPECT_DOUBLE_EQ(axis.m_dMin, 2);

    CChartStandardAxis empty;
    Place(empty, true, 100, 300, 0, 0);
    empty.SetZoomRange(1, 2);
    EXPECT_DOUBLE_EQ(empty.m_dMin, 0);
    EXPECT_DOUBLE_EQ(empty.m_dMax, 0);
}

TEST(ChartAxis, PanningMovesTheRangeAgainstTheDrag)
{
    CChartStandardAxis horizontal;
    Place(horizontal, true, 100, 300, 0, 10);
    horizontal.PanPixels(200, 150);
    EXPECT_DOUBLE_EQ(horizontal.m_dMin, 2.5);
    EXPECT_DOUBLE_EQ(horizontal.m_dMax, 12.5);

    // Dragging upward on a vertical axis brings lower values into view.
    CChartStandardAxis vertical;
    Place(vertical, false, 300, 100, 0, 10);
    vertical.PanPixels(200, 150);
    EXPECT_DOUBLE_EQ(vertical.m_dMin, -2.5);
    EXPECT_DOUBLE_EQ(vertical.m_dMax, 7.5);
}

TEST(ChartAxis, ScrollingMovesByTenthsOfTheVisibleSpan)
{
    CChartStandardAxis axis;
    Place(axis, true, 100, 300, 0, 10);
    axis.ScrollBySteps(3, 5, false);
    EXPECT_DOUBLE_EQ(axis.m_dMin, 2);
    EXPECT_DOUBLE_EQ(axis.m_dMax, 12);

    Place(axis, true, 100, 300, 0, 10);
    axis.ScrollBySteps(3, 5, true);
    EXPECT_DOUBLE_EQ(axis.m_dMin, -2);
    EXPECT_DOUBLE_EQ(axis.m_dMax, 8);

    // A shift beyond the doubles leaves the range as it was.
    Place(axis, true, 100, 300, -1e307, 1e307);
    axis.ScrollBySteps(0, 1000000, false);
    EXPECT_DOUBLE_EQ(axis.m_dMin, -1e307);
    EXPECT_DOUBLE_EQ(axis.m_dMax, 1e307);
}

TEST(ChartAxis, ScrollingAndPanningObeyTheZoomRules)
{
    // Both are zooms to a shifted range: an axis that is not zoomable stays where it is.
    CChartStandardAxis fixed;
    Place(fixed, true, 100, 300, 0, 10);
    fixed.m_bZoomable = false;
    fixed.ScrollBySteps(3, 5, false);
    fixed.PanPixels(200, 150);
    EXPECT_DOUBLE_EQ(fixed.m_dMin, 0);
    EXPECT_DOUBLE_EQ(fixed.m_dMax, 10);

    // A fitted span narrower than the smallest zoom span widens once it is scrolled.
    CChartStandardAxis narrow;
    Place(narrow, true, 100, 300, 5, 5.0001);
    narrow.ScrollBySteps(0, 10, false);
    EXPECT_DOUBLE_EQ(narrow.m_dMin, 5.0001);
    EXPECT_DOUBLE_EQ(narrow.m_dMax, 5.0011);
}

TEST(ChartAxis, OnlyFittingRemembersARangeAndNoChangeTakesABrokenOne)
{
    struct SCase
    {
        ERangeChange eChange;
        double dMin, dMax;
        bool bTaken;
        double dTakenMax;
    };
    const SCase cases[] = {
        {ERangeChange::Fit, 3, 3, true, 3}, // one value: the range of a single bar
        {ERangeChange::Fit, -2, 7, true, 7},         {ERangeChange::Fit, 4, 3, false, 0},
        {ERangeChange::Fit, kNaN, 3, false, 0},      {ERangeChange::Fit, 1, kInf, false, 0},
        {ERangeChange::Reset, 2, 6, true, 6},        {ERangeChange::Reset, 2, 2, true, 2},
        {ERangeChange::Reset, 6, 2, false, 0},       {ERangeChange::Reset, -kInf, 2, false, 0},
        {ERangeChange::Navigate, 2, 6, true, 6},     {ERangeChange::Navigate, 6, 2, true, 6.001},
        {ERangeChange::Navigate, 2, 2, true, 2.001}, {ERangeChange::Navigate, 2, kNaN, false, 0},
    };
    for (const SCase& c : cases)
    {
        const int nRow = int(&c - cases);
        CChartStandardAxis axis;
        Place(axis, true, 100, 300, 0, 0);
        ASSERT_TRUE(axis.SetRange(0, 10, ERangeChange::Fit));
        EXPECT_EQ(axis.SetRange(c.dMin, c.dMax, c.eChange), c.bTaken) << "row " << nRow;
        EXPECT_DOUBLE_EQ(axis.m_dMin, c.bTaken ? c.dMin : 0) << "row " << nRow;
        EXPECT_DOUBLE_EQ(axis.m_dMax, c.bTaken ? c.dTakenMax : 10) << "row " << nRow;
        const bool bRemembered = c.bTaken && c.eChange == ERangeChange::Fit;
        EXPECT_DOUBLE_EQ(axis.m_dSavedMin, bRemembered ? c.dMin : 0) << "row " << nRow;
        EXPECT_DOUBLE_EQ(axis.m_dSavedMax, bRemembered ? c.dTakenMax : 10) << "row " << nRow;
    }
}

TEST(ChartAxis, SeriesRangeCombinesEverySeriesAndSeedsFromTheFirst)
{
    CChartStandardAxis axis;
    double dMin = -1;
    double dMax = -1;
    axis.GetSeriesRange(&dMin, &dMax);
    EXPECT_EQ(dMin, 0);
    EXPECT_EQ(dMax, 0);

    CAxisTestSerie first(nullptr);
    CAxisTestSerie second(nullptr);
    first.WithRange(10, 20, 5, 6);
    second.WithRange(15, 30, 1, 2);
    axis.RegisterSerie(&first);
    axis.RegisterSerie(&second);
    axis.RegisterSerie(&first);
    EXPECT_EQ(axis.RegisteredSerieCount(), 2u);

    axis.GetSeriesRange(&dMin, &dMax);
    EXPECT_EQ(dMin, 10);
    EXPECT_EQ(dMax, 30);
    axis.m_bHorizontal = false;
    axis.GetSeriesRange(&dMin, &dMax);
    EXPECT_EQ(dMin, 1);
    EXPECT_EQ(dMax, 6);

    // A first series without points lets 0 into the range.
    CAxisTestSerie emptyFirst(nullptr);
    CChartStandardAxis other;
    other.RegisterSerie(&emptyFirst);
    other.RegisterSerie(&second);
    other.GetSeriesRange(&dMin, &dMax);
    EXPECT_EQ(dMin, 0);
    EXPECT_EQ(dMax, 30);

    axis.UnregisterSerie(&first);
    axis.UnregisterSerie(&first);
    EXPECT_EQ(axis.RegisteredSerieCount(), 1u);
}

TEST(ChartAxis, ReRangingFollowsTheRangeMode)
{
    CAxisTestSerie serie(nullptr);
    serie.WithRange(10, 20, 100, 200).WithVisibleRange(12, 14, 120, 140);
    CChartStandardAxis axis;
    axis.m_bHorizontal = true;
    axis.RegisterSerie(&serie);
    axis.SetRange(1, 2, ERangeChange::Reset);

    axis.RefreshAutoRange(); // manual: nothing moves
    EXPECT_EQ(axis.m_dMin, 1);
    EXPECT_EQ(axis.m_dMax, 2);

    axis.SetRangeMode(AllPoints);
    EXPECT_EQ(axis.m_dMin, 10);
    EXPECT_EQ(axis.m_dMax, 20);
    EXPECT_EQ(axis.m_dSavedMin, 10);
    EXPECT_EQ(axis.m_dSavedMax, 20);

    axis.SetRangeMode(VisiblePoints);
    EXPECT_EQ(axis.m_dMin, 12);
    EXPECT_EQ(axis.m_dMax, 14);

    // The next re-ranging undoes a zoom.
    axis.SetZoomRange(12.5, 13);
    axis.RefreshAutoRange();
    EXPECT_EQ(axis.m_dMin, 12);
    EXPECT_EQ(axis.m_dMax, 14);

    CAxisTestSerie empty(nullptr);
    CChartStandardAxis emptyAxis;
    emptyAxis.RegisterSerie(&empty);
    emptyAxis.SetRange(3, 4, ERangeChange::Reset);
    emptyAxis.m_eRangeMode = AllPoints;
    emptyAxis.RefreshAutoRange();
    EXPECT_EQ(emptyAxis.m_dMin, 0);
    EXPECT_EQ(emptyAxis.m_dMax, 0);
}

TEST(ChartAxis, ReRangingIgnoresDataThatCannotBeMapped)
{
    CAxisTestSerie serie(nullptr);
    serie.WithRange(-kInf, 20, kNaN, 5);
    CChartStandardAxis axis;
    axis.RegisterSerie(&serie);
    axis.SetRange(1, 2, ERangeChange::Reset);
    axis.m_eRangeMode = AllPoints;
    axis.RefreshAutoRange();
    EXPECT_EQ(axis.m_dMin, 1);
    EXPECT_EQ(axis.m_dMax, 2);
}

TEST(ChartAxis, ScrollStepsMeasureTheVisibleSpanInTheData)
{
    CAxisTestSerie serie(nullptr);
    serie.WithRange(0, 100, 0, 100);
    CChartStandardAxis axis;
    axis.RegisterSerie(&serie);
    axis.SetRange(50, 75, ERangeChange::Reset);
    int nCount = 0;
    int nPos = 0;
    axis.GetScrollSteps(&nCount, &nPos);
    EXPECT_EQ(nCount, 40);
    EXPECT_EQ(nPos, 20);

    axis.SetRange(axis.m_dMin, 50, ERangeChange::Reset); // nothing visible
    axis.GetScrollSteps(&nCount, &nPos);
    EXPECT_EQ(nCount, 1);
    EXPECT_EQ(nPos, 1);

    // A tiny window on a huge range is clamped to what a scroll bar can hold.
    CAxisTestSerie wide(nullptr);
    wide.WithRange(-1e300, 1e300, 0, 1);
    CChartStandardAxis zoomed;
    zoomed.RegisterSerie(&wide);
    zoomed.SetRange(1e299, 1e299 + 1e-3 * 1e299, ERangeChange::Reset);
    zoomed.GetScrollSteps(&nCount, &nPos);
    EXPECT_GT(nCount, 10);
    EXPECT_LE(nCount, std::numeric_limits<int>::max() / 2);
    EXPECT_GE(nPos, 0);
    EXPECT_LE(nPos, nCount);
}

TEST(ChartAxis, PlacementPutsTheBandOnTheAxisSide)
{
    const RECT rcArea = {10, 20, 610, 420};
    const RECT rcPlot = {60, 30, 600, 380};
    struct Case
    {
        bool bHorizontal;
        bool bOpposite;
        int nStart, nEnd;
        RECT rcBand;
    };
    const Case cases[] = {
        {true, false, 60, 600, {10, 380, 610, 420}},
        {true, true, 60, 600, {10, 20, 610, 30}},
        {false, false, 380, 30, {10, 20, 60, 420}},
        {false, true, 380, 30, {600, 20, 610, 420}},
    };
    for (const Case& c : cases)
    {
        CChartStandardAxis axis;
        axis.m_bHorizontal = c.bHorizontal;
        axis.m_bOppositeSide = c.bOpposite;
        axis.SetPlacement(rcArea, rcPlot);
        EXPECT_EQ(axis.m_nStartPixel, c.nStart);
        EXPECT_EQ(axis.m_nEndPixel, c.nEnd);
        EXPECT_EQ(axis.m_rcBand.left, c.rcBand.left);
        EXPECT_EQ(axis.m_rcBand.top, c.rcBand.top);
        EXPECT_EQ(axis.m_rcBand.right, c.rcBand.right);
        EXPECT_EQ(axis.m_rcBand.bottom, c.rcBand.bottom);
    }
}

TEST(ChartAxis, MarginsOnlyEverShrinkThePlot)
{
    const RECT rcArea = {0, 0, 600, 400};

    // Without a device context there are no labels to measure: the band is the bare padding.
    CChartStandardAxis bottom;
    bottom.m_bHorizontal = true;
    RECT rcPlot = rcArea;
    EXPECT_EQ(bottom.ReserveMargin(&rcPlot, nullptr, rcArea), 6);
    EXPECT_EQ(rcPlot.bottom, 394);
    EXPECT_EQ(rcPlot.right, 597);
    EXPECT_EQ(rcPlot.top, 0);

    CChartStandardAxis left;
    left.m_bHorizontal = false;
    EXPECT_EQ(left.ReserveMargin(&rcPlot, nullptr, rcArea), 10);
    EXPECT_EQ(rcPlot.left, 10);
    EXPECT_EQ(rcPlot.top, 3);
    EXPECT_EQ(rcPlot.bottom, 394);

    // A fixed band on the opposite sides.
    CChartStandardAxis right;
    right.m_bHorizontal = false;
    right.m_bOppositeSide = true;
    right.m_bAutoBand = false;
    right.m_nBandThickness = 40;
    EXPECT_EQ(right.ReserveMargin(&rcPlot, nullptr, rcArea), 40);
    EXPECT_EQ(rcPlot.right, 560);

    CChartStandardAxis top;
    top.m_bOppositeSide = true;
    top.m_bAutoBand = false;
    top.m_nBandThickness = 2; // less than already taken: the plot keeps its top
    EXPECT_EQ(top.ReserveMargin(&rcPlot, nullptr, rcArea), 2);
    EXPECT_EQ(rcPlot.top, 3);

    CChartStandardAxis hidden;
    hidden.m_bVisible = false;
    const RECT rcBefore = rcPlot;
    EXPECT_EQ(hidden.ReserveMargin(&rcPlot, nullptr, rcArea), 0);
    EXPECT_EQ(rcPlot.left, rcBefore.left);
    EXPECT_EQ(rcPlot.top, rcBefore.top);
    EXPECT_EQ(rcPlot.right, rcBefore.right);
    EXPECT_EQ(rcPlot.bottom, rcBefore.bottom);
}

namespace
{

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// An axis drawn into a white 400 x 260 picture under a plot from (40, 10) to (340, 200).
class AxisDrawFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureChartTestApp();
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateCompatibleBitmap(&m_dc, 400, 260);
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        const RECT rc = {0, 0, 400, 260};
        m_dc.FillSolidRect(&rc, kWhite);
        m_chart.m_rcPlot = {40, 10, 340, 200};
        m_axis.m_pOwner = &m_chart;
        m_axis.m_pGrid->m_pOwner = &m_chart;
    }
    void TearDown() override { m_dc.SelectObject(m_pOldBitmap); }

    void DrawAxis(bool bHorizontal, double dMin, double dMax)
    {
        m_axis.m_bHorizontal = bHorizontal;
        m_axis.m_pGrid->m_bHorizontal = bHorizontal;
        m_axis.SetRange(dMin, dMax, ERangeChange::Reset);
        m_axis.SetPlacement(RECT{0, 0, 400, 260}, m_chart.m_rcPlot);
        m_axis.RefreshTickIncrement();
        m_axis.RefreshFirstTick();
        m_axis.Draw(&m_dc);
    }

    CChartCtrl m_chart;
    CChartStandardAxis m_axis;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

} // namespace

TEST_F(AxisDrawFixture, HorizontalAxisDrawsLineTickMarksAndGrid)
{
    DrawAxis(true, 0, 10); // 300 pixels: a tick every 1.0, 30 pixels apart
    ASSERT_EQ(m_axis.m_dTickStep, 1);
    const std::list<std::int32_t> expected = {40, 70, 100, 130, 160, 190, 220, 250, 280, 310, 340};
    EXPECT_EQ(m_axis.m_pGrid->m_TickPixels, expected);

    // The line runs one pixel under the plot bottom, its last pixel left out.
    for (int x = 40; x < 340; ++x)
        ASSERT_EQ(m_dc.GetPixel(x, 201), kBlack) << x;
    EXPECT_EQ(m_dc.GetPixel(39, 201), kWhite);
    for (int x = 40; x <= 340; ++x)
    {
        const bool bTick = (x - 40) % 30 == 0;
        EXPECT_EQ(m_dc.GetPixel(x, 203), bTick ? kBlack : kWhite) << x;
    }
    EXPECT_EQ(m_dc.GetPixel(70, 204), kWhite);
    // Grid dashes inside the plot, in grey.
    EXPECT_EQ(m_dc.GetPixel(100, 199), RGB(128, 128, 128));
    EXPECT_EQ(m_dc.GetPixel(100, 196), kWhite);
}

TEST_F(AxisDrawFixture, VerticalAxisDrawsLeftOfThePlot)
{
    DrawAxis(false, 0, 19); // 190 pixels: 9 ticks fit, a step of 5
    ASSERT_EQ(m_axis.m_dTickStep, 5);
    for (int y = 11; y <= 200; ++y)
        ASSERT_EQ(m_dc.GetPixel(39, y), kBlack) << y;
    EXPECT_EQ(m_dc.GetPixel(39, 10), kWhite);
    const int nTick = m_axis.ValueToPixel(10);
    EXPECT_EQ(m_dc.GetPixel(37, nTick), kBlack);
    EXPECT_EQ(m_dc.GetPixel(36, nTick), kWhite);
    EXPECT_EQ(m_dc.GetPixel(37, nTick + 1), kWhite);
    EXPECT_EQ(m_axis.m_pGrid->m_TickPixels.size(), 4u);
}

TEST_F(AxisDrawFixture, EmptyRangeDrawsOneLabelAndNoMarks)
{
    DrawAxis(true, 5, 5);
    EXPECT_TRUE(m_axis.m_pGrid->m_TickPixels.empty());
    for (int x = 40; x <= 340; ++x)
        ASSERT_EQ(m_dc.GetPixel(x, 203), kWhite) << x;
    // The label is centred on the axis middle, below the marks.
    int nLeft = 400;
    int nRight = -1;
    for (int y = 205; y < 260; ++y)
        for (int x = 0; x < 400; ++x)
            if (m_dc.GetPixel(x, y) != kWhite)
            {
                nLeft = std::min(nLeft, x);
                nRight = std::max(nRight, x);
            }
    ASSERT_LE(nLeft, nRight);
    EXPECT_NEAR((nLeft + nRight) / 2.0, 190, 3);
}

TEST_F(AxisDrawFixture, NothingIsDrawnWithoutAnOutputDevice)
{
    CDC noDevice;
    m_axis.Draw(&noDevice);
    m_axis.Draw(nullptr);
    m_axis.m_bVisible = false;
    DrawAxis(true, 0, 10);
    EXPECT_EQ(m_dc.GetPixel(100, 201), kWhite);
}
