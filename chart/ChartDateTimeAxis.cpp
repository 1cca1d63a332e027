#include "chart/ChartDateTimeAxis.h"

#include "chart/ChartCtrl.h"
#include "platform/ClassicLocale.h"
#include "platform/DC.h"
#include "platform/OleDate.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iterator>
#include <limits>
#include <vector>

namespace
{

constexpr double kSecondsPerDay = 86400.0;

// An OLE date before the epoch counts its time of day forward, so -1.25 is 06:00 of the day
// before the epoch; spans are measured on the continuous count (-0.75 for that instant).
double ToContinuous(double dDate)
{
    return dDate < 0.0 ? 2.0 * std::ceil(dDate) - dDate : dDate;
}

double FromContinuous(double dCount)
{
    return dCount < 0.0 ? 2.0 * std::floor(dCount) - dCount : dCount;
}

double AddDays(double dDate, double dDays)
{
    return FromContinuous(ToContinuous(dDate) + dDays);
}

double DaysBetween(double dLater, double dEarlier)
{
    return ToContinuous(dLater) - ToContinuous(dEarlier);
}

double UnitDays(DateTimeTickUnit eUnit)
{
    switch (eUnit)
    {
    case UnitSecond:
        return 1.0 / kSecondsPerDay;
    case UnitMinute:
        return 1.0 / 1440.0;
    case UnitHour:
        return 1.0 / 24.0;
    default:
        return 1.0;
    }
}

const char* AutoFormat(DateTimeTickUnit eUnit)
{
    switch (eUnit)
    {
    case UnitSecond:
        return "%H:%M:%S";
    case UnitMinute:
        return "%H:%M";
    case UnitHour:
        return "%H:00";
    case UnitDay:
        return "%d %b";
    case UnitMonth:
        return "%b %Y";
    default:
        return "%Y";
    }
}

bool CalendarFields(double dDate, SYSTEMTIME* pst)
{
    return VariantTimeToSystemTime(dDate, pst);
}

// Lengths to order increments by; months and years only roughly.
double ApproximateDays(DateTimeTickUnit eUnit)
{
    switch (eUnit)
    {
    case UnitMonth:
        return 30.44;
    case UnitYear:
        return 365.25;
    default:
        return UnitDays(eUnit);
    }
}

struct SIncrement
{
    DateTimeTickUnit eUnit;
    std::int32_t nMultiple;
};

// Increments that read well, smallest first; fitting labels climbs them.
constexpr SIncrement kIncrementLadder[] = {
    {UnitSecond, 1},  {UnitSecond, 2},  {UnitSecond, 5},   {UnitSecond, 10}, {UnitSecond, 15},
    {UnitSecond, 30}, {UnitMinute, 1},  {UnitMinute, 2},   {UnitMinute, 5},  {UnitMinute, 10},
    {UnitMinute, 15}, {UnitMinute, 30}, {UnitHour, 1},     {UnitHour, 2},    {UnitHour, 3},
    {UnitHour, 6},    {UnitHour, 12},   {UnitDay, 1},      {UnitDay, 2},     {UnitDay, 7},
    {UnitDay, 14},    {UnitMonth, 1},   {UnitMonth, 2},    {UnitMonth, 3},   {UnitMonth, 6},
    {UnitYear, 1},    {UnitYear, 2},    {UnitYear, 5},     {UnitYear, 10},   {UnitYear, 20},
    {UnitYear, 50},   {UnitYear, 100},  {UnitYear, 200},   {UnitYear, 500},  {UnitYear, 1000},
    {UnitYear, 2000}, {UnitYear, 5000}, {UnitYear, 10000},
};

// Room between neighbouring labels, in pixels.
constexpr std::int64_t kLabelGap = 8;

// Ticks looked at for their spacing; more than any axis shows labels for.
constexpr int kMaxFitTicks = 2000;

} // namespace

CChartDateTimeAxis::CChartDateTimeAxis() : m_dtReference(MakeDate(2000, 1, 1)) {}

CChartDateTimeAxis::~CChartDateTimeAxis() = default;

std::int64_t CChartDateTimeAxis::SpanTotal(double dSpanDays, DateTimeTickUnit eUnit)
{
    const double dHalfSecond = 0.5 / kSecondsPerDay;
    const double dTotal =
        (dSpanDays + (dSpanDays < 0.0 ? -dHalfSecond : dHalfSecond)) / UnitDays(eUnit);
    // Saturate instead of an undefined conversion for spans no calendar holds.
    constexpr double kLimit = 9.0e18;
    if (!(dTotal > -kLimit))
        return dTotal != dTotal ? 0 : -std::int64_t(kLimit);
    if (!(dTotal < kLimit))
        return std::int64_t(kLimit);
    return std::int64_t(dTotal);
}

