#include "core/KLineFile.h"

#include "core/KLineFields.h"
#include "platform/OleDate.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <limits>
#include <memory>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace
{

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The footer the Chinese terminals write under their exports, in GBK and in UTF-8.
constexpr std::string_view kSourceFooterGbk = "\xCA\xFD\xBE\xDD\xC0\xB4\xD4\xB4";
constexpr std::string_view kSourceFooterUtf8 = "\xE6\x95\xB0\xE6\x8D\xAE\xE6\x9D\xA5\xE6\xBA\x90";

// Lines looked at before the layout is chosen, and the most bytes they may hold.
constexpr int kSampleLines = 64;
constexpr size_t kSampleBytes = 256 * 1024;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlankLine(std::string_view line)
{
    return KLineTrimBlanks(line).empty();
}

// Unsigned plain decimals ("12.345") with at most 15 digits and no exponent, the usual price:
// mantissa and power of ten are exact, so one division rounds correctly. Returns where the
// number ends, or null for anything else.
const char* ReadPlainDecimal(const char* p, const char* pEnd, double* pdValue, int* pnFraction)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t mantissa = 0;
    int nDigits = 0;
    int nFraction = 0;
    while (p < pEnd && IsDigit(*p))
    {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        ++nDigits;
    }
    if (p < pEnd && *p == '.')
    {
        ++p;
        while (p < pEnd && IsDigit(*p))
        {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
            ++nDigits;
            ++nFraction;
        }
    }
    if (nDigits == 0 || nDigits > 15)
        return nullptr;
    // Whole numbers (volumes, most of them) need no division.
    *pdValue = nFraction == 0 ? static_cast<double>(mantissa)
                              : static_cast<double>(mantissa) / kPowers[nFraction];
    *pnFraction = nFraction;
    return p;
}

enum ERole
{
    kDate,
    kTime,
    kOpen,
    kHigh,
    kLow,
    kClose,
    kVolume,
    kRoles
};

enum class ELine
{
    Bar,
    NotBar,
    Routine, // a row without any price, or a footer: counted, not worth a message
};

struct SParsedBar
{
    SChartCandlestickPoint bar;
    double dVolume = std::numeric_limits<double>::quiet_NaN();
    int nDecimals = 0;
    bool bTimeOfDay = false;
};

// OLE day numbers of calendar days, the first of each month converted once: bars come in
// order, so most days are counted on from the month before.
class CDayNumbers
{
public:
    bool DayNumber(const SKLineCalendarDay& day, double* pdDay)
    {
        if (day.nYear != m_month.nYear || day.nMonth != m_month.nMonth)
        {
            const SKLineCalendarDay first{day.nYear, day.nMonth, 1};
            if (!KLineOleDate(first, 0, &m_dFirst))
                return false;
            m_month = first;
            m_nDays = IsValidOleCalendarDay(day.nYear, day.nMonth, 31)   ? 31
                      : IsValidOleCalendarDay(day.nYear, day.nMonth, 30) ? 30
                      : IsValidOleCalendarDay(day.nYear, day.nMonth, 29) ? 29
                                                                         : 28;
        }
        if (day.nDay < 1 || day.nDay > m_nDays)
            return false;
        *pdDay = m_dFirst + (day.nDay - 1);
        return true;
    }

private:
    SKLineCalendarDay m_month;
    double m_dFirst = 0;
    int m_nDays = 0;
};

// Reads lines with one layout.
class CTextParser
{
public:
    explicit CTextParser(const SKLineLayout& layout) : m_layout(layout)
    {
        m_anRole.fill(-1);
        const int columns[kRoles] = {layout.m_nDateColumn,  layout.m_nTimeColumn,
                                     layout.m_nOpenColumn,  layout.m_nHighColumn,
                                     layout.m_nLowColumn,   layout.m_nCloseColumn,
                                     layout.m_nVolumeColumn};
        for (int nRole = 0; nRole < kRoles; ++nRole)
        {
            if (columns[nRole] < 0)
                continue;
            m_anRole[static_cast<size_t>(columns[nRole])] = nRole;
            m_nLastColumn = std::max(m_nLastColumn, columns[nRole]);
            if (nRole != kVolume)
                m_nLastRequired = std::max(m_nLastRequired, columns[nRole]);
        }
        m_bPlainNumbers = !layout.m_bDecimalComma && layout.m_cThousands == 0;
        m_bUndecidedOrder = layout.m_bOrderFromLocale &&
                            layout.m_eDateForm == EKLineDateForm::Numeric &&
                            layout.m_eDateOrder != EKLineDateOrder::YearMonthDay;
    }

