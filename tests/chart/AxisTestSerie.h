#pragma once

#include "chart/ChartSerie.h"
#include "platform/DC.h"

// A series with fixed ranges and no drawing, for testing what axes and the control do with the
// series they hold.
class CAxisTestSerie : public CChartSerie
{
public:
    explicit CAxisTestSerie(CChartCtrl* pOwner) : CChartSerie(pOwner) {}

    CAxisTestSerie& WithRange(double dMinX, double dMaxX, double dMinY, double dMaxY)
    {
        m_bHasRange = true;
        m_dMinX = dMinX;
        m_dMaxX = dMaxX;
        m_dMinY = dMinY;
        m_dMaxY = dMaxY;
        return *this;
    }
    CAxisTestSerie& WithVisibleRange(double dMinX, double dMaxX, double dMinY, double dMaxY)
    {
        m_bHasVisibleRange = true;
        m_dVisMinX = dMinX;
        m_dVisMaxX = dMaxX;
        m_dVisMinY = dMinY;
        m_dVisMaxY = dMaxY;
        return *this;
    }

    unsigned PointCount() const override { return 0; }
    POINT PointToScreen(unsigned) const override { return {0, 0}; }
    bool GetYRange(double* pMin, double* pMax) const override
    {
        return Answer(m_bHasRange, m_dMinY, m_dMaxY, pMin, pMax);
    }
    bool GetXRange(double* pMin, double* pMax) const override
    {
        return Answer(m_bHasRange, m_dMinX, m_dMaxX, pMin, pMax);
    }
    bool GetVisibleXRange(double* pMin, double* pMax) const override
    {
        return Answer(m_bHasVisibleRange, m_dVisMinX, m_dVisMaxX, pMin, pMax);
    }
    bool GetVisibleYRange(double* pMin, double* pMax) const override
    {
        return Answer(m_bHasVisibleRange, m_dVisMinY, m_dVisMaxY, pMin, pMax);
    }
    bool HitTest(const POINT*, unsigned*) const override { return false; }
    bool FindVisibleRange(unsigned*, unsigned*) const override { return false; }
    void DrawLegendSymbol(CDC*, const RECT*) override {}
    void DrawNewPoints(CDC*) override {}
    void DrawVisiblePoints(CDC* pDC) override
    {
        ++m_nVisibleDraws;
        m_nDrawOrder = ++s_nDrawClock;
        if (m_bFillsClip && pDC)
            pDC->FillSolidRect(&m_rcClip, m_crColor);
    }
    void DrawPointLabels(CDC*) override { ++m_nLabelDraws; }
    bool HandleMouseEvent(int, const POINT*) override { return false; }

    // Paints its whole clip rectangle in its colour, to show what it covers.
    bool m_bFillsClip = false;
    int m_nVisibleDraws = 0;
    int m_nLabelDraws = 0;
    int m_nDrawOrder = 0;
    static inline int s_nDrawClock = 0;

private:
    static bool Answer(bool bHas, double dMin, double dMax, double* pMin, double* pMax)
    {
        if (!bHas)
            return false;
        *pMin = dMin;
        *pMax = dMax;
        return true;
    }

    bool m_bHasRange = false;
    bool m_bHasVisibleRange = false;
    double m_dMinX = 0, m_dMaxX = 0, m_dMinY = 0, m_dMaxY = 0;
    double m_dVisMinX = 0, m_dVisMaxX = 0, m_dVisMinY = 0, m_dVisMaxY = 0;
};
