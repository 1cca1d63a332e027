#include "core/MovingAverage.h"

#include "chart/ChartCandlestickPoint.h"

#include <cmath>
#include <limits>

namespace
{

// Neumaier's compensated sum: adding and removing closes for a long series would otherwise let
// rounding errors pile up.
class CRunningSum
{
public:
    void Add(double dValue)
    {
        const double dTotal = m_dSum + dValue;
        if (std::abs(m_dSum) >= std::abs(dValue))
            m_dCompensation += (m_dSum - dTotal) + dValue;
        else
            m_dCompensation += (dValue - dTotal) + m_dSum;
        m_dSum = dTotal;
    }
    double Value() const { return m_dSum + m_dCompensation; }

private:
    double m_dSum = 0.0;
    double m_dCompensation = 0.0;
};

} // namespace

std::vector<SChartLinePoint> MovingAverage(const SChartCandlestickPoint* pBars, std::size_t nCount,
                                           int nPeriod, std::size_t nFrom)
{
    std::vector<SChartLinePoint> vecPoints;
    if (nFrom >= nCount)
        return vecPoints;
    vecPoints.reserve(nCount - nFrom);
    const double dGap = std::numeric_limits<double>::quiet_NaN();
    if (nPeriod < 1)
    {
        for (std::size_t i = nFrom; i < nCount; ++i)
            vecPoints.push_back({pBars[i].dDate, dGap});
        return vecPoints;
    }
    const std::size_t nPeriodBars = static_cast<std::size_t>(nPeriod);
    const std::size_t nStart = nFrom >= nPeriodBars ? nFrom - nPeriodBars + 1 : 0;
    CRunningSum sum;
    for (std::size_t i = nStart; i < nCount; ++i)
    {
        sum.Add(pBars[i].dClose);
        if (i >= nStart + nPeriodBars)
            sum.Add(-pBars[i - nPeriodBars].dClose);
        if (i < nFrom)
            continue;
        const bool bDefined = i + 1 >= nPeriodBars;
        vecPoints.push_back({pBars[i].dDate, bDefined ? sum.Value() / nPeriod : dGap});
    }
    return vecPoints;
}
