#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "chart/ChartPointLabel.h"
#include "chart/ChartPointStore.h"
#include "chart/ChartSerie.h"

#include <cstdint>
#include <map>
#include <memory>

class ChartSerieMouseHandler;

// The series over one point type: owns the point store and answers what the axes, the control
// and the legend ask about the points. Drawing is left to the concrete series.
template <class TPoint> class CChartSerieBase : public CChartSerie
{
public:
    explicit CChartSerieBase(CChartCtrl* pOwner);

    unsigned PointCount() const override;
    POINT PointToScreen(unsigned nIndex) const override;
    bool GetYRange(double* pMin, double* pMax) const override;
    bool GetXRange(double* pMin, double* pMax) const override;
    bool GetVisibleXRange(double* pMin, double* pMax) const override;
    bool GetVisibleYRange(double* pMin, double* pMax) const override;
    ~CChartSerieBase() override;
    bool FindVisibleRange(unsigned* pFirst, unsigned* pLast) const override;
    void DrawPointLabels(CDC* pDC) override;
    bool HandleMouseEvent(int nEvent, const POINT* pPoint) override;
    // Sorts the points by the new ordering; ranges and drawing state stay as they are.
    virtual void SetOrdering(EPointOrdering eOrdering);

    // Stores the points, re-ranges both axes under one held refresh, draws the new points into
    // the control's back buffer and invalidates the control.
    void AddPoints(const TPoint* pPoints, unsigned nCount);

    const TPoint& GetPoint(unsigned nIndex) const { return m_Points.GetAt(nIndex); }
    // Takes ownership of pLabel, replacing (and deleting) any label of that point.
    void SetPointLabel(unsigned nIndex, ChartPointLabel* pLabel);
    void SetMouseHandler(ChartSerieMouseHandler* pHandler) { m_pMouseHandler = pHandler; }

protected:
    // Where a value of this series lands on an axis (the axis' label pixel rule).
    static int AxisPixel(const CChartAxis* pAxis, double dValue);

private:
    template <class Low, class High>
    bool VisibleSpan(EPointOrdering eOrdering, Low low, High high, double* pMin,
                     double* pMax) const;

public:
    CChartPointStore<TPoint> m_Points;
    // Index of the first point not drawn yet.
    std::uint32_t m_nNextToDraw = 0;
    std::map<std::uint32_t, std::unique_ptr<ChartPointLabel>> m_PointLabels;
    ChartSerieMouseHandler* m_pMouseHandler = nullptr;
};

extern template class CChartSerieBase<SChartCandlestickPoint>;
