#include "chart/ChartTitle.h"
#include "tests/chart/ChartTestApp.h"
#include "tests/chart/ChartTextRecordingDC.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

constexpr const char* kFace = "Microsoft Sans Serif";

class ChartTitleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureChartTestApp();
        ASSERT_TRUE(m_dc.Open(600, 200, RGB(240, 240, 240)));
        m_title.m_rcTitle = {3, 10, 503, 77};
    }

    CTextRecordingDC m_dc;
    CChartTitle m_title{nullptr};
};

TEST_F(ChartTitleTest, AnEmptyOrHiddenTitleTakesNoRoomAndDrawsNothing)
{
    EXPECT_TRUE(m_title.m_bVisible);
    EXPECT_EQ(m_title.m_defaultFont.m_strFace, kFace);
    EXPECT_EQ(m_title.m_defaultFont.m_nPointSize, 100);
    SIZE size = m_title.MeasureTitle(&m_dc);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    EXPECT_EQ(m_title.m_rcTitle.bottom, 77) << "the layout's value stays";
    m_title.DrawTitle(&m_dc);
    EXPECT_TRUE(m_dc.m_texts.empty());

    m_title.AddLine("Replay");
    m_title.SetVisible(false);
    size = m_title.MeasureTitle(&m_dc);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    m_title.DrawTitle(&m_dc);
    EXPECT_TRUE(m_dc.m_texts.empty());
}

TEST_F(ChartTitleTest, LinesAreStackedAndCentred)
{
    m_title.AddLine("Daily bars");
    m_title.AddLine("A longer second line");
    const CSize first = m_dc.Measure(kFace, 100, "Daily bars");
    const CSize second = m_dc.Measure(kFace, 100, "A longer second line");

    const SIZE size = m_title.MeasureTitle(&m_dc);
    EXPECT_EQ(size.cy, 4 + first.cy + 2 + second.cy + 2);
    EXPECT_EQ(size.cx, std::max(first.cx, second.cx) + 2);
    EXPECT_EQ(m_title.m_rcTitle.bottom, 10 + size.cy);

    m_title.DrawTitle(&m_dc);
    ASSERT_EQ(m_dc.m_texts.size(), 2u);
    EXPECT_EQ(m_dc.m_texts[0].str, "Daily bars");
    EXPECT_EQ(m_dc.m_texts[0].x, 3 + 250 - first.cx / 2);
    EXPECT_EQ(m_dc.m_texts[0].y, 10 + 4);
    EXPECT_EQ(m_dc.m_texts[0].nOptions, UINT(ETO_CLIPPED));
    EXPECT_EQ(m_dc.m_texts[1].x, 3 + 250 - second.cx / 2);
    EXPECT_EQ(m_dc.m_texts[1].y, 10 + 4 + first.cy + 2);
}

TEST_F(ChartTitleTest, ALineFontAppliesToItsLineOnly)
{
    m_title.AddLine("Big");
    m_title.AddLine("Big");
    ChartFont big;
    big.m_nPointSize = 240;
    big.m_bBold = true;
    m_title.SetLineFont(0, big);
    const CSize normal = m_dc.Measure(kFace, 100, "Big");
    CFont* pFontBefore = m_dc.GetCurrentFont();

    const SIZE size = m_title.MeasureTitle(&m_dc);
    EXPECT_EQ(m_dc.GetCurrentFont(), pFontBefore);
    const int nBigHeight = size.cy - 4 - 2 - (normal.cy + 2);
    EXPECT_GT(nBigHeight, normal.cy);

    const COLORREF crBefore = m_dc.GetTextColor();
    const int nModeBefore = m_dc.GetBkMode();
    m_title.SetColor(RGB(0, 0, 255));
    m_title.DrawTitle(&m_dc);
    EXPECT_EQ(m_dc.GetCurrentFont(), pFontBefore);
    EXPECT_EQ(m_dc.GetTextColor(), crBefore);
    EXPECT_EQ(m_dc.GetBkMode(), nModeBefore);
    ASSERT_EQ(m_dc.m_texts.size(), 2u);
    EXPECT_EQ(m_dc.m_texts[1].y, 10 + 4 + nBigHeight + 2);
    EXPECT_GT(m_dc.m_texts[1].x, m_dc.m_texts[0].x) << "the normal line is narrower";
    EXPECT_EQ(m_dc.m_texts[1].x, 3 + 250 - normal.cx / 2);
}

TEST_F(ChartTitleTest, DrawingWithoutAnOutputHandleDoesNothing)
{
    m_title.AddLine("Replay");
    CDC noOutput;
    m_title.DrawTitle(&noOutput);
    m_title.DrawTitle(nullptr);
    EXPECT_TRUE(m_dc.m_texts.empty());
}

} // namespace
