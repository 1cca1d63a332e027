// Printing the chart: one page, laid out at three quarters of the screen scale, no background or
// window edge, the window laid out again afterwards, nothing left behind.
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "platform/PrintDialog.h"
#include "platform/testsupport/TestSupport.h"
#include "platform/WinGdi.h"

#include "ChartTestApp.h"
#include "CountingChart.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

// The replay's picture: 26 falling daily bars on the date and price axes.
void FillReplayChart(CChartCtrl& chart)
{
    CChartDateTimeAxis* pDates = chart.NewDateTimeAxis();
    pDates->SetTickLabelFormat(false, "%Y-%m-%d");
    pDates->SetRangeMode(AllPoints);
    chart.NewStandardAxis()->SetRangeMode(AllPoints);
    auto* pSerie = new CChartCandlestickSerie(&chart);
    chart.AttachSerie(pSerie);
    std::vector<SChartCandlestickPoint> bars;
    for (int i = 0; i < 26; ++i)
        bars.push_back({42000.0 + i, 10.0 + i % 3, 20.0 + i % 4, 18.0, 12.0});
    pSerie->AddPoints(bars.data(), unsigned(bars.size()));
}

DWORD LiveGdiObjects()
{
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

std::string ReadFile(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Page objects of a PDF: "/Type /Page" or "/Type/Page" not followed by "s".
int CountPdfPages(const std::string& strPdf)
{
    int nPages = 0;
    for (const std::string strKey : {"/Type /Page", "/Type/Page"})
    {
        for (std::size_t n = strPdf.find(strKey); n != std::string::npos;
             n = strPdf.find(strKey, n + 1))
            nPages += strPdf.compare(n + strKey.size(), 1, "s") != 0;
    }
    return nPages;
}

class ChartPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureChartTestApp();
        ASSERT_TRUE(
            m_chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0));
        FillReplayChart(m_chart);
        m_rcWindowPlot = m_chart.GetPlotRect();
    }

    CCountingChart m_chart;
    RECT m_rcWindowPlot = {0, 0, 0, 0};
};

TEST_F(ChartPrintTest, PrintsOnePageToAPdfAndLaysTheWindowOutAgain)
{
    const std::string strPath = "/tmp/orvanta-chart-print-" + std::to_string(getpid()) + ".pdf";
    std::remove(strPath.c_str());
    const DWORD nObjectsBefore = LiveGdiObjects();
    const int nRedrawsBefore = m_chart.m_nRedraws;

    PlatformPrintNextToPdf(strPath);
    m_chart.PrintChart("Orvanta chart");

    const SPrintRecord job = PlatformLastPrintJob();
    EXPECT_EQ(job.strDocName, "Orvanta chart");
    EXPECT_EQ(job.strOutput, strPath);
    EXPECT_EQ(job.nPages, 1);
    EXPECT_TRUE(job.bEnded);
    EXPECT_FALSE(job.bAborted);
    const std::string strPdf = ReadFile(strPath);
    ASSERT_EQ(strPdf.rfind("%PDF", 0), 0u) << "a PDF file";
    EXPECT_EQ(CountPdfPages(strPdf), 1);

    EXPECT_EQ(m_chart.m_nRedraws, nRedrawsBefore + 1) << "one refresh after the job";
    EXPECT_TRUE(EqualRect(&m_chart.m_rcPlot, &m_rcWindowPlot)) << "laid out for the window";
    EXPECT_EQ(m_chart.m_printFont.GetSafeHandle(), nullptr);
    EXPECT_EQ(LiveGdiObjects(), nObjectsBefore) << "print font and printer DC are released";
    std::remove(strPath.c_str());
}

