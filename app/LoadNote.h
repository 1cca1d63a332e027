// What a load read, in the program's language: the words of the loader's English note on
// standard error, from the string tables.
#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "core/KLineFile.h"

#include <string>
#include <vector>

class CKLinePlayer;

// The layout's name ("MetaTrader 导出，日期和时间两列").
std::string LayoutNameText(const SKLineLayout& layout);

// The layout, the bars with the first and last bar's date and time, the lines skipped with the
// first faulty one's number, and whether the file was turned round.
std::string LoadNoteText(const SKLineLayout& layout, const SKLineReadStats& stats,
                         const std::vector<SChartCandlestickPoint>& vecBars);
// The note on the file the player read last; empty before any load.
std::string LoadNoteText(const CKLinePlayer& player);
