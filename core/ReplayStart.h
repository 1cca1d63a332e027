#pragma once

#include "chart/ChartCandlestickPoint.h"

#include <random>
#include <string>
#include <vector>

class CKLinePlayer;

// Where a practice starts, as the replay cursor: the number of bars revealed, so the start's
// newest bar is bar cursor - 1. A start is never fewer than N bars in, nor past the last bar; a
// file of fewer than N bars starts at its end.

// The start whose newest bar is the last bar on or before strDate ("YYYY-MM-DD"). False, with
// *pCursor untouched, for an empty file or a text that is not such a date.
bool ReplayStartForDate(const std::vector<SChartCandlestickPoint>& vecBars, int nWindowBars,
                        const std::string& strDate, int* pCursor);

// How many bars lie on or before strDate ("YYYY-MM-DD"). False, with *pnBars untouched, for a
// text that is not such a date.
bool BarsOnOrBeforeDate(const std::vector<SChartCandlestickPoint>& vecBars,
                        const std::string& strDate, int* pnBars);

// A random start with at least N bars revealed and a fifth of the file (rounded up) still to
// come. A file too short for both starts at the N-th bar; one of fewer than N bars answers false.
bool RandomReplayStart(const std::vector<SChartCandlestickPoint>& vecBars, int nWindowBars,
                       std::mt19937& generator, int* pCursor);

// Puts a loaded player just before a start, so its next Step shows the window ending at bar
// nCursor - 1 and returns nCursor. N is the replay setting, as Step reads it. Draws nothing.
void SeekReplayStart(CKLinePlayer& player, int nCursor);
