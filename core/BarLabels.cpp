#include "core/BarLabels.h"

#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "chart/PriceDecimals.h"

#include <algorithm>

int ShownPriceDecimals(int nWritten)
{
    return std::clamp(nWritten, kMinPriceDecimals, kMaxPriceDecimals);
}

std::string WithPriceDecimals(const std::string& strFormat, int nDecimals)
{
    static const std::string kCents = "%.2f";
    const std::string strWanted = "%." + std::to_string(nDecimals) + "f";
    std::string strResult;
    std::size_t nFrom = 0;
    for (std::size_t nAt = strFormat.find(kCents); nAt != std::string::npos;
         nAt = strFormat.find(kCents, nFrom))
    {
        strResult.append(strFormat, nFrom, nAt - nFrom).append(strWanted);
        nFrom = nAt + kCents.size();
    }
    return strResult.append(strFormat, nFrom, std::string::npos);
}

void FitAxesToBars(CChartDateTimeAxis* pDateAxis, CChartStandardAxis* pPriceAxis, bool bTimeOfDay,
                   int nPriceDecimals)
{
    if (pPriceAxis != nullptr)
    {
        pPriceAxis->m_nMaxDecimals = nPriceDecimals;
        // Cent prices keep the labels their step gives; finer prices show every decimal when
        // the step comes close to it.
        pPriceAxis->m_nMinDecimals = nPriceDecimals > 2 ? nPriceDecimals : -1;
    }
    // Last, because it redraws the chart.
    if (pDateAxis != nullptr)
        pDateAxis->SetTimeOfDayLabels(bTimeOfDay);
}
