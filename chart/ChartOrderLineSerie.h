#pragma once

#include "chart/ChartSerie.h"

class CChartOrderLines;

// Draws the control's order lines into the back buffer in the one redraw of a replay step. The
// replay makes a new series at each step; the lines, their label pictures and a drag going on
// stay with the CChartOrderLines it draws. Lines follow the axes but never widen them.
class CChartOrderLineSerie : public CChartSerie
{
public:
    // pLines must outlive the series; the control owns both.
    CChartOrderLineSerie(CChartCtrl* pOwner, CChartOrderLines* pLines);
    ~CChartOrderLineSerie() override;

    CChartOrderLines* Lines() const { return m_pLines; }

    unsigned PointCount() const override;
    // The line's right end at its order's price.
    POINT PointToScreen(unsigned nIndex) const override;
    bool GetYRange(double* pMin, double* pMax) const override;
    bool GetXRange(double* pMin, double* pMax) const override;
    bool GetVisibleXRange(double* pMin, double* pMax) const override;
    bool GetVisibleYRange(double* pMin, double* pMax) const override;
    // The index of the line or label under pPoint.
    bool HitTest(const POINT* pPoint, unsigned* pIndex) const override;
    bool FindVisibleRange(unsigned* pFirst, unsigned* pLast) const override;
    // An entry line across the middle of the entry.
    void DrawLegendSymbol(CDC* pDC, const RECT* pRect) override;
    // The lines are drawn whole by every redraw.
    void DrawNewPoints(CDC* pDC) override;
    void DrawVisiblePoints(CDC* pDC) override;
    void DrawPointLabels(CDC* pDC) override;
    bool HandleMouseEvent(int nEvent, const POINT* pPoint) override;

private:
    CChartOrderLines* m_pLines = nullptr;
};