    ELine Parse(std::string_view line, SParsedBar* pOut)
    {
        std::string_view fields[kRoles];
        // Plain decimals are read as the fields are found, in the same pass over the line.
        double values[kRoles];
        int nFractions[kRoles];
        unsigned nRead = 0; // bit per role read in that pass
        const char* p = line.data();
        const char* const pEnd = p + line.size();
        const char cSeparator = m_layout.m_cSeparator;
        int nColumn = 0;
        for (;; ++nColumn)
        {
            const int nRole = m_anRole[static_cast<size_t>(nColumn)];
            if (nRole >= kOpen && m_bPlainNumbers && p < pEnd)
            {
                const bool bNegative = *p == '-';
                double value = 0;
                int nFraction = 0;
                const char* pNumberEnd = ReadPlainDecimal(p + bNegative, pEnd, &value, &nFraction);
                if (pNumberEnd != nullptr && (pNumberEnd == pEnd || *pNumberEnd == cSeparator))
                {
                    values[nRole] = bNegative ? -value : value;
                    nFractions[nRole] = nFraction;
                    nRead |= 1u << nRole;
                    fields[nRole] = std::string_view(p, size_t(pNumberEnd - p));
                    p = pNumberEnd;
                    if (p >= pEnd || nColumn >= m_nLastColumn)
                        break;
                    ++p;
                    continue;
                }
            }
            const char* pStart = p;
            const char* pFieldEnd = p;
            if (m_layout.m_bQuoted && p < pEnd && *p == '"')
            {
                // Up to the quote that closes the field; "" inside is a quote.
                ++pStart;
                const char* q = pStart;
                for (;;)
                {
                    q = static_cast<const char*>(std::memchr(q, '"', size_t(pEnd - q)));
                    if (q == nullptr)
                    {
                        pFieldEnd = p = pEnd;
                        break;
                    }
                    if (q + 1 < pEnd && q[1] == '"')
                    {
                        q += 2;
                        continue;
                    }
                    pFieldEnd = q;
                    p = q + 1;
                    while (p < pEnd && *p != cSeparator)
                        ++p; // text after the closing quote is not part of the field
                    break;
                }
            }
            else
            {
                while (p < pEnd && *p != cSeparator)
                    ++p;
                pFieldEnd = p;
            }
            if (nRole >= 0)
                fields[nRole] = std::string_view(pStart, size_t(pFieldEnd - pStart));
            if (p >= pEnd || nColumn >= m_nLastColumn)
                break;
            ++p;
        }
        SParsedBar& parsed = *pOut; // the caller takes it only when the line is a bar
        if (nColumn < m_nLastRequired)
            return IsFooter(line) ? ELine::Routine : ELine::NotBar;

        int nDecimals[4] = {};
        double* const prices[4] = {&parsed.bar.dOpen, &parsed.bar.dHigh, &parsed.bar.dLow,
                                   &parsed.bar.dClose};
        int nEmpty = 0;
        bool bPrices = true;
        for (int i = 0; i < 4; ++i)
        {
            if (nRead & (1u << (kOpen + i)))
            {
                *prices[i] = values[kOpen + i];
                nDecimals[i] = nFractions[kOpen + i];
            }
            else if (!ParseKLineNumber(fields[kOpen + i], m_layout.m_bDecimalComma,
                                       m_layout.m_cThousands, prices[i], &nDecimals[i]))
            {
                bPrices = false;
                nEmpty += IsKLineEmptyValue(fields[kOpen + i]);
            }
        }
        if (!bPrices)
            return nEmpty == 4 ? ELine::Routine : ELine::NotBar;
        if (!ReadDate(fields[kDate], fields[kTime], &parsed.bar.dDate, &parsed.bTimeOfDay))
            return ELine::NotBar;
        const SChartCandlestickPoint& bar = parsed.bar;
        if (!IsSoundBar(bar))
            return ELine::NotBar;
        if (nRead & (1u << kVolume))
            parsed.dVolume = values[kVolume];
        else if (m_layout.m_nVolumeColumn >= 0 && !fields[kVolume].empty())
        {
            double dVolume = 0;
            if (ParseKLineVolume(fields[kVolume], m_layout.m_bDecimalComma, m_layout.m_cThousands,
                                 &dVolume))
                parsed.dVolume = dVolume;
        }
        parsed.nDecimals = *std::max_element(nDecimals, nDecimals + 4);
        return ELine::Bar;
    }

    // The day and month order was the locale's guess and a date has just proved it wrong: the
    // bars read before it must swap their day and month.
    bool TakeOrderFlip() { return std::exchange(m_bFlipped, false); }
    EKLineDateOrder Order() const { return m_layout.m_eDateOrder; }
    bool OrderUndecided() const { return m_bUndecidedOrder; }

    static bool IsSoundBar(const SChartCandlestickPoint& bar)
    {
        for (double d : {bar.dOpen, bar.dHigh, bar.dLow, bar.dClose})
            if (!(std::fabs(d) <= kMaxKLinePrice))
                return false;
        return bar.dLow <= bar.dHigh && bar.dOpen >= bar.dLow && bar.dOpen <= bar.dHigh &&
               bar.dClose >= bar.dLow && bar.dClose <= bar.dHigh;
    }

private:
    static bool IsFooter(std::string_view line)
    {
        line = KLineTrimBlanks(line);
        return line.substr(0, kSourceFooterGbk.size()) == kSourceFooterGbk ||
               line.substr(0, kSourceFooterUtf8.size()) == kSourceFooterUtf8;
    }

