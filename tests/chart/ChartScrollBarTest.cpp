#include "chart/ChartScrollBar.h"
#include "AxisTestSerie.h"
#include "ChartTestApp.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartStandardAxis.h"

#include <gtest/gtest.h>

namespace
{

// A chart window with one numeric axis in the given slot, over data from 0 to 100 and showing
// 50 to 75: forty steps of 2.5, the visible span starting twenty steps in.
class ScrollFixture : public ::testing::Test
{
protected:
    void Install(int nSlot)
    {
        EnsureChartTestApp();
        ASSERT_TRUE(
            m_chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 400, 300}, nullptr, 0));
        m_pAxis = new CChartStandardAxis;
        m_chart.InstallAxis(m_pAxis, nSlot);
        m_pSerie = new CAxisTestSerie(&m_chart);
        m_pSerie->WithRange(0, 100, 0, 100);
        m_pSerie->m_pXAxis = m_pAxis;
        m_pAxis->RegisterSerie(m_pSerie);
        m_pAxis->SetRange(50, 75, ERangeChange::Reset);
        m_pBar = m_pAxis->m_pAxisScrollBar;
        ASSERT_NE(m_pBar, nullptr);
        m_pBar->SyncWithAxis();
    }

    void TearDown() override { delete m_pSerie; }

    SCROLLINFO Info()
    {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        m_pBar->GetScrollInfo(&info, SIF_ALL);
        return info;
    }

    CChartCtrl m_chart;
    CChartStandardAxis* m_pAxis = nullptr;
    CAxisTestSerie* m_pSerie = nullptr;
    CChartScrollBar* m_pBar = nullptr;
};

} // namespace

TEST_F(ScrollFixture, ThumbFollowsTheVisibleSpanOnAHorizontalAxis)
{
    Install(SlotBottom);
    const SCROLLINFO info = Info();
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 39);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nPos, 20);
    EXPECT_FALSE(m_pBar->IsWindowVisible());
    EXPECT_EQ(m_pBar->GetDlgCtrlID(), 100);
    EXPECT_FALSE(m_pBar->m_bEnabled);
    EXPECT_TRUE(m_pBar->m_bAutoHide);
}

TEST_F(ScrollFixture, ThumbRunsAgainstTheValuesOnAVerticalAxis)
{
    Install(SlotLeft);
    EXPECT_EQ(Info().nPos, 40 - 20 - 9);

    // A reversed horizontal axis is mirrored too; a reversed vertical one is not.
    m_pAxis->m_bReversed = true;
    m_pBar->SyncWithAxis();
    EXPECT_EQ(Info().nPos, 20);
}

TEST_F(ScrollFixture, PageDownStopsAtTheLastFullPage)
{
    Install(SlotBottom);
    m_pBar->SetScrollPos(25);
    m_pBar->HandleHScroll(SB_PAGEDOWN, 0);
    // Five steps of 2.5.
    EXPECT_DOUBLE_EQ(m_pAxis->m_dMin, 62.5);
    EXPECT_DOUBLE_EQ(m_pAxis->m_dMax, 87.5);

    m_pBar->SetScrollPos(30);
    const double dMin = m_pAxis->m_dMin;
    m_pBar->HandleHScroll(SB_LINEDOWN, 0);
    EXPECT_DOUBLE_EQ(m_pAxis->m_dMin, dMin);
}

TEST_F(ScrollFixture, NotificationsMoveByLinesPagesAndThumb)
{
    Install(SlotBottom);
    struct Row
    {
        UINT nCode;
        UINT nThumb;
        int nFrom;
        int nSteps; // expected movement of the axis, in steps
    };
    const Row rows[] = {
        {SB_LINEUP, 0, 20, -1},        {SB_LINEDOWN, 0, 20, 1},  {SB_PAGEUP, 0, 20, -10},
        {SB_PAGEUP, 0, 4, -4},         {SB_PAGEDOWN, 0, 20, 10}, {SB_THUMBTRACK, 7, 20, -13},
        {SB_THUMBPOSITION, 22, 20, 2}, {SB_TOP, 0, 20, -20},     {SB_BOTTOM, 0, 20, 10},
        {SB_LINEUP, 0, 0, 0},          {SB_LINEDOWN, 0, 30, 0},  {99, 0, 20, 0},
    };
    for (const Row& row : rows)
    {
        m_pAxis->SetRange(50, 75, ERangeChange::Reset);
        m_pBar->SetScrollPos(row.nFrom);
        m_pBar->HandleHScroll(row.nCode, row.nThumb);
        EXPECT_DOUBLE_EQ(m_pAxis->m_dMin, 50 + 2.5 * row.nSteps) << "code " << row.nCode;
        EXPECT_DOUBLE_EQ(m_pAxis->m_dMax - m_pAxis->m_dMin, 25) << "code " << row.nCode;
    }
}

TEST_F(ScrollFixture, EndScrollChangesNothing)
{
    Install(SlotBottom);
    m_pBar->SetScrollPos(25);
    m_pBar->HandleVScroll(SB_ENDSCROLL, 3);
    EXPECT_EQ(m_pBar->GetScrollPos(), 25);
    EXPECT_EQ(m_pAxis->m_dMin, 50);
    EXPECT_EQ(m_pAxis->m_dMax, 75);
}

TEST_F(ScrollFixture, VerticalBarScrollsDownTheValues)
{
    Install(SlotLeft);
    // Moving the thumb down on a vertical axis shows lower values.
    const int nFrom = m_pBar->GetScrollPos();
    m_pBar->HandleVScroll(SB_LINEDOWN, 0);
    EXPECT_DOUBLE_EQ(m_pAxis->m_dMin, 47.5);
    EXPECT_EQ(m_pBar->GetScrollPos(), nFrom + 1);
}

TEST_F(ScrollFixture, BarLiesAlongThePlotEdgeAfterARefresh)
{
    Install(SlotBottom);
    m_chart.RefreshChart();
    const RECT rcPlot = m_chart.GetPlotRect();
    RECT rcBar = {0, 0, 0, 0};
    m_pBar->GetWindowRect(&rcBar);
    m_chart.ScreenToClient(&rcBar);
    EXPECT_EQ(rcBar.left, rcPlot.left + 1);
    EXPECT_EQ(rcBar.right, rcPlot.right);
    EXPECT_EQ(rcBar.bottom, rcPlot.bottom);
    EXPECT_EQ(rcBar.bottom - rcBar.top, GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(ScrollFixture, EmptySpansGiveOneStep)
{
    Install(SlotBottom);
    m_pAxis->SetRange(m_pAxis->m_dMin, m_pAxis->m_dMin, ERangeChange::Reset);
    m_pBar->SyncWithAxis();
    const SCROLLINFO info = Info();
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 0);
}
