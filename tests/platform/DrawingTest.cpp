// Drawing primitives checked on the pixels of a memory DC.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/Pen.h"
#include "platform/WinGdi.h"

namespace
{

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A white 40 x 30 back buffer selected into a memory DC, released in the right order.
class MemoryDcTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_nBaseline = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&m_dc, kWidth, kHeight));
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        ASSERT_NE(m_pOldBitmap, nullptr);
        CBrush white(kWhite);
        const RECT all{0, 0, kWidth, kHeight};
        m_dc.FillRect(&all, &white);
    }
    void TearDown() override
    {
        m_dc.SelectObject(m_pOldBitmap);
        m_bitmap.DeleteObject();
        m_dc.DeleteDC();
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), m_nBaseline)
            << "a GDI object leaked";
    }
    // Pixels that are not white, as "x,y" strings, in row order.
    std::vector<std::string> Inked() const
    {
        std::vector<std::string> v;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (m_dc.GetPixel(x, y) != kWhite)
                    v.push_back(std::to_string(x) + "," + std::to_string(y));
        return v;
    }
    int CountColor(COLORREF cr) const
    {
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                n += m_dc.GetPixel(x, y) == cr ? 1 : 0;
        return n;
    }
    void Line(int x0, int y0, int x1, int y1, COLORREF cr = kRed)
    {
        CPen pen(PS_SOLID, 0, cr);
        CPen* pOld = m_dc.SelectObject(&pen);
        m_dc.MoveTo(x0, y0);
        m_dc.LineTo(x1, y1);
        m_dc.SelectObject(pOld);
    }

    static constexpr int kWidth = 40;
    static constexpr int kHeight = 30;
    DWORD m_nBaseline = 0;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

using Pixels = std::vector<std::string>;

TEST_F(MemoryDcTest, LinesLeaveTheirEndPixelInEveryDirection)
{
    Line(2, 5, 6, 5);
    EXPECT_EQ(Inked(), (Pixels{"2,5", "3,5", "4,5", "5,5"}));
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    Line(6, 5, 2, 5);
    EXPECT_EQ(Inked(), (Pixels{"3,5", "4,5", "5,5", "6,5"}));
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    Line(4, 1, 4, 4);
    EXPECT_EQ(Inked(), (Pixels{"4,1", "4,2", "4,3"}));
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    Line(4, 4, 4, 1);
    EXPECT_EQ(Inked(), (Pixels{"4,2", "4,3", "4,4"}));
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    Line(1, 1, 4, 4);
    EXPECT_EQ(Inked(), (Pixels{"1,1", "2,2", "3,3"}));
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    Line(7, 7, 7, 7);
    EXPECT_TRUE(Inked().empty()) << "a zero-length line draws nothing";
}

TEST_F(MemoryDcTest, LineToMovesTheCurrentPositionForThePolyline)
{
    CPen pen(PS_SOLID, 1, kRed);
    CPen* pOld = m_dc.SelectObject(&pen);
    m_dc.MoveTo(1, 1);
    m_dc.LineTo(4, 1);
    m_dc.LineTo(4, 4);
    m_dc.LineTo(1, 4);
    m_dc.LineTo(1, 1);
    m_dc.SelectObject(pOld);
    EXPECT_EQ(m_dc.MoveTo(0, 0), CPoint(1, 1));
    // A closed square frame of 3 x 3 pixel sides: 12 pixels, the interior untouched.
    EXPECT_EQ(CountColor(kRed), 12);
    EXPECT_EQ(m_dc.GetPixel(2, 2), kWhite);
    EXPECT_EQ(m_dc.GetPixel(4, 4), kRed);
}

