#pragma once

#include "core/KLineLayout.h"

#include <cstdint>
#include <string_view>

// Reading one field of a price file: numbers, dates and times in the forms exporters write.
// Shared by the layout recogniser and the reader so that both accept exactly the same text.

std::string_view KLineTrimBlanks(std::string_view text);

// A number filling the whole field but for blanks around it: an optional sign, an optional
// currency sign ("$121.20", "-€3"), digits with grouping marks cThousands between them, a
// decimal point (or comma with bDecimalComma) and an exponent. *pnDecimals is how many digits
// the text writes after the decimal mark, counting the exponent in ("1.5e-3" writes 4). False,
// with the outputs untouched, for anything else and for numbers that are not finite.
bool ParseKLineNumber(std::string_view text, bool bDecimalComma, char cThousands, double* pdValue,
                      int* pnDecimals);

// A volume: a number as above, possibly followed by K, M or B ("57.32K").
bool ParseKLineVolume(std::string_view text, bool bDecimalComma, char cThousands, double* pdValue);

// A field that stands for no value at all: empty, "null", "NaN", "N/A" or "-".
bool IsKLineEmptyValue(std::string_view text);

struct SKLineCalendarDay
{
    int nYear = 0;
    int nMonth = 0;
    int nDay = 0;
};

// The calendar day at the start of a date field, in the given form and order; *pRest is what
// follows it (a time of day, or nothing). Two-digit years are 1969 to 2068. False when the
// field does not start with such a date; the day itself is not checked against the calendar.
bool ParseKLineCalendarDay(std::string_view text, EKLineDateForm eForm, EKLineDateOrder eOrder,
                           SKLineCalendarDay* pDay, std::string_view* pRest);

// A time of day, whole field: "9:00", "09:00:42.146", "9:00 PM", "09:00:00+05:30" (the offset is
// passed over: the time stays as written) in the colon form; "0900" or "090000" in the digit
// form. *pnMilliseconds counts from midnight. False for anything else or an impossible time.
bool ParseKLineTimeOfDay(std::string_view text, EKLineTimeForm eForm, int* pnMilliseconds);

// The time written after a date in the same field ("2021-03-01 09:00", "...T09:00:00Z",
// "20210301 090000"); blank means midnight.
bool ParseKLineTimeAfterDate(std::string_view rest, int* pnMilliseconds);

// A Unix time field in the given unit, as the OLE date of that instant in UTC.
bool ParseKLineUnixTime(std::string_view text, EKLineUnixUnit eUnit, double* pdDate);

// The OLE date of an instant counted in seconds and milliseconds since 1970-01-01 00:00 UTC.
bool KLineUnixDate(std::int64_t nSeconds, int nMilliseconds, double* pdDate);

// A count of eUnit since 1970 as whole seconds and the milliseconds after them; the divisors are
// constants in each case, so a reading loop pays no division instruction.
inline void SplitKLineUnixCount(std::int64_t nCount, EKLineUnixUnit eUnit, std::int64_t* pnSeconds,
                                std::int64_t* pnMilliseconds)
{
    switch (eUnit)
    {
    case EKLineUnixUnit::Seconds:
        *pnSeconds = nCount;
        *pnMilliseconds = 0;
        return;
    case EKLineUnixUnit::Milliseconds:
        *pnSeconds = nCount / 1000;
        *pnMilliseconds = nCount % 1000;
        return;
    case EKLineUnixUnit::Microseconds:
        *pnSeconds = nCount / 1'000'000;
        *pnMilliseconds = nCount % 1'000'000 / 1000;
        return;
    case EKLineUnixUnit::Nanoseconds:
        *pnSeconds = nCount / 1'000'000'000;
        *pnMilliseconds = nCount % 1'000'000'000 / 1'000'000;
        return;
    }
}

// The OLE date of a calendar day and a time of day; false for days outside years 100 to 9999.
bool KLineOleDate(const SKLineCalendarDay& day, int nMilliseconds, double* pdDate);

// A bar date as a count that grows with time: before 1899-12-30 an OLE date counts its time of
// day forward from the day's negative number (-1.25 is 06:00, after -1.0), so it is turned round.
double KLineInstant(double dDate);
