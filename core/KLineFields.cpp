#include "core/KLineFields.h"

#include "platform/ClassicLocale.h"
#include "platform/OleDate.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// Takes a run of digits off the front: its value (saturated) and its length.
int TakeDigits(std::string_view* pText, std::int64_t* pnValue, int nMost = 18)
{
    int n = 0;
    std::int64_t value = 0;
    while (!pText->empty() && IsDigit(pText->front()))
    {
        if (n < nMost)
            value = value * 10 + (pText->front() - '0');
        ++n;
        pText->remove_prefix(1);
    }
    *pnValue = value;
    return n;
}

// "$", "€", "£", "¥" and the full-width "￥" before a number.
size_t CurrencySignLength(std::string_view text)
{
    static constexpr std::string_view kSigns[] = {"$", "\xE2\x82\xAC", "\xC2\xA3", "\xC2\xA5",
                                                  "\xEF\xBF\xA5"};
    for (std::string_view sign : kSigns)
        if (text.substr(0, sign.size()) == sign)
            return sign.size();
    return 0;
}

int TwoDigitYear(int nYear)
{
    return nYear < 69 ? 2000 + nYear : 1900 + nYear;
}

int MonthOfName(std::string_view word)
{
    static constexpr std::string_view kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                   "jul", "aug", "sep", "oct", "nov", "dec"};
    if (word.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i)
        if (EqualsNoCase(word.substr(0, 3), kMonths[i]))
            return i + 1;
    return 0;
}

} // namespace

std::string_view KLineTrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool ParseKLineNumber(std::string_view text, bool bDecimalComma, char cThousands, double* pdValue,
                      int* pnDecimals)
{
    text = KLineTrimBlanks(text);
    bool bNegative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
    {
        bNegative = text.front() == '-';
        text.remove_prefix(1);
    }
    text.remove_prefix(CurrencySignLength(text));
    if (text.empty() || !(IsDigit(text.front()) || text.front() == '.' || text.front() == ','))
        return false;

    // The number as from_chars reads it: grouping marks out, the decimal mark a point.
    const char cDecimal = bDecimalComma ? ',' : '.';
    std::string clean;
    clean.reserve(text.size());
    int nFraction = 0;
    bool bInFraction = false;
    bool bInExponent = false;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == cThousands && cThousands != 0 && !bInFraction && !bInExponent && i > 0 &&
            IsDigit(text[i - 1]) && i + 1 < text.size() && IsDigit(text[i + 1]))
            continue;
        if (c == cDecimal && !bInFraction && !bInExponent)
        {
            bInFraction = true;
            clean += '.';
            continue;
        }
        if (c == 'e' || c == 'E')
            bInExponent = true;
        else if (!IsDigit(c) && !(bInExponent && (c == '+' || c == '-')))
            return false; // "12abc", "0x10", "49;50", a second decimal mark
        else if (bInFraction && !bInExponent)
            ++nFraction;
        clean += c;
    }
    const char* const pBegin = clean.data();
    const char* const pEnd = pBegin + clean.size();
    double value = 0.0;
    const auto result = std::from_chars(pBegin, pEnd, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument || result.ptr != pEnd)
        return false;
    if (result.ec == std::errc::result_out_of_range) // huge, or below the smallest double
        value = strtod_l(clean.c_str(), nullptr, ClassicLocale());
    if (!std::isfinite(value))
        return false;
    int nExponent = 0;
    if (const size_t nE = clean.find_first_of("eE"); nE != std::string::npos)
        nExponent = std::atoi(clean.c_str() + nE + 1);
    *pdValue = bNegative ? -value : value;
    *pnDecimals = static_cast<int>(std::clamp<long>(long(nFraction) - nExponent, 0, 99));
    return true;
}

bool ParseKLineVolume(std::string_view text, bool bDecimalComma, char cThousands, double* pdValue)
{
    text = KLineTrimBlanks(text);
    double dFactor = 1.0;
    if (!text.empty())
    {
        switch (Lower(text.back()))
        {
        case 'k':
            dFactor = 1e3;
            break;
        case 'm':
            dFactor = 1e6;
            break;
        case 'b':
            dFactor = 1e9;
            break;
        default:
            break;
        }
        if (dFactor != 1.0)
            text.remove_suffix(1);
    }
    double value = 0.0;
    int nDecimals = 0;
    if (!ParseKLineNumber(text, bDecimalComma, cThousands, &value, &nDecimals) ||
        !std::isfinite(value * dFactor))
        return false;
    *pdValue = value * dFactor;
    return true;
}

bool IsKLineEmptyValue(std::string_view text)
{
    text = KLineTrimBlanks(text);
    return text.empty() || EqualsNoCase(text, "null") || EqualsNoCase(text, "nan") ||
           EqualsNoCase(text, "n/a") || text == "-";
}

