#pragma once

#include <cstdint>

// OLE automation dates: days since 1899-12-30 00:00 as a double, the fraction being the time
// of day. Before the epoch the day counts down but the time of day stays a positive fraction,
// so -1.25 is 1899-12-29 06:00. Years 100 to 9999 are representable; anything else fails.

struct SYSTEMTIME
{
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;     // 1..12
    std::uint16_t wDayOfWeek = 0; // 0 = Sunday
    std::uint16_t wDay = 0;       // 1..31
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
};

struct UDATE
{
    SYSTEMTIME st;
    std::uint16_t wDayOfYear = 0; // 1..366
};

using DATE = double;

// Fails (false, *pvtime untouched) on a date or time of day that is not a real one.
bool SystemTimeToVariantTime(const SYSTEMTIME* pst, double* pvtime);

// Fails (false, *pst untouched) on a non-finite value or one outside years 100..9999.
// The time of day is rounded to the nearest millisecond.
bool VariantTimeToSystemTime(double vtime, SYSTEMTIME* pst);

// As VariantTimeToSystemTime, with the day of year as well. No flags are used.
bool VarUdateFromDate(DATE dateIn, unsigned long dwFlags, UDATE* pudateOut);

// Whether year, month and day name a day the conversions accept.
bool IsValidOleCalendarDay(int nYear, int nMonth, int nDay);
