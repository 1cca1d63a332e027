// Reading the chart with the mouse: the wheel zooms the date axis around the pointer and refits
// the prices; the crosshair follows the pointer over the picture and names the bar under it.
#include "chart/ChartAxis.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCrosshair.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "platform/DC.h"
#include "platform/OleDate.h"
#include "platform/testsupport/TestSupport.h"

#include "ChartTestApp.h"
#include "CountingChart.h"
#include "HostedChartTest.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <vector>

namespace
{

// 640 x 400 with 101 daily bars from day 42000; bar i spans prices 10 + i / 10 to 20 + i / 10,
// so the bars in view decide the price range.
class ChartReadingAidsTest : public CHostedChartTest
{
protected:
    void AddContent() override
    {
        auto* pSerie = new CChartCandlestickSerie(&m_chart);
        m_chart.AttachSerie(pSerie);
        for (int i = 0; i <= 100; ++i)
        {
            const double dBase = 10 + i / 10.0;
            m_vecBars.push_back({42000.0 + i, dBase, dBase + 10, dBase + 2, dBase + 8});
        }
        pSerie->AddPoints(m_vecBars.data(), unsigned(m_vecBars.size()));
        m_pCrosshair = new CChartCrosshair(&m_chart);
        m_chart.AddOverlay(m_pCrosshair);
    }

