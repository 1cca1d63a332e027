#pragma once

#include "chart/ChartCandlestickPoint.h"

#include <string>
#include <string_view>
#include <vector>

// The plain-file loader as it was, kept unchanged as the load benchmark's yardstick.
namespace yardstick
{

struct SKLineReadStats
{
    long m_nLines = 0;
    long m_nSkipped = 0;
    long m_nFirstSkippedLine = 0;
    long m_nOtherSeparator = 0;
    bool m_bReordered = false;
    int m_nPriceDecimals = 0;
    bool m_bTimeOfDay = false;
};

bool ParseKLineDate(std::string_view text, double* pdDate);
bool ParseKLinePrice(std::string_view text, double* pdPrice);
bool ParseKLineLine(std::string_view line, SChartCandlestickPoint* pBar);
double KLineInstant(double dDate);
int KLinePriceDecimals(std::string_view line);
bool ReadKLineFile(const std::string& strPath, std::vector<SChartCandlestickPoint>* pBars,
                   SKLineReadStats* pStats);
bool ReadKLineStream(int fd, const std::string& strPath, std::vector<SChartCandlestickPoint>* pBars,
                     SKLineReadStats* pStats);

} // namespace yardstick
