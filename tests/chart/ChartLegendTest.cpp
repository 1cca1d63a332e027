#include "chart/ChartLegend.h"
#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "chart/ChartTitle.h"
#include "tests/chart/ChartTestApp.h"
#include "tests/chart/ChartTextRecordingDC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

constexpr const char* kFace = "Times New Roman";
constexpr COLORREF kBackground = RGB(240, 240, 240);

// A control without a window, holding series the way AttachSerie leaves them.
class ChartLegendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureChartTestApp();
        ASSERT_TRUE(m_dc.Open(700, 500, kBackground));
        m_pLegend = m_chart.GetLegend();
    }

    CChartCandlestickSerie* Add(const std::string& strName, bool bVisible = true)
    {
        auto* pSerie = new CChartCandlestickSerie(&m_chart);
        pSerie->m_strName = strName;
        pSerie->m_bVisible = bVisible;
        pSerie->m_crColor = RGB(255, 0, 0);
        m_chart.m_seriesById[pSerie->m_nId] = pSerie;
        return pSerie;
    }

    // Two entries, plus two series that get none.
    void AddTypicalSeries()
    {
        Add("Alpha");
        Add("");
        Add("Hidden", false);
        Add("A much longer name");
        m_first = m_dc.Measure(kFace, 100, "Alpha");
        m_second = m_dc.Measure(kFace, 100, "A much longer name");
    }

    int VerticalWidth() const { return std::max(m_first.cx, m_second.cx) + 16 + 12; }
    int VerticalHeight() const
    {
        return std::max<int>(m_first.cy, 16) + 2 + std::max<int>(m_second.cy, 16) + 2 + 6;
    }

    CTextRecordingDC m_dc;
    CChartCtrl m_chart;
    CChartLegend* m_pLegend = nullptr;
    CSize m_first;
    CSize m_second;
};

TEST_F(ChartLegendTest, StartsHiddenAndClaimsNothing)
{
    EXPECT_FALSE(m_pLegend->m_bVisible);
    EXPECT_EQ(m_pLegend->m_strFontFace, kFace);
    EXPECT_EQ(m_pLegend->m_nFontSize, 100);
    EXPECT_TRUE(m_pLegend->m_bDocked);
    EXPECT_EQ(m_pLegend->m_nSide, LegendOnRight);
    EXPECT_TRUE(m_pLegend->m_bShadow);
    EXPECT_EQ(m_pLegend->m_crFill, 0xFFFFFFu);
    AddTypicalSeries();
    RECT rc = {0, 0, 600, 400};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    EXPECT_TRUE(IsRectEmpty(&m_pLegend->m_rcLegend));
    EXPECT_EQ(rc.right, 600);
    m_pLegend->DrawLegend(&m_dc);
    EXPECT_TRUE(m_dc.m_texts.empty());
}

TEST_F(ChartLegendTest, DockedRightItListsNamedVisibleSeriesOneBelowTheOther)
{
    AddTypicalSeries();
    m_pLegend->m_bVisible = true;
    RECT rc = {0, 0, 600, 400};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    const int w = VerticalWidth();
    const int h = VerticalHeight();
    const RECT& legend = m_pLegend->m_rcLegend;
    EXPECT_EQ(legend.left, 600 - w - 6);
    EXPECT_EQ(legend.right, 594);
    EXPECT_EQ(legend.top, 200 - (h + 2) / 2);
    EXPECT_EQ(legend.bottom, legend.top + h);
    EXPECT_EQ(rc.right, legend.left + 2) << "overlaps the chart by two pixels";
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.bottom, 400);

    m_pLegend->DrawLegend(&m_dc);
    ASSERT_EQ(m_dc.m_texts.size(), 2u);
    EXPECT_EQ(m_dc.m_texts[0].str, "Alpha");
    EXPECT_EQ(m_dc.m_texts[1].str, "A much longer name");
    EXPECT_EQ(m_dc.m_texts[0].x, legend.left + 2 + 16 + 4);
    EXPECT_EQ(m_dc.m_texts[1].x, legend.left + 2 + 16 + 4);
    // Both names have the font's cell height, so entries advance by their extent plus 2.
    EXPECT_EQ(m_dc.m_texts[1].y - m_dc.m_texts[0].y, std::max<int>(m_first.cy, 16) + 2);
}