TEST_F(MemoryDcTest, PolyPolylineDrawsWhatTheLineToSequenceDraws)
{
    // Two dashes, a diagonal and a closed frame, in one call; the same with MoveTo/LineTo.
    const POINT points[] = {{2, 3},  {9, 3},   {12, 1},  {12, 8},  {14, 2},
                            {30, 9}, {20, 20}, {25, 20}, {25, 25}, {20, 20}};
    const DWORD counts[] = {2, 2, 2, 4};
    m_dc.IntersectClipRect(0, 0, 28, kHeight); // the diagonal runs out of the clip
    CPen pen(PS_SOLID, 0, kRed);
    CPen* pOld = m_dc.SelectObject(&pen);
    m_dc.MoveTo(5, 5);
    ASSERT_TRUE(m_dc.PolyPolyline(points, counts, 4));
    EXPECT_EQ(m_dc.MoveTo(5, 5), CPoint(5, 5)) << "the current position stays";
    for (int x = 2; x < 9; ++x)
        EXPECT_EQ(m_dc.GetPixel(x, 3), kRed) << "dash, column " << x;
    for (int y = 1; y < 8; ++y)
        EXPECT_EQ(m_dc.GetPixel(12, y), kRed) << "upright dash, row " << y;
    EXPECT_EQ(m_dc.GetPixel(12, 8), kWhite);
    EXPECT_EQ(m_dc.GetPixel(14, 2), kRed) << "the diagonal starts at its first point";
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(m_dc.GetPixel(20 + i, 20), kRed) << "frame top " << i;
        EXPECT_EQ(m_dc.GetPixel(25, 20 + i), kRed) << "frame side " << i;
        EXPECT_EQ(m_dc.GetPixel(25 - i, 25 - i), kRed) << "frame diagonal " << i;
    }
    EXPECT_EQ(m_dc.GetPixel(22, 23), kWhite) << "inside the frame";
    const std::vector<std::string> inked = Inked();

    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    const POINT* pPoint = points;
    for (DWORD nCount : counts)
    {
        m_dc.MoveTo(pPoint->x, pPoint->y);
        for (DWORD i = 1; i < nCount; ++i)
            m_dc.LineTo(pPoint[i].x, pPoint[i].y);
        pPoint += nCount;
    }
    EXPECT_EQ(Inked(), inked);
    EXPECT_EQ(m_dc.GetPixel(9, 3), kWhite) << "each line leaves its end pixel";
    m_dc.SelectClipRgn(nullptr);
    for (int y = 0; y < kHeight; ++y)
        EXPECT_EQ(m_dc.GetPixel(28, y), kWhite) << "the diagonal is clipped at x = 28, row " << y;
    EXPECT_EQ(m_dc.GetPixel(27, 8), kRed) << "and drawn up to there";

    const DWORD tooShort[] = {2, 1};
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    EXPECT_FALSE(m_dc.PolyPolyline(points, tooShort, 2));
    EXPECT_TRUE(Inked().empty()) << "a polyline of one point fails the whole call";
    m_dc.SelectObject(pOld);
}

TEST_F(MemoryDcTest, RectangleOutlineLiesInsideAndTheBrushFillsTheRest)
{
    CPen pen(PS_SOLID, 0, kRed);
    CBrush brush(kBlue);
    CPen* pOldPen = m_dc.SelectObject(&pen);
    CBrush* pOldBrush = m_dc.SelectObject(&brush);
    EXPECT_TRUE(m_dc.Rectangle(2, 3, 8, 7));
    m_dc.SelectObject(pOldBrush);
    m_dc.SelectObject(pOldPen);
    for (int x = 2; x <= 7; ++x)
    {
        EXPECT_EQ(m_dc.GetPixel(x, 3), kRed) << x;
        EXPECT_EQ(m_dc.GetPixel(x, 6), kRed) << x;
    }
    for (int y = 3; y <= 6; ++y)
    {
        EXPECT_EQ(m_dc.GetPixel(2, y), kRed) << y;
        EXPECT_EQ(m_dc.GetPixel(7, y), kRed) << y;
    }
    EXPECT_EQ(CountColor(kBlue), 4 * 2);
    EXPECT_EQ(m_dc.GetPixel(3, 4), kBlue);
    EXPECT_EQ(m_dc.GetPixel(8, 3), kWhite);
    EXPECT_EQ(m_dc.GetPixel(2, 7), kWhite);
}

