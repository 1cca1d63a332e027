#pragma once

#include <string>

class CChartDateTimeAxis;
class CChartStandardAxis;

// How the bars of a file are labelled: prices with the decimals the file writes, dates with
// the time of day when bars carry one.

// Decimals prices are shown with, from the most a file wrote: never fewer than cents, and no
// more than ten.
int ShownPriceDecimals(int nWritten);

// strFormat with every "%.2f" conversion written with nDecimals instead.
std::string WithPriceDecimals(const std::string& strFormat, int nDecimals);

// Sets the replay chart's axes for a file: time-of-day date labels for intraday bars, a price
// increment no finer than the file's decimals, and for sub-cent prices labels with all of them
// once the increment is fine enough to need them nearly.
void FitAxesToBars(CChartDateTimeAxis* pDateAxis, CChartStandardAxis* pPriceAxis, bool bTimeOfDay,
                   int nPriceDecimals);