bool ParseKLineCalendarDay(std::string_view text, EKLineDateForm eForm, EKLineDateOrder eOrder,
                           SKLineCalendarDay* pDay, std::string_view* pRest)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    SKLineCalendarDay day;
    if (eForm == EKLineDateForm::Compact)
    {
        std::int64_t value = 0;
        if (TakeDigits(&text, &value) != 8)
            return false;
        day = {int(value / 10000), int(value / 100 % 100), int(value % 100)};
    }
    else if (eForm == EKLineDateForm::Numeric)
    {
        std::int64_t g[3] = {};
        int n[3] = {};
        for (int i = 0; i < 3; ++i)
        {
            if (i > 0)
            {
                // One mark between the numbers: 2021-03-01, 01.03.2021, 3/1/2021.
                if (text.empty() || IsDigit(text.front()) || IsBlank(text.front()))
                    return false;
                text.remove_prefix(1);
            }
            n[i] = TakeDigits(&text, &g[i]);
        }
        const bool bYearFirst = eOrder == EKLineDateOrder::YearMonthDay;
        const int nYearDigits = bYearFirst ? n[0] : n[2];
        const int nOther1 = bYearFirst ? n[1] : n[0];
        const int nOther2 = bYearFirst ? n[2] : n[1];
        if (nOther1 < 1 || nOther1 > 2 || nOther2 < 1 || nOther2 > 2 ||
            !(nYearDigits == 4 || (!bYearFirst && nYearDigits == 2)))
            return false;
        switch (eOrder)
        {
        case EKLineDateOrder::YearMonthDay:
            day = {int(g[0]), int(g[1]), int(g[2])};
            break;
        case EKLineDateOrder::DayMonthYear:
            day = {int(g[2]), int(g[1]), int(g[0])};
            break;
        case EKLineDateOrder::MonthDayYear:
            day = {int(g[2]), int(g[0]), int(g[1])};
            break;
        }
        if (nYearDigits == 2)
            day.nYear = TwoDigitYear(day.nYear);
    }
    else if (eForm == EKLineDateForm::MonthName)
    {
        // Three words: a month name and two numbers, in any of the usual orders.
        int nMonth = 0;
        std::int64_t numbers[2] = {};
        int nLengths[2] = {};
        int nNumbers = 0;
        for (int nWord = 0; nWord < 3; ++nWord)
        {
            if (nWord > 0)
            {
                size_t nSkip = 0;
                while (nSkip < text.size() &&
                       (text[nSkip] == ' ' || text[nSkip] == ',' || text[nSkip] == '-' ||
                        text[nSkip] == '/' || text[nSkip] == '.'))
                    ++nSkip;
                if (nSkip == 0)
                    return false;
                text.remove_prefix(nSkip);
            }
            if (!text.empty() && IsLetter(text.front()))
            {
                size_t nLength = 0;
                while (nLength < text.size() && IsLetter(text[nLength]))
                    ++nLength;
                if (nMonth != 0 || (nMonth = MonthOfName(text.substr(0, nLength))) == 0)
                    return false;
                text.remove_prefix(nLength);
            }
            else if (nNumbers < 2)
            {
                nLengths[nNumbers] = TakeDigits(&text, &numbers[nNumbers]);
                if (nLengths[nNumbers] == 0 || nLengths[nNumbers] > 4)
                    return false;
                ++nNumbers;
            }
            else
                return false;
        }
        if (nMonth == 0 || nNumbers != 2)
            return false;
        const bool bYearFirst = nLengths[0] == 4;
        const int nYearLength = bYearFirst ? nLengths[0] : nLengths[1];
        day.nMonth = nMonth;
        day.nYear = int(bYearFirst ? numbers[0] : numbers[1]);
        day.nDay = int(bYearFirst ? numbers[1] : numbers[0]);
        if (nYearLength == 2)
            day.nYear = TwoDigitYear(day.nYear);
        else if (nYearLength != 4)
            return false;
    }
    else
        return false;
    *pDay = day;
    *pRest = text;
    return true;
}

