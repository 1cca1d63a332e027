// The mouse on order lines in a chart window: a left drag moves an order and reports its new
// price, the "x" cancels it, a right click asks for a menu while a right drag still pans.
#include "chart/ChartAxis.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartOrderLineSerie.h"
#include "chart/ChartOrderLines.h"
#include "chart/ChartOrderSink.h"
#include "chart/ChartStandardAxis.h"
#include "chart/RefreshHold.h"
#include "platform/StringFormat.h"
#include "platform/testsupport/TestSupport.h"

#include "ChartTestApp.h"
#include "ChartTextRecordingDC.h"
#include "CountingChart.h"
#include "HostedChartTest.h"

#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace
{

class CRecordingOrderSink : public IChartOrderSink
{
public:
    void OnOrderMoved(int nId, double dPrice) override
    {
        m_vecMoves.emplace_back(nId, dPrice);
        if (m_pAccept != nullptr)
            m_pAccept(nId, dPrice);
    }
    void OnOrderCancel(int nId) override { m_vecCancels.push_back(nId); }
    void OnChartContextMenu(POINT pt, double dPrice) override
    {
        m_vecMenus.push_back(pt);
        m_dMenuPrice = dPrice;
    }

    std::vector<std::pair<int, double>> m_vecMoves;
    std::vector<int> m_vecCancels;
    std::vector<POINT> m_vecMenus;
    double m_dMenuPrice = 0.0;
    std::function<void(int, double)> m_pAccept;
};

// The replay's chart, 640 x 400: 101 daily bars from day 42000, prices 10 to 30, and three
// orders: a buy limit at 15 (id 7), its stop loss at 12 (id 8) and take profit at 25 (id 9).
class ChartOrderMouse : public CHostedChartTest
{
protected:
    void SetUp() override
    {
        CHostedChartTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(m_pPrices->m_dMin, 10.0);
        ASSERT_EQ(m_pPrices->m_dMax, 30.0);
    }

    void AddContent() override
    {
        m_chart.m_pOrderSink = &m_sink;
        m_pLines = new CChartOrderLines(&m_chart);
        m_chart.AddOverlay(m_pLines);
        ShowStep(m_vecLines);
    }

    // What a replay step does: every series replaced, in one redraw.
    void ShowStep(const std::vector<SChartOrderLine>& vecLines)
    {
        CRefreshHold hold(&m_chart);
        m_chart.DeleteAllSeries();
        auto* pCandles = new CChartCandlestickSerie(&m_chart);
        m_chart.AttachSerie(pCandles);
        std::vector<SChartCandlestickPoint> bars;
        for (int i = 0; i <= 100; ++i)
            bars.push_back({42000.0 + i, 10, 30, 25.0 - i % 7, 15.0 - i % 4});
        pCandles->AddPoints(bars.data(), unsigned(bars.size()));
        m_chart.AttachSerie(new CChartOrderLineSerie(&m_chart, m_pLines));
        m_pLines->SetLines(vecLines.data(), unsigned(vecLines.size()));
    }

    int Row(double dPrice) const { return m_pPrices->LabelPixel(dPrice); }
    // The price under a row, worked out from the axis' ends and rounded to cents.
    double CentsAt(int y) const
    {
        const double dFraction = double(m_pPrices->m_nStartPixel - y) /
                                 double(m_pPrices->m_nStartPixel - m_pPrices->m_nEndPixel);
        return std::round((10.0 + dFraction * 20.0) * 100.0) / 100.0;
    }
    COLORREF Buffer(int x, int y) { return m_chart.GetBufferDC()->GetPixel(x, y); }
    // The window as it is shown: the buffer with what is drawn over it.
    COLORREF Shown(int x, int y) const
    {
        const QColor color = m_pWidget->grab().toImage().pixelColor(x, y);
        return RGB(color.red(), color.green(), color.blue());
    }
    // The middle of the order's "x" box on its row, found from the plot's right edge.
    QPoint CancelBox(int nId) const
    {
        const int y = Row(m_pLines->FindLine(nId)->dPrice);
        int nHit = 0;
        for (int x = m_chart.GetPlotRect().right; x > 0; --x)
            if (m_pLines->HitTestPart({x, y}, &nHit) == EOrderLinePart::CancelBox && nHit == nId)
                return {x - 3, y};
        ADD_FAILURE() << "no cancel box for order " << nId;
        return {};
    }
    void Press(Qt::MouseButton button, QPoint pt)
    {
        QTest::mousePress(m_pWidget, button, Qt::NoModifier, pt);
    }
    void Move(QPoint pt) { QTest::mouseMove(m_pWidget, pt); }
    void Release(Qt::MouseButton button, QPoint pt)
    {
        QTest::mouseRelease(m_pWidget, button, Qt::NoModifier, pt);
    }

    CChartOrderLines* m_pLines = nullptr; // owned by m_chart
    CRecordingOrderSink m_sink;
    std::vector<SChartOrderLine> m_vecLines = {
        {7, EChartOrderRole::Entry, "Buy limit", 10, 15.0},
        {8, EChartOrderRole::StopLoss, "Stop loss", 10, 12.0},
        {9, EChartOrderRole::TakeProfit, "Take profit", 10, 25.0},
    };
};

TEST_F(ChartOrderMouse, ADragMovesTheLineReportsTheRoundedPriceAndSnapsBackUnlessAccepted)
{
    const COLORREF crEntry = m_pLines->RoleColor(EChartOrderRole::Entry);
    const int yFrom = Row(15.0);
    const int yTo = yFrom - 47;
    const double dExpected = CentsAt(yTo);
    ASSERT_EQ(Buffer(200, yFrom), crEntry);

    Press(Qt::LeftButton, QPoint(200, yFrom + 2));
    EXPECT_FALSE(m_chart.m_bZooming) << "no zoom box from a line";
    int nBefore = m_chart.m_nRedraws;
    Move(QPoint(200, yTo));
    EXPECT_EQ(m_chart.m_nRedraws, nBefore + 1) << "once, the picture without the line at rest";
    EXPECT_EQ(m_pLines->DraggedId(), 7);
    EXPECT_EQ(m_pLines->DraggedPrice(), dExpected);
    // Drawn over the picture at the price under the mouse, as the zoom box is.
    EXPECT_NE(Buffer(200, yFrom), crEntry);
    EXPECT_NE(Buffer(200, Row(dExpected)), crEntry);
    EXPECT_EQ(Shown(200, Row(dExpected)), crEntry);
    EXPECT_NE(Shown(200, yFrom), crEntry);
    {
        CTextRecordingDC dc;
        ASSERT_TRUE(dc.Open(640, 400, RGB(0, 0, 0)));
        m_pLines->DrawOverlay(&dc);
        ASSERT_EQ(dc.m_texts.size(), 1u);
        EXPECT_EQ(dc.m_texts[0].str, StringFormat("Buy limit 10 @ %.2f", dExpected));
    }
    nBefore = m_chart.m_nRedraws;
    Move(QPoint(200, yTo - 3));
    EXPECT_EQ(m_chart.m_nRedraws, nBefore) << "further moves only repaint";

    // A replay step while the button is down: the drag goes on over the new series.
    ShowStep(m_vecLines);
    EXPECT_NE(Buffer(200, yFrom), crEntry);
    Move(QPoint(200, yTo - 10));
    const double dFinal = CentsAt(yTo - 10);
    EXPECT_EQ(Shown(200, Row(dFinal)), crEntry);
    const double dDatesMin = m_pDates->m_dMin;
    const double dDatesMax = m_pDates->m_dMax;
    Release(Qt::LeftButton, QPoint(200, yTo - 10));
    ASSERT_EQ(m_sink.m_vecMoves.size(), 1u);
    EXPECT_EQ(m_sink.m_vecMoves[0].first, 7);
    EXPECT_EQ(m_sink.m_vecMoves[0].second, dFinal);
    EXPECT_EQ(m_pDates->m_dMin, dDatesMin) << "no zoom";
    EXPECT_EQ(m_pDates->m_dMax, dDatesMax);
    EXPECT_EQ(m_pLines->DraggedId(), 0);
    EXPECT_EQ(Buffer(200, yFrom), crEntry) << "refused until shown moved: back at 15";
    EXPECT_NE(Shown(200, Row(dFinal)), crEntry);

    // Accepted: the window shows the order at its new price.
    m_sink.m_pAccept = [this](int nId, double dPrice)
    {
        for (SChartOrderLine& line : m_vecLines)
            if (line.nId == nId)
                line.dPrice = dPrice;
        m_pLines->SetLines(m_vecLines.data(), unsigned(m_vecLines.size()));
    };
    Press(Qt::LeftButton, QPoint(300, yFrom));
    Move(QPoint(300, yTo));
    Release(Qt::LeftButton, QPoint(300, yTo));
    EXPECT_EQ(Buffer(200, Row(dExpected)), crEntry);
    EXPECT_NE(Buffer(200, yFrom), crEntry);

    // A press and release on a line without moving it reports nothing and redraws nothing.
    nBefore = m_chart.m_nRedraws;
    Press(Qt::LeftButton, QPoint(300, Row(12.0)));
    Release(Qt::LeftButton, QPoint(300, Row(12.0)));
    EXPECT_EQ(m_sink.m_vecMoves.size(), 2u);
    EXPECT_EQ(m_chart.m_nRedraws, nBefore);
}

TEST_F(ChartOrderMouse, APressBesideTheLinesZoomsAndAnOrderGoneWhileDraggedIsNotReported)
{
    // Between the lines the left button draws its box and zooms, as without orders.
    Press(Qt::LeftButton, QPoint(100, Row(28.0)));
    EXPECT_TRUE(m_chart.m_bZooming);
    Move(QPoint(400, Row(11.0)));
    Release(Qt::LeftButton, QPoint(400, Row(11.0)));
    ASSERT_GT(m_pDates->m_dMin, 42000.0);
    ASSERT_LT(m_pPrices->m_dMax, 30.0);

    // The take profit fills on a step during its drag; the step fits the axes to the bars again
    // and the release neither reports nor zooms to the earlier box.
    Press(Qt::LeftButton, QPoint(200, Row(25.0)));
    Move(QPoint(200, Row(27.0)));
    std::vector<SChartOrderLine> vecFilled = m_vecLines;
    vecFilled.pop_back();
    ShowStep(vecFilled);
    Move(QPoint(200, Row(28.0)));
    Release(Qt::LeftButton, QPoint(200, Row(28.0)));
    EXPECT_TRUE(m_sink.m_vecMoves.empty());
    EXPECT_EQ(m_pLines->DraggedId(), 0);
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
    EXPECT_EQ(m_pPrices->m_dMax, 30.0);
}

TEST_F(ChartOrderMouse, AClickOnTheXCancelsThatOrderOnly)
{
    const QPoint ptBox = CancelBox(8);
    QTest::mouseClick(m_pWidget, Qt::LeftButton, Qt::NoModifier, ptBox);
    EXPECT_EQ(m_sink.m_vecCancels, std::vector<int>{8});
    EXPECT_FALSE(m_chart.m_bZooming);

    // Down on the "x", up elsewhere: no click. A click on the label's text: no cancel, no move.
    Press(Qt::LeftButton, CancelBox(9));
    Release(Qt::LeftButton, CancelBox(9) + QPoint(0, 40));
    const QPoint ptText = CancelBox(7) - QPoint(40, 0);
    QTest::mouseClick(m_pWidget, Qt::LeftButton, Qt::NoModifier, ptText);
    EXPECT_EQ(m_sink.m_vecCancels, std::vector<int>{8});
    EXPECT_TRUE(m_sink.m_vecMoves.empty());
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
}

TEST_F(ChartOrderMouse, ARightClickAsksForAMenuAtThePriceAndARightDragPansWithoutOne)
{
    const QPoint ptPress(320, 200);
    // Released this far from the press, with one move there first.
    const struct
    {
        QPoint offset;
        bool bMenu;
    } cases[] = {{{0, 0}, true},  {{3, -3}, true},  {{-2, 3}, true},
                 {{4, 0}, false}, {{0, -4}, false}, {{-40, 25}, false}};
    for (const auto& c : cases)
    {
        const QPoint ptRelease = ptPress + c.offset;
        m_sink.m_vecMenus.clear();
        m_pDates->SetRange(42000, 42100, ERangeChange::Reset);
        m_pPrices->SetRange(10, 30, ERangeChange::Reset);
        m_chart.RefreshChart();
        const double dDateShift =
            m_pDates->PixelToValue(ptPress.x()) - m_pDates->PixelToValue(ptRelease.x());
        const int nBefore = m_chart.m_nRedraws;
        Press(Qt::RightButton, ptPress);
        Move(ptRelease);
        Release(Qt::RightButton, ptRelease);
        const auto where = testing::Message()
                           << "released at " << c.offset.x() << "," << c.offset.y();
        if (c.bMenu)
        {
            ASSERT_EQ(m_sink.m_vecMenus.size(), 1u) << where;
            EXPECT_EQ(m_sink.m_vecMenus[0].x, ptRelease.x()) << where;
            EXPECT_EQ(m_sink.m_vecMenus[0].y, ptRelease.y()) << where;
            EXPECT_EQ(m_sink.m_dMenuPrice, CentsAt(ptRelease.y())) << where;
            EXPECT_EQ(m_pDates->m_dMin, 42000.0) << where << ": no pan";
            EXPECT_EQ(m_chart.m_nRedraws, nBefore) << where;
        }
        else
        {
            EXPECT_TRUE(m_sink.m_vecMenus.empty()) << where;
            EXPECT_NEAR(m_pDates->m_dMin, 42000.0 + dDateShift, 1e-9) << where << ": panned";
            EXPECT_EQ(m_chart.m_nRedraws, nBefore + 1) << where;
        }
    }

    // Away and back before the release is a drag; over an axis there is no price to offer.
    m_sink.m_vecMenus.clear();
    Press(Qt::RightButton, ptPress);
    Move(ptPress + QPoint(30, 0));
    Move(ptPress);
    Release(Qt::RightButton, ptPress);
    const RECT rcPlot = m_chart.GetPlotRect();
    const QPoint ptAxis(rcPlot.left - 5, ptPress.y());
    Press(Qt::RightButton, ptAxis);
    Release(Qt::RightButton, ptAxis);
    EXPECT_TRUE(m_sink.m_vecMenus.empty());
    EXPECT_FALSE(m_chart.m_bPanning);
}

} // namespace
