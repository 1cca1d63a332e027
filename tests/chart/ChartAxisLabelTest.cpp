#include "chart/ChartAxisLabel.h"
#include "ChartTestApp.h"
#include "chart/ChartFont.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

class CaptionFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureChartTestApp();
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateCompatibleBitmap(&m_dc, 200, 200);
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
    }
    void TearDown() override { m_dc.SelectObject(m_pOldBitmap); }

    // The extent of text in the caption's font, measured independently.
    SIZE Extent(const std::string& strText)
    {
        CFont font;
        font.CreatePointFont(100, "Microsoft Sans Serif", &m_dc);
        CFont* pOld = m_dc.SelectObject(&font);
        const SIZE sz = m_dc.GetTextExtent(strText);
        m_dc.SelectObject(pOld);
        return sz;
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

} // namespace

TEST_F(CaptionFixture, CaptionSizeAddsPaddingAndTurnsForAVerticalAxis)
{
    const SIZE szText = Extent("Price");
    ASSERT_GT(szText.cx, 0);

    CChartAxisLabel horizontal;
    horizontal.m_strText = "Price";
    const SIZE szHorizontal = horizontal.GetSize(&m_dc);
    EXPECT_EQ(szHorizontal.cx, szText.cx + 4);
    EXPECT_EQ(szHorizontal.cy, szText.cy + 4);

    CChartAxisLabel vertical;
    vertical.m_strText = "Price";
    vertical.m_bHorizontal = false;
    vertical.m_Font.m_bVertical = true;
    const SIZE szVertical = vertical.GetSize(&m_dc);
    EXPECT_EQ(szVertical.cx, szText.cy + 4);
    EXPECT_EQ(szVertical.cy, szText.cx + 4);
}

TEST_F(CaptionFixture, EmptyHiddenOrUnmeasurableCaptionsTakeNoRoom)
{
    CChartAxisLabel caption;
    SIZE sz = caption.GetSize(&m_dc);
    EXPECT_EQ(sz.cx, 0);
    EXPECT_EQ(sz.cy, 0);

    caption.m_strText = "Date";
    caption.m_bVisible = false;
    sz = caption.GetSize(&m_dc);
    EXPECT_EQ(sz.cx, 0);
    EXPECT_EQ(sz.cy, 0);

    caption.m_bVisible = true;
    CDC noDevice;
    sz = caption.GetSize(&noDevice);
    EXPECT_EQ(sz.cx, 0);
    sz = caption.GetSize(nullptr);
    EXPECT_EQ(sz.cy, 0);
}

TEST_F(CaptionFixture, CaptionDrawsInsideItsRectangleAndRestoresTheDc)
{
    const RECT rc = {0, 0, 200, 200};
    m_dc.FillSolidRect(&rc, RGB(255, 255, 255));
    CFont* pFontBefore = m_dc.GetCurrentFont();
    const COLORREF crTextBefore = m_dc.SetTextColor(RGB(1, 1, 1));
    const int nModeBefore = m_dc.SetBkMode(OPAQUE);

    CChartAxisLabel caption;
    caption.m_strText = "Volume";
    caption.m_crText = RGB(255, 0, 0);
    const SIZE sz = caption.GetSize(&m_dc);
    caption.m_rcText = {50, 60, 50 + sz.cx, 60 + sz.cy};
    caption.Draw(&m_dc);

    int nInside = 0;
    int nOutside = 0;
    for (int y = 0; y < 200; ++y)
    {
        for (int x = 0; x < 200; ++x)
        {
            if (m_dc.GetPixel(x, y) == RGB(255, 255, 255))
                continue;
            const bool bInside = x >= 50 && x < 50 + sz.cx && y >= 60 && y < 60 + sz.cy;
            ++(bInside ? nInside : nOutside);
        }
    }
    EXPECT_GT(nInside, 0);
    EXPECT_EQ(nOutside, 0);
    EXPECT_EQ(m_dc.GetCurrentFont(), pFontBefore);
    EXPECT_EQ(m_dc.GetTextColor(), RGB(1, 1, 1));
    EXPECT_EQ(m_dc.GetBkMode(), OPAQUE);
    m_dc.SetTextColor(crTextBefore);
    m_dc.SetBkMode(nModeBefore);
}

TEST_F(CaptionFixture, FontIsCreatedOnceUntilMarkedDirty)
{
    ChartFont font;
    font.m_bVertical = true;
    font.m_bBold = true;
    CGdiObject* pPrev = font.SelectFont(&m_dc);
    EXPECT_EQ(pPrev, font.m_pPrevFont);
    EXPECT_FALSE(font.m_bDirty);
    const HGDIOBJ hFirst = font.m_font.GetSafeHandle();
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(m_dc.GetCurrentFont(), &font.m_font);
    m_dc.SelectObject(font.m_pPrevFont);
    font.m_pPrevFont = nullptr;

    LOGFONT logFont = {};
    font.m_font.GetLogFont(&logFont);
    EXPECT_EQ(logFont.lfEscapement, 900);
    EXPECT_EQ(logFont.lfOrientation, 900);
    EXPECT_EQ(logFont.lfWeight, 700);
    EXPECT_STREQ(logFont.lfFaceName, "Microsoft Sans Serif");

    font.SelectFont(&m_dc);
    m_dc.SelectObject(font.m_pPrevFont);
    EXPECT_EQ(font.m_font.GetSafeHandle(), hFirst);

    // A face longer than the record holds is cut to 30 characters.
    font.m_strFace = std::string(40, 'x');
    font.m_bVertical = false;
    font.m_bDirty = true;
    font.SelectFont(&m_dc);
    m_dc.SelectObject(font.m_pPrevFont);
    font.m_font.GetLogFont(&logFont);
    EXPECT_EQ(std::strlen(logFont.lfFaceName), 30u);
    EXPECT_EQ(logFont.lfEscapement, 0);

    // A copy carries the description and creates its own font.
    ChartFont copy(font);
    EXPECT_TRUE(copy.m_bDirty);
    EXPECT_EQ(copy.m_font.GetSafeHandle(), nullptr);
    EXPECT_EQ(copy.m_strFace, font.m_strFace);
}