bool ParseKLineTimeOfDay(std::string_view text, EKLineTimeForm eForm, int* pnMilliseconds)
{
    text = KLineTrimBlanks(text);
    std::int64_t nHour = 0, nMinute = 0, nSecond = 0, nMilli = 0;
    if (eForm == EKLineTimeForm::Digits)
    {
        std::int64_t value = 0;
        const int n = TakeDigits(&text, &value);
        if (!text.empty() || n < 3 || n > 6)
            return false;
        if (n >= 5)
        {
            nSecond = value % 100;
            value /= 100;
        }
        nHour = value / 100;
        nMinute = value % 100;
    }
    else
    {
        const int nHourDigits = TakeDigits(&text, &nHour);
        if (nHourDigits < 1 || nHourDigits > 2 || text.empty() || text.front() != ':')
            return false;
        text.remove_prefix(1);
        if (TakeDigits(&text, &nMinute) != 2)
            return false;
        if (!text.empty() && text.front() == ':')
        {
            text.remove_prefix(1);
            if (TakeDigits(&text, &nSecond) != 2)
                return false;
            if (!text.empty() && (text.front() == '.' || text.front() == ','))
            {
                text.remove_prefix(1);
                std::int64_t fraction = 0;
                const int nDigits = TakeDigits(&text, &fraction, 3);
                if (nDigits == 0 || nDigits > 9)
                    return false;
                for (int i = std::min(nDigits, 3); i < 3; ++i)
                    fraction *= 10;
                nMilli = fraction;
            }
        }
        text = KLineTrimBlanks(text);
        if (text.size() >= 2 && (Lower(text[1]) == 'm') &&
            (Lower(text[0]) == 'a' || Lower(text[0]) == 'p'))
        {
            if (nHour < 1 || nHour > 12)
                return false;
            nHour = nHour % 12 + (Lower(text[0]) == 'p' ? 12 : 0);
            text = KLineTrimBlanks(text.substr(2));
        }
        // A zone offset or Z: the bar keeps the time as written.
        if (text == "Z" || text == "z")
            text = {};
        else if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        {
            text.remove_prefix(1);
            std::int64_t offset = 0;
            const int nDigits = TakeDigits(&text, &offset);
            if (nDigits == 2 && !text.empty() && text.front() == ':')
            {
                text.remove_prefix(1);
                if (TakeDigits(&text, &offset) != 2)
                    return false;
            }
            else if (nDigits != 2 && nDigits != 4)
                return false;
        }
        if (!text.empty())
            return false;
    }
    if (nHour > 23 || nMinute > 59 || nSecond > 59)
        return false;
    *pnMilliseconds = int(((nHour * 60 + nMinute) * 60 + nSecond) * 1000 + nMilli);
    return true;
}

bool ParseKLineTimeAfterDate(std::string_view rest, int* pnMilliseconds)
{
    if (KLineTrimBlanks(rest).empty())
    {
        *pnMilliseconds = 0;
        return true;
    }
    if (rest.front() != ' ' && rest.front() != 'T')
        return false;
    rest = KLineTrimBlanks(rest.substr(1));
    const EKLineTimeForm eForm =
        rest.find(':') != std::string_view::npos ? EKLineTimeForm::Colons : EKLineTimeForm::Digits;
    return ParseKLineTimeOfDay(rest, eForm, pnMilliseconds);
}

bool ParseKLineUnixTime(std::string_view text, EKLineUnixUnit eUnit, double* pdDate)
{
    text = KLineTrimBlanks(text);
    // Nanoseconds take 19 digits; below 9e18 they still fit.
    const bool bFits19 = !text.empty() && text.front() <= '8';
    std::int64_t value = 0;
    const int nDigits = TakeDigits(&text, &value, 19);
    if (nDigits == 0 || nDigits > 19 || (nDigits == 19 && !bFits19))
        return false;
    std::int64_t fraction = 0; // milliseconds of a fractional count of seconds
    if (!text.empty() && text.front() == '.')
    {
        text.remove_prefix(1);
        const int nFraction = TakeDigits(&text, &fraction, 3);
        for (int i = std::min(nFraction, 3); i < 3; ++i)
            fraction *= 10;
    }
    if (!text.empty())
        return false;
    std::int64_t nSeconds = 0;
    std::int64_t nMilli = 0;
    SplitKLineUnixCount(value, eUnit, &nSeconds, &nMilli);
    if (eUnit == EKLineUnixUnit::Seconds)
        nMilli = fraction;
    return KLineUnixDate(nSeconds, int(nMilli), pdDate);
}

bool KLineUnixDate(std::int64_t nSeconds, int nMilliseconds, double* pdDate)
{
    // 1970-01-01 is OLE day 25569; the last representable day is 9999-12-31.
    constexpr std::int64_t kLastDay = 2958465 - 25569;
    if (nSeconds < 0 || nMilliseconds < 0 || nMilliseconds > 999 || nSeconds / 86400 > kLastDay)
        return false;
    const std::int64_t nDay = nSeconds / 86400;
    const std::int64_t nMs = nSeconds % 86400 * 1000 + nMilliseconds;
    *pdDate = static_cast<double>(nDay + 25569) + static_cast<double>(nMs) / 86'400'000.0;
    return true;
}

bool KLineOleDate(const SKLineCalendarDay& day, int nMilliseconds, double* pdDate)
{
    if (!IsValidOleCalendarDay(day.nYear, day.nMonth, day.nDay) || nMilliseconds < 0 ||
        nMilliseconds >= 86'400'000)
        return false;
    SYSTEMTIME st;
    st.wYear = static_cast<std::uint16_t>(day.nYear);
    st.wMonth = static_cast<std::uint16_t>(day.nMonth);
    st.wDay = static_cast<std::uint16_t>(day.nDay);
    st.wHour = static_cast<std::uint16_t>(nMilliseconds / 3'600'000);
    st.wMinute = static_cast<std::uint16_t>(nMilliseconds / 60'000 % 60);
    st.wSecond = static_cast<std::uint16_t>(nMilliseconds / 1000 % 60);
    st.wMilliseconds = static_cast<std::uint16_t>(nMilliseconds % 1000);
    return SystemTimeToVariantTime(&st, pdDate);
}

double KLineInstant(double dDate)
{
    return dDate < 0.0 ? 2.0 * std::ceil(dDate) - dDate : dDate;
}
