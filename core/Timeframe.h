#pragma once

#include <cstddef>
#include <cstdint>

struct SChartCandlestickPoint;

// The timeframes a file can be replayed in, finest first; keys 1 to 9 choose them in this order.
enum class ETimeframe
{
    Minute1,
    Minute5,
    Minute15,
    Minute30,
    Hour1,
    Hour4,
    Day,
    Week,
    Month,
};
constexpr int kTimeframeCount = 9;

// The position in the order above, 0 to 8.
int TimeframeIndex(ETimeframe eFrame);
// False, *peFrame untouched, for an index outside 0 to 8.
bool TimeframeFromIndex(int nIndex, ETimeframe* peFrame);
// The short name for menus: "M1", "M5", "M15", "M30", "H1", "H4", "D1", "W1", "MN".
const char* TimeframeCode(ETimeframe eFrame);
// The shortest a period of the timeframe lasts, in seconds (a month: 28 days).
std::int64_t TimeframeSeconds(ETimeframe eFrame);

// The start of the period holding dDate, as an OLE date. Minute and hour periods are aligned to
// the clock (four hours at 00:00, 04:00, ...), a day is the calendar day of the date as written,
// weeks start on Monday 00:00, months on the 1st. The time of day is first rounded to the
// millisecond, as the calendar conversions do. False, *pdStart untouched, for a date outside
// the years 100 to 9999.
bool TimeframePeriodStart(ETimeframe eFrame, double dDate, double* pdStart);

// The file's own bar spacing in whole seconds: the most common positive gap between neighbouring
// bars, the smaller one on a tie, so weekends, holidays and a few missing bars do not count.
// When no gap is common (the most common one is under a quarter of all gaps) the file is
// irregular and the spacing is the median gap: half the bars come at least that close, so a
// finer timeframe would mostly repeat the file's bars. 0 when no two bars have different dates.
// Gaps under half a second count as none.
std::int64_t BarSpacingSeconds(const SChartCandlestickPoint* pBars, std::size_t nCount);

// The finest timeframe whose periods are at least nSpacingSeconds long; it and every coarser one
// are offered. A month is offered to any file.
ETimeframe FinestTimeframeFor(std::int64_t nSpacingSeconds);