TEST_F(ChartLegendTest, HorizontalLayoutOnTopAndBottomLeavesAGap)
{
    AddTypicalSeries();
    m_pLegend->m_bVisible = true;
    m_pLegend->SetHorizontal(true);
    m_pLegend->SetDocked(LegendOnTop);
    const int w = (16 + m_first.cx + 14) + (16 + m_second.cx + 14) - 6;
    const int h = std::max<int>(std::max(m_first.cy, m_second.cy), 16) + 8;
    RECT rc = {10, 20, 610, 420};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    RECT legend = m_pLegend->m_rcLegend;
    EXPECT_EQ(legend.top, 23);
    EXPECT_EQ(legend.bottom, 23 + h);
    EXPECT_EQ(legend.left, 300 - w / 2) << "centred on half the width counted from 0";
    EXPECT_EQ(legend.right, legend.left + w);
    EXPECT_EQ(rc.top, legend.bottom + 2);

    m_pLegend->SetDocked(LegendOnBottom);
    rc = {10, 20, 610, 420};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    legend = m_pLegend->m_rcLegend;
    EXPECT_EQ(legend.bottom, 418);
    EXPECT_EQ(legend.top, 418 - h);
    EXPECT_EQ(rc.bottom, legend.top - 2);

    m_pLegend->DrawLegend(&m_dc);
    ASSERT_EQ(m_dc.m_texts.size(), 2u);
    EXPECT_EQ(m_dc.m_texts[1].x - m_dc.m_texts[0].x, m_first.cx + 14 + 16);
}

TEST_F(ChartLegendTest, LeftFloatingAndInvalidPlacements)
{
    AddTypicalSeries();
    m_pLegend->m_bVisible = true;
    m_pLegend->SetDocked(LegendOnLeft);
    RECT rc = {5, 0, 600, 400};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    EXPECT_EQ(m_pLegend->m_rcLegend.left, 8);
    EXPECT_EQ(m_pLegend->m_rcLegend.right, 8 + VerticalWidth());
    EXPECT_EQ(rc.left, m_pLegend->m_rcLegend.right - 2);

    m_pLegend->SetFloating(10, 20);
    rc = {0, 0, 600, 400};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    EXPECT_EQ(m_pLegend->m_rcLegend.left, 10);
    EXPECT_EQ(m_pLegend->m_rcLegend.top, 20);
    EXPECT_EQ(m_pLegend->m_rcLegend.right, 10 + VerticalWidth());
    EXPECT_EQ(m_pLegend->m_rcLegend.bottom, 20 + VerticalHeight() + 2);
    EXPECT_EQ(rc.right, 600);
    EXPECT_EQ(rc.left, 0);

    m_pLegend->SetDocked(static_cast<ELegendSide>(7));
    m_pLegend->ReserveSpace(&rc, &m_dc);
    EXPECT_TRUE(IsRectEmpty(&m_pLegend->m_rcLegend));
    EXPECT_EQ(rc.right, 600);
}

TEST_F(ChartLegendTest, WithoutEntriesNothingIsClaimedOrDrawn)
{
    Add("");
    Add("Hidden", false);
    m_pLegend->m_bVisible = true;
    RECT rc = {0, 0, 600, 400};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    EXPECT_TRUE(IsRectEmpty(&m_pLegend->m_rcLegend));
    EXPECT_EQ(rc.right, 600);
    m_pLegend->DrawLegend(&m_dc);
    EXPECT_EQ(m_dc.GetPixel(550, 200), kBackground);
}

