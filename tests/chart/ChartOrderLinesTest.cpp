// Order lines on a 200 x 200 buffer whose axes make a value its own pixel (x = value,
// y = 200 - value): pixels of lines, labels and "x" boxes, where the mouse hits them, and the
// prices a row stands for.
#include "chart/ChartOrderLines.h"
#include "ChartTestApp.h"
#include "ChartTextRecordingDC.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartOrderLineSerie.h"
#include "chart/ChartStandardAxis.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

constexpr COLORREF kBackground = RGB(240, 240, 240);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr char kFace[] = "Microsoft Sans Serif";

SChartOrderLine Line(int nId, EChartOrderRole eRole, const char* pszKind, double dPrice)
{
    return {nId, eRole, pszKind, 10, dPrice};
}

class OrderLines : public ::testing::Test
{
protected:
    // A chart without a window holds the axes and owns the lines; the series draws them.
    void SetUp() override
    {
        EnsureChartTestApp();
        ASSERT_TRUE(m_dc.Open(200, 200, kBackground));
        m_pXAxis = new CChartStandardAxis;
        m_chart.InstallAxis(m_pXAxis, SlotBottom);
        m_pXAxis->m_nEndPixel = 200;
        m_pXAxis->SetRange(0, 200, ERangeChange::Reset);
        m_pYAxis = m_chart.NewStandardAxis();
        m_pYAxis->m_nStartPixel = 200;
        m_pYAxis->SetRange(0, 200, ERangeChange::Reset);
        m_pLines = new CChartOrderLines(&m_chart);
        m_chart.AddOverlay(m_pLines);
        m_pSerie = std::make_unique<CChartOrderLineSerie>(&m_chart, m_pLines);
        m_pSerie->m_pXAxis = m_pXAxis;
        m_pSerie->m_pYAxis = m_pYAxis;
        m_pSerie->m_rcClip = {10, 10, 190, 190};
    }

    // Drawn as on the screen: from the label pictures. Printing, labels are drawn as they go.
    void Show(const std::vector<SChartOrderLine>& vecLines, bool bPrinting = false)
    {
        m_pLines->SetLines(vecLines.data(), unsigned(vecLines.size()));
        m_dc.FillSolidRect(0, 0, 200, 200, kBackground);
        m_dc.m_texts.clear();
        m_dc.m_bPrinting = bPrinting;
        m_pSerie->DrawVisiblePoints(&m_dc);
        m_dc.m_bPrinting = FALSE;
    }

    // The label of a line at row y as the layout rule places it: right end one pixel inside the
    // clip, centred on the line, text 3 pixels in, the "x" box 2 pixels inside the label's right
    // and its top and bottom.
    struct SLabel
    {
        RECT rc;
        RECT rcBox;
        POINT ptText;
    };
    SLabel ExpectedLabel(const std::string& strText, int y)
    {
        const CSize size = m_dc.Measure(kFace, 80, strText);
        const int nHeight = size.cy + 2;
        const int nBox = nHeight - 4;
        const int nLeft = 189 - (3 + size.cx + 4 + nBox + 2);
        const int nTop = y - nHeight / 2;
        return {{nLeft, nTop, 189, nTop + nHeight},
                {187 - nBox, nTop + 2, 187, nTop + 2 + nBox},
                {nLeft + 3, nTop + 1}};
    }

    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }

    // Pixels that differ between the lines drawn as they go (printing) and from their label
    // pictures (the screen); the texts of the first drawing in *pTexts.
    int PicturesAgainstDrawing(const std::vector<SChartOrderLine>& vecLines,
                               std::vector<CTextRecordingDC::SText>* pTexts = nullptr)
    {
        Show(vecLines, true);
        if (pTexts != nullptr)
            *pTexts = m_dc.m_texts;
        std::vector<COLORREF> vecDrawn;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                vecDrawn.push_back(At(x, y));
        Show(vecLines);
        EXPECT_TRUE(m_dc.m_texts.empty()) << "copied, not drawn again";
        int nDiffer = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                nDiffer += At(x, y) != vecDrawn[std::size_t(y * 200 + x)];
        return nDiffer;
    }

    CTextRecordingDC m_dc;
    CChartCtrl m_chart;
    CChartStandardAxis* m_pXAxis = nullptr; // owned by m_chart
    CChartStandardAxis* m_pYAxis = nullptr; // owned by m_chart
    CChartOrderLines* m_pLines = nullptr;   // owned by m_chart
    std::unique_ptr<CChartOrderLineSerie> m_pSerie;
};

} // namespace