    bool ReadDate(std::string_view date, std::string_view time, double* pdDate, bool* pbTimeOfDay)
    {
        if (m_layout.m_eDateForm == EKLineDateForm::Unix)
        {
            if (ReadWholeUnixTime(date, pdDate, pbTimeOfDay))
                return true;
            if (!ParseKLineUnixTime(date, m_layout.m_eUnixUnit, pdDate))
                return false;
            *pbTimeOfDay = *pdDate != std::floor(*pdDate);
            return true;
        }
        SKLineCalendarDay day;
        std::string_view rest;
        if (m_layout.m_eDateForm == EKLineDateForm::Numeric &&
            m_layout.m_eDateOrder == EKLineDateOrder::YearMonthDay && date.size() >= 10 &&
            IsDigit(date[0]) && IsDigit(date[1]) && IsDigit(date[2]) && IsDigit(date[3]) &&
            !IsDigit(date[4]) && IsDigit(date[5]) && IsDigit(date[6]) && !IsDigit(date[7]) &&
            IsDigit(date[8]) && IsDigit(date[9]) && (date.size() == 10 || !IsDigit(date[10])))
        {
            // The common yyyy-mm-dd, read directly.
            day.nYear = (date[0] - '0') * 1000 + (date[1] - '0') * 100 + (date[2] - '0') * 10 +
                        (date[3] - '0');
            day.nMonth = (date[5] - '0') * 10 + (date[6] - '0');
            day.nDay = (date[8] - '0') * 10 + (date[9] - '0');
            rest = date.substr(10);
        }
        else if (!ParseKLineCalendarDay(date, m_layout.m_eDateForm, m_layout.m_eDateOrder, &day,
                                        &rest))
            return false;
        if (m_bUndecidedOrder)
            SettleOrder(&day);

        int nMilliseconds = 0;
        if (m_layout.m_nTimeColumn >= 0)
        {
            if (!rest.empty() && !KLineTrimBlanks(rest).empty())
                return false;
            if (!ReadShortTime(time, &nMilliseconds) &&
                !ParseKLineTimeOfDay(time, m_layout.m_eTimeForm, &nMilliseconds))
                return false;
        }
        else if (!rest.empty() && !ParseKLineTimeAfterDate(rest, &nMilliseconds))
            return false;

        if (!m_days.DayNumber(day, &m_dLastDay))
            return false;
        // As the OLE conversion does it: before the epoch the time counts away from zero.
        const double dTime = nMilliseconds / 86'400'000.0;
        *pdDate = m_dLastDay >= 0.0 ? m_dLastDay + dTime : m_dLastDay - dTime;
        *pbTimeOfDay = nMilliseconds != 0;
        return true;
    }

    // A count of digits only, read directly; the day's number is kept for the next bars.
    bool ReadWholeUnixTime(std::string_view date, double* pdDate, bool* pbTimeOfDay)
    {
        if (date.empty() || date.size() > 18)
            return false;
        std::int64_t value = 0;
        for (char c : date)
        {
            if (!IsDigit(c))
                return false;
            value = value * 10 + (c - '0');
        }
        std::int64_t nSeconds = 0;
        std::int64_t nMilli = 0;
        SplitKLineUnixCount(value, m_layout.m_eUnixUnit, &nSeconds, &nMilli);
        const std::int64_t nMs = nSeconds % 86400 * 1000 + nMilli;
        const std::int64_t nDay = nSeconds / 86400;
        if (nDay != m_nUnixDay)
        {
            double dDay = 0;
            if (!KLineUnixDate(nDay * 86400, 0, &dDay))
                return false;
            m_nUnixDay = nDay;
            m_dUnixDay = dDay;
        }
        *pdDate = m_dUnixDay + static_cast<double>(nMs) / 86'400'000.0;
        *pbTimeOfDay = nMs != 0;
        return true;
    }

    // The usual "09:00" and "09:00:00", read directly.
    bool ReadShortTime(std::string_view time, int* pnMilliseconds) const
    {
        if (m_layout.m_eTimeForm != EKLineTimeForm::Colons ||
            (time.size() != 5 && time.size() != 8) || !IsDigit(time[0]) || !IsDigit(time[1]) ||
            time[2] != ':' || !IsDigit(time[3]) || !IsDigit(time[4]))
            return false;
        int nSecond = 0;
        if (time.size() == 8)
        {
            if (time[5] != ':' || !IsDigit(time[6]) || !IsDigit(time[7]))
                return false;
            nSecond = (time[6] - '0') * 10 + (time[7] - '0');
        }
        const int nHour = (time[0] - '0') * 10 + (time[1] - '0');
        const int nMinute = (time[3] - '0') * 10 + (time[4] - '0');
        if (nHour > 23 || nMinute > 59 || nSecond > 59)
            return false;
        *pnMilliseconds = ((nHour * 60 + nMinute) * 60 + nSecond) * 1000;
        return true;
    }

    // A first number over 12 is a day; so is a second one. The first date that shows it fixes
    // the order for the rest of the file.
    void SettleOrder(SKLineCalendarDay* pDay)
    {
        if (pDay->nMonth > 12 && pDay->nDay <= 12)
        {
            std::swap(pDay->nMonth, pDay->nDay);
            m_layout.m_eDateOrder = m_layout.m_eDateOrder == EKLineDateOrder::DayMonthYear
                                        ? EKLineDateOrder::MonthDayYear
                                        : EKLineDateOrder::DayMonthYear;
            m_bFlipped = true;
            m_bUndecidedOrder = false;
        }
        else if (pDay->nDay > 12)
            m_bUndecidedOrder = false;
    }

    SKLineLayout m_layout;
    std::array<int, kMaxKLineColumn + 1> m_anRole{};
    int m_nLastColumn = 0;
    int m_nLastRequired = 0;
    bool m_bPlainNumbers = true;
    bool m_bUndecidedOrder = false;
    bool m_bFlipped = false;
    CDayNumbers m_days;
    double m_dLastDay = 0;
    std::int64_t m_nUnixDay = -1;
    double m_dUnixDay = 0;
};