CChartDateTimeAxis::SDate CChartDateTimeAxis::MakeDate(int nYear, int nMonth, int nDay, int nHour,
                                                       int nMinute, int nSecond)
{
    SDate result;
    if (nYear < 0 || nYear > 65535 || nMonth < 0 || nMonth > 65535 || nDay < 0 || nDay > 65535 ||
        nHour < 0 || nHour > 65535 || nMinute < 0 || nMinute > 65535 || nSecond < 0 ||
        nSecond > 65535)
        return result;
    SYSTEMTIME st;
    st.wYear = std::uint16_t(nYear);
    st.wMonth = std::uint16_t(nMonth);
    st.wDay = std::uint16_t(nDay);
    st.wHour = std::uint16_t(nHour);
    st.wMinute = std::uint16_t(nMinute);
    st.wSecond = std::uint16_t(nSecond);
    double dDate = 0.0;
    if (!SystemTimeToVariantTime(&st, &dDate))
        return result;
    SYSTEMTIME back;
    if (!VariantTimeToSystemTime(dDate, &back) || back.wYear != st.wYear ||
        back.wMonth != st.wMonth || back.wDay != st.wDay || back.wHour != st.wHour ||
        back.wMinute != st.wMinute || back.wSecond != st.wSecond)
        return result;
    result.dDate = dDate;
    result.bValid = true;
    return result;
}

CChartDateTimeAxis::SDate CChartDateTimeAxis::AddMonths(double dDate, int nMonths)
{
    SYSTEMTIME st;
    if (!CalendarFields(dDate, &st))
        return SDate();
    const std::int64_t k = std::int64_t(st.wMonth) - 1 + nMonths;
    // Floor division, so going back from January reaches December of the year before.
    const std::int64_t nYears = k >= 0 ? k / 12 : -((-k + 11) / 12);
    const std::int64_t nYear = st.wYear + nYears;
    const std::int64_t nMonth = k - 12 * nYears + 1;
    if (nYear < 0 || nYear > 65535)
        return SDate();
    return MakeDate(int(nYear), int(nMonth), st.wDay, st.wHour, st.wMinute, st.wSecond);
}

CChartDateTimeAxis::SDate CChartDateTimeAxis::StepTicks(double dFrom, int nSteps) const
{
    const std::int64_t nUnits = std::int64_t(m_nTickMultiple) * nSteps;
    if (m_eTickUnit == UnitMonth || m_eTickUnit == UnitYear)
    {
        const std::int64_t nMonths = m_eTickUnit == UnitYear ? nUnits * 12 : nUnits;
        if (nMonths > std::numeric_limits<int>::max() || nMonths < std::numeric_limits<int>::min())
            return SDate();
        return AddMonths(dFrom, int(nMonths));
    }
    SDate result;
    result.dDate = AddDays(dFrom, double(nUnits) * UnitDays(m_eTickUnit));
    result.bValid = std::isfinite(result.dDate);
    return result;
}

double CChartDateTimeAxis::TickAtOrBefore(double dValue) const
{
    // A value a rounding error below a tick counts as on it.
    const double dNear = dValue < 0.0 ? dValue - 1e-10 : dValue + 1e-10;
    const double dRef = m_dtReference.dDate;
    const std::int64_t k = m_nTickMultiple;
    if (m_eTickUnit == UnitMonth || m_eTickUnit == UnitYear)
    {
        SYSTEMTIME st;
        SYSTEMTIME ref;
        if (!CalendarFields(dNear, &st) || !CalendarFields(dRef, &ref))
            return dValue;
        const std::int64_t nYears = std::int64_t(st.wYear) - ref.wYear;
        const std::int64_t nMonths = m_eTickUnit == UnitMonth
                                         ? k * ((nYears * 12 + st.wMonth - ref.wMonth) / k)
                                         : k * (nYears / k) * 12;
        const SDate tick = AddMonths(dRef, int(nMonths));
        return tick.bValid ? tick.dDate : dValue;
    }
    const std::int64_t nUnits = k * (SpanTotal(DaysBetween(dNear, dRef), m_eTickUnit) / k);
    return AddDays(dRef, double(nUnits) * UnitDays(m_eTickUnit));
}

