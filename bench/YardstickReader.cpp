// The loader as it was before layouts were recognised, frozen as the yardstick the load
// benchmark measures the reader against: plain "date,open,high,low,close" files only.
#include "bench/YardstickReader.h"

#include "platform/ClassicLocale.h"
#include "platform/OleDate.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace yardstick
{

constexpr std::size_t kMaxKLineLine = std::size_t(1) << 20;

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

// atoi over text: leading blanks, a sign, the leading digits; *pnEnd is where the digits end.
// Saturates instead of overflowing; no digits reads as 0.
int ReadInteger(std::string_view text, size_t nStart, size_t* pnEnd)
{
    size_t i = nStart;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    long long value = 0;
    while (i < text.size() && IsDigit(text[i]))
    {
        if (value < INT_MAX)
            value = value * 10 + (text[i] - '0');
        ++i;
    }
    *pnEnd = i;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(bNegative ? -value : value);
}

int ReadFixedPiece(std::string_view text, size_t nStart, size_t nLength)
{
    if (nStart >= text.size())
        return 0;
    size_t nEnd = 0;
    return ReadInteger(text.substr(nStart, nLength), 0, &nEnd);
}

bool ToOleDate(int nYear, int nMonth, int nDay, double* pdDate)
{
    if (!IsValidOleCalendarDay(nYear, nMonth, nDay))
        return false;
    SYSTEMTIME st;
    st.wYear = static_cast<std::uint16_t>(nYear);
    st.wMonth = static_cast<std::uint16_t>(nMonth);
    st.wDay = static_cast<std::uint16_t>(nDay);
    return SystemTimeToVariantTime(&st, pdDate);
}

// The rare forms from_chars does not take the way atof does: hexadecimal, and magnitudes
// beyond double's range.
double ReadWithStrtod(std::string_view text)
{
    const std::string copy(text);
    return strtod_l(copy.c_str(), nullptr, ClassicLocale());
}

// Unsigned plain decimals ("12.345") with at most 15 digits and no exponent, the usual K-line
// price: mantissa and power of ten are exact, so one division rounds correctly. Returns where
// the number ends, or null for anything else, which from_chars then reads.
const char* ReadPlainDecimal(const char* p, const char* pEnd, double* pdValue)
{
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
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
    if (nDigits == 0 || nDigits > 15 || (p < pEnd && (*p == 'e' || *p == 'E')))
        return nullptr;
    *pdValue = static_cast<double>(mantissa) / kPowers[nFraction];
    return p;
}

// strtok-style field walk over one line.
class CFieldWalker
{
public:
    explicit CFieldWalker(std::string_view line)
        : m_p(line.data()), m_pEnd(line.data() + line.size())
    {
    }

    bool Next(std::string_view* pField)
    {
        if (!SkipSeparators())
            return false;
        const char* pComma = static_cast<const char*>(std::memchr(m_p, ',', m_pEnd - m_p));
        const char* pFieldEnd = pComma != nullptr ? pComma : m_pEnd;
        *pField = std::string_view(m_p, pFieldEnd - m_p);
        m_p = pFieldEnd;
        return true;
    }

    // The next field read as a price; false when there is none or it is not finite.
    bool NextPrice(double* pdPrice)
    {
        if (!SkipSeparators())
            return false;
        // Most fields are a plain decimal right up to the comma: read them in the same pass.
        const char* p = m_p;
        const bool bNegative = *p == '-';
        p += bNegative;
        double value = 0;
        const char* pNumberEnd = ReadPlainDecimal(p, m_pEnd, &value);
        if (pNumberEnd != nullptr && (pNumberEnd == m_pEnd || *pNumberEnd == ','))
        {
            *pdPrice = bNegative ? -value : value;
            m_p = pNumberEnd;
            return true;
        }
        std::string_view field;
        return Next(&field) && ParseKLinePrice(field, pdPrice);
    }

private:
    bool SkipSeparators()
    {
        while (m_p < m_pEnd && *m_p == ',')
            ++m_p;
        return m_p < m_pEnd;
    }

    const char* m_p;
    const char* m_pEnd;
};

bool IsBlankLine(std::string_view line)
{
    for (char c : line)
        if (!IsBlank(c))
            return false;
    return true;
}

} // namespace

