#pragma once

#include "chart/ChartCtrl.h"

// A chart that counts its full redraws: every one starts with the background.
class CCountingChart : public CChartCtrl
{
public:
    void PaintBackground(CDC* pDC, RECT rcArea) override
    {
        ++m_nRedraws;
        CChartCtrl::PaintBackground(pDC, rcArea);
    }
    int m_nRedraws = 0;
};
