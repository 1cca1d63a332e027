#pragma once

#include "chart/ChartCandlestickPoint.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reading K-line files: one bar per line, "date,open,high,low,close[,anything...]".
// Commas separate fields the way strtok does (runs of commas are one separator, empty fields
// do not count); the date is the OLE date of its calendar day plus the time of day when the
// text carries one ("2017-04-25 13:00", "2017-04-25T13:00:00"). Lines end with LF,
// CRLF or a lone CR; a byte-order mark at the start is not part of the first line.

// Far above any bar; a longer line is skipped without being held in memory.
constexpr std::size_t kMaxKLineLine = std::size_t(1) << 20;

// What a read found besides the bars.
struct SKLineReadStats
{
    long m_nLines = 0;            // lines seen, blank ones included
    long m_nSkipped = 0;          // non-blank lines that are not bars
    long m_nFirstSkippedLine = 0; // 1-based, 0 when none was skipped
    long m_nOtherSeparator = 0;   // skipped lines holding ';' or a tab
    bool m_bReordered = false;    // the bars were not in date order and have been sorted
    int m_nPriceDecimals = 0;     // most digits after the point in a price of a bar
    bool m_bTimeOfDay = false;    // some bar carries a time of day other than midnight
};

// The date of a date text, by fixed positions (yyyy?mm?dd...) when characters 4 and 7 are
// separators, else by the numbers between separators (2014/1/13). A fixed-position date may be
// followed by a time of day, " hh:mm" or "Thh:mm", with ":ss" optional; a time that is not one
// leaves the bar at midnight. False when it names no valid calendar day; *pdDate is then
// untouched.
bool ParseKLineDate(std::string_view text, double* pdDate);

// A decimal price ("12", "-0.5", "1e3") filling the whole field but for surrounding blanks.
// False (and *pdPrice untouched) for anything else ("N/A", "12abc", "0x10") and for numbers
// that are not finite (nan, inf, out of range).
bool ParseKLinePrice(std::string_view text, double* pdPrice);

// One line without its line end. False when the line is not a bar: fewer than five fields,
// no valid date, or a price that is not a finite number.
bool ParseKLineLine(std::string_view line, SChartCandlestickPoint* pBar);

// A bar date as a count that grows with time: before 1899-12-30 an OLE date counts its time of
// day forward from the day's negative number (-1.25 is 06:00, after -1.0), so it is turned round.
double KLineInstant(double dDate);

// Most digits after the decimal point among the four prices of a bar line ("1.07219" has 5).
int KLinePriceDecimals(std::string_view line);

// Appends every bar of the file to *pBars, oldest first: a file out of date order is sorted
// stably by date. False with errno set when the file cannot be opened; directories and
// character devices (which never end) are refused too. A read error part-way is reported on
// standard error; the bars before it are kept.
bool ReadKLineFile(const std::string& strPath, std::vector<SChartCandlestickPoint>* pBars,
                   SKLineReadStats* pStats);

// The same from a descriptor the caller opened and closes; strPath names it in messages.
bool ReadKLineStream(int fd, const std::string& strPath, std::vector<SChartCandlestickPoint>* pBars,
                     SKLineReadStats* pStats);

// The notes on standard error about what a read skipped or reordered; nothing when all is well.
void ReportKLineRead(const std::string& strPath, const SKLineReadStats& stats, std::size_t nBars);