namespace
{

bool IsTwoDigits(std::string_view text, size_t i)
{
    return i + 1 < text.size() && IsDigit(text[i]) && IsDigit(text[i + 1]);
}

int TwoDigits(std::string_view text, size_t i)
{
    return (text[i] - '0') * 10 + (text[i + 1] - '0');
}

// The fraction of a day written after a fixed-position date: " hh:mm[:ss]" or "Thh:mm[:ss]"
// from position 10 on. 0 when there is none or it is no time of day.
double TimeOfDayAfterDate(std::string_view text)
{
    if (text.size() < 16 || (text[10] != ' ' && text[10] != 'T') || !IsTwoDigits(text, 11) ||
        text[13] != ':' || !IsTwoDigits(text, 14))
        return 0.0;
    const int nHour = TwoDigits(text, 11);
    const int nMinute = TwoDigits(text, 14);
    int nSecond = 0;
    if (text.size() >= 19 && text[16] == ':' && IsTwoDigits(text, 17))
        nSecond = TwoDigits(text, 17);
    if (nHour > 23 || nMinute > 59 || nSecond > 59)
        return 0.0;
    return (nHour * 3600 + nMinute * 60 + nSecond) / 86400.0;
}

// Days before the OLE epoch count their time of day forward from the day's negative number.
bool ToOleDateTime(int nYear, int nMonth, int nDay, std::string_view text, double* pdDate)
{
    double dDay = 0.0;
    if (!ToOleDate(nYear, nMonth, nDay, &dDay))
        return false;
    const double dTime = TimeOfDayAfterDate(text);
    *pdDate = dDay < 0.0 ? dDay - dTime : dDay + dTime;
    return true;
}

} // namespace

bool ParseKLineDate(std::string_view text, double* pdDate)
{
    // The common yyyy-mm-dd layout, read directly.
    if (text.size() >= 10 && IsDigit(text[0]) && IsDigit(text[1]) && IsDigit(text[2]) &&
        IsDigit(text[3]) && !IsDigit(text[4]) && IsDigit(text[5]) && IsDigit(text[6]) &&
        !IsDigit(text[7]) && IsDigit(text[8]) && IsDigit(text[9]))
    {
        auto Digits = [&](size_t i, size_t n)
        {
            int value = 0;
            for (size_t k = i; k < i + n; ++k)
                value = value * 10 + (text[k] - '0');
            return value;
        };
        return ToOleDateTime(Digits(0, 4), Digits(5, 2), Digits(8, 2), text, pdDate);
    }
    if (text.size() >= 8 && !IsDigit(text[4]) && !IsDigit(text[7]))
        return ToOleDateTime(ReadFixedPiece(text, 0, 4), ReadFixedPiece(text, 5, 2),
                             ReadFixedPiece(text, 8, 2), text, pdDate);

    // Unpadded month or day: read the numbers between single separators instead.
    size_t nEnd = 0;
    const int nYear = ReadInteger(text, 0, &nEnd);
    if (nEnd == 0 || !IsDigit(text[nEnd - 1]) || nEnd >= text.size())
        return false;
    size_t nMonthStart = nEnd + 1;
    if (nMonthStart >= text.size() || !IsDigit(text[nMonthStart]))
        return false;
    const int nMonth = ReadInteger(text, nMonthStart, &nEnd);
    if (nEnd >= text.size() || nEnd + 1 >= text.size() || !IsDigit(text[nEnd + 1]))
        return false;
    const int nDay = ReadInteger(text, nEnd + 1, &nEnd);
    return ToOleDate(nYear, nMonth, nDay, pdDate);
}

