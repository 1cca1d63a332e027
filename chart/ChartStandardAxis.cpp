#include "chart/ChartStandardAxis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <locale>
#include <sstream>

namespace
{

// 10 to the power n, n >= 0, by repeated squaring so that round powers come out exact.
double PowerOfTen(int n)
{
    double dResult = 1.0;
    double dBase = 10.0;
    while (n > 0)
    {
        if (n & 1)
            dResult *= dBase;
        dBase *= dBase;
        n >>= 1;
    }
    return dResult;
}

// The first tick normally lies within a step or two of the minimum; more iterations mean the
// step is below the resolution of the values.
constexpr int kMaxFirstTickSteps = 16;

} // namespace

CChartStandardAxis::CChartStandardAxis() = default;

CChartStandardAxis::~CChartStandardAxis() = default;

double CChartStandardAxis::GetFirstTick() const
{
    return m_bBetweenTicks ? m_dFirstTick - m_dTickStep : m_dFirstTick;
}

bool CChartStandardAxis::GetNextTick(double dCurrent, double* pNext) const
{
    if (m_dTickStep == 0.0)
        return false;
    *pNext = dCurrent + m_dTickStep;
    return *pNext <= m_dMax;
}

int CChartStandardAxis::TickToPixel(double dValue) const
{
    return ValueToPixel(dValue);
}

int CChartStandardAxis::IntervalMidPixel(double dValue) const
{
    if (m_dTickStep == 0.0)
        return ValueToPixel(dValue);
    // The nudge keeps a value a rounding error below a tick in that tick's interval, however
    // small the step (prices around 1e-8 have steps of 1e-10).
    const double dNudge = m_dTickStep * 1e-6;
    const double dNudged = dValue < 0.0 ? dValue - dNudge : dValue + dNudge;
    const double dInterval = std::trunc(dNudged / m_dTickStep);
    return ValueToPixel(dInterval * m_dTickStep + m_dTickStep * 0.5);
}

std::string CChartStandardAxis::FormatTickLabel(double dValue) const
{
    // Fixed point, correctly rounded and locale-free, as the classic stream writes it. A tick a
    // rounding error off 0 is 0, never "-0.0".
    const int nDecimals = std::max(0, m_nDecimals);
    if (std::fabs(dValue) < 0.5 / PowerOfTen(nDecimals))
        dValue = 0.0;
    char szText[1024];
    const std::to_chars_result result =
        std::to_chars(szText, szText + sizeof szText, dValue, std::chars_format::fixed, nDecimals);
    if (result.ec == std::errc())
        return std::string(szText, result.ptr);
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream.setf(std::ios::fixed, std::ios::floatfield);
    stream.precision(std::max(0, m_nDecimals));
    stream << dValue;
    return stream.str();
}

void CChartStandardAxis::RefreshTickIncrement()
{
    if (!m_bAutoTicks)
        return;
    if (m_dMax == m_dMin)
    {
        m_dTickStep = 0.0;
        return;
    }
    const std::int64_t nTicks = PixelLength() / (m_bHorizontal ? 30 : 20);
    if (nTicks == 0)
        return;
    const double dPer = (m_dMax - m_dMin) / static_cast<double>(nTicks);
    if (!std::isfinite(dPer) || dPer <= 0.0)
        return;

    const int nExponent = static_cast<int>(std::floor(std::log10(dPer)));
    const double dPower = nExponent < 0 ? 1.0 / PowerOfTen(-nExponent) : PowerOfTen(nExponent);
    const int nDecimals = nExponent < 0 ? -nExponent : 0;

    m_nDecimals = nDecimals;
    if (dPower >= dPer)
        m_dTickStep = dPower;
    else if (2.0 * dPower >= dPer)
        m_dTickStep = 2.0 * dPower;
    else if (5.0 * dPower >= dPer)
        m_dTickStep = 5.0 * dPower;
    else
    {
        // Ten times the power needs one decimal less.
        m_dTickStep = 10.0 * dPower;
        m_nDecimals = std::max(0, nDecimals - 1);
    }
    if (m_nMaxDecimals >= 0 && m_nDecimals > m_nMaxDecimals)
    {
        // Steps finer than the data would label values no bar can have.
        m_nDecimals = m_nMaxDecimals;
        m_dTickStep = 1.0 / PowerOfTen(m_nMaxDecimals);
    }
    if (m_nMinDecimals >= 0 && m_nDecimals >= m_nMinDecimals - 2)
        m_nDecimals = std::max(m_nDecimals, m_nMinDecimals);
}

void CChartStandardAxis::RefreshFirstTick()
{
    if (m_dTickStep == 0.0)
    {
        m_dFirstTick = m_dMin;
        return;
    }
    if (m_dMin == 0.0)
    {
        m_dFirstTick = 0.0;
        return;
    }
    double dTick = std::trunc(m_dMin / m_dTickStep) * m_dTickStep;
    int nSteps = 0;
    if (m_dMin > 0.0)
    {
        while (dTick < m_dMin && nSteps++ < kMaxFirstTickSteps)
            dTick += m_dTickStep;
    }
    else
    {
        while (dTick > m_dMin && nSteps++ < kMaxFirstTickSteps)
            dTick -= m_dTickStep;
        if (dTick != m_dMin)
            dTick += m_dTickStep;
    }
    m_dFirstTick = dTick;
}
