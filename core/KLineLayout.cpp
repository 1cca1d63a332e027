#include "core/KLineLayout.h"

#include "core/KLineFields.h"
#include "core/KLineFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <string>

namespace
{

// ---------------------------------------------------------------------------------------------
// Text form

template <typename E> struct SWord
{
    E eValue;
    std::string_view strWord;
};

constexpr SWord<EKLineFileKind> kKinds[] = {{EKLineFileKind::Text, "text"},
                                            {EKLineFileKind::ChineseDay, "chinese-day"},
                                            {EKLineFileKind::MetaTraderHistory, "mt4-history"}};
constexpr SWord<EKLineFamily> kFamilies[] = {
    {EKLineFamily::Custom, "custom"},
    {EKLineFamily::Plain, "plain"},
    {EKLineFamily::NamedColumns, "named-columns"},
    {EKLineFamily::DateTimeColumns, "date-time-columns"},
    {EKLineFamily::MetaTrader, "metatrader"},
    {EKLineFamily::MetaTrader5, "metatrader5"},
    {EKLineFamily::TickerExport, "ticker-export"},
    {EKLineFamily::UnixTime, "unix-time"},
    {EKLineFamily::ExchangeArchive, "exchange-archive"},
    {EKLineFamily::DayFirstDots, "day-first-dots"},
    {EKLineFamily::Slashes, "slashes"},
    {EKLineFamily::MonthNames, "month-names"},
    {EKLineFamily::Semicolons, "semicolons"},
    {EKLineFamily::ChineseText, "chinese-text"},
    {EKLineFamily::ChineseDay, "chinese-day"},
    {EKLineFamily::MetaTraderHistory, "mt4-history"},
};
constexpr SWord<EKLineEncoding> kEncodings[] = {{EKLineEncoding::Utf8, "utf-8"},
                                                {EKLineEncoding::Gbk, "gbk"}};
constexpr SWord<EKLineDateForm> kDateForms[] = {{EKLineDateForm::Numeric, "numeric"},
                                                {EKLineDateForm::Compact, "yyyymmdd"},
                                                {EKLineDateForm::MonthName, "month-name"},
                                                {EKLineDateForm::Unix, "unix"}};
constexpr SWord<EKLineDateOrder> kOrders[] = {{EKLineDateOrder::YearMonthDay, "ymd"},
                                              {EKLineDateOrder::DayMonthYear, "dmy"},
                                              {EKLineDateOrder::MonthDayYear, "mdy"}};
constexpr SWord<EKLineUnixUnit> kUnits[] = {{EKLineUnixUnit::Seconds, "s"},
                                            {EKLineUnixUnit::Milliseconds, "ms"},
                                            {EKLineUnixUnit::Microseconds, "us"},
                                            {EKLineUnixUnit::Nanoseconds, "ns"}};
constexpr SWord<EKLineTimeForm> kTimeForms[] = {{EKLineTimeForm::Colons, "colons"},
                                                {EKLineTimeForm::Digits, "digits"}};
constexpr SWord<char> kMarks[] = {{',', "comma"},       {'\t', "tab"},  {';', "semicolon"},
                                  {'|', "pipe"},        {' ', "space"}, {'.', "point"},
                                  {'\'', "apostrophe"}, {0, "none"}};
constexpr SWord<bool> kFlags[] = {{false, "no"}, {true, "yes"}};

template <typename E, size_t N> std::string_view WordOf(const SWord<E> (&words)[N], E eValue)
{
    for (const SWord<E>& word : words)
        if (word.eValue == eValue)
            return word.strWord;
    return "?";
}

template <typename E, size_t N>
bool ValueOf(const SWord<E> (&words)[N], std::string_view strWord, E* pValue)
{
    for (const SWord<E>& word : words)
        if (word.strWord == strWord)
        {
            *pValue = word.eValue;
            return true;
        }
    return false;
}

bool ReadColumn(std::string_view text, int nLowest, int* pnColumn)
{
    int n = 0;
    const auto [pEnd, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || pEnd != text.data() + text.size() || n < nLowest ||
        n > kMaxKLineColumn)
        return false;
    *pnColumn = n;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Recognition

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Normalised(std::string_view name)
{
    name = KLineTrimBlanks(name);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = KLineTrimBlanks(name.substr(1, name.size() - 2));
    if (name.size() >= 2 && name.front() == '<' && name.back() == '>')
        name = name.substr(1, name.size() - 2);
    std::string result;
    for (char c : name)
        result += Lower(c);
    while (!result.empty() && result.back() == '*')
        result.pop_back();
    return result;
}

enum class EName
{
    None,
    Date,
    Time,
    Open,
    High,
    Low,
    Close,
    Last,  // "last", "close/last": a close when no column says close
    Price, // Investing's close
    Volume,
    TickVolume,
};

// Header names, compared after Normalised; the Chinese ones in UTF-8 and in GBK.
struct SName
{
    std::string_view strName;
    EName eName;
};
constexpr SName kNames[] = {
    {"date", EName::Date},
    {"datetime", EName::Date},
    {"date/time", EName::Date},
    {"timestamp", EName::Date},
    {"open_time", EName::Date},
    {"open time", EName::Date},
    {"gmt time", EName::Date},
    {"local time", EName::Date},
    {"dtyyyymmdd", EName::Date},
    {"day", EName::Date},
    {"data", EName::Date},
    {"datum", EName::Date},
    {"\xE6\x97\xA5\xE6\x9C\x9F", EName::Date}, // 日期
    {"\xC8\xD5\xC6\xDA", EName::Date},
    {"time", EName::Time},
    {"hour", EName::Time},
    {"\xE6\x97\xB6\xE9\x97\xB4", EName::Time}, // 时间
    {"\xCA\xB1\xBC\xE4", EName::Time},
    {"open", EName::Open},
    {"\xE5\xBC\x80\xE7\x9B\x98", EName::Open}, // 开盘
    {"\xBF\xAA\xC5\xCC", EName::Open},
    {"high", EName::High},
    {"\xE6\x9C\x80\xE9\xAB\x98", EName::High}, // 最高
    {"\xD7\xEE\xB8\xDF", EName::High},
    {"low", EName::Low},
    {"\xE6\x9C\x80\xE4\xBD\x8E", EName::Low}, // 最低
    {"\xD7\xEE\xB5\xCD", EName::Low},
    {"close", EName::Close},
    {"\xE6\x94\xB6\xE7\x9B\x98", EName::Close}, // 收盘
    {"\xCA\xD5\xC5\xCC", EName::Close},
    {"last", EName::Last},
    {"close/last", EName::Last},
    {"price", EName::Price},
    {"volume", EName::Volume},
    {"vol", EName::Volume},
    {"vol.", EName::Volume},
    {"\xE6\x88\x90\xE4\xBA\xA4\xE9\x87\x8F", EName::Volume}, // 成交量
    {"\xB3\xC9\xBD\xBB\xC1\xBF", EName::Volume},
    {"tickvol", EName::TickVolume},
    {"tick_volume", EName::TickVolume},
    {"tick volume", EName::TickVolume},
};

EName NameOf(std::string_view cell)
{
    const std::string name = Normalised(cell);
    for (const SName& known : kNames)
        if (name == known.strName)
            return known.eName;
    // "Time (EET)", "Date (UTC)": a date column with its zone.
    if (name.rfind("time (", 0) == 0 || name.rfind("date (", 0) == 0)
        return EName::Date;
    return EName::None;
}

bool IsChineseName(std::string_view cell)
{
    const std::string name = Normalised(cell);
    return !name.empty() && static_cast<unsigned char>(name[0]) >= 0x80 &&
           NameOf(cell) != EName::None;
}

// The fields of a line, blanks around them and enclosing quotes taken off.
std::vector<std::string_view> SplitCells(std::string_view line, char cSeparator, bool* pbQuoted)
{
    std::vector<std::string_view> cells;
    size_t i = 0;
    for (;;)
    {
        size_t nEnd = 0;
        std::string_view cell;
        if (i < line.size() && line[i] == '"')
        {
            size_t q = i + 1;
            for (;;)
            {
                q = line.find('"', q);
                if (q == std::string_view::npos || q + 1 >= line.size() || line[q + 1] != '"')
                    break;
                q += 2;
            }
            const size_t nClose = q == std::string_view::npos ? line.size() : q;
            cell = line.substr(i + 1, nClose - i - 1);
            nEnd = line.find(cSeparator, nClose);
            *pbQuoted = true;
        }
        else
        {
            nEnd = line.find(cSeparator, i);
            cell =
                line.substr(i, nEnd == std::string_view::npos ? std::string_view::npos : nEnd - i);
        }
        cells.push_back(KLineTrimBlanks(cell));
        if (nEnd == std::string_view::npos || cells.size() > size_t(kMaxKLineColumn))
            break;
        i = nEnd + 1;
    }
    return cells;
}

bool IsNumberCell(std::string_view cell)
{
    double d = 0;
    int n = 0;
    return ParseKLineNumber(cell, false, 0, &d, &n) || ParseKLineNumber(cell, false, ',', &d, &n) ||
           ParseKLineNumber(cell, true, '.', &d, &n);
}

bool IsVolumeCell(std::string_view cell)
{
    double d = 0;
    return IsKLineEmptyValue(cell) || ParseKLineVolume(cell, false, 0, &d) ||
           ParseKLineVolume(cell, false, ',', &d) || ParseKLineVolume(cell, true, '.', &d);
}

enum class EDateKind
{
    None,
    YearFirst,
    DayOrMonthFirst, // 01/03/2021: which one is settled by the values
    Compact,
    MonthName,
    Unix,
};

struct SDateCell
{
    EDateKind eKind = EDateKind::None;
    EKLineUnixUnit eUnit = EKLineUnixUnit::Seconds;
    bool bTime = false; // a time of day follows the date in the field
    int nFirst = 0;     // the first two numbers of a day-or-month-first date
    int nSecond = 0;
    char cMark = 0; // the mark between the numbers of a numeric date
};

bool IsCalendarDay(const SKLineCalendarDay& day)
{
    double d = 0;
    return KLineOleDate(day, 0, &d);
}

SDateCell DateCellOf(std::string_view cell)
{
    SDateCell result;
    SKLineCalendarDay day;
    std::string_view rest;
    int nMs = 0;
    if (cell.empty() || cell.size() > 64)
        return result;
    if (ParseKLineCalendarDay(cell, EKLineDateForm::Numeric, EKLineDateOrder::YearMonthDay, &day,
                              &rest) &&
        IsCalendarDay(day) && ParseKLineTimeAfterDate(rest, &nMs))
    {
        result.eKind = EDateKind::YearFirst;
        result.bTime = !KLineTrimBlanks(rest).empty();
        result.cMark = cell[4];
        return result;
    }
    if (ParseKLineCalendarDay(cell, EKLineDateForm::Numeric, EKLineDateOrder::DayMonthYear, &day,
                              &rest) &&
        ParseKLineTimeAfterDate(rest, &nMs))
    {
        SKLineCalendarDay swapped = day;
        std::swap(swapped.nDay, swapped.nMonth);
        if (IsCalendarDay(day) || IsCalendarDay(swapped))
        {
            result.eKind = EDateKind::DayOrMonthFirst;
            result.bTime = !KLineTrimBlanks(rest).empty();
            result.nFirst = day.nDay;
            result.nSecond = day.nMonth;
            result.cMark = cell[cell.find_first_not_of("0123456789")];
            return result;
        }
    }
    if (ParseKLineCalendarDay(cell, EKLineDateForm::Compact, EKLineDateOrder::YearMonthDay, &day,
                              &rest) &&
        day.nYear >= 1800 && day.nYear <= 2200 && IsCalendarDay(day) &&
        ParseKLineTimeAfterDate(rest, &nMs))
    {
        result.eKind = EDateKind::Compact;
        result.bTime = !KLineTrimBlanks(rest).empty();
        return result;
    }
    if (ParseKLineCalendarDay(cell, EKLineDateForm::MonthName, EKLineDateOrder::YearMonthDay, &day,
                              &rest) &&
        IsCalendarDay(day) && KLineTrimBlanks(rest).empty())
    {
        result.eKind = EDateKind::MonthName;
        return result;
    }
    // Unix time: the size of the count tells its unit; only years 1971 to 2100 are taken.
    const size_t nDigits = std::min(cell.find('.'), cell.size());
    if (cell.find_first_not_of("0123456789.") == std::string_view::npos && nDigits >= 9)
    {
        EKLineUnixUnit eUnit = EKLineUnixUnit::Seconds;
        if (nDigits <= 10)
            eUnit = EKLineUnixUnit::Seconds;
        else if (nDigits >= 12 && nDigits <= 13)
            eUnit = EKLineUnixUnit::Milliseconds;
        else if (nDigits >= 15 && nDigits <= 16)
            eUnit = EKLineUnixUnit::Microseconds;
        else if (nDigits >= 18 && nDigits <= 19)
            eUnit = EKLineUnixUnit::Nanoseconds;
        else
            return result;
        double dDate = 0;
        if (ParseKLineUnixTime(cell, eUnit, &dDate) && dDate >= 25569 + 365 && dDate < 73051)
        {
            result.eKind = EDateKind::Unix;
            result.eUnit = eUnit;
        }
    }
    return result;
}

bool IsColonTime(std::string_view cell)
{
    int nMs = 0;
    return cell.find(':') != std::string_view::npos &&
           ParseKLineTimeOfDay(cell, EKLineTimeForm::Colons, &nMs);
}

bool IsDigitTime(std::string_view cell)
{
    int nMs = 0;
    return (cell.size() == 4 || cell.size() == 6) &&
           ParseKLineTimeOfDay(cell, EKLineTimeForm::Digits, &nMs);
}

struct SRows
{
    char cSeparator = ',';
    std::vector<std::vector<std::string_view>> vecCells; // per line
    std::vector<bool> vecBarLike;
    std::vector<int> vecDateColumn; // the first date cell of a bar-like line
    int nBarLike = 0;
    bool bQuoted = false;
};

// A bar-like line has a date and four numbers besides it.
SRows AnalyseRows(const std::vector<std::string_view>& lines, char cSeparator)
{
    SRows rows;
    rows.cSeparator = cSeparator;
    for (std::string_view line : lines)
    {
        std::vector<std::string_view> cells = SplitCells(line, cSeparator, &rows.bQuoted);
        int nDate = -1;
        int nNumbers = 0;
        if (cells.size() >= 5)
        {
            for (size_t c = 0; c < cells.size(); ++c)
            {
                if (nDate < 0 && DateCellOf(cells[c]).eKind != EDateKind::None)
                    nDate = int(c);
                else
                    nNumbers += IsNumberCell(cells[c]);
            }
        }
        const bool bBarLike = nDate >= 0 && nNumbers >= 4;
        rows.vecCells.push_back(std::move(cells));
        rows.vecBarLike.push_back(bBarLike);
        rows.vecDateColumn.push_back(nDate);
        rows.nBarLike += bBarLike;
    }
    return rows;
}

// Of the separators, the one that splits the most lines into two fields or more ("," on a tie).
char MostSplittingSeparator(const std::vector<std::string_view>& lines)
{
    char cBest = ',';
    int nBest = 0;
    for (char c : {',', '\t', ';', '|'})
    {
        bool bQuoted = false;
        int nSplit = 0;
        for (std::string_view line : lines)
            nSplit += SplitCells(line, c, &bQuoted).size() >= 2;
        if (nSplit > nBest)
        {
            cBest = c;
            nBest = nSplit;
        }
    }
    return cBest;
}

bool IsValidUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();)
    {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t n = c < 0x80         ? 1
                         : (c >> 5) == 6  ? 2
                         : (c >> 4) == 14 ? 3
                         : (c >> 3) == 30 ? 4
                                          : 0;
        if (n == 0 || i + n > text.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

std::string_view Extension(std::string_view fileName)
{
    const size_t nDot = fileName.rfind('.');
    return nDot == std::string_view::npos ? std::string_view() : fileName.substr(nDot);
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// Reads the first lines with a layout and counts the bars, as the reader will.
int CountBars(const std::vector<std::string_view>& lines, const SKLineLayout& layout);

} // namespace

std::string KLineLayoutText(const SKLineLayout& layout)
{
    std::string text = "kline-layout=1";
    auto Add = [&](std::string_view key, std::string_view value)
    { text.append(" ").append(key).append("=").append(value); };
    Add("kind", WordOf(kKinds, layout.m_eKind));
    Add("family", WordOf(kFamilies, layout.m_eFamily));
    Add("encoding", WordOf(kEncodings, layout.m_eEncoding));
    Add("separator", WordOf(kMarks, layout.m_cSeparator));
    Add("quoted", WordOf(kFlags, layout.m_bQuoted));
    Add("header-lines", std::to_string(layout.m_nHeaderLines));
    Add("date", std::to_string(layout.m_nDateColumn));
    Add("date-form", WordOf(kDateForms, layout.m_eDateForm));
    Add("order", WordOf(kOrders, layout.m_eDateOrder));
    Add("order-from-locale", WordOf(kFlags, layout.m_bOrderFromLocale));
    Add("unix-unit", WordOf(kUnits, layout.m_eUnixUnit));
    Add("time", std::to_string(layout.m_nTimeColumn));
    Add("time-form", WordOf(kTimeForms, layout.m_eTimeForm));
    Add("open", std::to_string(layout.m_nOpenColumn));
    Add("high", std::to_string(layout.m_nHighColumn));
    Add("low", std::to_string(layout.m_nLowColumn));
    Add("close", std::to_string(layout.m_nCloseColumn));
    Add("volume", std::to_string(layout.m_nVolumeColumn));
    Add("decimal", layout.m_bDecimalComma ? "comma" : "point");
    Add("thousands", WordOf(kMarks, layout.m_cThousands));
    return text;
}

bool ParseKLineLayoutText(std::string_view text, SKLineLayout* pLayout)
{
    SKLineLayout layout;
    bool bVersion = false;
    while (!text.empty())
    {
        const size_t nStart = text.find_first_not_of(' ');
        if (nStart == std::string_view::npos)
            break;
        text.remove_prefix(nStart);
        const size_t nEnd = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, nEnd);
        text.remove_prefix(nEnd);
        const size_t nEqual = word.find('=');
        if (nEqual == std::string_view::npos)
            return false;
        const std::string_view key = word.substr(0, nEqual);
        const std::string_view value = word.substr(nEqual + 1);
        bool bGood = true;
        if (key == "kline-layout")
            bGood = bVersion = value == "1";
        else if (key == "kind")
            bGood = ValueOf(kKinds, value, &layout.m_eKind);
        else if (key == "family")
            bGood = ValueOf(kFamilies, value, &layout.m_eFamily);
        else if (key == "encoding")
            bGood = ValueOf(kEncodings, value, &layout.m_eEncoding);
        else if (key == "separator")
            bGood = ValueOf(kMarks, value, &layout.m_cSeparator);
        else if (key == "quoted")
            bGood = ValueOf(kFlags, value, &layout.m_bQuoted);
        else if (key == "header-lines")
        {
            const auto [pEnd, ec] =
                std::from_chars(value.data(), value.data() + value.size(), layout.m_nHeaderLines);
            bGood = ec == std::errc() && pEnd == value.data() + value.size() &&
                    layout.m_nHeaderLines >= 0;
        }
        else if (key == "date")
            bGood = ReadColumn(value, 0, &layout.m_nDateColumn);
        else if (key == "date-form")
            bGood = ValueOf(kDateForms, value, &layout.m_eDateForm);
        else if (key == "order")
            bGood = ValueOf(kOrders, value, &layout.m_eDateOrder);
        else if (key == "order-from-locale")
            bGood = ValueOf(kFlags, value, &layout.m_bOrderFromLocale);
        else if (key == "unix-unit")
            bGood = ValueOf(kUnits, value, &layout.m_eUnixUnit);
        else if (key == "time")
            bGood = ReadColumn(value, -1, &layout.m_nTimeColumn);
        else if (key == "time-form")
            bGood = ValueOf(kTimeForms, value, &layout.m_eTimeForm);
        else if (key == "open")
            bGood = ReadColumn(value, 0, &layout.m_nOpenColumn);
        else if (key == "high")
            bGood = ReadColumn(value, 0, &layout.m_nHighColumn);
        else if (key == "low")
            bGood = ReadColumn(value, 0, &layout.m_nLowColumn);
        else if (key == "close")
            bGood = ReadColumn(value, 0, &layout.m_nCloseColumn);
        else if (key == "volume")
            bGood = ReadColumn(value, -1, &layout.m_nVolumeColumn);
        else if (key == "decimal")
        {
            bGood = value == "comma" || value == "point";
            layout.m_bDecimalComma = value == "comma";
        }
        else if (key == "thousands")
            bGood = ValueOf(kMarks, value, &layout.m_cThousands);
        if (!bGood)
            return false;
    }
    if (!bVersion || !IsUsableKLineLayout(layout))
        return false;
    *pLayout = layout;
    return true;
}

bool IsUsableKLineLayout(const SKLineLayout& layout)
{
    if (layout.m_eKind != EKLineFileKind::Text)
        return true;
    const int columns[] = {layout.m_nDateColumn,  layout.m_nTimeColumn, layout.m_nOpenColumn,
                           layout.m_nHighColumn,  layout.m_nLowColumn,  layout.m_nCloseColumn,
                           layout.m_nVolumeColumn};
    for (size_t i = 0; i < std::size(columns); ++i)
    {
        const bool bOptional = i == 1 || i == 6;
        if (columns[i] < (bOptional ? -1 : 0) || columns[i] > kMaxKLineColumn)
            return false;
        for (size_t k = 0; k < i; ++k)
            if (columns[i] >= 0 && columns[i] == columns[k])
                return false;
    }
    const char c = layout.m_cSeparator;
    const char cDecimal = layout.m_bDecimalComma ? ',' : '.';
    return c != 0 && c != '"' && c != '\n' && c != '\r' && !IsDigit(c) &&
           layout.m_cThousands != cDecimal && (layout.m_cThousands != c || layout.m_bQuoted) &&
           layout.m_nHeaderLines >= 0;
}

std::vector<std::string_view> SplitKLineFields(std::string_view line, char cSeparator)
{
    bool bQuoted = false;
    return SplitCells(line, cSeparator, &bQuoted);
}

std::string KLineLayoutName(const SKLineLayout& layout)
{
    const bool bTime = layout.m_nTimeColumn >= 0;
    std::string name;
    switch (layout.m_eFamily)
    {
    case EKLineFamily::Plain:
        name = "date, open, high, low, close";
        break;
    case EKLineFamily::NamedColumns:
        name = "columns named in the header";
        break;
    case EKLineFamily::DateTimeColumns:
        name = "date and time in two columns";
        break;
    case EKLineFamily::MetaTrader:
        name = bTime ? "MetaTrader export, date and time columns"
                     : "MetaTrader export, dates with dots";
        break;
    case EKLineFamily::MetaTrader5:
        name = bTime ? "MetaTrader 5 export, tab-separated <DATE> and <TIME>"
                     : "MetaTrader 5 export, tab-separated <DATE>";
        break;
    case EKLineFamily::TickerExport:
        name = "<TICKER> export with YYYYMMDD dates";
        break;
    case EKLineFamily::UnixTime:
    case EKLineFamily::ExchangeArchive:
    {
        static constexpr std::string_view kUnitNames[] = {"seconds", "milliseconds", "microseconds",
                                                          "nanoseconds"};
        name = layout.m_eFamily == EKLineFamily::ExchangeArchive ? "exchange archive, " : "";
        name += "Unix time in ";
        name += kUnitNames[static_cast<int>(layout.m_eUnixUnit)];
        break;
    }
    case EKLineFamily::DayFirstDots:
        name = "day-first dates with dots";
        break;
    case EKLineFamily::Slashes:
        name = layout.m_eDateOrder == EKLineDateOrder::MonthDayYear ? "month-first dates"
                                                                    : "day-first dates";
        break;
    case EKLineFamily::MonthNames:
        name = "quoted fields with month names";
        break;
    case EKLineFamily::Semicolons:
        name = layout.m_bDecimalComma ? "semicolons and decimal commas" : "semicolon-separated";
        break;
    case EKLineFamily::ChineseText:
        name = bTime ? "Chinese terminal text export with a time column"
                     : "Chinese terminal text export";
        break;
    case EKLineFamily::ChineseDay:
        name = "Chinese terminal day file (.day)";
        break;
    case EKLineFamily::MetaTraderHistory:
        name = "MetaTrader 4 history file (.hst)";
        break;
    case EKLineFamily::Custom:
        name = "a layout set by hand";
        break;
    }
    if (layout.m_eKind == EKLineFileKind::Text && layout.m_eDateForm == EKLineDateForm::Numeric &&
        layout.m_eDateOrder != EKLineDateOrder::YearMonthDay && layout.m_bOrderFromLocale)
        name += layout.m_eDateOrder == EKLineDateOrder::MonthDayYear
                    ? " (month first, the locale's order: no date tells)"
                    : " (day first, the locale's order: no date tells)";
    return name;
}

EKLineDateOrder KLineLocaleDateOrder(std::string_view localeName)
{
    return localeName.rfind("en_US", 0) == 0 ? EKLineDateOrder::MonthDayYear
                                             : EKLineDateOrder::DayMonthYear;
}

EKLineDateOrder KLineLocaleDateOrder()
{
    for (const char* pszName : {"LC_ALL", "LC_TIME", "LANG"})
    {
        const char* pszValue = std::getenv(pszName);
        if (pszValue != nullptr && *pszValue != '\0')
            return KLineLocaleDateOrder(pszValue);
    }
    return KLineLocaleDateOrder("C");
}

EKLineRecognition RecognizeKLineLayout(std::string_view head, std::string_view fileName,
                                       EKLineDateOrder eLocaleOrder, SKLineLayout* pLayout)
{
    std::vector<std::string_view> lines;
    const bool bBinary =
        EqualsNoCase(Extension(fileName), ".day") || EqualsNoCase(Extension(fileName), ".hst");
    while (!bBinary && !head.empty() && lines.size() < 64)
    {
        const size_t nEnd = head.find_first_of("\r\n");
        if (nEnd == std::string_view::npos)
        {
            lines.push_back(head);
            break;
        }
        lines.push_back(head.substr(0, nEnd));
        const bool bCrLf = head[nEnd] == '\r' && nEnd + 1 < head.size() && head[nEnd + 1] == '\n';
        head.remove_prefix(nEnd + (bCrLf ? 2 : 1));
    }
    if (bBinary && EqualsNoCase(Extension(fileName), ".hst") && head.size() >= 4)
    {
        const int nVersion =
            static_cast<unsigned char>(head[0]) | static_cast<unsigned char>(head[1]) << 8 |
            static_cast<unsigned char>(head[2]) << 16 | static_cast<unsigned char>(head[3]) << 24;
        if (nVersion != 400 && nVersion != 401)
        {
            *pLayout = SKLineLayout();
            return EKLineRecognition::Unknown;
        }
    }
    return RecognizeKLineLayout(lines, fileName, eLocaleOrder, pLayout);
}

EKLineRecognition RecognizeKLineLayout(const std::vector<std::string_view>& vecLines,
                                       std::string_view fileName, EKLineDateOrder eLocaleOrder,
                                       SKLineLayout* pLayout)
{
    SKLineLayout layout;
    *pLayout = layout;
    const std::string_view ext = Extension(fileName);
    if (EqualsNoCase(ext, ".day"))
    {
        layout.m_eKind = EKLineFileKind::ChineseDay;
        layout.m_eFamily = EKLineFamily::ChineseDay;
        *pLayout = layout;
        return EKLineRecognition::Recognized;
    }
    if (EqualsNoCase(ext, ".hst"))
    {
        layout.m_eKind = EKLineFileKind::MetaTraderHistory;
        layout.m_eFamily = EKLineFamily::MetaTraderHistory;
        *pLayout = layout;
        return EKLineRecognition::Recognized;
    }

    std::vector<std::string_view> lines = vecLines;
    if (!lines.empty() && lines[0].substr(0, 3) == "\xEF\xBB\xBF")
        lines[0].remove_prefix(3);

    // 1. The separator that makes the most lines look like bars.
    SRows rows;
    for (char c : {',', '\t', ';', '|'})
    {
        SRows candidate = AnalyseRows(lines, c);
        if (candidate.nBarLike > rows.nBarLike)
            rows = std::move(candidate);
    }
    if (rows.nBarLike == 0)
    {
        pLayout->m_cSeparator = MostSplittingSeparator(lines);
        return EKLineRecognition::Unknown;
    }
    layout.m_cSeparator = rows.cSeparator;
    layout.m_bQuoted = rows.bQuoted;
    for (std::string_view line : lines)
        if (!IsValidUtf8(line))
            layout.m_eEncoding = EKLineEncoding::Gbk;

    const size_t nFirst = static_cast<size_t>(
        std::find(rows.vecBarLike.begin(), rows.vecBarLike.end(), true) - rows.vecBarLike.begin());
    layout.m_nHeaderLines = static_cast<int>(nFirst);
    std::vector<const std::vector<std::string_view>*> data;
    size_t nColumns = 0;
    for (size_t i = nFirst; i < rows.vecCells.size(); ++i)
        if (rows.vecBarLike[i])
        {
            data.push_back(&rows.vecCells[i]);
            nColumns = std::max(nColumns, rows.vecCells[i].size());
        }
    auto AllRows = [&](size_t nColumn, auto predicate)
    {
        for (const auto* pCells : data)
            if (nColumn >= pCells->size() || !predicate((*pCells)[nColumn]))
                return false;
        return true;
    };

    // 2. The header line naming the most price columns, if any.
    std::vector<EName> names;
    int nBestNamed = 0;
    bool bChinese = false;
    bool bAngle = false;
    bool bTicker = false;
    for (size_t i = 0; i < nFirst; ++i)
    {
        std::vector<EName> lineNames;
        int nNamed = 0;
        for (std::string_view cell : rows.vecCells[i])
        {
            lineNames.push_back(NameOf(cell));
            nNamed += lineNames.back() >= EName::Open && lineNames.back() <= EName::Price;
            bChinese = bChinese || IsChineseName(cell);
            bAngle = bAngle || (cell.size() > 2 && cell.front() == '<' && cell.back() == '>');
            bTicker =
                bTicker || EqualsNoCase(cell, "<ticker>") || EqualsNoCase(cell, "<dtyyyymmdd>");
        }
        if (nNamed > nBestNamed)
        {
            nBestNamed = nNamed;
            names = std::move(lineNames);
        }
    }
    names.resize(std::max(names.size(), nColumns), EName::None);
    auto Named = [&](EName eName) -> int
    {
        for (size_t c = 0; c < names.size(); ++c)
            if (names[c] == eName)
                return int(c);
        return -1;
    };

    // 3. The date column: of those holding a date of one kind on nearly the most lines, the one
    //    a header names, else the first. Lines with something else there are not bars.
    int nDate = -1;
    EDateKind eKind = EDateKind::None;
    SDateCell first;
    std::vector<std::pair<int, SDateCell>> candidates; // lines with the column's commonest kind
    int nMostLines = 0;
    for (size_t c = 0; c < nColumns; ++c)
    {
        std::vector<std::pair<SDateCell, int>> kinds;
        for (const auto* pCells : data)
        {
            if (c >= pCells->size())
                continue;
            const SDateCell cell = DateCellOf((*pCells)[c]);
            if (cell.eKind == EDateKind::None)
                continue;
            auto it =
                std::find_if(kinds.begin(), kinds.end(),
                             [&](const auto& k) {
                                 return k.first.eKind == cell.eKind && k.first.eUnit == cell.eUnit;
                             });
            if (it == kinds.end())
                kinds.push_back({cell, 1});
            else
                ++it->second;
        }
        const auto best =
            std::max_element(kinds.begin(), kinds.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        candidates.push_back(best == kinds.end() ? std::pair{0, SDateCell()}
                                                 : std::pair{best->second, best->first});
        nMostLines = std::max(nMostLines, candidates.back().first);
    }
    auto IsDateName = [&](size_t c) { return names[c] == EName::Date || names[c] == EName::Time; };
    for (size_t c = 0; c < candidates.size(); ++c)
    {
        if (candidates[c].first == 0 || candidates[c].first * 5 < nMostLines * 4)
            continue;
        if (nDate < 0 || (IsDateName(c) && !IsDateName(size_t(nDate))))
        {
            nDate = int(c);
            first = candidates[c].second;
            eKind = first.eKind;
        }
    }
    if (nDate < 0)
    {
        *pLayout = layout;
        return EKLineRecognition::Unknown;
    }
    data.erase(std::remove_if(data.begin(), data.end(),
                              [&](const auto* pCells)
                              {
                                  const SDateCell cell = size_t(nDate) < pCells->size()
                                                             ? DateCellOf((*pCells)[size_t(nDate)])
                                                             : SDateCell();
                                  return cell.eKind != eKind || cell.eUnit != first.eUnit;
                              }),
               data.end());
    layout.m_nDateColumn = nDate;
    // Header lines end at the first line with a date where the bars have theirs: a bad row
    // before the first good one is a row that failed, not a header.
    for (size_t i = 0; i < nFirst; ++i)
        if (size_t(nDate) < rows.vecCells[i].size() &&
            DateCellOf(rows.vecCells[i][size_t(nDate)]).eKind == eKind)
        {
            layout.m_nHeaderLines = int(i);
            break;
        }
    bool bAmbiguous = false;
    bool bProposal = false; // the prices' columns are a guess no rule backs
    bool bTimeInDate = false;
    int nMostFirst = 0, nMostSecond = 0;
    for (const auto* pCells : data)
    {
        const SDateCell cell = DateCellOf((*pCells)[size_t(nDate)]);
        bTimeInDate = bTimeInDate || cell.bTime;
        nMostFirst = std::max(nMostFirst, cell.nFirst);
        nMostSecond = std::max(nMostSecond, cell.nSecond);
    }
    switch (eKind)
    {
    case EDateKind::YearFirst:
        layout.m_eDateForm = EKLineDateForm::Numeric;
        break;
    case EDateKind::DayOrMonthFirst:
        layout.m_eDateForm = EKLineDateForm::Numeric;
        if (nMostFirst > 12 && nMostSecond > 12)
            bAmbiguous = true;
        if (nMostFirst > 12)
            layout.m_eDateOrder = EKLineDateOrder::DayMonthYear;
        else if (nMostSecond > 12)
            layout.m_eDateOrder = EKLineDateOrder::MonthDayYear;
        else
        {
            layout.m_eDateOrder = eLocaleOrder == EKLineDateOrder::MonthDayYear
                                      ? EKLineDateOrder::MonthDayYear
                                      : EKLineDateOrder::DayMonthYear;
            layout.m_bOrderFromLocale = true;
        }
        break;
    case EDateKind::Compact:
        layout.m_eDateForm = EKLineDateForm::Compact;
        break;
    case EDateKind::MonthName:
        layout.m_eDateForm = EKLineDateForm::MonthName;
        break;
    case EDateKind::Unix:
        layout.m_eDateForm = EKLineDateForm::Unix;
        layout.m_eUnixUnit = first.eUnit;
        break;
    case EDateKind::None:
        break;
    }

    // 4. A time column beside a date without a time of day.
    int nTime = -1;
    if (eKind != EDateKind::Unix && !bTimeInDate)
    {
        const int nNamedTime = Named(EName::Time);
        if (nNamedTime >= 0 && nNamedTime != nDate &&
            AllRows(size_t(nNamedTime),
                    [](std::string_view s) { return IsColonTime(s) || IsDigitTime(s); }))
            nTime = nNamedTime;
        else if (AllRows(size_t(nDate) + 1, IsColonTime) ||
                 (eKind == EDateKind::Compact &&
                  AllRows(size_t(nDate) + 1,
                          [](std::string_view s) { return s.size() == 6 && IsDigitTime(s); })))
            nTime = nDate + 1;
        if (nTime >= 0)
        {
            layout.m_nTimeColumn = nTime;
            layout.m_eTimeForm = AllRows(size_t(nTime), IsColonTime) ? EKLineTimeForm::Colons
                                                                     : EKLineTimeForm::Digits;
        }
    }

    // 5. Prices: by the header's names where they all fit the lines, else in order after the
    //    date and time.
    // A price column holds numbers; a row may lack one (pandas writes NaN as nothing).
    auto IsNumber = [&](int c)
    {
        if (c < 0 || c == nDate || c == nTime || size_t(c) >= nColumns)
            return false;
        int nNumbers = 0;
        const bool bAll = AllRows(size_t(c),
                                  [&](std::string_view s)
                                  {
                                      const bool bNumber = IsNumberCell(s);
                                      nNumbers += bNumber;
                                      return bNumber || IsKLineEmptyValue(s);
                                  });
        return bAll && nNumbers > 0;
    };
    auto NamedPrices = [&](int nShift, std::array<int, 5>* pColumns)
    {
        auto At = [&](EName eName)
        {
            const int c = Named(eName);
            return c < 0 || c == nDate ? -1 : c + (c > nDate ? nShift : 0);
        };
        int nClose = At(EName::Close);
        if (nClose < 0)
            nClose = At(EName::Last);
        if (nClose < 0)
            nClose = At(EName::Price);
        int nVolume = At(EName::Volume);
        if (nVolume < 0)
            nVolume = At(EName::TickVolume);
        *pColumns = {At(EName::Open), At(EName::High), At(EName::Low), nClose, nVolume};
        for (int i = 0; i < 4; ++i)
            if (!IsNumber((*pColumns)[size_t(i)]))
                return false;
        if (nVolume >= 0 && (nVolume == nTime || !AllRows(size_t(nVolume), IsVolumeCell)))
            (*pColumns)[4] = -1;
        return true;
    };
    std::array<int, 5> columns = {-1, -1, -1, -1, -1};
    bool bNamed = nBestNamed > 0 && NamedPrices(0, &columns);
    if (!bNamed && nBestNamed > 0 && nTime == nDate + 1 && Named(EName::Time) < 0)
        bNamed = NamedPrices(1, &columns); // the header has no name for the time column
    if (!bNamed)
    {
        if (nBestNamed > 0 && nBestNamed < 4)
            bAmbiguous = true; // some prices are named, but not all of them
        const int nAfter = std::max(nDate, nTime) + 1;
        bool bInOrder = true;
        for (int i = 0; i < 4; ++i)
            bInOrder = bInOrder && IsNumber(nAfter + i);
        if (bInOrder)
        {
            for (int i = 0; i < 4; ++i)
                columns[size_t(i)] = nAfter + i;
            columns[4] =
                IsNumber(nAfter + 4) && AllRows(size_t(nAfter + 4), IsVolumeCell) ? nAfter + 4 : -1;
        }
        else
        {
            // No rule places the prices: the columns of numbers, in the file's order, are only
            // a proposal for the trader to put right.
            bProposal = true;
            std::vector<int> numbers;
            for (int c = 0; c < int(nColumns); ++c)
                if (IsNumber(c))
                    numbers.push_back(c);
            const bool bVolume = numbers.size() > 4 && AllRows(size_t(numbers[4]), IsVolumeCell);
            // Too few numbers: the other roles take free columns, so the proposal stays usable.
            for (int c = 0; numbers.size() < 4; ++c)
                if (c != nDate && c != nTime &&
                    std::find(numbers.begin(), numbers.end(), c) == numbers.end())
                    numbers.push_back(c);
            std::sort(numbers.begin(), numbers.begin() + 4);
            for (size_t i = 0; i < 4; ++i)
                columns[i] = numbers[i];
            columns[4] = bVolume ? numbers[4] : -1;
        }
    }
    layout.m_nOpenColumn = columns[0];
    layout.m_nHighColumn = columns[1];
    layout.m_nLowColumn = columns[2];
    layout.m_nCloseColumn = columns[3];
    layout.m_nVolumeColumn = columns[4];

    // 6. Decimal and grouping marks, from the price and volume fields.
    bool bLastComma = false, bLastPoint = false, bAnyComma = false;
    for (const auto* pCells : data)
        for (int c : columns)
        {
            if (c < 0 || size_t(c) >= pCells->size())
                continue;
            const std::string_view cell = (*pCells)[size_t(c)];
            const size_t nComma = cell.rfind(',');
            const size_t nPoint = cell.rfind('.');
            bAnyComma = bAnyComma || nComma != std::string_view::npos;
            if (nComma != std::string_view::npos && nPoint != std::string_view::npos)
                (nComma > nPoint ? bLastComma : bLastPoint) = true;
        }
    if (layout.m_cSeparator == ',')
        layout.m_cThousands = bAnyComma ? ',' : 0;
    else if (bAnyComma && !bLastPoint)
    {
        layout.m_bDecimalComma = true;
        layout.m_cThousands = '.';
    }
    else if (bAnyComma)
        layout.m_cThousands = ',';

    // 7. Who writes files this way.
    const bool bOrderedAsPlain = columns[0] == layout.m_nDateColumn + 1 + (nTime >= 0) &&
                                 columns[1] == columns[0] + 1 && columns[2] == columns[0] + 2 &&
                                 columns[3] == columns[0] + 3;
    if (bChinese || layout.m_eEncoding == EKLineEncoding::Gbk)
        layout.m_eFamily = EKLineFamily::ChineseText;
    else if (bTicker || (bAngle && eKind == EDateKind::Compact))
        layout.m_eFamily = EKLineFamily::TickerExport;
    else if (bAngle)
        layout.m_eFamily = EKLineFamily::MetaTrader5;
    else if (eKind == EDateKind::Unix)
        layout.m_eFamily = nColumns == 12 && layout.m_eUnixUnit != EKLineUnixUnit::Seconds
                               ? EKLineFamily::ExchangeArchive
                               : EKLineFamily::UnixTime;
    else if (eKind == EDateKind::MonthName)
        layout.m_eFamily = EKLineFamily::MonthNames;
    else if (layout.m_cSeparator == ';')
        layout.m_eFamily = EKLineFamily::Semicolons;
    else if (eKind == EDateKind::YearFirst && first.cMark == '.')
        layout.m_eFamily = EKLineFamily::MetaTrader;
    else if (nTime >= 0)
        layout.m_eFamily = EKLineFamily::DateTimeColumns;
    else if (eKind == EDateKind::DayOrMonthFirst && first.cMark == '.')
        layout.m_eFamily = EKLineFamily::DayFirstDots;
    else if (eKind == EDateKind::DayOrMonthFirst)
        layout.m_eFamily = EKLineFamily::Slashes;
    else if (bNamed && !bOrderedAsPlain)
        layout.m_eFamily = EKLineFamily::NamedColumns;
    else
        layout.m_eFamily = EKLineFamily::Plain;

    if (bProposal)
    {
        layout.m_eFamily = EKLineFamily::Custom;
        *pLayout = layout;
        return EKLineRecognition::Unknown;
    }

    // 8. The proof: the layout reads the first lines as bars.
    *pLayout = layout;
    if (CountBars(lines, layout) == 0)
        return EKLineRecognition::Unknown;
    return bAmbiguous ? EKLineRecognition::Ambiguous : EKLineRecognition::Recognized;
}

namespace
{

int CountBars(const std::vector<std::string_view>& lines, const SKLineLayout& layout)
{
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append("\n");
    SKLineLoad load;
    ReadKLineText(text, layout, &load);
    return static_cast<int>(load.m_vecBars.size());
}

} // namespace