bool ParseKLinePrice(std::string_view text, double* pdPrice)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    bool bNegative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
    {
        bNegative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    // The whole field must be the number: "N/A", "12abc" or "49;50" are not prices.
    const char* const pEnd = text.data() + text.size();
    double value = 0.0;
    const char* pNumberEnd = ReadPlainDecimal(text.data(), pEnd, &value);
    if (pNumberEnd == nullptr && text.front() != '+' && text.front() != '-')
    {
        const auto result = std::from_chars(text.data(), pEnd, value, std::chars_format::general);
        pNumberEnd = result.ec == std::errc::invalid_argument ? nullptr : result.ptr;
        if (result.ec == std::errc::result_out_of_range)
            value = ReadWithStrtod(text); // huge, or below the smallest double
    }
    if (pNumberEnd != pEnd || !std::isfinite(value))
        return false;
    *pdPrice = bNegative ? -value : value;
    return true;
}

bool ParseKLineLine(std::string_view line, SChartCandlestickPoint* pBar)
{
    CFieldWalker walker(line);
    std::string_view date;
    SChartCandlestickPoint bar;
    if (!walker.Next(&date) || !ParseKLineDate(date, &bar.dDate))
        return false;
    for (double* pdPrice : {&bar.dOpen, &bar.dHigh, &bar.dLow, &bar.dClose})
        if (!walker.NextPrice(pdPrice))
            return false;
    *pBar = bar;
    return true;
}

double KLineInstant(double dDate)
{
    return dDate < 0.0 ? 2.0 * std::ceil(dDate) - dDate : dDate;
}

int KLinePriceDecimals(std::string_view line)
{
    CFieldWalker walker(line);
    std::string_view field;
    if (!walker.Next(&field))
        return 0;
    int nMost = 0;
    for (int i = 0; i < 4 && walker.Next(&field); ++i)
    {
        const size_t nPoint = field.find('.');
        if (nPoint == std::string_view::npos)
            continue;
        int nDigits = 0;
        for (size_t k = nPoint + 1; k < field.size() && IsDigit(field[k]); ++k)
            ++nDigits;
        nMost = std::max(nMost, nDigits);
    }
    return nMost;
}

namespace
{

// Beyond this many decimals nothing shows them; lines need not be looked at again.
constexpr int kMostPriceDecimalsNoted = 6;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool HoldsOtherSeparator(std::string_view line)
{
    return line.find_first_of(";\t") != std::string_view::npos;
}

class CLineSink
{
public:
    CLineSink(std::vector<SChartCandlestickPoint>* pBars, SKLineReadStats* pStats)
        : m_pBars(pBars), m_pStats(pStats)
    {
    }

