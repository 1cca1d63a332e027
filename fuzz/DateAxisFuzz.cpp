// libFuzzer target: the date axis' increment choice, tick alignment, stepping and labels over
// random ranges and axis lengths, walked the way the axis walks them when it draws.
#include "chart/ChartDateTimeAxis.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

// Any finite double, often a plausible OLE date so the calendar paths get exercised.
double ConsumeDate(FuzzedDataProvider& data)
{
    if (data.ConsumeBool())
        return data.ConsumeFloatingPointInRange(-700000.0, 3000000.0);
    const double d = data.ConsumeFloatingPoint<double>();
    return std::isfinite(d) ? d : 0.0;
}

void CheckLabel(const CChartDateTimeAxis& axis, double dValue)
{
    const std::string strLabel = axis.FormatTickLabel(dValue);
    if (strLabel.size() > 65536)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize)
{
    FuzzedDataProvider data(pData, nSize);
    CChartDateTimeAxis axis;
    double dA = ConsumeDate(data);
    double dB = ConsumeDate(data);
    if (dA > dB)
        std::swap(dA, dB);
    axis.m_dMin = dA;
    axis.m_dMax = dB;
    axis.m_bHorizontal = data.ConsumeBool();
    axis.m_bReversed = data.ConsumeBool();
    axis.m_bBetweenTicks = data.ConsumeBool();
    axis.m_nStartPixel = data.ConsumeIntegral<std::int32_t>();
    axis.m_nEndPixel = data.ConsumeBool() ? axis.m_nStartPixel + data.ConsumeIntegralInRange(-5000, 5000)
                                          : data.ConsumeIntegral<std::int32_t>();
    if (data.ConsumeBool())
        axis.SetTickLabelFormat(false, data.ConsumeRandomLengthString(64));

    axis.RefreshTickIncrement();
    axis.RefreshFirstTick();
    if (axis.m_nTickMultiple < 1)
        std::abort();

    // The same walk as the axis' own: stop where the sequence ends or stops advancing.
    double dTick = axis.GetFirstTick();
    for (int nCount = 0; nCount < 2000; ++nCount)
    {
        CheckLabel(axis, dTick);
        (void)axis.TickToPixel(dTick);
        (void)axis.IntervalMidPixel(dTick);
        double dNext = dTick;
        if (!axis.GetNextTick(dTick, &dNext) || !(dNext > dTick))
            break;
        dTick = dNext;
    }

    const double dProbe = ConsumeDate(data);
    CheckLabel(axis, dProbe);
    (void)axis.TickAtOrBefore(dProbe);
    (void)axis.PixelToValue(data.ConsumeIntegral<std::int32_t>());
    (void)CChartDateTimeAxis::AddMonths(dProbe, data.ConsumeIntegral<int>());
    return 0;
}