// Swaps day and month of bars whose both numbers were 12 or under, keeping the time of day.
void SwapDayAndMonth(std::vector<SChartCandlestickPoint>* pBars)
{
    for (SChartCandlestickPoint& bar : *pBars)
    {
        SYSTEMTIME st;
        if (!VariantTimeToSystemTime(bar.dDate, &st))
            continue;
        std::swap(st.wMonth, st.wDay);
        double dDate = 0;
        if (SystemTimeToVariantTime(&st, &dDate))
            bar.dDate = dDate;
    }
}

// Takes the lines of a text file: the first ones are kept until the layout is chosen from them,
// then every line is read with it.
class CLineSink
{
public:
    CLineSink(SKLineLoad* pLoad, const SKLineLayout* pLayout, std::string_view fileName,
              EKLineDateOrder eLocaleOrder, size_t nMaxBars)
        : m_pLoad(pLoad), m_strFileName(fileName), m_eLocaleOrder(eLocaleOrder),
          m_nMaxBars(nMaxBars)
    {
        if (pLayout != nullptr)
            StartReading(*pLayout);
    }

    bool Done() const { return m_bDone; }

    void Take(std::string_view line)
    {
        SKLineReadStats& stats = m_pLoad->m_stats;
        if (++stats.m_nLines == 1 && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            line.remove_prefix(kByteOrderMark.size());
        if (m_pParser == nullptr)
        {
            Sample(line, false);
            return;
        }
        ReadLine(line, stats.m_nLines);
    }

    void TakeOverlong()
    {
        ++m_pLoad->m_stats.m_nLines;
        if (m_pParser == nullptr)
            Sample({}, true);
        else
            CountSkipped(m_pLoad->m_stats.m_nLines, false);
    }

    // End of input: a short file is recognised from all its lines.
    void Finish()
    {
        if (m_pParser == nullptr && !m_bDone)
            Recognise();
    }

private:
    void Sample(std::string_view line, bool bOverlong)
    {
        m_vecSample.emplace_back(line);
        m_vecOverlong.push_back(bOverlong);
        m_nSampleBytes += line.size();
        m_nSampleUsed += !IsBlankLine(line);
        if (m_nSampleUsed >= kSampleLines || m_nSampleBytes >= kSampleBytes)
            Recognise();
    }

    void Recognise()
    {
        std::vector<std::string_view> lines(m_vecSample.begin(), m_vecSample.end());
        SKLineLayout layout;
        const EKLineRecognition eResult =
            RecognizeKLineLayout(lines, m_strFileName, m_eLocaleOrder, &layout);
        m_pLoad->m_layout = layout;
        m_pLoad->m_eRecognition = eResult;
        if (eResult != EKLineRecognition::Recognized)
        {
            m_pLoad->m_eError = eResult == EKLineRecognition::Ambiguous
                                    ? EKLineLoadError::AmbiguousLayout
                                    : EKLineLoadError::UnknownLayout;
            // Nothing was read as a bar, from the first line that holds anything on.
            for (size_t i = 0; i < m_vecSample.size(); ++i)
                if (m_vecOverlong[i] || !IsBlankLine(m_vecSample[i]))
                {
                    m_pLoad->m_stats.m_nFirstSkippedLine = long(i) + 1;
                    break;
                }
            m_bDone = true;
            return;
        }
        StartReading(layout);
        for (size_t i = 0; i < m_vecSample.size() && !m_bDone; ++i)
        {
            if (m_vecOverlong[i])
                CountSkipped(long(i) + 1, false);
            else
                ReadLine(m_vecSample[i], long(i) + 1);
        }
        std::vector<std::string>().swap(m_vecSample);
    }

    void StartReading(const SKLineLayout& layout)
    {
        m_pLoad->m_layout = layout;
        m_pParser = std::make_unique<CTextParser>(layout);
        m_bVolumes = layout.m_nVolumeColumn >= 0;
    }

    void ReadLine(std::string_view line, long nLine)
    {
        if (nLine <= m_pLoad->m_layout.m_nHeaderLines)
        {
            if (!IsBlankLine(line))
                CountSkipped(nLine, true);
            return;
        }
        SParsedBar parsed;
        const ELine eLine = m_pParser->Parse(line, &parsed);
        if (eLine == ELine::Bar && m_pLoad->m_vecBars.size() < size_t(INT_MAX))
        {
            if (m_pParser->TakeOrderFlip())
                SwapDayAndMonth(&m_pLoad->m_vecBars);
            m_pLoad->m_vecBars.push_back(parsed.bar);
            if (m_bVolumes)
                m_pLoad->m_vecVolumes.push_back(parsed.dVolume);
            SKLineReadStats& stats = m_pLoad->m_stats;
            stats.m_nPriceDecimals = std::max(stats.m_nPriceDecimals,
                                              std::min(parsed.nDecimals, kMostKLinePriceDecimals));
            stats.m_bTimeOfDay = stats.m_bTimeOfDay || parsed.bTimeOfDay;
            if (m_pLoad->m_vecBars.size() >= m_nMaxBars)
                m_bDone = true;
        }
        else if (!IsBlankLine(line))
            CountSkipped(nLine, eLine == ELine::Routine);
    }

    void CountSkipped(long nLine, bool bRoutine)
    {
        SKLineReadStats& stats = m_pLoad->m_stats;
        if (stats.m_nSkipped++ == 0)
            stats.m_nFirstSkippedLine = nLine;
        if (bRoutine)
            ++stats.m_nRoutineSkipped;
        else if (stats.m_nFirstFaultLine == 0)
            stats.m_nFirstFaultLine = nLine;
    }

public:
    void FinishOrder()
    {
        if (m_pParser == nullptr)
            return;
        m_pLoad->m_layout.m_eDateOrder = m_pParser->Order();
        m_pLoad->m_layout.m_bOrderFromLocale =
            m_pLoad->m_layout.m_bOrderFromLocale && m_pParser->OrderUndecided();
    }

private:
    SKLineLoad* m_pLoad;
    std::string m_strFileName;
    EKLineDateOrder m_eLocaleOrder;
    size_t m_nMaxBars;
    std::unique_ptr<CTextParser> m_pParser;
    bool m_bVolumes = false;
    bool m_bDone = false;
    std::vector<std::string> m_vecSample;
    std::vector<bool> m_vecOverlong;
    size_t m_nSampleBytes = 0;
    int m_nSampleUsed = 0;
};

// Cuts a stream of chunks into lines ended by LF, CRLF or a lone CR. A line longer than
// kMaxKLineLine is not kept: it is counted as skipped when it ends.
class CLineSplitter
{
public:
    explicit CLineSplitter(CLineSink* pSink) : m_pSink(pSink) {}

