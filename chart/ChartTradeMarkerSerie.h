#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "chart/ChartSerie.h"
#include "chart/ChartTradeMarker.h"

#include <cstdint>
#include <vector>

// Trades drawn over the candles: an upward triangle under the bar's low for a buy, a downward
// one over the bar's high for a sell (several on one bar stack outwards), and optionally a
// dashed line at the average entry price across the plot, labelled at its right end. Markers
// follow the axes but never widen them.
class CChartTradeMarkerSerie : public CChartSerie
{
public:
    explicit CChartTradeMarkerSerie(CChartCtrl* pOwner);
    ~CChartTradeMarkerSerie() override;

    // Each setter stores and asks the control for a redraw.
    void SetMarkers(const SChartTradeMarker* pMarkers, unsigned nCount);
    // The bars whose lows and highs the markers sit against; a marker without its bar sits
    // against its own price.
    void SetBars(const SChartCandlestickPoint* pBars, unsigned nCount);
    void SetAveragePrice(double dPrice);
    void ClearAveragePrice();
    // Decimals of the average's label, 2 to 10.
    void SetPriceDecimals(int nDecimals);
    void SetColors(COLORREF crBuy, COLORREF crSell, COLORREF crAverage);

    unsigned PointCount() const override;
    // The tip of the marker's triangle.
    POINT PointToScreen(unsigned nIndex) const override;
    bool GetYRange(double* pMin, double* pMax) const override;
    bool GetXRange(double* pMin, double* pMax) const override;
    bool GetVisibleXRange(double* pMin, double* pMax) const override;
    bool GetVisibleYRange(double* pMin, double* pMax) const override;
    bool HitTest(const POINT* pPoint, unsigned* pIndex) const override;
    bool FindVisibleRange(unsigned* pFirst, unsigned* pLast) const override;
    // A buy triangle.
    void DrawLegendSymbol(CDC* pDC, const RECT* pRect) override;
    // Markers are drawn whole by the refresh their setters ask for.
    void DrawNewPoints(CDC* pDC) override;
    void DrawVisiblePoints(CDC* pDC) override;
    void DrawPointLabels(CDC* pDC) override;
    bool HandleMouseEvent(int nEvent, const POINT* pPoint) override;

private:
    // Tip of the triangle; y moves away from the bar by one triangle per earlier marker of the
    // same side on the same bar.
    POINT MarkerTip(unsigned nIndex) const;
    // Rows of a triangle pointing up (buy) or down from its tip.
    void DrawTriangle(CDC* pDC, POINT ptTip, bool bBuy) const;
    void DrawAverageLine(CDC* pDC) const;
    const SChartCandlestickPoint* FindBar(double dDate) const;

public:
    std::vector<SChartTradeMarker> m_vecMarkers;   // ascending dates, trades of a bar in order
    std::vector<SChartCandlestickPoint> m_vecBars; // ascending dates
    std::vector<int> m_vecStacked; // markers of the same bar and side before each marker
    bool m_bShowAverage = false;
    double m_dAverage = 0.0;
    std::int32_t m_nPriceDecimals = 2;
    // Unlike the candles' series colour, white body and grey shadow.
    COLORREF m_crBuy = RGB(0, 160, 230);
    COLORREF m_crSell = RGB(240, 140, 0);
    COLORREF m_crAverage = RGB(120, 0, 160);
    std::int32_t m_nHalfWidth = 4; // triangles are 2 * half + 1 wide and half + 1 high
    std::int32_t m_nGap = 3;       // pixels between the bar's end and the tip
    std::int32_t m_nLabelFontSize = 80;
};