TEST_F(ChartPrintTest, ThePageShowsTheCandlesWithoutBackgroundOrEdge)
{
    // A4 at 150 dots per inch; the screen has 96.
    PlatformPrintNextToImages(1240, 1754, 150);
    m_chart.PrintChart("page");
    ASSERT_EQ(PlatformPrintedPageCount(), 1);
    EXPECT_EQ(m_chart.m_szPrintDevice.cx, 1240);
    EXPECT_EQ(m_chart.m_szPrintDevice.cy, 1754);
    // 1240 * 96 / 150 = 793, three quarters 594; 1754 * 96 / 150 = 1122, three quarters 841.
    EXPECT_EQ(m_chart.m_szPrintLogical.cx, 594);
    EXPECT_EQ(m_chart.m_szPrintLogical.cy, 841);

    const QImage page = PlatformPrintedPage(0);
    ASSERT_EQ(page.width(), 1240);
    int nRed = 0;
    int nFace = 0;
    for (int y = 0; y < page.height(); y += 2)
    {
        for (int x = 0; x < page.width(); x += 2)
        {
            const QColor c(page.pixel(x, y));
            nRed += c == QColor(255, 0, 0);
            nFace += c == QColor(240, 240, 240);
        }
    }
    EXPECT_GT(nRed, 26 * 20) << "the falling candles, filled red";
    // Smoothed text may touch that grey here and there; a background fill would cover the page.
    EXPECT_LT(nFace, 100) << "no background fill";
    // No raised edge around the page: its outer band stays white.
    for (int n = 0; n < 6; ++n)
    {
        EXPECT_EQ(QColor(page.pixel(n, 800)), QColor(Qt::white)) << n;
        EXPECT_EQ(QColor(page.pixel(600, n)), QColor(Qt::white)) << n;
    }
    // The plot reaches across most of the page: the layout used the logical page, scaled up.
    int nRightmostRed = 0;
    for (int x = 0; x < page.width(); ++x)
        for (int y = 0; y < page.height(); y += 8)
            if (QColor(page.pixel(x, y)) == QColor(255, 0, 0))
                nRightmostRed = std::max(nRightmostRed, x);
    EXPECT_GT(nRightmostRed, 1240 * 8 / 10);
}

TEST_F(ChartPrintTest, CancellingTheDialogPrintsNothing)
{
    PlatformPrintNextToImages(200, 200, 96);
    m_chart.PrintChart("before");
    const DWORD nObjectsBefore = LiveGdiObjects();
    const int nRedrawsBefore = m_chart.m_nRedraws;
    PlatformCancelNextPrintDialog();
    m_chart.PrintChart("cancelled");
    EXPECT_EQ(PlatformLastPrintJob().strDocName, "before");
    EXPECT_EQ(m_chart.m_nRedraws, nRedrawsBefore);
    EXPECT_EQ(LiveGdiObjects(), nObjectsBefore);
}

TEST_F(ChartPrintTest, AFailedJobIsAbortedAndTheWindowStillLaidOutAgain)
{
    for (int nStep : {0, 1})
    {
        const int nRedrawsBefore = m_chart.m_nRedraws;
        const DWORD nObjectsBefore = LiveGdiObjects();
        PlatformFailNextPrintJob(nStep);
        PlatformPrintNextToImages(200, 300, 96);
        m_chart.PrintChart("failing");
        const SPrintRecord job = PlatformLastPrintJob();
        EXPECT_TRUE(job.bAborted) << nStep;
        EXPECT_FALSE(job.bEnded) << nStep;
        EXPECT_EQ(job.nPages, 0) << nStep;
        EXPECT_EQ(m_chart.m_nRedraws, nRedrawsBefore + 1) << nStep;
        EXPECT_TRUE(EqualRect(&m_chart.m_rcPlot, &m_rcWindowPlot)) << nStep;
        EXPECT_EQ(LiveGdiObjects(), nObjectsBefore) << nStep;
    }
}

TEST_F(ChartPrintTest, ACallersDialogKeepsItsPrinterDC)
{
    PlatformPrintNextToImages(300, 400, 96);
    CPrintDialog dialog(FALSE);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const HDC hPrinter = dialog.GetPrinterDC();
    ASSERT_NE(hPrinter, nullptr);
    m_chart.PrintChart("caller's dialog", &dialog);
    EXPECT_EQ(PlatformLastPrintJob().nPages, 1);
    EXPECT_EQ(GetDeviceCaps(hPrinter, HORZRES), 300) << "still alive";
    // Same resolution on both sides: the page is laid out at three quarters of its size.
    EXPECT_EQ(m_chart.m_szPrintLogical.cx, 225);
    EXPECT_EQ(m_chart.m_szPrintLogical.cy, 300);
}

TEST(ChartPrintWithoutABuffer, TakesTheScreenResolutionFromTheScreen)
{
    EnsureChartTestApp();
    CChartCtrl chart; // no window, so no refresh has made a back buffer
    FillReplayChart(chart);
    ASSERT_EQ(chart.GetBufferDC()->GetSafeHdc(), nullptr);
    HDC hScreen = ::GetDC(nullptr);
    const int nScreenDpi = GetDeviceCaps(hScreen, LOGPIXELSX);
    ::ReleaseDC(nullptr, hScreen);
    ASSERT_GT(nScreenDpi, 0);

    PlatformPrintNextToImages(1200, 1200, 2 * nScreenDpi);
    chart.PrintChart("no buffer");
    EXPECT_EQ(PlatformLastPrintJob().nPages, 1);
    EXPECT_EQ(chart.m_szPrintLogical.cx, 1200 / 2 * 3 / 4);
    EXPECT_EQ(chart.GetBufferDC()->GetSafeHdc(), nullptr);
}

} // namespace