    void Feed(const char* p, const char* const pEnd)
    {
        if (m_bAfterReturn && p < pEnd && *p == '\n')
            ++p; // the LF of a CRLF cut by the chunk boundary
        m_bAfterReturn = false;
        while (p < pEnd && !m_pSink->Done())
        {
            const char* pLineEnd = FindLineEnd(p, pEnd);
            if (pLineEnd == pEnd)
            {
                Keep(p, pEnd);
                return;
            }
            if (m_bOverlong || !m_strPending.empty())
            {
                Keep(p, pLineEnd);
                EndPendingLine();
            }
            else
                m_pSink->Take(std::string_view(p, size_t(pLineEnd - p)));
            p = pLineEnd + 1;
            if (*pLineEnd == '\r')
            {
                if (p == pEnd)
                    m_bAfterReturn = true;
                else if (*p == '\n')
                    ++p;
            }
        }
    }

    // The last line, when the input does not end with a line end.
    void Finish()
    {
        if ((m_bOverlong || !m_strPending.empty()) && !m_pSink->Done())
            EndPendingLine();
    }

private:
    // The first LF or CR at or after p, sixteen bytes at a time; pEnd when there is none.
    static const char* FindLineEnd(const char* p, const char* pEnd)
    {
#if defined(__SSE2__)
        const __m128i lineFeed = _mm_set1_epi8('\n');
        const __m128i carriageReturn = _mm_set1_epi8('\r');
        while (pEnd - p >= 16)
        {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const int nMask = _mm_movemask_epi8(_mm_or_si128(
                _mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, carriageReturn)));
            if (nMask != 0)
                return p + __builtin_ctz(static_cast<unsigned>(nMask));
            p += 16;
        }
#endif
        while (p < pEnd && *p != '\n' && *p != '\r')
            ++p;
        return p;
    }

    void Keep(const char* p, const char* pEnd)
    {
        const size_t nLength = static_cast<size_t>(pEnd - p);
        if (m_bOverlong)
            return;
        if (m_strPending.size() + nLength > kMaxKLineLine)
        {
            m_bOverlong = true;
            std::string().swap(m_strPending);
            return;
        }
        m_strPending.append(p, nLength);
    }

    void EndPendingLine()
    {
        if (m_bOverlong)
        {
            m_pSink->TakeOverlong();
            m_bOverlong = false;
        }
        else
            m_pSink->Take(m_strPending);
        m_strPending.clear();
    }

    CLineSink* m_pSink;
    std::string m_strPending; // the start of a line that continues in the next chunk
    bool m_bOverlong = false;
    bool m_bAfterReturn = false;
};

// Newest-first files replay oldest first; bars of one instant keep their file order, and each
// volume stays with its bar.
void PutInDateOrder(SKLineLoad* pLoad)
{
    std::vector<SChartCandlestickPoint>& bars = pLoad->m_vecBars;
    auto ByDate = [](const SChartCandlestickPoint& a, const SChartCandlestickPoint& b)
    { return KLineInstant(a.dDate) < KLineInstant(b.dDate); };
    if (std::is_sorted(bars.begin(), bars.end(), ByDate))
        return;
    pLoad->m_stats.m_bReordered = true;
    if (pLoad->m_vecVolumes.empty())
    {
        std::stable_sort(bars.begin(), bars.end(), ByDate);
        return;
    }
    std::vector<std::uint32_t> order(bars.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return ByDate(bars[a], bars[b]); });
    std::vector<SChartCandlestickPoint> sortedBars(bars.size());
    std::vector<double> sortedVolumes(bars.size());
    for (size_t i = 0; i < order.size(); ++i)
    {
        sortedBars[i] = bars[order[i]];
        sortedVolumes[i] = pLoad->m_vecVolumes[order[i]];
    }
    bars.swap(sortedBars);
    pLoad->m_vecVolumes.swap(sortedVolumes);
}

