#pragma once

#include "chart/ChartLinePoint.h"

#include <cstddef>
#include <vector>

struct SChartCandlestickPoint;

// The average close of the nPeriod bars ending at each bar, for bars nFrom to nCount - 1, as
// line points at the bars' dates. Bars before nFrom count as history; a bar with fewer than
// nPeriod bars up to it gets a NaN (a gap). nPeriod below 1 gives only gaps.
std::vector<SChartLinePoint> MovingAverage(const SChartCandlestickPoint* pBars, std::size_t nCount,
                                           int nPeriod, std::size_t nFrom = 0);