TEST_F(MemoryDcTest, FillRectExcludesRightAndBottomEdgesAndIgnoresInvertedRects)
{
    CBrush brush(kBlue);
    const RECT rc{5, 5, 9, 8};
    m_dc.FillRect(&rc, &brush);
    EXPECT_EQ(CountColor(kBlue), 4 * 3);
    EXPECT_EQ(m_dc.GetPixel(8, 7), kBlue);
    EXPECT_EQ(m_dc.GetPixel(9, 7), kWhite);
    EXPECT_EQ(m_dc.GetPixel(8, 8), kWhite);
    const RECT inverted{20, 20, 15, 25};
    m_dc.FillRect(&inverted, &brush);
    EXPECT_EQ(CountColor(kBlue), 12);
}

TEST_F(MemoryDcTest, ClippingLimitsDrawingUntilTheRegionIsRemoved)
{
    CBrush brush(kBlue);
    const RECT all{0, 0, kWidth, kHeight};
    EXPECT_EQ(m_dc.IntersectClipRect(10, 10, 20, 15), SIMPLEREGION);
    EXPECT_EQ(m_dc.IntersectClipRect(15, 0, 40, 30), SIMPLEREGION);
    m_dc.FillRect(&all, &brush);
    EXPECT_EQ(CountColor(kBlue), 5 * 5);
    EXPECT_EQ(m_dc.GetPixel(15, 10), kBlue);
    EXPECT_EQ(m_dc.GetPixel(14, 10), CLR_INVALID)
        << "pixels outside the clip region cannot be read";
    EXPECT_EQ(m_dc.SelectClipRgn(nullptr), SIMPLEREGION);
    EXPECT_EQ(m_dc.GetPixel(14, 10), kWhite);
    EXPECT_EQ(CountColor(kBlue), 5 * 5);
    m_dc.FillRect(&all, &brush);
    EXPECT_EQ(CountColor(kBlue), kWidth * kHeight);
}

TEST_F(MemoryDcTest, RaisedEdgeUsesTheClassicThreeDColours)
{
    RECT rc{0, 0, 10, 8};
    EXPECT_TRUE(m_dc.DrawEdge(&rc, EDGE_RAISED, BF_RECT));
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF hilight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(light, RGB(227, 227, 227));
    EXPECT_EQ(dark, RGB(105, 105, 105));
    EXPECT_EQ(shadow, RGB(160, 160, 160));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    // Outer ring: light top and left, dark bottom and right (which own the corners they share).
    EXPECT_EQ(m_dc.GetPixel(0, 0), light);
    EXPECT_EQ(m_dc.GetPixel(8, 0), light);
    EXPECT_EQ(m_dc.GetPixel(0, 6), light);
    EXPECT_EQ(m_dc.GetPixel(9, 0), dark);
    EXPECT_EQ(m_dc.GetPixel(0, 7), dark);
    EXPECT_EQ(m_dc.GetPixel(9, 7), dark);
    // Inner ring: highlight top and left, shadow bottom and right.
    EXPECT_EQ(m_dc.GetPixel(1, 1), hilight);
    EXPECT_EQ(m_dc.GetPixel(7, 1), hilight);
    EXPECT_EQ(m_dc.GetPixel(8, 1), shadow);
    EXPECT_EQ(m_dc.GetPixel(1, 6), shadow);
    EXPECT_EQ(m_dc.GetPixel(8, 6), shadow);
    // The middle is not painted without BF_MIDDLE.
    EXPECT_EQ(m_dc.GetPixel(4, 4), kWhite);
    EXPECT_EQ(m_dc.GetPixel(10, 0), kWhite);
}

