#pragma once

#include <string>

class CTradeJournal;

// The journal as comma-separated text: the header line
// "time,side,price,position,average,realized,account,date,file,quantity,order,costs,gross,net",
// then one row per trade. The first seven columns are those files had before the others came:
// time is the local wall clock "YYYY-MM-DD HH:MM:SS", realized the net result of the position the
// trade closed (0.00 for a trade that closed none). date is the bar's "YYYY-MM-DD" (with " HH:MM"
// for intraday bars), file the K-line file's name (quoted when it needs to be), order what made
// the trade ("Market", "Stop loss", ...); gross and net are the closed position's result before
// and after its costs, empty for a trade that closed none. Prices have the decimals of the trade's
// own file, or nPriceDecimals for a trade that does not know them (2 to 10); money has two. A
// decimal point whatever the process locale.
std::string FormatTradeJournalCsv(const CTradeJournal& journal, int nPriceDecimals = 2);

// Writes the text above to strPath atomically. False, with the reason, when it could not; the
// file that was there before is then unchanged.
bool ExportTradeJournalCsv(const CTradeJournal& journal, const std::string& strPath,
                           int nPriceDecimals, std::string* pReason);
