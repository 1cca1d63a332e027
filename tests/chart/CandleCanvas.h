#pragma once

#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartStandardAxis.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"

#include "tests/chart/ChartTestApp.h"

#include <gtest/gtest.h>

#include <memory>

inline SChartCandlestickPoint CandleBar(double dDate, double dOpen, double dHigh, double dLow,
                                        double dClose)
{
    SChartCandlestickPoint p;
    p.dDate = dDate;
    p.dOpen = dOpen;
    p.dHigh = dHigh;
    p.dLow = dLow;
    p.dClose = dClose;
    return p;
}

// A bitmap on a light grey background with a blue candlestick series on hand-set axes: dates
// run from the plot's left to its right edge, prices from its bottom to its top. The series
// may draw anywhere on the bitmap until a test narrows its clip.
class CCandleCanvas : public ::testing::Test
{
protected:
    static constexpr COLORREF kBackground = RGB(240, 240, 240);
    static constexpr COLORREF kBlue = RGB(0, 0, 255);

    void Prepare(int nWidth, int nHeight, RECT rcPlot)
    {
        EnsureChartTestApp();
        m_nWidth = nWidth;
        m_nHeight = nHeight;
        ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&m_dc, nWidth, nHeight));
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, nWidth, nHeight, kBackground);
        m_xAxis.m_bHorizontal = true;
        m_xAxis.m_nStartPixel = rcPlot.left;
        m_xAxis.m_nEndPixel = rcPlot.right;
        m_yAxis.m_bHorizontal = false;
        m_yAxis.m_nStartPixel = rcPlot.bottom;
        m_yAxis.m_nEndPixel = rcPlot.top;
        m_pSerie = std::make_unique<CChartCandlestickSerie>(nullptr);
        m_pSerie->m_pXAxis = &m_xAxis;
        m_pSerie->m_pYAxis = &m_yAxis;
        m_pSerie->m_crColor = kBlue;
        m_pSerie->m_rcClip = {0, 0, nWidth, nHeight};
    }

    void TearDown() override
    {
        m_pSerie.reset();
        m_dc.SelectObject(m_pOldBitmap);
        m_bitmap.DeleteObject();
        m_dc.DeleteDC();
    }

    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }

    int m_nWidth = 0;
    int m_nHeight = 0;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    CChartStandardAxis m_xAxis;
    CChartStandardAxis m_yAxis;
    std::unique_ptr<CChartCandlestickSerie> m_pSerie;
};