// Sizes the bar array once from the first chunk's bars per byte, instead of growing it step by
// step through a large file.
void ReserveForWholeFile(SKLineLoad* pLoad, size_t nFirstChunk, size_t nFileSize)
{
    const size_t nBarsSoFar = pLoad->m_vecBars.size() + 1;
    const double dEstimate = static_cast<double>(nBarsSoFar) * 1.05 *
                             static_cast<double>(nFileSize) / static_cast<double>(nFirstChunk);
    const size_t nReserve = static_cast<size_t>(std::min(dEstimate, double(INT_MAX)));
    pLoad->m_vecBars.reserve(nReserve);
    if (pLoad->m_layout.m_nVolumeColumn >= 0)
        pLoad->m_vecVolumes.reserve(nReserve);
}

// Reads until the buffer is full or the input ends; false on a read error (errno set).
bool ReadFully(int fd, char* p, size_t nWanted, size_t* pnRead)
{
    size_t nRead = 0;
    while (nRead < nWanted)
    {
        const ssize_t n = ::read(fd, p + nRead, nWanted - nRead);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        nRead += size_t(n);
    }
    *pnRead = nRead;
    return true;
}

bool LooksBinary(std::string_view head)
{
    size_t nControl = 0;
    for (char c : head)
    {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u == 0)
            return true;
        nControl += u < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f' && c != '\v';
    }
    return nControl * 10 > head.size();
}

bool ReadTextStream(int fd, SKLineLoad* pLoad, const SKLineLayout* pLayout,
                    std::string_view fileName, EKLineDateOrder eLocaleOrder, size_t nFileSize)
{
    CLineSink sink(pLoad, pLayout, fileName, eLocaleOrder, SIZE_MAX);
    CLineSplitter splitter(&sink);
    std::vector<char> buffer(1 << 20);
    size_t nConsumed = 0;
    bool bOnlyBlank = true;
    bool bBinary = false; // only said when nothing in it is a bar
    while (!sink.Done())
    {
        size_t nRead = 0;
        if (!ReadFully(fd, buffer.data(), buffer.size(), &nRead))
        {
            pLoad->m_eError = EKLineLoadError::ReadError;
            pLoad->m_nErrno = errno;
            break;
        }
        if (nRead == 0)
            break;
        const std::string_view chunk(buffer.data(), nRead);
        if (nConsumed == 0)
            bBinary = LooksBinary(chunk.substr(0, 4096));
        bOnlyBlank = bOnlyBlank && IsBlankLine(chunk);
        const bool bFirstChunk = nConsumed == 0;
        nConsumed += nRead;
        splitter.Feed(chunk.data(), chunk.data() + chunk.size());
        if (bFirstChunk && nFileSize > nRead)
            ReserveForWholeFile(pLoad, nRead, nFileSize);
    }
    splitter.Finish();
    sink.Finish();
    sink.FinishOrder();
    if (pLoad->m_eError == EKLineLoadError::ReadError)
        std::fprintf(stderr, "Error reading file: %s\n", std::strerror(pLoad->m_nErrno));
    if (bOnlyBlank && pLoad->m_eError != EKLineLoadError::ReadError)
    {
        pLoad->m_eError = EKLineLoadError::Empty;
        return false;
    }
    PutInDateOrder(pLoad);
    if (pLoad->m_vecBars.empty() && pLoad->m_eError != EKLineLoadError::ReadError)
        pLoad->m_eError = bBinary                                    ? EKLineLoadError::NotText
                          : pLoad->m_eError == EKLineLoadError::None ? EKLineLoadError::NoBars
                                                                     : pLoad->m_eError;
    return !pLoad->m_vecBars.empty();
}

// Records of a binary file, each given to the decoder, which answers false for one that is
// not a bar.
template <typename Decode>
bool ReadRecords(int fd, SKLineLoad* pLoad, size_t nRecordSize, size_t nFileSize, Decode decode)
{
    std::vector<char> buffer(nRecordSize * 32768);
    if (nFileSize > 0)
    {
        pLoad->m_vecBars.reserve(nFileSize / nRecordSize);
        pLoad->m_vecVolumes.reserve(nFileSize / nRecordSize);
    }
    SKLineReadStats& stats = pLoad->m_stats;
    for (;;)
    {
        size_t nRead = 0;
        if (!ReadFully(fd, buffer.data(), buffer.size(), &nRead))
        {
            pLoad->m_eError = EKLineLoadError::ReadError;
            pLoad->m_nErrno = errno;
            std::fprintf(stderr, "Error reading file: %s\n", std::strerror(errno));
            break;
        }
        for (size_t nAt = 0; nAt < nRead; nAt += nRecordSize)
        {
            ++stats.m_nLines;
            SChartCandlestickPoint bar;
            double dVolume = 0;
            if (nAt + nRecordSize <= nRead && decode(buffer.data() + nAt, &bar, &dVolume) &&
                CTextParser::IsSoundBar(bar) && pLoad->m_vecBars.size() < size_t(INT_MAX))
            {
                pLoad->m_vecBars.push_back(bar);
                pLoad->m_vecVolumes.push_back(dVolume);
                stats.m_bTimeOfDay = stats.m_bTimeOfDay || bar.dDate != std::floor(bar.dDate);
                continue;
            }
            if (stats.m_nSkipped++ == 0)
                stats.m_nFirstSkippedLine = stats.m_nLines;
            if (stats.m_nFirstFaultLine == 0)
                stats.m_nFirstFaultLine = stats.m_nLines;
        }
        if (nRead < buffer.size())
            break;
    }
    PutInDateOrder(pLoad);
    if (pLoad->m_vecBars.empty() && pLoad->m_eError == EKLineLoadError::None)
        pLoad->m_eError = stats.m_nLines == 0 ? EKLineLoadError::Empty : EKLineLoadError::NoBars;
    return !pLoad->m_vecBars.empty();
}

