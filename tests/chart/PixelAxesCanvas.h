#pragma once

#include "ChartTestApp.h"
#include "chart/ChartSerie.h"
#include "chart/ChartStandardAxis.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"

#include <gtest/gtest.h>

// A 200 x 200 back buffer and two axes on which a value is its own pixel: x = value,
// y = 200 - value. Series drawn on it are clipped to the whole buffer unless a test says else.
class CPixelAxesCanvas : public ::testing::Test
{
protected:
    static constexpr int kSize = 200;
    static constexpr COLORREF kBackground = RGB(240, 240, 240);

    void SetUp() override
    {
        EnsureChartTestApp();
        ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&m_dc, kSize, kSize));
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, kSize, kSize, kBackground);
        m_xAxis.m_bHorizontal = true;
        m_xAxis.m_nStartPixel = 0;
        m_xAxis.m_nEndPixel = kSize;
        m_xAxis.SetRange(0, kSize, ERangeChange::Reset);
        m_yAxis.m_bHorizontal = false;
        m_yAxis.m_nStartPixel = kSize;
        m_yAxis.m_nEndPixel = 0;
        m_yAxis.SetRange(0, kSize, ERangeChange::Reset);
    }

    void TearDown() override
    {
        m_dc.SelectObject(m_pOldBitmap);
        m_bitmap.DeleteObject();
        m_dc.DeleteDC();
    }

    void Bind(CChartSerie& serie)
    {
        serie.m_pXAxis = &m_xAxis;
        serie.m_pYAxis = &m_yAxis;
        serie.m_rcClip = {0, 0, kSize, kSize};
    }

    void Clear() { m_dc.FillSolidRect(0, 0, kSize, kSize, kBackground); }

    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }

    int Count(COLORREF cr) const
    {
        int n = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                n += At(x, y) == cr;
        return n;
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    CChartStandardAxis m_xAxis;
    CChartStandardAxis m_yAxis;
};
