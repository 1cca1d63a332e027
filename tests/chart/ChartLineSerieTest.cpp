#include "chart/ChartLineSerie.h"
#include "PixelAxesCanvas.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"

#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

namespace
{

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

class LineSerie : public CPixelAxesCanvas
{
protected:
    void SetUp() override
    {
        CPixelAxesCanvas::SetUp();
        Restart();
    }

    // A new, empty series on a cleared buffer.
    void Restart()
    {
        Clear();
        m_pSerie = std::make_unique<CChartLineSerie>(nullptr);
        Bind(*m_pSerie);
        m_pSerie->m_crColor = kBlue;
    }

    void TearDown() override
    {
        m_pSerie.reset();
        CPixelAxesCanvas::TearDown();
    }

    void Add(const std::vector<SChartLinePoint>& vecPoints)
    {
        m_pSerie->AddPoints(vecPoints.data(), unsigned(vecPoints.size()));
    }

    // Rows of column x in the line's colour.
    std::vector<int> RowsAt(int x) const
    {
        std::vector<int> vecRows;
        for (int y = 0; y < kSize; ++y)
            if (At(x, y) == kBlue)
                vecRows.push_back(y);
        return vecRows;
    }

    std::unique_ptr<CChartLineSerie> m_pSerie;
};

} // namespace

TEST_F(LineSerie, KnownValuesLandOnTheirPixels)
{
    Add({{20, 50}, {120, 50}, {120, 150}});
    m_pSerie->DrawVisiblePoints(&m_dc);
    for (int x = 20; x <= 120; ++x)
        EXPECT_EQ(At(x, 150), kBlue) << x;
    EXPECT_EQ(At(19, 150), kBackground);
    EXPECT_EQ(At(120, 100), kBlue);
    EXPECT_EQ(At(120, 51), kBlue);
    EXPECT_EQ(At(120, 50), kBackground) << "lines leave their end pixel unset";
    EXPECT_EQ(At(60, 149), kBackground);
    EXPECT_EQ(Count(kBlue), 101 + 99);

    // A wider pen covers the rows on both sides of the value.
    Clear();
    m_pSerie->m_nPenWidth = 3;
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(RowsAt(60), (std::vector<int>{149, 150, 151}));
}

TEST_F(LineSerie, ClipsAtThePlotEdgeButDrawsTheSegmentsEnteringAndLeaving)
{
    m_pSerie->m_rcClip = {50, 50, 150, 150};
    Add({{0, 100}, {199, 100}});
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(At(50, 100), kBlue);
    EXPECT_EQ(At(149, 100), kBlue);
    EXPECT_EQ(At(49, 100), kBackground);
    EXPECT_EQ(At(150, 100), kBackground);

    // The axis shows values 100 to 300 at pixels 0 to 200; points beyond are skipped except
    // the ones the line enters from and leaves to.
    Restart();
    m_xAxis.SetRange(100, 300, ERangeChange::Reset);
    Add({{-500, 180},
         {50, 60},
         {150, 100},
         {250, 100},
         {350, 140},
         {900, 20},
         {950, 20},
         {990, 20}});
    m_pSerie->DrawVisiblePoints(&m_dc);
    // 50 -> 150 runs from pixel (-50, 140) to (50, 100): at x = 0 it is at row 120.
    EXPECT_EQ(RowsAt(0), (std::vector<int>{120}));
    // 250 -> 350 runs from (150, 100) to (250, 60): at x = 199 it is at row 80.
    EXPECT_EQ(RowsAt(199), (std::vector<int>{80}));
    // Nothing of the segments further out: (-500, 180) -> (50, 60) would cross row 20 to 30
    // at the left edge, (350, 140) -> (900, 20) lies right of the buffer.
    for (int y = 0; y < 100; ++y)
        EXPECT_NE(At(0, y), kBlue) << y;
}

