// The working orders on the replay's chart: what each line says, and that a step with twenty
// orders still redraws the chart once.
#include "core/ReplayChart.h"

#include "CoreTestApp.h"
#include "KLineFixture.h"
#include "TempDir.h"
#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartOrderLineSerie.h"
#include "chart/ChartOrderLines.h"
#include "chart/ChartStandardAxis.h"
#include "chart/RefreshHold.h"
#include "core/PracticeSession.h"
#include "tests/chart/CountingChart.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

class ReplayChartOrderLines : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureCoreTestApp();
        m_dir.Enter();
        ASSERT_TRUE(
            m_chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0));
        SReadFile file;
        std::string strReason;
        ASSERT_TRUE(
            CPracticeSession::ReadFile(m_dir.Write("a.csv", DailyBarsText(80)), &file, &strReason))
            << strReason;
        m_session.Open(std::move(file));
        m_replay.ShowNewFile(m_session);
    }

    // A step as the window runs it: the candles and everything over them in one hold.
    void Step(const CTradeDesk* pDesk)
    {
        CRefreshHold hold(&m_chart);
        m_session.StepBar();
        m_replay.ShowReplay(m_session);
        if (pDesk != nullptr)
            m_replay.ShowOrderLines(*pDesk, m_session.PriceDecimals());
    }

    std::vector<CChartOrderLineSerie*> OrderLineSeries()
    {
        std::vector<CChartOrderLineSerie*> vecFound;
        m_chart.RewindSeries();
        while (CChartSerie* pSerie = m_chart.NextSerie())
            if (auto* pLines = dynamic_cast<CChartOrderLineSerie*>(pSerie))
                vecFound.push_back(pLines);
        return vecFound;
    }

    // Twenty orders on the first window's last bar (close 35.5, low 34, high 37): a long
    // position of 10 with its stop loss at 30 and take profit at 37, a buy limit at 20 with a
    // stop loss at 18 of its own, and sixteen more limits around the close.
    void PlaceTwenty(CTradeDesk* pDesk)
    {
        pDesk->SetInstrument("a.csv", 2);
        pDesk->EvaluateBar(m_session.Player().m_vecWindow.back());
        ASSERT_TRUE(pDesk->Trade(ETradeSide::Buy, 10));
        ASSERT_TRUE(pDesk->PlaceOrder(ETradeOrderKind::StopLoss, 0, 30, 0, nullptr));
        ASSERT_TRUE(pDesk->PlaceOrder(ETradeOrderKind::TakeProfit, 0, 37, 0, nullptr));
        int nEntry = 0;
        ASSERT_TRUE(pDesk->PlaceOrder(ETradeOrderKind::BuyLimit, 5, 20, 0, &nEntry));
        ASSERT_TRUE(pDesk->PlaceOrder(ETradeOrderKind::StopLoss, 0, 18, nEntry, nullptr));
        for (int i = 0; i < 8; ++i)
        {
            ASSERT_TRUE(pDesk->PlaceOrder(ETradeOrderKind::BuyLimit, 1, 21 + i, 0, nullptr));
            ASSERT_TRUE(
                pDesk->PlaceOrder(ETradeOrderKind::SellLimit, 1, 35.75 + 0.125 * i, 0, nullptr));
        }
        ASSERT_EQ(pDesk->Orders().size(), 20u);
    }

    CTempDir m_dir;
    CCountingChart m_chart;
    CPracticeSession m_session;
    CReplayChart m_replay{m_chart};
};

} // namespace

TEST_F(ReplayChartOrderLines, AStepWithTwentyOrdersRedrawsOnceAndDrawsTheirLines)
{
    Step(nullptr);
    CTradeDesk desk;
    PlaceTwenty(&desk);
    for (const CTradeDesk* pDesk :
         {static_cast<const CTradeDesk*>(nullptr), static_cast<const CTradeDesk*>(&desk)})
    {
        m_chart.m_nRedraws = 0;
        Step(pDesk);
        EXPECT_EQ(m_chart.m_nRedraws, 1) << (pDesk ? "with orders" : "without");
        ASSERT_EQ(OrderLineSeries().size(), 1u) << "one series for all lines";
    }
    const CChartOrderLines* pLines = m_replay.OrderLines();
    ASSERT_EQ(OrderLineSeries()[0]->Lines(), pLines);
    ASSERT_EQ(pLines->Lines().size(), 20u);
    // In the picture of that redraw: the position's stop loss at 30, in its colour.
    const CChartAxis* pPrices = m_chart.GetAxis(SlotLeft);
    const int x = m_chart.GetPlotRect().left + 2;
    EXPECT_EQ(m_chart.GetBufferDC()->GetPixel(x, pPrices->LabelPixel(30)),
              pLines->RoleColor(EChartOrderRole::StopLoss));

    // A move outside a step: the same series, one redraw, the line at its new place.
    ASSERT_TRUE(desk.MoveOrder(desk.Orders()[0].nId, 31));
    m_chart.m_nRedraws = 0;
    m_replay.ShowOrderLines(desk, m_session.PriceDecimals());
    EXPECT_EQ(m_chart.m_nRedraws, 1);
    ASSERT_EQ(OrderLineSeries().size(), 1u);
    EXPECT_EQ(m_chart.GetBufferDC()->GetPixel(x, pPrices->LabelPixel(31)),
              pLines->RoleColor(EChartOrderRole::StopLoss));
    EXPECT_NE(m_chart.GetBufferDC()->GetPixel(x, pPrices->LabelPixel(30)),
              pLines->RoleColor(EChartOrderRole::StopLoss));
}

TEST_F(ReplayChartOrderLines, EachLineCarriesItsOrdersIdKindQuantityPriceAndRole)
{
    // Before a bar is shown there are no lines; once one is, the lines are there, empty.
    m_replay.ShowOrderLines(m_session);
    EXPECT_TRUE(OrderLineSeries().empty());
    Step(nullptr);
    ASSERT_EQ(OrderLineSeries().size(), 1u);
    EXPECT_TRUE(OrderLineSeries()[0]->Lines()->Lines().empty());

    CTradeDesk desk;
    PlaceTwenty(&desk);
    m_replay.ShowOrderLines(desk, 3);
    const CChartOrderLines* pLines = m_replay.OrderLines();
    EXPECT_EQ(pLines->PriceDecimals(), 3);
    const std::vector<STradeOrder>& vecOrders = desk.Orders();
    ASSERT_EQ(pLines->Lines().size(), vecOrders.size());
    const struct
    {
        std::size_t nIndex;
        EChartOrderRole eRole;
        const char* pszLabel;
    } rows[] = {
        {0, EChartOrderRole::StopLoss, "Stop loss 10 @ 30.000"},
        {1, EChartOrderRole::TakeProfit, "Take profit 10 @ 37.000"},
        {2, EChartOrderRole::Entry, "Buy limit 5 @ 20.000"},
        {3, EChartOrderRole::StopLoss, "Stop loss 5 @ 18.000"}, // the entry's, waiting for it
        {5, EChartOrderRole::Entry, "Sell limit 1 @ 35.750"},
    };
    for (const auto& row : rows)
    {
        const SChartOrderLine& line = pLines->Lines()[row.nIndex];
        EXPECT_EQ(line.nId, vecOrders[row.nIndex].nId) << row.pszLabel;
        EXPECT_EQ(line.eRole, row.eRole) << row.pszLabel;
        EXPECT_EQ(pLines->LabelText(line, line.dPrice), row.pszLabel);
    }
}