template <typename T> T Little(const char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value); // the formats are little-endian, as this machine is
    return value;
}

bool ReadChineseDay(int fd, SKLineLoad* pLoad, size_t nFileSize)
{
    pLoad->m_stats.m_nPriceDecimals = 2;
    CDayNumbers days;
    return ReadRecords(fd, pLoad, 32, nFileSize,
                       [&days](const char* p, SChartCandlestickPoint* pBar, double* pdVolume)
                       {
                           const std::uint32_t nDate = Little<std::uint32_t>(p);
                           const SKLineCalendarDay day{int(nDate / 10000), int(nDate / 100 % 100),
                                                       int(nDate % 100)};
                           if (!days.DayNumber(day, &pBar->dDate))
                               return false;
                           pBar->dOpen = Little<std::int32_t>(p + 4) / 100.0;
                           pBar->dHigh = Little<std::int32_t>(p + 8) / 100.0;
                           pBar->dLow = Little<std::int32_t>(p + 12) / 100.0;
                           pBar->dClose = Little<std::int32_t>(p + 16) / 100.0;
                           *pdVolume = Little<std::uint32_t>(p + 24);
                           return true;
                       });
}

// The 148-byte header: version, copyright, symbol, period, digits, time sign, last sync.
constexpr size_t kHistoryHeader = 148;

bool UnixSecondsToDate(std::int64_t nSeconds, double* pdDate)
{
    return KLineUnixDate(nSeconds, 0, pdDate);
}

bool ReadMetaTraderHistory(int fd, SKLineLoad* pLoad, size_t nFileSize)
{
    char header[kHistoryHeader];
    size_t nRead = 0;
    if (!ReadFully(fd, header, sizeof header, &nRead))
    {
        pLoad->m_eError = EKLineLoadError::ReadError;
        pLoad->m_nErrno = errno;
        return false;
    }
    const std::int32_t nVersion = nRead == sizeof header ? Little<std::int32_t>(header) : 0;
    if (nVersion != 400 && nVersion != 401)
    {
        pLoad->m_eError = EKLineLoadError::BadBinary;
        return false;
    }
    pLoad->m_stats.m_nPriceDecimals =
        std::clamp(Little<std::int32_t>(header + 84), 0, kMostKLinePriceDecimals);
    const size_t nRest = nFileSize > kHistoryHeader ? nFileSize - kHistoryHeader : 0;
    if (nVersion == 400)
        return ReadRecords(fd, pLoad, 44, nRest,
                           [](const char* p, SChartCandlestickPoint* pBar, double* pdVolume)
                           {
                               if (!UnixSecondsToDate(Little<std::int32_t>(p), &pBar->dDate))
                                   return false;
                               pBar->dOpen = Little<double>(p + 4);
                               pBar->dLow = Little<double>(p + 12);
                               pBar->dHigh = Little<double>(p + 20);
                               pBar->dClose = Little<double>(p + 28);
                               *pdVolume = Little<double>(p + 36);
                               return true;
                           });
    return ReadRecords(fd, pLoad, 60, nRest,
                       [](const char* p, SChartCandlestickPoint* pBar, double* pdVolume)
                       {
                           if (!UnixSecondsToDate(Little<std::int64_t>(p), &pBar->dDate))
                               return false;
                           pBar->dOpen = Little<double>(p + 8);
                           pBar->dHigh = Little<double>(p + 16);
                           pBar->dLow = Little<double>(p + 24);
                           pBar->dClose = Little<double>(p + 32);
                           *pdVolume = static_cast<double>(Little<std::int64_t>(p + 40));
                           return true;
                       });
}

EKLineFileType FileTypeOf(mode_t mode)
{
    if (S_ISREG(mode))
        return EKLineFileType::Regular;
    if (S_ISDIR(mode))
        return EKLineFileType::Directory;
    if (S_ISFIFO(mode))
        return EKLineFileType::NamedPipe;
    if (S_ISSOCK(mode))
        return EKLineFileType::Socket;
    if (S_ISCHR(mode))
        return EKLineFileType::CharacterDevice;
    if (S_ISBLK(mode))
        return EKLineFileType::BlockDevice;
    return EKLineFileType::Other;
}

// Opens without blocking (a named pipe with no writer would wait for one), then reads as usual.
int OpenForReading(const std::string& strPath)
{
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return fd;
    const int nFlags = ::fcntl(fd, F_GETFL);
    if (nFlags >= 0)
        ::fcntl(fd, F_SETFL, nFlags & ~O_NONBLOCK);
    return fd;
}

std::string_view BaseName(std::string_view path)
{
    const size_t nSlash = path.rfind('/');
    return nSlash == std::string_view::npos ? path : path.substr(nSlash + 1);
}

} // namespace

bool LoadKLineFile(const std::string& strPath, SKLineLoad* pLoad, const SKLineLayout* pLayout)
{
    return LoadKLineFile(strPath, pLoad, pLayout, KLineLocaleDateOrder());
}

