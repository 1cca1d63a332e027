#include "chart/ChartGrid.h"
#include "ChartTestApp.h"
#include "chart/ChartCtrl.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// A white 60 x 60 memory DC.
class GridFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureChartTestApp();
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateCompatibleBitmap(&m_dc, 60, 60);
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        const RECT rc = {0, 0, 60, 60};
        m_dc.FillSolidRect(&rc, kWhite);
        m_grid.m_pOwner = &m_chart;
    }
    void TearDown() override { m_dc.SelectObject(m_pOldBitmap); }

    CChartCtrl m_chart;
    CChartGrid m_grid;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

} // namespace

TEST_F(GridFixture, VerticalLinesAreDashedUpwardFromThePlotBottom)
{
    m_chart.m_rcPlot = {5, 10, 50, 30};
    m_grid.AddTick(20);
    m_grid.AddTick(40);
    m_grid.Draw(&m_dc);
    for (const int x : {20, 40})
    {
        for (int y = 0; y < 60; ++y)
        {
            // Three pixels on, three off, counted from the bottom edge, inside the plot only
            // (its bottom row excluded like every clip rectangle's).
            const bool bOn = y >= 10 && y < 30 && (30 - y) % 6 < 3;
            EXPECT_EQ(m_dc.GetPixel(x, y), bOn ? kGrey : kWhite) << x << "," << y;
        }
    }
    EXPECT_EQ(m_dc.GetPixel(21, 29), kWhite);
}

TEST_F(GridFixture, HorizontalLinesAreDashedRightwardFromThePlotLeft)
{
    m_chart.m_rcPlot = {5, 10, 50, 30};
    m_grid.m_bHorizontal = false;
    m_grid.AddTick(15);
    m_grid.Draw(&m_dc);
    for (int x = 0; x < 60; ++x)
    {
        const bool bOn = x >= 5 && x < 50 && (x - 5) % 6 < 3;
        EXPECT_EQ(m_dc.GetPixel(x, 15), bOn ? kGrey : kWhite) << x;
    }
}

TEST_F(GridFixture, NothingIsDrawnWithoutRoomOrWhenHidden)
{
    m_chart.m_rcPlot = {5, 30, 50, 30};
    m_grid.AddTick(20);
    m_grid.Draw(&m_dc);
    m_chart.m_rcPlot = {5, 10, 50, 30};
    m_grid.m_bVisible = false;
    m_grid.Draw(&m_dc);
    for (int y = 0; y < 60; ++y)
        EXPECT_EQ(m_dc.GetPixel(20, y), kWhite) << y;

    // A clip the caller set is left as it was.
    m_grid.m_bVisible = true;
    m_dc.IntersectClipRect(0, 0, 40, 50);
    m_grid.Draw(&m_dc);
    RECT rcClip = {0, 0, 0, 0};
    m_dc.GetClipBox(&rcClip);
    EXPECT_EQ(rcClip.right, 40);
    EXPECT_EQ(rcClip.bottom, 50);
    m_dc.SelectClipRgn(nullptr);
}

TEST_F(GridFixture, TicksAreForgottenOnClear)
{
    m_grid.AddTick(3);
    m_grid.AddTick(7);
    ASSERT_EQ(m_grid.m_TickPixels.size(), 2u);
    m_grid.ClearTicks();
    EXPECT_TRUE(m_grid.m_TickPixels.empty());
}