TEST_F(OrderLines, EachOrderIsALineAtItsPriceInTheColourOfItsRoleWithItsLabelAtTheRight)
{
    const std::vector<SChartOrderLine> vecLines = {
        Line(1, EChartOrderRole::Entry, "Buy limit", 100),
        Line(2, EChartOrderRole::StopLoss, "Stop loss", 50),
        Line(3, EChartOrderRole::TakeProfit, "Take profit", 150)};
    // The texts from a drawing as it goes; the pixels below from the pictures, the same.
    std::vector<CTextRecordingDC::SText> vecTexts;
    EXPECT_EQ(PicturesAgainstDrawing(vecLines, &vecTexts), 0) << "no tolerance";

    const struct
    {
        int y;
        COLORREF cr;
        const char* pszText;
    } rows[] = {{100, m_pLines->RoleColor(EChartOrderRole::Entry), "Buy limit 10 @ 100.00"},
                {150, m_pLines->RoleColor(EChartOrderRole::StopLoss), "Stop loss 10 @ 50.00"},
                {50, m_pLines->RoleColor(EChartOrderRole::TakeProfit), "Take profit 10 @ 150.00"}};
    ASSERT_EQ(vecTexts.size(), 3u);
    for (std::size_t i = 0; i < std::size(rows); ++i)
    {
        const auto& row = rows[i];
        const SLabel label = ExpectedLabel(row.pszText, row.y);
        EXPECT_EQ(vecTexts[i].str, row.pszText);
        EXPECT_EQ(vecTexts[i].x, label.ptText.x) << row.pszText;
        EXPECT_EQ(vecTexts[i].y, label.ptText.y) << row.pszText;
        // One row thick, from the clip's left edge to the label.
        for (int x : {10, 60, int(label.rc.left) - 1})
            EXPECT_EQ(At(x, row.y), row.cr) << row.pszText << " x " << x;
        EXPECT_EQ(At(9, row.y), kBackground) << "clipped";
        EXPECT_EQ(At(30, row.y - 1), kBackground);
        EXPECT_EQ(At(30, row.y + 1), kBackground);
        // The label's box, the frame's column beside it left alone.
        EXPECT_EQ(At(label.rc.left, label.rc.top), row.cr);
        EXPECT_EQ(At(188, label.rc.bottom - 1), row.cr);
        EXPECT_EQ(At(189, row.y), kBackground);
        EXPECT_EQ(At(label.rc.left, label.rc.top - 1), kBackground);
        // The "x" box: a white frame with white diagonals, the label's colour between them.
        const RECT& box = label.rcBox;
        EXPECT_EQ(At(box.left, box.top), kWhite) << row.pszText;
        EXPECT_EQ(At(box.right, box.top), row.cr);
        EXPECT_EQ(At(box.left + 2, box.top + 2), kWhite);
        EXPECT_EQ(At(box.left + 1, box.top + 2), row.cr);
    }
}

