#pragma once

#include "chart/ChartCandlestickPoint.h"

#include <string>
#include <string_view>
#include <vector>

// Reading K-line files: one bar per line, "date,open,high,low,close[,anything...]".
// Commas separate fields the way strtok does (runs of commas are one separator, empty fields
// do not count); the date is the OLE date of midnight of its calendar day.

// What a read found besides the bars.
struct SKLineReadStats
{
    long m_nLines = 0;            // lines seen, blank ones included
    long m_nSkipped = 0;          // non-blank lines that are not bars
    long m_nFirstSkippedLine = 0; // 1-based, 0 when none was skipped
};

// The date of a date text, by fixed positions (yyyy?mm?dd...) when characters 4 and 7 are
// separators, else by the numbers between separators (2014/1/13). False when it names no
// valid calendar day; *pdDate is then untouched.
bool ParseKLineDate(std::string_view text, double* pdDate);

// A price as atof reads it: leading blanks, the longest numeric prefix, 0 for no number.
// False (and *pdPrice untouched) when the number is not finite (nan, inf, out of range).
bool ParseKLinePrice(std::string_view text, double* pdPrice);

// One line without its line end. False when the line is not a bar: fewer than five fields,
// no valid date, or a price that is not a finite number.
bool ParseKLineLine(std::string_view line, SChartCandlestickPoint* pBar);

// Appends every bar of the file to *pBars, in file order, reading lines of any length.
// False with errno set when the file cannot be opened (a directory cannot be opened either).
// A read error part-way is reported on standard error; the bars before it are kept.
bool ReadKLineFile(const std::string& strPath, std::vector<SChartCandlestickPoint>* pBars,
                   SKLineReadStats* pStats);
