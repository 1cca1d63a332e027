#pragma once

#include <string>

class CTradeJournal;

// The journal as comma-separated text: the header line
// "time,side,price,position,average,realized,account", then one row per trade. Times are local
// "YYYY-MM-DD HH:MM:SS", prices have nPriceDecimals decimals (2 to 6, the precision of the K-line
// file), money two; a decimal point whatever the process locale.
std::string FormatTradeJournalCsv(const CTradeJournal& journal, int nPriceDecimals);

// Writes the text above to strPath atomically. False, with the reason, when it could not; the
// file that was there before is then unchanged.
bool ExportTradeJournalCsv(const CTradeJournal& journal, const std::string& strPath,
                           int nPriceDecimals, std::string* pReason);