TEST_F(OrderLines, KeptLabelPicturesFollowEveryChangeOfAnOrder)
{
    std::vector<SChartOrderLine> vecLines = {Line(1, EChartOrderRole::Entry, "Buy limit", 100),
                                             Line(2, EChartOrderRole::StopLoss, "Stop loss", 60)};
    // Moved, given another role, in other decimals, recoloured, gone for a step and back: each
    // picture shows the order as it is now.
    const auto shows = [&](const char* pszFirst, const char* pszSecond)
    {
        std::vector<CTextRecordingDC::SText> vecTexts;
        EXPECT_EQ(PicturesAgainstDrawing(vecLines, &vecTexts), 0) << pszFirst;
        EXPECT_EQ(At(20, 200 - int(vecLines[0].dPrice)),
                  m_pLines->RoleColor(EChartOrderRole::Entry))
            << pszFirst;
        ASSERT_EQ(vecTexts.size(), 2u);
        EXPECT_EQ(vecTexts[0].str, pszFirst);
        EXPECT_EQ(vecTexts[1].str, pszSecond);
    };
    shows("Buy limit 10 @ 100.00", "Stop loss 10 @ 60.00");
    vecLines[0].dPrice = 120.25;
    shows("Buy limit 10 @ 120.25", "Stop loss 10 @ 60.00");
    vecLines[1].nQuantity = 7;
    vecLines[1].eRole = EChartOrderRole::TakeProfit;
    vecLines[1].strKind = "Take profit";
    shows("Buy limit 10 @ 120.25", "Take profit 7 @ 60.00");
    EXPECT_EQ(At(20, 140), m_pLines->RoleColor(EChartOrderRole::TakeProfit));
    m_pLines->SetPriceDecimals(4);
    shows("Buy limit 10 @ 120.2500", "Take profit 7 @ 60.0000");
    m_pLines->SetColors(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
    shows("Buy limit 10 @ 120.2500", "Take profit 7 @ 60.0000");
    EXPECT_EQ(At(20, 140), RGB(7, 8, 9));
    Show({});
    vecLines[0].dPrice = 100;
    shows("Buy limit 10 @ 100.0000", "Take profit 7 @ 60.0000");
}

TEST_F(OrderLines, OrdersOffThePriceAxisAreNotDrawnAndLabelsStayInsideThePlot)
{
    Show({Line(1, EChartOrderRole::Entry, "Buy stop", 195),
          Line(2, EChartOrderRole::StopLoss, "Stop loss", -5),
          Line(3, EChartOrderRole::TakeProfit, "Take profit", 188)},
         true);
    // Only the take profit at row 12: its label is pushed down to start below the clip's top.
    ASSERT_EQ(m_dc.m_texts.size(), 1u);
    EXPECT_EQ(m_dc.m_texts[0].y, 12);
    EXPECT_EQ(At(50, 12), m_pLines->RoleColor(EChartOrderRole::TakeProfit));
    int nOthers = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            nOthers += At(x, y) == m_pLines->RoleColor(EChartOrderRole::Entry) ||
                       At(x, y) == m_pLines->RoleColor(EChartOrderRole::StopLoss);
    EXPECT_EQ(nOthers, 0);
    int nId = -1;
    EXPECT_EQ(m_pLines->HitTestPart({50, 5}, &nId), EOrderLinePart::None);
    EXPECT_EQ(nId, 0);
}

TEST_F(OrderLines, HitTestsFindTheLineItsLabelAndItsCancelBox)
{
    Show({Line(4, EChartOrderRole::Entry, "Sell limit", 100),
          Line(5, EChartOrderRole::StopLoss, "Stop loss", 40)});
    const SLabel label = ExpectedLabel("Sell limit 10 @ 100.00", 100);
    const POINT ptBox = {(label.rcBox.left + label.rcBox.right) / 2,
                         (label.rcBox.top + label.rcBox.bottom) / 2};
    const struct
    {
        POINT pt;
        EOrderLinePart ePart;
        int nId;
    } cases[] = {
        {{20, 100}, EOrderLinePart::Line, 4},
        {{20, 97}, EOrderLinePart::Line, 4},
        {{20, 103}, EOrderLinePart::Line, 4},
        {{20, 96}, EOrderLinePart::None, 0},
        {{20, 104}, EOrderLinePart::None, 0},
        {{label.rc.left, label.rc.top}, EOrderLinePart::Line, 4},
        {{label.rc.left + 2, label.rc.bottom - 1}, EOrderLinePart::Line, 4},
        {ptBox, EOrderLinePart::CancelBox, 4},
        {{label.rcBox.left, label.rcBox.top}, EOrderLinePart::CancelBox, 4},
        {{label.rcBox.right, label.rcBox.top}, EOrderLinePart::Line, 4},
        {{100, 160}, EOrderLinePart::Line, 5},
        {{5, 100}, EOrderLinePart::None, 0},   // left of the plot
        {{195, 100}, EOrderLinePart::None, 0}, // right of it
        {{100, 130}, EOrderLinePart::None, 0},
    };
    for (const auto& c : cases)
    {
        int nId = -1;
        EXPECT_EQ(m_pLines->HitTestPart(c.pt, &nId), c.ePart) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(nId, c.nId) << c.pt.x << "," << c.pt.y;
    }
    unsigned nIndex = 0;
    const POINT ptLine = {20, 160};
    ASSERT_TRUE(m_pSerie->HitTest(&ptLine, &nIndex));
    EXPECT_EQ(nIndex, 1u);

    // Lines closer than the grab distance: the newer one lies on top and takes the point.
    Show({Line(4, EChartOrderRole::Entry, "Sell limit", 100),
          Line(6, EChartOrderRole::TakeProfit, "Take profit", 98)});
    int nId = 0;
    EXPECT_EQ(m_pLines->HitTestPart({20, 101}, &nId), EOrderLinePart::Line);
    EXPECT_EQ(nId, 6);
    EXPECT_EQ(At(20, 100), m_pLines->RoleColor(EChartOrderRole::Entry));

    // A hidden series offers no line.
    m_pSerie->SetVisible(false);
    const POINT ptOnLine = {20, 100};
    EXPECT_FALSE(m_pSerie->HitTest(&ptOnLine, &nIndex));
}

TEST_F(OrderLines, ARowGivesItsPriceRoundedAndLabelsUseTheDecimals)
{
    // 14.00 to 14.50 over the 200 rows: four rows per cent, so every cent comes back from the
    // row it is drawn on, whichever way the row was rounded.
    m_pYAxis->SetRange(14.0, 14.5, ERangeChange::Reset);
    for (int nCents = 1400; nCents <= 1450; ++nCents)
    {
        const double dPrice = nCents / 100.0;
        double dBack = 0.0;
        ASSERT_TRUE(m_pLines->PriceAtRow(m_pYAxis->LabelPixel(dPrice), &dBack));
        EXPECT_EQ(dBack, dPrice) << nCents;
    }
    // A thousandth per row: row 101 is 14.099.
    m_pYAxis->SetRange(14.0, 14.2, ERangeChange::Reset);
    double dPrice = 0.0;
    ASSERT_TRUE(m_pLines->PriceAtRow(101, &dPrice));
    EXPECT_EQ(dPrice, 14.1);
    m_pLines->SetPriceDecimals(3);
    ASSERT_TRUE(m_pLines->PriceAtRow(101, &dPrice));
    EXPECT_EQ(dPrice, 14.099);

    const SChartOrderLine line = Line(1, EChartOrderRole::StopLoss, "Stop loss", 14.2);
    EXPECT_EQ(m_pLines->LabelText(line, 14.2), "Stop loss 10 @ 14.200");
    m_pLines->SetPriceDecimals(10);
    EXPECT_EQ(m_pLines->LabelText(line, 0.0000012345), "Stop loss 10 @ 0.0000012345");

    // No range, no price: the out-argument stays.
    m_pYAxis->SetRange(14.0, 14.0, ERangeChange::Fit);
    dPrice = -1.0;
    EXPECT_FALSE(m_pLines->PriceAtRow(100, &dPrice));
    EXPECT_EQ(dPrice, -1.0);
}
