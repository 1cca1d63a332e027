#pragma once

#include <string>
#include <string_view>
#include <vector>

// How the bars of a price file are written: found once from the file's first lines (or its
// extension, for binary files), then used to read every line. Plain data, so an import dialog can
// show it, let the trader change any field, and keep it per file as text.

enum class EKLineFileKind
{
    Text,
    ChineseDay,        // 32-byte records of the Chinese terminals' .day files
    MetaTraderHistory, // MetaTrader 4 .hst history, version 400 or 401
};

// Who writes files this way; it only names the layout for the trader.
enum class EKLineFamily
{
    Custom,
    Plain,           // date,open,high,low,close[,volume]
    NamedColumns,    // a header names the columns, in any order
    DateTimeColumns, // date and time in two columns
    MetaTrader,      // 2021.03.01,09:00,... (with or without a header)
    MetaTrader5,     // <DATE>\t<TIME>\t<OPEN>...
    TickerExport,    // <TICKER>,<PER>,<DATE>,<TIME>,...
    UnixTime,        // seconds or milliseconds since 1970
    ExchangeArchive, // 12 columns of Unix milliseconds (or microseconds) and prices
    DayFirstDots,    // 01.03.2021 09:00:00.000
    Slashes,         // 3/1/2021 or 13/03/2021
    MonthNames,      // "Mar 01, 2021","1,124.90",...
    Semicolons,      // 01.03.2021;123,45;...
    ChineseText,     // a title line, 日期 开盘 ... header, a 数据来源 footer
    ChineseDay,
    MetaTraderHistory,
};

enum class EKLineDateForm
{
    Numeric,   // three numbers, order by m_eDateOrder: 2021-03-01, 01.03.2021, 3/1/2021, 01-05-13
    Compact,   // 20210301
    MonthName, // Mar 01, 2021 / 01 Mar 2021 / 01-Mar-2021
    Unix,      // a count since 1970-01-01 00:00 UTC in m_eUnixUnit
};

enum class EKLineDateOrder
{
    YearMonthDay,
    DayMonthYear,
    MonthDayYear,
};

enum class EKLineUnixUnit
{
    Seconds,
    Milliseconds,
    Microseconds,
    Nanoseconds,
};

enum class EKLineTimeForm
{
    Colons, // 9:00, 09:00:00, 09:00:00.250
    Digits, // 0900, 090000
};

enum class EKLineEncoding
{
    Utf8,
    Gbk,
};

struct SKLineLayout
{
    EKLineFileKind m_eKind = EKLineFileKind::Text;
    EKLineFamily m_eFamily = EKLineFamily::Custom;
    EKLineEncoding m_eEncoding = EKLineEncoding::Utf8;
    char m_cSeparator = ',';
    bool m_bQuoted = false; // fields may be enclosed in double quotes
    int m_nHeaderLines = 0; // lines before the first bar, passed over unread
    int m_nDateColumn = 0;  // columns count from 0
    EKLineDateForm m_eDateForm = EKLineDateForm::Numeric;
    EKLineDateOrder m_eDateOrder = EKLineDateOrder::YearMonthDay;
    // Day and month order is the locale's guess: the first date with a day over 12 settles it.
    bool m_bOrderFromLocale = false;
    EKLineUnixUnit m_eUnixUnit = EKLineUnixUnit::Seconds;
    int m_nTimeColumn = -1; // -1: any time of day is written after the date in its own field
    EKLineTimeForm m_eTimeForm = EKLineTimeForm::Colons;
    int m_nOpenColumn = 1;
    int m_nHighColumn = 2;
    int m_nLowColumn = 3;
    int m_nCloseColumn = 4;
    int m_nVolumeColumn = -1; // -1: no volume
    bool m_bDecimalComma = false;
    char m_cThousands = 0; // a grouping mark inside numbers (',', '.', ' ' or '\''); 0 for none

    bool operator==(const SKLineLayout&) const = default;
};

// Columns beyond this are not read; a layout naming one is not accepted.
constexpr int kMaxKLineColumn = 255;

// The layout as one line of "key=value" words, for the settings file:
//   "kline-layout=1 kind=text family=plain encoding=utf-8 separator=comma quoted=no
//    header-lines=1 date=0 date-form=numeric order=ymd order-from-locale=no unix-unit=s
//    time=-1 time-form=colons open=1 high=2 low=3 close=4 volume=5 decimal=point thousands=none"
std::string KLineLayoutText(const SKLineLayout& layout);

// Reads that text back. Keys may come in any order and unknown keys are ignored; a missing key
// keeps the plain default. False (and *pLayout untouched) for a bad value or a column outside
// 0..kMaxKLineColumn.
bool ParseKLineLayoutText(std::string_view text, SKLineLayout* pLayout);

// The fields of a line as the reader sees them: blanks around them and enclosing quotes taken
// off (an import dialog's column names).
std::vector<std::string_view> SplitKLineFields(std::string_view line, char cSeparator);

// The layout's name in words for the load note ("MetaTrader export, date and time columns").
std::string KLineLayoutName(const SKLineLayout& layout);

// False for a layout the reader cannot use: columns out of range, or two roles in one column.
bool IsUsableKLineLayout(const SKLineLayout& layout);

enum class EKLineRecognition
{
    Recognized,
    Ambiguous, // a layout is proposed, but the file could be read more than one way
    Unknown,   // no rule finds a layout that reads the file's first lines as bars
};

// The order a date like 03/01/2021 is read in when no date of the file tells: month first for
// English (United States), day first for every other locale.
EKLineDateOrder KLineLocaleDateOrder(std::string_view localeName);
// The same for this process's locale (LC_ALL, LC_TIME, LANG, the first one set).
EKLineDateOrder KLineLocaleDateOrder();

// Finds the layout of a text file from its first lines (a BOM and blank lines allowed), or of a
// binary file from its name's extension (.day, .hst) and first bytes. On Ambiguous *pLayout holds
// the likeliest reading; on Unknown, a proposal for the trader to put right (family Custom):
// what the lines tell of the separator, header lines and date, and the columns of numbers in
// the file's order as the prices; the plain default with the likeliest separator when no line
// looks like a bar.
EKLineRecognition RecognizeKLineLayout(const std::vector<std::string_view>& vecLines,
                                       std::string_view fileName, EKLineDateOrder eLocaleOrder,
                                       SKLineLayout* pLayout);
// The same from the start of a file as bytes.
EKLineRecognition RecognizeKLineLayout(std::string_view head, std::string_view fileName,
                                       EKLineDateOrder eLocaleOrder, SKLineLayout* pLayout);
