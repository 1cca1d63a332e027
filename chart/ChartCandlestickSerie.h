#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "chart/ChartSerieBase.h"
#include "platform/Brush.h"
#include "platform/Pen.h"

#include <cstdint>

// Bars drawn as candles: a wick from low to high and a body from open to close, white for a
// rising or unchanged bar and filled with the series colour for a falling one, over a shadow.
// The pens and brushes exist only while a drawing operation runs.
class CChartCandlestickSerie : public CChartSerieBase<SChartCandlestickPoint>
{
public:
    explicit CChartCandlestickSerie(CChartCtrl* pOwner);
    ~CChartCandlestickSerie() override;

    // The candle whose full height (wicks included, at body width) holds the point.
    bool HitTest(const POINT* pPoint, unsigned* pIndex) const override;
    // Always a filled candle in the series colour, whatever the data.
    void DrawLegendSymbol(CDC* pDC, const RECT* pRect) override;
    void DrawNewPoints(CDC* pDC) override;
    void DrawVisiblePoints(CDC* pDC) override;

    // Width in pixels whatever the zoom; candles are 2 * (width / 2) + 1 pixels wide.
    void SetCandleWidth(int nWidth);

private:
    // Uses the pens and brushes the caller created.
    void DrawCandle(CDC* pDC, const SChartCandlestickPoint& point);
    // Points nFrom to nTo - 1, clipped to m_rcClip; m_nNextToDraw ends at nTo.
    void DrawCandles(CDC* pDC, unsigned nFrom, unsigned nTo);
    // Points first to last, one candle each, or one column per pixel where they crowd.
    void DrawRange(CDC* pDC, unsigned nFirst, unsigned nLast);
    // True when the points first to last lie closer than kMinCandleSpacing pixels apart.
    bool IsCrowded(unsigned nFirst, unsigned nLast) const;
    // Each pixel column gets one candle for all its points: a wick from the lowest low to the
    // highest high, a body from the first open to the last close.
    void DrawColumns(CDC* pDC, unsigned nFirst, unsigned nLast);
    // The last point from nFirst on (up to nLast) that lands in pixel column nPixel.
    unsigned LastInColumn(unsigned nFirst, unsigned nLast, int nPixel) const;
    void CreateDrawingObjects();
    void DeleteDrawingObjects();

public:
    std::int32_t m_nCandleWidth = 7;
    CBrush m_brShadow;
    CPen m_penLine;
    CPen m_penShadow;
    CBrush m_brFilled;
    CBrush m_brHollow;
    // Candles drawn over the series' life, a pixel column of crowded points counting as one.
    std::uint32_t m_nDrawnCandles = 0;
};
