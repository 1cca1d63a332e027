#include "platform/OleDate.h"

#include <cmath>

namespace
{

constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;
constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

bool IsLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 in the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int* y, int* m, int* d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = static_cast<int>(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<int>(yoe + era * 400) + (*m <= 2);
}

const std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);
const double kFirstDate = static_cast<double>(DaysFromCivil(kMinYear, 1, 1) - kEpochDays);
const double kEndDate = static_cast<double>(DaysFromCivil(kMaxYear + 1, 1, 1) - kEpochDays);

} // namespace

bool IsValidOleCalendarDay(int nYear, int nMonth, int nDay)
{
    return nYear >= kMinYear && nYear <= kMaxYear && nMonth >= 1 && nMonth <= 12 && nDay >= 1 &&
           nDay <= DaysInMonth(nYear, nMonth);
}

bool SystemTimeToVariantTime(const SYSTEMTIME* pst, double* pvtime)
{
    if (pst == nullptr || pvtime == nullptr)
        return false;
    if (!IsValidOleCalendarDay(pst->wYear, pst->wMonth, pst->wDay) || pst->wHour > 23 ||
        pst->wMinute > 59 || pst->wSecond > 59 || pst->wMilliseconds > 999)
        return false;

    const std::int64_t days = DaysFromCivil(pst->wYear, pst->wMonth, pst->wDay) - kEpochDays;
    const std::int64_t ms =
        ((pst->wHour * 60 + pst->wMinute) * 60 + pst->wSecond) * 1000LL + pst->wMilliseconds;
    const double fraction = static_cast<double>(ms) / static_cast<double>(kMillisecondsPerDay);
    // Before the epoch the time of day still counts forward, away from zero.
    *pvtime =
        days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
    return true;
}

bool VarUdateFromDate(DATE dateIn, unsigned long /*dwFlags*/, UDATE* pudateOut)
{
    if (pudateOut == nullptr || !std::isfinite(dateIn) || dateIn <= -kEndDate || dateIn >= kEndDate)
        return false;

    const double whole = std::trunc(dateIn);
    std::int64_t days = static_cast<std::int64_t>(whole);
    std::int64_t ms =
        std::llround(std::fabs(dateIn - whole) * static_cast<double>(kMillisecondsPerDay));
    if (ms >= kMillisecondsPerDay)
    {
        ms -= kMillisecondsPerDay;
        ++days;
    }
    if (static_cast<double>(days) < kFirstDate || static_cast<double>(days) >= kEndDate)
        return false;

    const std::int64_t civil = days + kEpochDays;
    int y = 0, m = 0, d = 0;
    CivilFromDays(civil, &y, &m, &d);

    UDATE u;
    u.st.wYear = static_cast<std::uint16_t>(y);
    u.st.wMonth = static_cast<std::uint16_t>(m);
    u.st.wDay = static_cast<std::uint16_t>(d);
    u.st.wDayOfWeek =
        static_cast<std::uint16_t>(((civil % 7) + 11) % 7); // 1970-01-01 was a Thursday
    u.st.wHour = static_cast<std::uint16_t>(ms / 3'600'000);
    u.st.wMinute = static_cast<std::uint16_t>(ms / 60'000 % 60);
    u.st.wSecond = static_cast<std::uint16_t>(ms / 1000 % 60);
    u.st.wMilliseconds = static_cast<std::uint16_t>(ms % 1000);
    u.wDayOfYear = static_cast<std::uint16_t>(civil - DaysFromCivil(y, 1, 1) + 1);
    *pudateOut = u;
    return true;
}

bool VariantTimeToSystemTime(double vtime, SYSTEMTIME* pst)
{
    UDATE u;
    if (pst == nullptr || !VarUdateFromDate(vtime, 0, &u))
        return false;
    *pst = u.st;
    return true;
}