double CChartDateTimeAxis::GetFirstTick() const
{
    if (!m_bBetweenTicks)
        return m_dFirstTick;
    const SDate before = StepTicks(m_dFirstTick, -1);
    return before.bValid ? before.dDate : m_dFirstTick;
}

bool CChartDateTimeAxis::GetNextTick(double dCurrent, double* pNext) const
{
    if (m_dMin == m_dMax)
        return false;
    const SDate next = StepTicks(dCurrent, 1);
    // Dates before the epoch are not ordered by their value, so order is judged on the
    // continuous count. A step lost in the precision of a huge date would never reach the end.
    if (!next.bValid || !(ToContinuous(next.dDate) > ToContinuous(dCurrent)))
        return false;
    *pNext = next.dDate;
    return ToContinuous(next.dDate) <= ToContinuous(m_dMax);
}

int CChartDateTimeAxis::TickToPixel(double dValue) const
{
    return ValueToPixel(dValue);
}

int CChartDateTimeAxis::IntervalMidPixel(double dValue) const
{
    const double dTick = TickAtOrBefore(dValue);
    const SDate next = StepTicks(dTick, 1);
    const std::int64_t p0 = ValueToPixel(dTick);
    const std::int64_t p1 = next.bValid ? ValueToPixel(next.dDate) : p0;
    return int(p0 + (p1 - p0) / 2);
}

std::string CChartDateTimeAxis::FormatTickLabel(double dValue) const
{
    return FormatDate(dValue, CurrentTickFormat());
}

std::string CChartDateTimeAxis::CurrentTickFormat() const
{
    if (m_bAutoTickFormat || !m_bTimeOfDayLabels || m_eTickUnit >= UnitDay)
        return m_strTickFormat;
    if (m_eTickUnit == UnitSecond)
        return "%H:%M:%S";
    // The whole days of OLE dates on both sides of the epoch.
    const bool bOneDay = std::trunc(m_dMin) == std::trunc(m_dMax) && (m_dMin < 0) == (m_dMax < 0);
    return bOneDay ? "%H:%M" : "%m-%d %H:%M";
}

void CChartDateTimeAxis::SetTimeOfDayLabels(bool bTimeOfDay)
{
    m_bTimeOfDayLabels = bTimeOfDay;
    if (m_pOwner != nullptr)
        m_pOwner->RefreshChart();
}

std::int64_t CChartDateTimeAxis::SmallestLabelSpacing() const
{
    std::int64_t nSmallest = std::numeric_limits<std::int64_t>::max();
    bool bHavePrevious = false;
    std::int64_t nPrevious = 0;
    double dTick = GetFirstTick();
    for (int nCount = 0; nCount < kMaxFitTicks; ++nCount)
    {
        if (IsLabelInside(dTick))
        {
            const std::int64_t nPixel = LabelPixel(dTick);
            if (bHavePrevious)
                nSmallest = std::min(nSmallest, std::abs(nPixel - nPrevious));
            nPrevious = nPixel;
            bHavePrevious = true;
        }
        double dNext = dTick;
        if (!GetNextTick(dTick, &dNext) || dNext == dTick)
            break;
        dTick = dNext;
    }
    return nSmallest;
}

bool CChartDateTimeAxis::WidenTickIncrement()
{
    const double dSpan = ApproximateDays(m_eTickUnit) * m_nTickMultiple;
    for (const SIncrement& step : kIncrementLadder)
    {
        if (ApproximateDays(step.eUnit) * step.nMultiple > dSpan * (1.0 + 1e-9))
        {
            m_eTickUnit = step.eUnit;
            m_nTickMultiple = step.nMultiple;
            return true;
        }
    }
    return false;
}