TRIVERTEX Vertex(int x, int y, COLORREF cr)
{
    return TRIVERTEX{x,
                     y,
                     static_cast<COLOR16>(GetRValue(cr) << 8),
                     static_cast<COLOR16>(GetGValue(cr) << 8),
                     static_cast<COLOR16>(GetBValue(cr) << 8),
                     0};
}

TEST_F(MemoryDcTest, HorizontalGradientRunsColumnByColumn)
{
    TRIVERTEX v[2] = {Vertex(0, 2, RGB(0, 0, 0)), Vertex(32, 10, RGB(255, 128, 0))};
    GRADIENT_RECT r{0, 1};
    EXPECT_TRUE(m_dc.GradientFill(v, 2, &r, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(m_dc.GetPixel(0, 2), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetPixel(16, 5), RGB(127, 64, 0));
    EXPECT_EQ(m_dc.GetPixel(31, 9), RGB(247, 124, 0)); // the last column stops short of colour 2
    EXPECT_EQ(m_dc.GetPixel(16, 1), kWhite);
    EXPECT_EQ(m_dc.GetPixel(16, 10), kWhite);
    EXPECT_EQ(m_dc.GetPixel(32, 5), kWhite);
    for (int x = 0; x < 32; ++x)
        EXPECT_EQ(m_dc.GetPixel(x, 2), m_dc.GetPixel(x, 9)) << "one colour per column";
}

TEST_F(MemoryDcTest, MirroredGradientLeavesTheOddColumnUnfilled)
{
    // Two bands over a rectangle 33 pixels wide: 16 + 16 columns, the last one left alone.
    const RECT rc{0, 0, 33, 4};
    const int nHalf = (rc.right - rc.left) / 2;
    const COLORREF c1 = RGB(0, 0, 255);
    const COLORREF c2 = RGB(255, 255, 255);
    TRIVERTEX v[2] = {Vertex(rc.left, rc.top, c1), Vertex(rc.left + nHalf, rc.bottom, c2)};
    GRADIENT_RECT r{0, 1};
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kRed);
    EXPECT_TRUE(m_dc.GradientFill(v, 2, &r, 1, GRADIENT_FILL_RECT_H));
    v[0] = Vertex(rc.left + nHalf, rc.top, c2);
    v[1] = Vertex(rc.left + 2 * nHalf, rc.bottom, c1);
    EXPECT_TRUE(m_dc.GradientFill(v, 2, &r, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(m_dc.GetPixel(0, 0), c1);
    EXPECT_EQ(m_dc.GetPixel(16, 0), c2);
    EXPECT_EQ(m_dc.GetPixel(31, 3), RGB(15, 15, 255));
    EXPECT_EQ(m_dc.GetPixel(32, 0), kRed) << "odd column stays as it was";
    EXPECT_EQ(m_dc.GetPixel(5, 4), kRed);
}

TEST_F(MemoryDcTest, VerticalGradientRunsRowByRowAndOtherModesAreRefused)
{
    TRIVERTEX v[2] = {Vertex(4, 0, RGB(0, 0, 0)), Vertex(8, 16, RGB(0, 255, 0))};
    GRADIENT_RECT r{0, 1};
    EXPECT_TRUE(m_dc.GradientFill(v, 2, &r, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(m_dc.GetPixel(4, 0), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetPixel(7, 8), RGB(0, 127, 0));
    EXPECT_EQ(m_dc.GetPixel(8, 8), kWhite);
    EXPECT_EQ(m_dc.GetPixel(5, 16), kWhite);
    constexpr DWORD kTriangles = 2;
    EXPECT_FALSE(m_dc.GradientFill(v, 2, &r, 1, kTriangles));
}

TEST_F(MemoryDcTest, BitBltCopiesPixelsExactly)
{
    CDC src;
    ASSERT_TRUE(src.CreateCompatibleDC(&m_dc));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&m_dc, 8, 8));
    CBitmap* pOld = src.SelectObject(&bmp);
    src.FillSolidRect(0, 0, 8, 8, kBlue);
    src.FillSolidRect(1, 2, 1, 1, kRed);
    EXPECT_TRUE(m_dc.BitBlt(10, 10, 4, 4, &src, 1, 1, SRCCOPY));
    EXPECT_EQ(CountColor(kBlue), 15);
    EXPECT_EQ(m_dc.GetPixel(10, 11), kRed);
    EXPECT_EQ(m_dc.GetPixel(14, 10), kWhite);
    EXPECT_FALSE(m_dc.BitBlt(0, 0, 4, 4, &src, 0, 0, 0x00EE0086)) << "only SRCCOPY";
    CDC empty;
    EXPECT_FALSE(m_dc.BitBlt(0, 0, 4, 4, &empty, 0, 0, SRCCOPY))
        << "a source without a DC copies nothing";
    src.SelectObject(pOld);
}

TEST_F(MemoryDcTest, SelectionReturnsThePreviousObjectAndRestoresIt)
{
    CPen* pStock = m_dc.GetCurrentPen();
    ASSERT_NE(pStock, nullptr);
    CPen a(PS_SOLID, 0, kRed);
    CPen b(PS_SOLID, 0, kBlue);
    EXPECT_EQ(m_dc.SelectObject(&a), pStock);
    EXPECT_EQ(m_dc.SelectObject(&b), &a);
    EXPECT_EQ(m_dc.GetCurrentPen(), &b);
    EXPECT_EQ(m_dc.SelectObject(pStock), &b);
    // A font selected through the CGdiObject* path comes back the same way.
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Microsoft Sans Serif", &m_dc));
    CGdiObject* pPrev = m_dc.SelectObject(&font);
    ASSERT_NE(pPrev, nullptr);
    EXPECT_EQ(m_dc.SelectObject(pPrev), &font);
}

TEST_F(MemoryDcTest, ObjectsDeletedWhileSelectedLiveUntilReleased)
{
    const DWORD nBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    CPen* pOld = nullptr;
    {
        CPen pen(PS_SOLID, 0, kRed);
        pOld = m_dc.SelectObject(&pen);
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), nBefore + 1);
    } // deleted while selected: still drawable, still counted
    m_dc.MoveTo(0, 0);
    m_dc.LineTo(3, 0);
    EXPECT_EQ(m_dc.GetPixel(1, 0), kRed);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), nBefore + 1)
        << "not restored yet";
    m_dc.SelectObject(pOld);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), nBefore);
}

