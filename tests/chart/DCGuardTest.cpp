#include "chart/DCGuard.h"
#include "ChartTestApp.h"
#include "chart/ChartFont.h"
#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/DC.h"

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A white 60 x 60 memory DC.
class DCGuardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureChartTestApp();
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateCompatibleBitmap(&m_dc, 60, 60);
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        Fill({0, 0, 60, 60}, kWhite);
    }
    void TearDown() override { m_dc.SelectObject(m_pOldBitmap); }

    void Fill(RECT rc, COLORREF cr) { m_dc.FillSolidRect(&rc, cr); }

    // The columns of row y that hold cr, as a string of '#' and '.', so a clip shows at a glance.
    std::string Row(int y, COLORREF cr)
    {
        std::string text;
        for (int x = 0; x < 60; x += 5)
            text += m_dc.GetPixel(x, y) == cr ? '#' : '.';
        return text;
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

} // namespace

TEST_F(DCGuardTest, EveryStateChangedThroughTheGuardComesBack)
{
    CPen penBefore(PS_SOLID, 0, RGB(1, 2, 3));
    CBrush brushBefore(RGB(4, 5, 6));
    CFont fontBefore;
    fontBefore.CreatePointFont(90, "Arial", &m_dc);
    CPen* pPen0 = m_dc.SelectObject(&penBefore);
    CBrush* pBrush0 = m_dc.SelectObject(&brushBefore);
    CFont* pFont0 = m_dc.SelectObject(&fontBefore);
    m_dc.SetBkMode(OPAQUE);
    m_dc.SetTextColor(RGB(7, 8, 9));
    m_dc.SetBkColor(RGB(10, 11, 12));
    {
        CDCGuard guard(&m_dc);
        CPen pen(PS_SOLID, 0, kRed);
        CBrush brush(kBlue);
        ChartFont chartFont;
        guard.SelectPen(&pen);
        guard.SelectNewPen(kBlue);
        guard.SelectBrush(&brush);
        guard.SelectNewPointFont(120, "Arial");
        guard.SelectFont(chartFont);
        EXPECT_EQ(chartFont.m_pPrevFont, nullptr) << "the guard, not the font, restores";
        guard.SetBkMode(TRANSPARENT);
        guard.SetBkMode(OPAQUE);
        guard.SetTextColor(kRed);
        guard.SetBkColor(kBlue);
        EXPECT_NE(m_dc.GetCurrentPen(), &penBefore);
        EXPECT_NE(m_dc.GetCurrentFont(), &fontBefore);
        EXPECT_EQ(m_dc.GetTextColor(), kRed);
    }
    EXPECT_EQ(m_dc.GetCurrentPen(), &penBefore);
    EXPECT_EQ(m_dc.GetCurrentBrush(), &brushBefore);
    EXPECT_EQ(m_dc.GetCurrentFont(), &fontBefore);
    EXPECT_EQ(m_dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(m_dc.GetTextColor(), RGB(7, 8, 9));
    EXPECT_EQ(m_dc.GetBkColor(), RGB(10, 11, 12));
    m_dc.SelectObject(pFont0);
    m_dc.SelectObject(pBrush0);
    m_dc.SelectObject(pPen0);
}

TEST_F(DCGuardTest, ANewPenDrawsInsideTheScopeOnly)
{
    CPen penBefore(PS_SOLID, 0, kBlue);
    CPen* pPen0 = m_dc.SelectObject(&penBefore);
    {
        CDCGuard guard(&m_dc);
        guard.SelectNewPen(kRed);
        m_dc.MoveTo(0, 10);
        m_dc.LineTo(60, 10);
    }
    m_dc.MoveTo(0, 20);
    m_dc.LineTo(60, 20);
    EXPECT_EQ(Row(10, kRed), "############");
    EXPECT_EQ(Row(20, kBlue), "############");
    m_dc.SelectObject(pPen0);
}

// Pixels are read with the clip removed: reading is clipped too.
TEST_F(DCGuardTest, TheClipFoundBeforeComesBack)
{
    // No clip before: none after.
    {
        CDCGuard guard(&m_dc);
        guard.IntersectClip({20, 0, 40, 60});
        Fill({0, 0, 60, 60}, kRed);
    }
    Fill({0, 0, 10, 60}, kBlue);
    EXPECT_EQ(Row(5, kRed), "....####....");
    EXPECT_EQ(Row(5, kBlue), "##..........");

    // The caller's clip survives a narrower one and a second one inside the same guard.
    Fill({0, 0, 60, 60}, kWhite);
    m_dc.IntersectClipRect(10, 0, 50, 60);
    {
        CDCGuard guard(&m_dc);
        guard.IntersectClip({20, 0, 60, 60});
        guard.IntersectClip({0, 0, 40, 60});
        Fill({0, 0, 60, 60}, kRed);
    }
    Fill({0, 0, 30, 60}, kBlue);
    Fill({40, 0, 60, 60}, kBlue);
    m_dc.SelectClipRgn(nullptr);
    EXPECT_EQ(Row(5, kRed), "......##....");
    EXPECT_EQ(Row(5, kBlue), "..####..##..");

    // An empty clip stays empty.
    Fill({0, 0, 60, 60}, kWhite);
    m_dc.IntersectClipRect(30, 30, 30, 30);
    {
        CDCGuard guard(&m_dc);
        guard.IntersectClip({0, 0, 60, 60});
    }
    Fill({0, 0, 60, 60}, kBlue);
    m_dc.SelectClipRgn(nullptr);
    EXPECT_EQ(Row(5, kWhite), "############");
}

TEST_F(DCGuardTest, AGuardWithoutADeviceContextChangesNothing)
{
    CDCGuard guard(nullptr);
    guard.SelectNewPen(kRed);
    guard.SelectNewPointFont(100, "Arial");
    guard.SetBkMode(TRANSPARENT);
    guard.IntersectClip({0, 0, 10, 10});
    CDC noOutput;
    CDCGuard guardNoOutput(&noOutput);
    guardNoOutput.IntersectClip({0, 0, 10, 10});
    guardNoOutput.SetTextColor(kRed);
}
