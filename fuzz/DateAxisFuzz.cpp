// libFuzzer target: the date axis' increment choice, tick alignment, stepping and labels over
// random ranges and axis lengths, walked the way the axis walks them when it draws.
#include "chart/ChartDateTimeAxis.h"
#include "fuzz/FuzzInput.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

// Often a plausible OLE date so the calendar paths get exercised, else any finite double.
double TakeDate(CFuzzInput& input)
{
    return input.TakeBool() ? input.TakeInRange(-700000.0, 3000000.0) : input.TakeFinite();
}

void CheckLabel(const CChartDateTimeAxis& axis, double dValue)
{
    if (axis.FormatTickLabel(dValue).size() > 65536)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize)
{
    CFuzzInput input(pData, nSize);
    CChartDateTimeAxis axis;
    const double dA = TakeDate(input);
    const double dB = TakeDate(input);
    // Ranges reach an axis only through its setter, which refuses what cannot be mapped.
    if (!axis.SetRange(std::min(dA, dB), std::max(dA, dB), ERangeChange::Reset))
        return 0;
    axis.m_bHorizontal = input.TakeBool();
    axis.m_bReversed = input.TakeBool();
    axis.m_bBetweenTicks = input.TakeBool();
    axis.m_nStartPixel = input.Take<std::int32_t>();
    if (input.TakeBool())
    {
        const std::int64_t nEnd = std::int64_t{axis.m_nStartPixel} + input.Take<std::int16_t>();
        axis.m_nEndPixel =
            static_cast<std::int32_t>(std::clamp<std::int64_t>(nEnd, INT32_MIN, INT32_MAX));
    }
    else
    {
        axis.m_nEndPixel = input.Take<std::int32_t>();
    }
    if (input.TakeBool())
        axis.SetTickLabelFormat(false, input.TakeString(64));

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

    const double dProbe = TakeDate(input);
    CheckLabel(axis, dProbe);
    (void)axis.TickAtOrBefore(dProbe);
    (void)axis.PixelToValue(input.Take<std::int32_t>());
    (void)CChartDateTimeAxis::AddMonths(dProbe, input.Take<std::int32_t>());

    // Labels that carry the time of day while ticks are under a day apart.
    axis.SetTimeOfDayLabels(input.TakeBool());
    CheckLabel(axis, dProbe);
    return 0;
}
