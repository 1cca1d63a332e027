#pragma once

#include "chart/ChartOrderLine.h"
#include "chart/ChartOverlay.h"
#include "chart/Forward.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CBrush;

// Where a point lies on the order lines.
enum class EOrderLinePart
{
    None,
    Line,      // a line or its label: a left drag moves the order
    CancelBox, // the "x" on a label: a click cancels the order
};

// The working orders over the candles: a line across the plot at each order's price, in the
// colour of its role, with a label at the right edge that ends in an "x" box. Orders whose price
// lies off the price axis are not drawn.
//
// Kept by the control (as an overlay) across the replay's steps, which replace every series: the
// lines at rest are drawn into the back buffer by a CChartOrderLineSerie in the one redraw of a
// step, from label pictures made once per text; the line a left drag moves is drawn over the
// buffer at paint time, as the zoom box is, so dragging repaints without redrawing.
class CChartOrderLines : public ChartOverlay
{
public:
    explicit CChartOrderLines(CChartCtrl* pOwner);
    ~CChartOrderLines() override;

    CChartOrderLines(const CChartOrderLines&) = delete;
    CChartOrderLines& operator=(const CChartOrderLines&) = delete;

    // Each setter stores and asks the control for a redraw.
    void SetLines(const SChartOrderLine* pLines, unsigned nCount);
    // Decimals of the labels and of the prices a drag or a click reports, 2 to 10.
    void SetPriceDecimals(int nDecimals);
    void SetColors(COLORREF crEntry, COLORREF crStopLoss, COLORREF crTakeProfit);

    int PriceDecimals() const { return m_nPriceDecimals; }
    COLORREF RoleColor(EChartOrderRole eRole) const;
    // Oldest first: newer lines lie on top.
    const std::vector<SChartOrderLine>& Lines() const { return m_vecLines; }
    const SChartOrderLine* FindLine(int nId) const;
    // "Buy limit 10 @ 14.52": the line's kind and quantity at dPrice, with the decimals.
    std::string LabelText(const SChartOrderLine& line, double dPrice) const;
    // The price at pixel row y of the control's price axis, rounded to the decimals; false
    // without a price axis that shows a range.
    bool PriceAtRow(int y, double* pdPrice) const;
    // What lies under pt as the lines were last drawn on the screen: the topmost label's "x"
    // box, else that label or a line within 3 rows. *pnId gets the order, 0 for none.
    EOrderLinePart HitTestPart(POINT pt, int* pnId) const;

    // The left-button gesture, driven by the control's mouse handling. A press on a line starts
    // a drag, one on an "x" arms a click; false elsewhere.
    bool StartGesture(POINT pt);
    // The dragged line follows the mouse's row, kept inside the plot.
    void DragTo(POINT pt);
    // Reports a drag that changed the price, or a click that went down and up on the same "x".
    void FinishGesture(POINT pt, IChartOrderSink* pSink);
    // The order being dragged (0 for none) and where it is; a drag that has not yet changed the
    // price shows the line at rest.
    int DraggedId() const { return m_bDragShown ? m_nDragId : 0; }
    double DraggedPrice() const { return m_dDragPrice; }

    // The lines at rest into pDC within rcClip, against the price axis; on a screen, remembers
    // where they went for the hit tests.
    void DrawLines(CDC* pDC, const RECT& rcClip, const CChartAxis& prices);

    void OverlayMouseMove(int, int) override {}
    void OverlayButtonDown(int, int) override {}
    void OverlayButtonUp(int, int) override {}
    // The line being dragged and its label with the price under the mouse.
    void DrawOverlay(CDC* pDC) override;

private:
    struct SLabelLayout
    {
        int y = 0;
        RECT rcLabel = {0, 0, 0, 0};
        RECT rcCancel = {0, 0, 0, 0};
    };
    // A label drawn once, copied into the buffer at each redraw.
    struct SLabelPicture
    {
        CBitmap bitmap;
        SIZE szText = {0, 0};
        SIZE szPicture = {0, 0};
    };

    SLabelLayout Layout(int y, SIZE szText, const RECT& rcClip) const;
    // Box, text and "x" of a label, straight into pDC; the label font must be selected.
    void DrawLabel(CDC* pDC, const SLabelLayout& layout, COLORREF crBox,
                   const std::string& strText) const;
    // Line and label straight into pDC, laid out as it returns; the label font must be selected.
    SLabelLayout DrawLineDirect(CDC* pDC, const RECT& rcClip, int y, COLORREF cr,
                                const std::string& strText) const;
    // An order's label as last shown: kept by id, so an order shown again costs nothing.
    struct SOrderLabel
    {
        SChartOrderLine line;
        std::string strText; // at the order's own price
        SLabelPicture* pPicture = nullptr;
    };
    SLabelPicture* LabelPicture(SOrderLabel& label);
    void ForgetLabelPictures();

private:
    CChartCtrl* m_pOwner = nullptr;
    // Set through the setters only: the label pictures follow them.
    std::int32_t m_nPriceDecimals = 2;
    // None of them the candles' red, the averages' or the trade markers' colours.
    COLORREF m_crEntry = RGB(30, 70, 235);
    COLORREF m_crStopLoss = RGB(215, 25, 25);
    COLORREF m_crTakeProfit = RGB(0, 150, 60);
    COLORREF m_crLabelText = RGB(255, 255, 255);
    std::int32_t m_nLabelFontSize = 80;
    std::int32_t m_nGrabRows = 3;            // rows above and below a line that still take it
    std::vector<SChartOrderLine> m_vecLines; // oldest first: newer lines lie on top
    std::unordered_map<int, SOrderLabel> m_mapLabels;
    std::vector<SOrderLabel*> m_vecLabels; // each line's, in m_mapLabels
    std::unordered_map<std::string, std::unique_ptr<SLabelPicture>> m_mapPictures;
    CDC m_dcPictures; // label pictures are drawn and copied through it
    struct SDrawnLine
    {
        int nId = 0;
        SLabelLayout layout;
    };
    std::vector<SDrawnLine> m_vecDrawn; // in drawing order: the topmost last
    RECT m_rcDrawn = {0, 0, 0, 0};      // the clip they were drawn in
    int m_nDragId = 0;
    double m_dDragPrice = 0.0;
    bool m_bDragShown = false; // moved off its price: out of the buffer, drawn at paint time
    int m_nCancelId = 0;       // the order whose "x" the button went down on
};