    // One wheel turn as the window system delivers it, in notches away from the user.
    void Wheel(QPoint pt, int nNotches)
    {
        QWheelEvent event(pt, m_pWidget->mapToGlobal(pt), QPoint(), QPoint(0, 120 * nNotches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_pWidget, &event);
    }

    int PixelOf(double dDate) const { return m_pDates->ValueToPixel(dDate); }

    CChartCrosshair* m_pCrosshair = nullptr;
    std::vector<SChartCandlestickPoint> m_vecBars;
};

TEST_F(ChartReadingAidsTest, OneNotchZoomsAFifthAroundThePointerAndRefitsThePrices)
{
    const int x = PixelOf(42025);
    const double dAnchor = m_pDates->PixelToValue(x);
    const int nBefore = m_chart.m_nRedraws;
    Wheel(QPoint(x, 200), 1);

    EXPECT_NEAR(m_pDates->m_dMax - m_pDates->m_dMin, 80.0, 1e-9) << "a fifth of 100 days off";
    // The value under the pointer stays where it was.
    EXPECT_NEAR((dAnchor - m_pDates->m_dMin) / (m_pDates->m_dMax - dAnchor),
                (dAnchor - 42000) / (42100 - dAnchor), 1e-9);
    EXPECT_EQ(m_chart.m_nRedraws, nBefore + 1) << "one redraw for both axes";
    // Only the bars in view count for the prices.
    double dLow = 0;
    double dHigh = 0;
    m_pPrices->GetSeriesVisibleRange(&dLow, &dHigh);
    EXPECT_DOUBLE_EQ(m_pPrices->m_dMin, dLow);
    EXPECT_DOUBLE_EQ(m_pPrices->m_dMax, dHigh);
    EXPECT_GT(m_pPrices->m_dMin, 10.0);
    EXPECT_EQ(m_pDates->m_dSavedMin, 42000.0) << "the data's range stays the one to restore";
}

TEST_F(ChartReadingAidsTest, ZoomingOutStopsAtTheDataAndABackwardBoxStillRestores)
{
    const int x = PixelOf(42050);
    Wheel(QPoint(x, 200), 2);
    EXPECT_NEAR(m_pDates->m_dMax - m_pDates->m_dMin, 64.0, 1e-9);
    Wheel(QPoint(x, 200), -1);
    EXPECT_NEAR(m_pDates->m_dMax - m_pDates->m_dMin, 80.0, 1e-9) << "out undoes in";
    Wheel(QPoint(x, 200), -5);
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
    EXPECT_EQ(m_pDates->m_dMax, 42100.0);

    Wheel(QPoint(x, 200), 3);
    QTest::mousePress(m_pWidget, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QTest::mouseMove(m_pWidget, QPoint(200, 100));
    QTest::mouseRelease(m_pWidget, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
    EXPECT_EQ(m_pDates->m_dMax, 42100.0);
    EXPECT_EQ(m_pPrices->m_dMin, 10.0);
    EXPECT_EQ(m_pPrices->m_dMax, 30.0);
}

TEST_F(ChartReadingAidsTest, TheWheelOutsideThePlotOrOnAnEmptyChartChangesNothing)
{
    const RECT rcPlot = m_chart.GetPlotRect();
    Wheel(QPoint(rcPlot.left - 5, 200), 1);
    EXPECT_EQ(m_pDates->m_dMin, 42000.0);
    EXPECT_EQ(m_pDates->m_dMax, 42100.0);

    m_chart.DeleteAllSeries();
    m_pDates->RefreshAutoRange();
    m_pPrices->RefreshAutoRange();
    m_chart.ZoomDateAxisAt(300, 1);
    EXPECT_EQ(m_pDates->m_dMin, m_pDates->m_dMax) << "an empty range is not zoomed";
}

TEST_F(ChartReadingAidsTest, TheCrosshairIsDrawnOverThePictureAndLeavesWithThePointer)
{
    const RECT rcPlot = m_chart.GetPlotRect();
    const QPoint pt(PixelOf(42040) + 3, (rcPlot.top + rcPlot.bottom) / 2 + 1);
    QTest::mouseMove(m_pWidget, pt);
    ASSERT_TRUE(m_pCrosshair->IsShown());

    const QImage shown = m_pWidget->grab().toImage();
    CDC* pBuffer = m_chart.GetBufferDC();
    // Dotted: along each line some pixels are the line colour and the buffer never holds them.
    int nHorizontal = 0;
    for (int x = rcPlot.left + 1; x < rcPlot.left + 40; ++x)
        if (QColor(shown.pixel(x, pt.y())) == QColor(80, 80, 80))
        {
            ++nHorizontal;
            EXPECT_NE(pBuffer->GetPixel(x, pt.y()), RGB(80, 80, 80));
        }
    EXPECT_GT(nHorizontal, 5);
    EXPECT_LT(nHorizontal, 39) << "a dotted line leaves gaps";
    int nVertical = 0;
    for (int y = rcPlot.top + 1; y < rcPlot.top + 40; ++y)
        nVertical += QColor(shown.pixel(pt.x(), y)) == QColor(80, 80, 80) ? 1 : 0;
    EXPECT_GT(nVertical, 5);

    QTest::mouseMove(m_pWidget, QPoint(1, 1));
    EXPECT_FALSE(m_pCrosshair->IsShown());
    const QImage left = m_pWidget->grab().toImage();
    EXPECT_EQ(left.pixel(rcPlot.left + 10, pt.y()),
              QColor(GetRValue(pBuffer->GetPixel(rcPlot.left + 10, pt.y())),
                     GetGValue(pBuffer->GetPixel(rcPlot.left + 10, pt.y())),
                     GetBValue(pBuffer->GetPixel(rcPlot.left + 10, pt.y())))
                  .rgb());
}

TEST_F(ChartReadingAidsTest, TheLabelNamesTheNearestBarWithTheChartsDecimals)
{
    SChartCandlestickPoint bar = {};
    ASSERT_TRUE(m_pCrosshair->FindBarAt(PixelOf(42040) + 2, &bar));
    EXPECT_EQ(bar.dDate, 42040.0);
    EXPECT_EQ(m_pCrosshair->LabelText(bar), "2015-02-05  O 16.00  H 24.00  L 14.00  C 22.00");

    m_pCrosshair->SetDecimals(4);
    EXPECT_EQ(m_pCrosshair->LabelText(bar),
              "2015-02-05  O 16.0000  H 24.0000  L 14.0000  C 22.0000");

    // An intraday bar shows its time.
    SChartCandlestickPoint intraday = bar;
    intraday.dDate = 42040.0 + 9.5 / 24;
    m_pCrosshair->SetDecimals(0);
    EXPECT_EQ(m_pCrosshair->LabelText(intraday), "2015-02-05 09:30  O 16  H 24  L 14  C 22");

    m_chart.DeleteAllSeries();
    EXPECT_FALSE(m_pCrosshair->FindBarAt(300, &bar));
}

TEST_F(ChartReadingAidsTest, TheSavedPictureIsTheBufferAndAFailedSaveLeavesNoFile)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("orvanta-chart-image-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string strPath = (dir / "chart.png").string();
    ASSERT_TRUE(m_chart.SaveImage(strPath));
    QImage saved(QString::fromStdString(strPath));
    ASSERT_EQ(saved.size(), QSize(640, 400));
    for (const QPoint pt : {QPoint(5, 5), QPoint(320, 200), QPoint(100, 300)})
    {
        const COLORREF cr = m_chart.GetBufferDC()->GetPixel(pt.x(), pt.y());
        EXPECT_EQ(QColor(saved.pixel(pt)), QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)));
    }

    const std::string strMissing = (dir / "no-such-folder" / "chart.png").string();
    EXPECT_FALSE(m_chart.SaveImage(strMissing));
    EXPECT_FALSE(std::filesystem::exists(strMissing));
    std::filesystem::remove_all(dir);
}

} // namespace