TEST_F(LineSerie, DeepZoomKeepsTheSlopeOfSegmentsReachingFarOut)
{
    // Values 0 to 0.0002 fill the buffer: the second point lies a million pixels out (the
    // axes' limit), and only the piece over the plot is drawn.
    m_xAxis.SetRange(m_xAxis.m_dMin, 0.0002, ERangeChange::Reset);
    m_yAxis.SetRange(m_yAxis.m_dMin, 0.0002, ERangeChange::Reset);
    Add({{0, 0}, {1000, 1000}});
    m_pSerie->DrawVisiblePoints(&m_dc);
    for (const int x : {10, 100, 190})
        EXPECT_EQ(RowsAt(x), (std::vector<int>{200 - x})) << x;
}

TEST_F(LineSerie, ANaNBreaksTheLine)
{
    Add({{20, 100}, {60, 100}, {100, kGap}, {140, 100}, {180, 100}});
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(At(20, 100), kBlue);
    EXPECT_EQ(At(59, 100), kBlue);
    for (int x = 60; x < 140; ++x)
        EXPECT_EQ(At(x, 100), kBackground) << x;
    EXPECT_EQ(At(140, 100), kBlue);
    EXPECT_EQ(At(179, 100), kBlue);

    // A point between two gaps still shows, as one pixel.
    Restart();
    Add({{20, kGap}, {100, 50}, {180, kGap}});
    m_pSerie->DrawVisiblePoints(&m_dc);
    EXPECT_EQ(At(100, 150), kBlue);
    EXPECT_EQ(Count(kBlue), 1);
}

TEST_F(LineSerie, GapsTakeNoPartInTheRanges)
{
    double dMin = -1;
    double dMax = -1;
    Add({{10, kGap}, {20, kGap}});
    EXPECT_FALSE(m_pSerie->GetYRange(&dMin, &dMax));
    EXPECT_FALSE(m_pSerie->GetVisibleYRange(&dMin, &dMax));
    EXPECT_EQ(dMin, -1);
    Add({{30, 70}, {40, 30}, {250, 500}});
    ASSERT_TRUE(m_pSerie->GetYRange(&dMin, &dMax));
    EXPECT_EQ(dMin, 30);
    EXPECT_EQ(dMax, 500);
    // The visible range reaches one point past the axis end, as for candles.
    m_xAxis.SetRange(m_xAxis.m_dMin, 35, ERangeChange::Reset);
    ASSERT_TRUE(m_pSerie->GetVisibleYRange(&dMin, &dMax));
    EXPECT_EQ(dMin, 30);
    EXPECT_EQ(dMax, 70);
    ASSERT_TRUE(m_pSerie->GetXRange(&dMin, &dMax));
    EXPECT_EQ(dMin, 10);
}

TEST_F(LineSerie, NewPointsJoinTheLineDrawnBefore)
{
    Add({{20, 100}, {60, 100}});
    m_pSerie->DrawVisiblePoints(&m_dc);
    Clear();
    Add({{100, 100}});
    m_pSerie->DrawNewPoints(&m_dc);
    EXPECT_EQ(At(59, 100), kBackground) << "the old segment is not drawn again";
    EXPECT_EQ(At(60, 100), kBlue);
    EXPECT_EQ(At(99, 100), kBlue);
    Clear();
    m_pSerie->DrawNewPoints(&m_dc);
    EXPECT_EQ(Count(kBlue), 0) << "nothing new";
}

TEST_F(LineSerie, HitTestFindsAPointWithinThreePixels)
{
    Add({{50, 50}, {100, kGap}, {150, 150}});
    unsigned nIndex = 0;
    POINT pt = {153, 47};
    EXPECT_TRUE(m_pSerie->HitTest(&pt, &nIndex));
    EXPECT_EQ(nIndex, 2u);
    pt = {100, 100};
    EXPECT_FALSE(m_pSerie->HitTest(&pt, &nIndex)) << "a gap is not a point";
    EXPECT_EQ(nIndex, 0xFFFFFFFFu);
    pt = {54, 150};
    EXPECT_FALSE(m_pSerie->HitTest(&pt, &nIndex));
}

