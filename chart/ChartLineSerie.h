#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "chart/ChartLinePoint.h"
#include "chart/ChartSerieBase.h"

#include <cstdint>
#include <vector>

// Points (x, y) joined by straight lines in the series colour and pen width, with the candles'
// mapping and clipping. A NaN y is a gap in the line. Each point is kept as a bar whose four
// prices are its y, so the store, the ordering and the visible range work as for candles.
class CChartLineSerie : public CChartSerieBase<SChartCandlestickPoint>
{
public:
    explicit CChartLineSerie(CChartCtrl* pOwner);
    ~CChartLineSerie() override;

    // Stores the points, re-ranges the axes and draws the new part of the line.
    void AddPoints(const SChartLinePoint* pPoints, unsigned nCount);
    void SetPenWidth(int nWidth);

    // Gaps take no part in the ranges; a series of gaps only answers false.
    bool GetYRange(double* pMin, double* pMax) const override;
    bool GetVisibleYRange(double* pMin, double* pMax) const override;
    // The point within three pixels of pPoint, if any.
    bool HitTest(const POINT* pPoint, unsigned* pIndex) const override;
    // A short line across the middle of the entry.
    void DrawLegendSymbol(CDC* pDC, const RECT* pRect) override;
    // Draws from the last point drawn to the newest, so the line stays joined.
    void DrawNewPoints(CDC* pDC) override;
    void DrawVisiblePoints(CDC* pDC) override;

private:
    bool CanDrawOn(CDC* pDC) const;
    // Draws the line through points nFirst to nLast inclusive, clipped to m_rcClip.
    void DrawLine(CDC* pDC, unsigned nFirst, unsigned nLast) const;
    // Screen positions of points nFirst to nLast as polylines that stop at gaps; a lone point
    // becomes a one-pixel line.
    void CollectRuns(unsigned nFirst, unsigned nLast, std::vector<POINT>* pPoints,
                     std::vector<DWORD>* pRunLengths) const;

public:
    std::int32_t m_nPenWidth = 1;
    bool m_bHasY = false; // some point is not a gap
    double m_dMinY = 0.0; // extremes of the points that are not gaps
    double m_dMaxY = 0.0;
};