    void Take(std::string_view line)
    {
        if (++m_pStats->m_nLines == 1 && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            line.remove_prefix(kByteOrderMark.size());
        SChartCandlestickPoint bar;
        if (m_pBars->size() < static_cast<size_t>(INT_MAX) && ParseKLineLine(line, &bar))
        {
            m_pBars->push_back(bar);
            NoteBar(line, bar);
        }
        else if (!IsBlankLine(line))
            CountSkipped(HoldsOtherSeparator(line));
    }

    void TakeOverlong()
    {
        ++m_pStats->m_nLines;
        CountSkipped(false);
    }

private:
    void NoteBar(std::string_view line, const SChartCandlestickPoint& bar)
    {
        if (m_pStats->m_nPriceDecimals < kMostPriceDecimalsNoted)
            m_pStats->m_nPriceDecimals =
                std::max(m_pStats->m_nPriceDecimals, KLinePriceDecimals(line));
        if (!m_pStats->m_bTimeOfDay && bar.dDate != std::floor(bar.dDate))
            m_pStats->m_bTimeOfDay = true;
    }

    void CountSkipped(bool bOtherSeparator)
    {
        if (m_pStats->m_nSkipped++ == 0)
            m_pStats->m_nFirstSkippedLine = m_pStats->m_nLines;
        m_pStats->m_nOtherSeparator += bOtherSeparator;
    }

    std::vector<SChartCandlestickPoint>* m_pBars;
    SKLineReadStats* m_pStats;
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
        // The next LF and CR at or after p, each found once per chunk; pEnd when there is none.
        const char* pLineFeed = Find(p, pEnd, '\n');
        const char* pReturn = Find(p, pEnd, '\r');
        while (p < pEnd)
        {
            if (pLineFeed < p)
                pLineFeed = Find(p, pEnd, '\n');
            if (pReturn < p)
                pReturn = Find(p, pEnd, '\r');
            const char* pLineEnd = std::min(pLineFeed, pReturn);
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
                m_pSink->Take(std::string_view(p, pLineEnd - p));
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
        if (m_bOverlong || !m_strPending.empty())
            EndPendingLine();
    }

private:
    static const char* Find(const char* p, const char* pEnd, char c)
    {
        const void* pFound = std::memchr(p, c, static_cast<size_t>(pEnd - p));
        return pFound != nullptr ? static_cast<const char*>(pFound) : pEnd;
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

// Sizes the bar array once from the first chunk's bars per byte, instead of growing it
// step by step through a large file.
void ReserveForWholeFile(std::vector<SChartCandlestickPoint>* pBars, size_t nFirstChunk,
                         size_t nFileSize)
{
    const size_t nBarsSoFar = pBars->size() + 1; // bars of the first chunk, at least one
    const double dEstimate = static_cast<double>(nBarsSoFar) * 1.05 *
                             static_cast<double>(nFileSize) / static_cast<double>(nFirstChunk);
    pBars->reserve(static_cast<size_t>(std::min(dEstimate, static_cast<double>(INT_MAX))));
}

// Newest-first files replay oldest first; bars of one date keep their file order.
void PutInDateOrder(std::vector<SChartCandlestickPoint>::iterator first,
                    std::vector<SChartCandlestickPoint>::iterator last, SKLineReadStats* pStats)
{
    auto ByDate = [](const SChartCandlestickPoint& a, const SChartCandlestickPoint& b)
    { return KLineInstant(a.dDate) < KLineInstant(b.dDate); };
    if (std::is_sorted(first, last, ByDate))
        return;
    std::stable_sort(first, last, ByDate);
    pStats->m_bReordered = true;
}

} // namespace

bool ReadKLineFile(const std::string& strPath, std::vector<SChartCandlestickPoint>* pBars,
                   SKLineReadStats* pStats)
{
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool bRead = ReadKLineStream(fd, strPath, pBars, pStats);
    const int nError = errno;
    ::close(fd);
    errno = nError;
    return bRead;
}

bool ReadKLineStream(int fd, const std::string& strPath, std::vector<SChartCandlestickPoint>* pBars,
                     SKLineReadStats* pStats)
{
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        info.st_size = 0;
    else if (S_ISDIR(info.st_mode) || S_ISCHR(info.st_mode))
    {
        // A terminal or /dev/zero would be read forever.
        errno = S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
        return false;
    }

    const size_t nFirstBar = pBars->size();
    CLineSink sink(pBars, pStats);
    CLineSplitter splitter(&sink);
    std::vector<char> buffer(1 << 20);
    size_t nConsumed = 0;
    for (;;)
    {
        const ssize_t nRead = ::read(fd, buffer.data(), buffer.size());
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0)
        {
            std::fprintf(stderr, "Error reading file: %s: %s\n", strPath.c_str(),
                         std::strerror(errno));
            break;
        }
        if (nRead == 0)
            break;

        const bool bFirstChunk = nConsumed == 0;
        nConsumed += static_cast<size_t>(nRead);
        splitter.Feed(buffer.data(), buffer.data() + nRead);
        if (bFirstChunk && info.st_size > nRead)
            ReserveForWholeFile(pBars, static_cast<size_t>(nRead),
                                static_cast<size_t>(info.st_size));
    }
    splitter.Finish();
    PutInDateOrder(pBars->begin() + static_cast<std::ptrdiff_t>(nFirstBar), pBars->end(), pStats);
    return true;
}

} // namespace yardstick