TEST_F(LineSerie, LegendSymbolIsALineWhenNamed)
{
    const RECT rc = {10, 10, 30, 20};
    m_pSerie->DrawLegendSymbol(&m_dc, &rc);
    EXPECT_EQ(Count(kBlue), 0) << "no name, no legend entry";
    m_pSerie->m_strName = "MA 5";
    m_pSerie->DrawLegendSymbol(&m_dc, &rc);
    EXPECT_EQ(At(10, 15), kBlue);
    EXPECT_EQ(At(29, 15), kBlue);
    EXPECT_EQ(Count(kBlue), 20);
}

namespace
{

SChartCandlestickPoint Bar(double dDate, double dLow, double dHigh)
{
    return {dDate, dLow, dHigh, dLow, dHigh};
}

// Rows of column x in colour cr inside the chart's back buffer.
std::vector<int> BufferRows(CChartCtrl& chart, int x, COLORREF cr)
{
    std::vector<int> vecRows;
    const RECT rc = chart.GetPlotRect();
    for (int y = rc.top; y <= rc.bottom; ++y)
        if (chart.GetBufferDC()->GetPixel(x, y) == cr)
            vecRows.push_back(y);
    return vecRows;
}

// Rounding may put the line one row off its exact value.
bool HasRowNear(const std::vector<int>& vecRows, int y)
{
    for (const int nRow : vecRows)
        if (std::abs(nRow - y) <= 1)
            return true;
    return false;
}

} // namespace

TEST(LineSerieInChart, AutoRangeIncludesTheLineAndZoomingMovesIt)
{
    EnsureChartTestApp();
    CChartCtrl chart;
    ASSERT_TRUE(chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 400, 300}, nullptr, 0));
    chart.NewDateTimeAxis()->SetRangeMode(AllPoints);
    CChartAxis* pLeft = chart.NewStandardAxis();
    pLeft->SetRangeMode(AllPoints);

    auto* pCandles = new CChartCandlestickSerie(&chart);
    chart.AttachSerie(pCandles);
    const std::vector<SChartCandlestickPoint> vecBars = {Bar(40000, 10, 12), Bar(40001, 11, 14),
                                                         Bar(40002, 12, 15), Bar(40003, 13, 20)};
    pCandles->AddPoints(vecBars.data(), unsigned(vecBars.size()));
    EXPECT_EQ(pLeft->m_dMin, 10);
    EXPECT_EQ(pLeft->m_dMax, 20);

    auto* pLine = new CChartLineSerie(&chart);
    chart.AttachSerie(pLine);
    pLine->SetColor(kBlue);
    const std::vector<SChartLinePoint> vecLine = {
        {40000, kGap}, {40001, 9}, {40002, 16}, {40003, 24}};
    pLine->AddPoints(vecLine.data(), unsigned(vecLine.size()));
    EXPECT_EQ(pLeft->m_dMin, 9);
    EXPECT_EQ(pLeft->m_dMax, 24);

    chart.RefreshChart();
    // The flat piece of a line at 16 for the middle date: find its row on the axis.
    CChartAxis* pBottom = chart.GetAxis(SlotBottom);
    const int x = pBottom->LabelPixel(40002);
    const int nBefore = pLeft->LabelPixel(16);
    EXPECT_TRUE(HasRowNear(BufferRows(chart, x, kBlue), nBefore)) << "the line passes its value";

    pLeft->SetZoomRange(15, 30);
    chart.RefreshChart();
    const int nAfter = pLeft->LabelPixel(16);
    ASSERT_GT(std::abs(nAfter - nBefore), 10);
    EXPECT_TRUE(HasRowNear(BufferRows(chart, x, kBlue), nAfter)) << "it follows the zoomed axis";
    EXPECT_FALSE(HasRowNear(BufferRows(chart, x, kBlue), nBefore));
}