bool LoadKLineFile(const std::string& strPath, SKLineLoad* pLoad, const SKLineLayout* pLayout,
                   EKLineDateOrder eLocaleOrder)
{
    *pLoad = SKLineLoad();
    // A socket cannot even be opened: say what it is.
    struct stat info = {};
    if (::stat(strPath.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
    {
        pLoad->m_eFileType = FileTypeOf(info.st_mode);
        pLoad->m_eError = EKLineLoadError::NotRegularFile;
        return false;
    }
    const int fd = OpenForReading(strPath);
    if (fd < 0)
    {
        pLoad->m_eError = EKLineLoadError::CannotOpen;
        pLoad->m_nErrno = errno;
        return false;
    }
    const bool bRead = LoadKLineDescriptor(fd, BaseName(strPath), pLoad, pLayout, eLocaleOrder);
    ::close(fd);
    return bRead;
}

bool LoadKLineDescriptor(int fd, std::string_view fileName, SKLineLoad* pLoad,
                         const SKLineLayout* pLayout, EKLineDateOrder eLocaleOrder)
{
    *pLoad = SKLineLoad();
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
    {
        pLoad->m_eError = EKLineLoadError::CannotOpen;
        pLoad->m_nErrno = errno;
        return false;
    }
    pLoad->m_eFileType = FileTypeOf(info.st_mode);
    if (pLoad->m_eFileType != EKLineFileType::Regular)
    {
        pLoad->m_eError = EKLineLoadError::NotRegularFile;
        return false;
    }
    const size_t nFileSize = static_cast<size_t>(std::max<off_t>(info.st_size, 0));

    // Binary layouts are told by the extension; the layout given overrides it.
    SKLineLayout layout;
    if (pLayout == nullptr &&
        RecognizeKLineLayout(std::string_view(), fileName, eLocaleOrder, &layout) ==
            EKLineRecognition::Recognized &&
        layout.m_eKind != EKLineFileKind::Text)
        pLayout = &layout;
    if (pLayout != nullptr && pLayout->m_eKind != EKLineFileKind::Text)
    {
        pLoad->m_layout = *pLayout;
        const bool bRead = pLayout->m_eKind == EKLineFileKind::ChineseDay
                               ? ReadChineseDay(fd, pLoad, nFileSize)
                               : ReadMetaTraderHistory(fd, pLoad, nFileSize);
        return bRead;
    }
    if (pLayout != nullptr && !IsUsableKLineLayout(*pLayout))
    {
        pLoad->m_eError = EKLineLoadError::UnknownLayout;
        return false;
    }
    return ReadTextStream(fd, pLoad, pLayout, fileName, eLocaleOrder, nFileSize);
}

bool ReadKLineText(std::string_view text, const SKLineLayout& layout, SKLineLoad* pLoad,
                   size_t nMaxBars)
{
    *pLoad = SKLineLoad();
    pLoad->m_layout = layout;
    if (layout.m_eKind != EKLineFileKind::Text || !IsUsableKLineLayout(layout))
    {
        pLoad->m_eError = EKLineLoadError::UnknownLayout;
        return false;
    }
    CLineSink sink(pLoad, &layout, {}, layout.m_eDateOrder, nMaxBars);
    CLineSplitter splitter(&sink);
    splitter.Feed(text.data(), text.data() + text.size());
    splitter.Finish();
    sink.FinishOrder();
    PutInDateOrder(pLoad);
    if (pLoad->m_vecBars.empty())
        pLoad->m_eError = IsBlankLine(text) ? EKLineLoadError::Empty : EKLineLoadError::NoBars;
    return !pLoad->m_vecBars.empty();
}

bool ParseKLineDate(std::string_view text, double* pdDate)
{
    SKLineCalendarDay day;
    std::string_view rest;
    int nMilliseconds = 0;
    return ParseKLineCalendarDay(text, EKLineDateForm::Numeric, EKLineDateOrder::YearMonthDay, &day,
                                 &rest) &&
           ParseKLineTimeAfterDate(rest, &nMilliseconds) &&
           KLineOleDate(day, nMilliseconds, pdDate);
}

bool ReadKLineFileHead(const std::string& strPath, size_t nMaxBytes, std::string* pHead,
                       std::string* pReason)
{
    const int fd = OpenForReading(strPath);
    if (fd < 0)
    {
        *pReason = std::strerror(errno);
        return false;
    }
    struct stat info = {};
    std::string head(nMaxBytes, '\0');
    size_t nRead = 0;
    bool bRead = false;
    if (::fstat(fd, &info) != 0)
        *pReason = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        *pReason = "not a regular file";
    else if (!ReadFully(fd, head.data(), head.size(), &nRead))
        *pReason = std::strerror(errno);
    else
        bRead = true;
    ::close(fd);
    if (!bRead)
        return false;
    head.resize(nRead);
    // A line cut by the limit would read as a fault that the file does not have.
    if (nRead == nMaxBytes && off_t(nRead) < info.st_size)
    {
        const size_t nEnd = head.find_last_of("\r\n");
        if (nEnd != std::string::npos)
            head.resize(nEnd + 1);
    }
    *pHead = std::move(head);
    return true;
}

EKLineRecognition RecognizeKLineFile(const std::string& strPath, EKLineDateOrder eLocaleOrder,
                                     SKLineLayout* pLayout)
{
    *pLayout = SKLineLayout();
    std::string head;
    std::string strReason;
    if (!ReadKLineFileHead(strPath, kSampleBytes, &head, &strReason))
        return EKLineRecognition::Unknown;
    return RecognizeKLineLayout(head, BaseName(strPath), eLocaleOrder, pLayout);
}
