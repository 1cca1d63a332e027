#pragma once

#include "chart/ChartAxis.h"

#include <cstdint>
#include <string>

// Numeric axis: ticks at multiples of a round increment (1, 2 or 5 times a power of ten),
// labels in fixed-point notation with as many decimals as the increment needs.
class CChartStandardAxis : public CChartAxis
{
public:
    CChartStandardAxis();
    ~CChartStandardAxis() override;

    double GetFirstTick() const override;
    bool GetNextTick(double dCurrent, double* pNext) const override;
    int TickToPixel(double dValue) const override;
    int IntervalMidPixel(double dValue) const override;
    std::string FormatTickLabel(double dValue) const override;
    void RefreshTickIncrement() override;
    void RefreshFirstTick() override;

public:
    double m_dFirstTick = 0.0;
    double m_dTickStep = 1.0;
    std::int32_t m_nDecimals = 0;
    // The finest decimal the values carry (a price file's precision); the automatic increment
    // never goes below one unit of it. Negative: no limit.
    std::int32_t m_nMaxDecimals = -1;
    // Once the step needs at most two decimals fewer, labels carry this many, so a forex price
    // reads to its last digit; coarser steps over wide ranges keep short labels. Negative: as many
    // as the step needs.
    std::int32_t m_nMinDecimals = -1;
};
