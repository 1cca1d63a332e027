#pragma once

#include "core/KLineFile.h"

#include <string>

// What the loader tells the trader, in one place: why a file gave no bars, and the note on
// what a load read. The texts are English; standard error gets them as they are.

// Why the load gave no bars, in a trader's words ("the file is empty", "not a text file",
// "no line could be read as a bar (first skipped: line 3)"). Empty when the load read bars.
std::string KLineLoadFailureText(const SKLineLoad& load);

// A bar's date as the note writes it: "2021-03-01", or "2021-03-01 09:00" (with ":ss" where
// the seconds are not 0) when the file's bars carry times of day.
std::string KLineBarTimeText(double dDate, bool bTimeOfDay);

// One line on what a load read: the layout's name, the bars and the first and last bar's date
// and time, and how many lines were skipped with the first one's number. Routine skips
// (headers, rows without prices, footers) are counted without a line number.
//   "MetaTrader export, date and time columns: 65000 bars, 2010-10-07 13:00 to
//    2021-04-02 23:00; 1 line skipped (header)"
std::string KLineLoadNote(const SKLineLoad& load);
std::string KLineLoadNote(const SKLineLayout& layout, const SKLineReadStats& stats,
                          const std::vector<SChartCandlestickPoint>& vecBars);

// The note, or the reason for a load that gave no bars, on standard error after the path.
void ReportKLineLoad(const std::string& strPath, const SKLineLoad& load);