TEST_F(ChartLegendTest, DrawsShadowFillBorderAndSymbols)
{
    AddTypicalSeries();
    m_pLegend->m_bVisible = true;
    m_pLegend->m_crShadow = RGB(100, 100, 100);
    RECT rc = {0, 0, 600, 400};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    const RECT legend = m_pLegend->m_rcLegend;
    const int L = legend.left, T = legend.top, R = legend.right, B = legend.bottom;
    m_pLegend->DrawLegend(&m_dc);
    // Border on all four edges, including the right and bottom coordinates.
    EXPECT_EQ(m_dc.GetPixel(L, T + 3), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetPixel(R, T + 3), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetPixel(L + 3, T), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetPixel(L + 3, B), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetPixel(R - 2, B - 2), RGB(255, 255, 255));
    // The shadow shows 3 px right of and below the border.
    EXPECT_EQ(m_dc.GetPixel(R + 2, T + 5), RGB(100, 100, 100));
    EXPECT_EQ(m_dc.GetPixel(L + 5, B + 2), RGB(100, 100, 100));
    EXPECT_EQ(m_dc.GetPixel(R + 3, T + 5), kBackground);
    EXPECT_EQ(m_dc.GetPixel(R + 2, T + 2), kBackground);
    int nSymbolPixels = 0;
    for (int y = T; y < B; ++y)
        for (int x = L; x < L + 20; ++x)
            nSymbolPixels += m_dc.GetPixel(x, y) == RGB(255, 0, 0);
    EXPECT_GT(nSymbolPixels, 2 * 9 * 5) << "two filled candle symbols";
}

TEST_F(ChartLegendTest, ATransparentLegendLeavesItsInsideUnfilled)
{
    AddTypicalSeries();
    m_pLegend->m_bVisible = true;
    m_pLegend->SetTransparent(true);
    m_pLegend->SetShadow(false, 3);
    RECT rc = {0, 0, 600, 400};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    const RECT legend = m_pLegend->m_rcLegend;
    m_pLegend->DrawLegend(&m_dc);
    EXPECT_EQ(m_dc.GetPixel(legend.right - 2, legend.bottom - 2), kBackground);
    EXPECT_EQ(m_dc.GetPixel(legend.right, legend.top + 3), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetPixel(legend.right + 2, legend.top + 5), kBackground);
    ASSERT_EQ(m_dc.m_texts.size(), 2u);

    CDC noOutput;
    m_pLegend->DrawLegend(&noOutput);
    m_pLegend->DrawLegend(nullptr);
    EXPECT_EQ(m_dc.m_texts.size(), 2u);
}

TEST_F(ChartLegendTest, ATallNameStartsAtTheSymbolTopAndTheSymbolIsCentredOnIt)
{
    Add("Tall");
    m_pLegend->m_bVisible = true;
    m_pLegend->m_nFontSize = 360;
    const CSize name = m_dc.Measure(kFace, 360, "Tall");
    ASSERT_GT(name.cy, 16);
    RECT rc = {0, 0, 600, 400};
    m_pLegend->ReserveSpace(&rc, &m_dc);
    const RECT legend = m_pLegend->m_rcLegend;
    EXPECT_EQ(legend.bottom - legend.top, name.cy + 2 + 6);
    m_pLegend->DrawLegend(&m_dc);
    ASSERT_EQ(m_dc.m_texts.size(), 1u);
    EXPECT_EQ(m_dc.m_texts[0].y, legend.top + 5);

    // The symbol's wicks run down its middle column towards its top and bottom edges; lines
    // leave their end pixel unset, so the top row stays empty and the bottom one is outside.
    const int nWickX = legend.left + 2 + 8;
    int nTop = -1;
    int nBottom = -1;
    for (int y = legend.top; y <= legend.bottom; ++y)
    {
        if (m_dc.GetPixel(nWickX, y) != RGB(255, 0, 0))
            continue;
        nTop = nTop < 0 ? y : nTop;
        nBottom = y;
    }
    const int nShift = name.cy / 2 - 17 / 2;
    EXPECT_EQ(nTop, legend.top + 5 + nShift + 1);
    EXPECT_EQ(nBottom, legend.top + 6 + 16 + nShift - 1);
}