TEST(MemoryDc, BufferBitmapOwnedByTheDcGoesWithIt)
{
    // The back-buffer idiom: a local bitmap selected into a member DC outlives its wrapper.
    const DWORD nBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    {
        CDC buffer;
        buffer.CreateCompatibleDC(nullptr);
        {
            CBitmap bmp;
            bmp.CreateCompatibleBitmap(&buffer, 5, 5);
            buffer.SelectObject(&bmp);
        }
        buffer.FillSolidRect(0, 0, 5, 5, kBlue);
        EXPECT_EQ(buffer.GetPixel(4, 4), kBlue);
        BITMAP bm{};
        ASSERT_NE(buffer.GetCurrentBitmap(), nullptr);
        buffer.GetCurrentBitmap()->GetBitmap(&bm);
        EXPECT_EQ(bm.bmWidth, 5);
        EXPECT_EQ(bm.bmHeight, 5);
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), nBefore + 2);
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), nBefore);
}

TEST(MemoryDc, WithoutADeviceContextNothingIsDrawnOrMeasured)
{
    CDC none;
    EXPECT_EQ(none.GetSafeHdc(), nullptr);
    EXPECT_FALSE(none.LineTo(5, 5));
    EXPECT_FALSE(none.Rectangle(0, 0, 4, 4));
    EXPECT_EQ(none.GetTextExtent("abc"), CSize(0, 0));
    EXPECT_EQ(none.GetDeviceCaps(LOGPIXELSY), 0);
    EXPECT_EQ(none.GetPixel(0, 0), CLR_INVALID);
}