void CChartDateTimeAxis::FitTickLabels(CDC* pDC)
{
    if (!m_bAutoTicks || m_dMin == m_dMax || pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return;
    for (std::size_t nTry = 0; nTry < std::size(kIncrementLadder); ++nTry)
    {
        const SIZE szLabel = GetMaxTickLabelSize(pDC);
        const std::int64_t nNeeded = (m_bHorizontal ? szLabel.cx : szLabel.cy) + kLabelGap;
        if (SmallestLabelSpacing() >= nNeeded || !WidenTickIncrement())
            return;
        RefreshFirstTick();
    }
}

std::string CChartDateTimeAxis::FormatDate(double dDate, const std::string& strFormat)
{
    UDATE ud;
    if (!VarUdateFromDate(dDate, 0, &ud))
        return "Invalid DateTime";
    std::tm tmDate = {};
    tmDate.tm_sec = ud.st.wSecond;
    tmDate.tm_min = ud.st.wMinute;
    tmDate.tm_hour = ud.st.wHour;
    tmDate.tm_mday = ud.st.wDay;
    tmDate.tm_mon = ud.st.wMonth - 1;
    tmDate.tm_year = ud.st.wYear - 1900;
    tmDate.tm_wday = ud.st.wDayOfWeek;
    tmDate.tm_yday = ud.wDayOfYear - 1;
    tmDate.tm_isdst = 0;
    if (strFormat.empty())
        return std::string();
    // strftime answers 0 both for a text that does not fit and for an empty one; a longer
    // buffer tells them apart.
    for (std::size_t nSize = 256; nSize <= 65536; nSize *= 16)
    {
        std::vector<char> buffer(nSize);
        const std::size_t nLength =
            strftime_l(buffer.data(), nSize, strFormat.c_str(), &tmDate, ClassicLocale());
        if (nLength != 0)
            return std::string(buffer.data(), nLength);
    }
    return std::string();
}

void CChartDateTimeAxis::RefreshTickIncrement()
{
    if (!m_bAutoTicks)
        return;
    if (m_dMin == m_dMax)
    {
        m_nTickMultiple = 1;
        return;
    }
    std::int64_t nFit = PixelLength() / (m_bHorizontal ? 60 : 20);
    if (nFit == 0)
        nFit = 1;
    const double dPer = DaysBetween(m_dMax, m_dMin) / double(nFit);
    const std::int64_t s = SpanTotal(dPer, UnitSecond);
    const std::int64_t mi = SpanTotal(dPer, UnitMinute);
    const std::int64_t h = SpanTotal(dPer, UnitHour);
    const std::int64_t d = SpanTotal(dPer, UnitDay);

    struct SChoice
    {
        DateTimeTickUnit eUnit;
        std::int64_t nMultiple;
    };
    SChoice choice;
    if (s < 60)
        choice = s <= 2    ? SChoice{UnitSecond, 1}
                 : s <= 5  ? SChoice{UnitSecond, 5}
                 : s <= 10 ? SChoice{UnitSecond, 10}
                 : s <= 30 ? SChoice{UnitSecond, 30}
                           : SChoice{UnitMinute, 1};
    else if (mi < 60)
        choice = mi <= 2    ? SChoice{UnitMinute, 2}
                 : mi <= 5  ? SChoice{UnitMinute, 5}
                 : mi <= 10 ? SChoice{UnitMinute, 10}
                 : mi <= 30 ? SChoice{UnitMinute, 30}
                            : SChoice{UnitHour, 1};
    else if (h < 24)
        choice = h <= 2    ? SChoice{UnitHour, 2}
                 : h <= 6  ? SChoice{UnitHour, 6}
                 : h <= 12 ? SChoice{UnitHour, 12}
                           : SChoice{UnitDay, 1};
    else if (d < 31)
        choice = d <= 2   ? SChoice{UnitDay, 2}
                 : d <= 7 ? SChoice{UnitDay, 7}
                          : SChoice{UnitMonth, 1};
    else if (d < 365)
        choice = d <= 62    ? SChoice{UnitMonth, 2}
                 : d <= 124 ? SChoice{UnitMonth, 4}
                 : d <= 186 ? SChoice{UnitMonth, 6}
                            : SChoice{UnitYear, 1};
    else
        // No calendar spans more than 10000 years; the cap keeps the multiple an int.
        choice = SChoice{UnitYear, std::min<std::int64_t>(d / 365 + 1, 10000)};
    m_eTickUnit = choice.eUnit;
    m_nTickMultiple = std::int32_t(choice.nMultiple);
}

void CChartDateTimeAxis::RefreshFirstTick()
{
    m_dFirstTick = TickAtOrBefore(m_dMin);
    if (m_bAutoTickFormat)
        m_strTickFormat = AutoFormat(m_eTickUnit);
}

void CChartDateTimeAxis::SetTickLabelFormat(bool bAutomatic, const std::string& strFormat)
{
    m_bAutoTickFormat = bAutomatic;
    m_strTickFormat = strFormat;
    if (m_pOwner != nullptr)
        m_pOwner->RefreshChart();
}