// The title and the legend take their room before the axes, and the legend is drawn last.
TEST(ChartLegendAndTitleInAChart, TakeTheirRoomFirstAndTheLegendDrawsOverAll)
{
    EnsureChartTestApp();
    CChartCtrl chart;
    ASSERT_TRUE(chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0));
    chart.NewDateTimeAxis()->SetRangeMode(AllPoints);
    chart.NewStandardAxis()->SetRangeMode(AllPoints);
    auto* pSerie = new CChartCandlestickSerie(&chart);
    pSerie->SetName("Daily");
    chart.AttachSerie(pSerie);
    SChartCandlestickPoint bars[3] = {
        {42000, 10, 20, 18, 12}, {42001, 11, 21, 12, 19}, {42002, 12, 22, 20, 13}};
    pSerie->AddPoints(bars, 3);
    EXPECT_TRUE(IsRectEmpty(&chart.GetLegend()->m_rcLegend)) << "hidden until asked";
    EXPECT_EQ(chart.GetTitle()->GetLineCount(), 0u) << "empty until asked";
    const RECT rcPlain = chart.GetPlotRect();

    chart.GetTitle()->AddLine("Replay");
    chart.GetLegend()->SetVisible(true);
    CTextRecordingDC dc;
    ASSERT_TRUE(dc.Open(10, 10, kBackground));
    const int nLineHeight = dc.Measure("Microsoft Sans Serif", 100, "Replay").cy;
    const CSize name = dc.Measure(kFace, 100, "Daily");

    const RECT& title = chart.GetTitle()->m_rcTitle;
    EXPECT_EQ(title.left, 3);
    EXPECT_EQ(title.top, 3);
    EXPECT_EQ(title.right, 637);
    EXPECT_EQ(title.bottom, 3 + 4 + nLineHeight + 2);

    // Docked right in the area below the title: {3, title.bottom, 637, 397}.
    const RECT& legend = chart.GetLegend()->m_rcLegend;
    const int w = name.cx + 16 + 12;
    const int h = std::max<int>(name.cy, 16) + 2 + 6;
    EXPECT_EQ(legend.left, 637 - w - 6);
    EXPECT_EQ(legend.right, 631);
    EXPECT_EQ(legend.top, (397 - title.bottom) / 2 - (h + 2) / 2);
    EXPECT_EQ(legend.bottom, legend.top + h);

    const RECT plot = chart.GetPlotRect();
    EXPECT_GT(plot.top, rcPlain.top) << "the axes lay out below the title";
    EXPECT_LT(plot.right, legend.left + 2);
    EXPECT_LT(plot.right, rcPlain.right);

    CDC* pBuffer = chart.GetBufferDC();
    EXPECT_EQ(pBuffer->GetPixel(legend.right, legend.top + 3), RGB(0, 0, 0));
    EXPECT_EQ(pBuffer->GetPixel(legend.right - 2, legend.bottom - 2), RGB(255, 255, 255));
    EXPECT_EQ(pBuffer->GetPixel(legend.right + 2, legend.top + 5), RGB(150, 150, 150))
        << "the default shadow is mid grey";
    int nRed = 0;
    for (int y = legend.top; y < legend.bottom; ++y)
        nRed += pBuffer->GetPixel(legend.left + 2 + 8, y) == RGB(255, 0, 0);
    EXPECT_GT(nRed, 8) << "the series' symbol in its colour";
    int nInk = 0;
    for (int y = title.top; y < title.bottom; ++y)
        for (int x = 280; x < 360; ++x)
            nInk += pBuffer->GetPixel(x, y) != kBackground;
    EXPECT_GT(nInk, 20) << "the title's text, centred";
}

} // namespace