TEST_F(MemoryDcTest, PointFontsConvertTenthsOfAPointWithTheDcResolution)
{
    LOGFONT lf = {};
    lf.lfHeight = 100;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    std::strcpy(lf.lfFaceName, "Microsoft Sans Serif");
    CFont font;
    ASSERT_TRUE(font.CreatePointFontIndirect(&lf, &m_dc));
    LOGFONT out = {};
    font.GetLogFont(&out);
    EXPECT_EQ(out.lfHeight, -13); // 10 pt at 96 dpi
    EXPECT_EQ(out.lfWeight, FW_BOLD);
    EXPECT_EQ(out.lfItalic, 1);
    EXPECT_STREQ(out.lfFaceName, "Microsoft Sans Serif");

    // The size scales with the mapping of the DC it is made for.
    m_dc.SetMapMode(MM_ANISOTROPIC);
    m_dc.SetWindowExt(SIZE{100, 100});
    m_dc.SetViewportExt(SIZE{200, 200});
    CFont scaled;
    ASSERT_TRUE(scaled.CreatePointFontIndirect(&lf, &m_dc));
    scaled.GetLogFont(&out);
    EXPECT_EQ(out.lfHeight, -7);
    m_dc.SetMapMode(MM_TEXT);

    CFont created;
    ASSERT_TRUE(created.CreateFont(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0,
                                   "Arial"));
    CFont* pOld = m_dc.SelectObject(&created);
    const CSize small = m_dc.GetTextExtent("Hello");
    m_dc.SelectObject(&font);
    const CSize big = m_dc.GetTextExtent("Hello");
    m_dc.SelectObject(pOld);
    EXPECT_GT(big.cx, small.cx);
    EXPECT_GT(big.cy, small.cy);
}

TEST_F(MemoryDcTest, TextStartsAtItsTopLeftPointAndTurnsWithEscapement)
{
    LOGFONT lf = {};
    lf.lfHeight = -12;
    std::strcpy(lf.lfFaceName, "Arial");
    CFont upright;
    upright.CreateFontIndirect(&lf);
    lf.lfEscapement = lf.lfOrientation = 900;
    CFont turned;
    turned.CreateFontIndirect(&lf);
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.SetTextColor(RGB(0, 0, 0));

    CFont* pOld = m_dc.SelectObject(&upright);
    const CSize ext = m_dc.GetTextExtent("HH");
    EXPECT_TRUE(m_dc.ExtTextOut(10, 5, ETO_CLIPPED | ETO_OPAQUE, nullptr, "HH", nullptr));
    int minX = kWidth, maxX = -1, minY = kHeight, maxY = -1;
    auto bounds = [&]
    {
        minX = kWidth, maxX = -1, minY = kHeight, maxY = -1;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (m_dc.GetPixel(x, y) != kWhite)
                {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
    };
    bounds();
    EXPECT_GE(minX, 10);
    EXPECT_GE(minY, 5);
    EXPECT_LT(maxX, 10 + ext.cx);
    EXPECT_LT(maxY, 5 + ext.cy);
    EXPECT_GT(maxX - minX, maxY - minY) << "upright text is wider than high";

    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    m_dc.SelectObject(&turned);
    EXPECT_TRUE(m_dc.ExtTextOut(5, 28, ETO_CLIPPED, nullptr, "HH", nullptr));
    bounds();
    EXPECT_GE(minX, 5);
    EXPECT_LT(maxX, 5 + ext.cy);
    EXPECT_LE(maxY, 28) << "turned text runs upward from its point";
    EXPECT_GT(maxY - minY, maxX - minX) << "turned text is higher than wide";
    m_dc.SelectObject(pOld);
}

TEST_F(MemoryDcTest, OpaqueBackgroundFillsTheTextCell)
{
    LOGFONT lf = {};
    lf.lfHeight = -12;
    std::strcpy(lf.lfFaceName, "Arial");
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* pOld = m_dc.SelectObject(&font);
    EXPECT_EQ(m_dc.SetBkMode(OPAQUE), OPAQUE);
    m_dc.SetBkColor(kBlue);
    const CSize ext = m_dc.GetTextExtent("i");
    m_dc.TextOut(2, 2, "i");
    EXPECT_EQ(m_dc.GetPixel(2, 2), kBlue);
    EXPECT_EQ(m_dc.GetPixel(2 + ext.cx - 1, 2 + ext.cy - 1), kBlue);
    EXPECT_EQ(m_dc.GetPixel(2 + ext.cx, 2), kWhite);
    // ETO_OPAQUE with a rectangle fills it with the background colour.
    const RECT rc{20, 20, 24, 23};
    m_dc.ExtTextOut(20, 20, ETO_OPAQUE, &rc, "", nullptr);
    EXPECT_EQ(m_dc.GetPixel(23, 22), kBlue);
    EXPECT_EQ(m_dc.GetPixel(24, 22), kWhite);
    m_dc.SelectObject(pOld);
}

TEST_F(MemoryDcTest, AnisotropicMappingScalesAndShiftsDrawing)
{
    EXPECT_EQ(m_dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(m_dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_GT(m_dc.GetDeviceCaps(HORZRES), 0);
    EXPECT_GT(m_dc.GetDeviceCaps(VERTRES), 0);
    EXPECT_EQ(m_dc.SetWindowExt(SIZE{10, 10}), CSize(1, 1));
    EXPECT_EQ(m_dc.GetWindowExt(), CSize(1, 1)) << "extents are fixed in MM_TEXT";
    EXPECT_EQ(m_dc.SetMapMode(MM_ANISOTROPIC), MM_TEXT);
    m_dc.SetWindowExt(SIZE{10, 10});
    m_dc.SetViewportExt(SIZE{20, 30});
    EXPECT_EQ(m_dc.SetViewportExt(SIZE{0, 30}), CSize(20, 30)) << "a zero extent is refused";
    EXPECT_EQ(m_dc.GetViewportExt(), CSize(20, 30));
    m_dc.SetWindowOrg(-1, 0);
    CBrush brush(kBlue);
    const RECT rc{0, 0, 5, 5};
    m_dc.FillRect(&rc, &brush);
    EXPECT_EQ(m_dc.GetPixel(-1, 0), kWhite); // logical -1 is device 0
    EXPECT_EQ(m_dc.GetPixel(0, 0), kBlue);
    m_dc.SetMapMode(MM_TEXT);
    m_dc.SetWindowOrg(0, 0);
    EXPECT_EQ(CountColor(kBlue), 10 * 15);
    EXPECT_EQ(m_dc.GetPixel(2, 0), kBlue);
    EXPECT_EQ(m_dc.GetPixel(11, 14), kBlue);
    EXPECT_EQ(m_dc.GetPixel(12, 14), kWhite);
    EXPECT_EQ(m_dc.GetPixel(11, 15), kWhite);
}

TEST(Rects, PtInRectExcludesRightAndBottom)
{
    const RECT rc{1, 2, 5, 6};
    EXPECT_TRUE(PtInRect(&rc, POINT{1, 2}));
    EXPECT_TRUE(PtInRect(&rc, POINT{4, 5}));
    EXPECT_FALSE(PtInRect(&rc, POINT{5, 3}));
    EXPECT_FALSE(PtInRect(&rc, POINT{2, 6}));
    EXPECT_FALSE(PtInRect(&rc, POINT{0, 3}));
    EXPECT_EQ(MulDiv(7, 3, 2), 11);
    EXPECT_EQ(MulDiv(-7, 3, 2), -11);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
}

} // namespace
