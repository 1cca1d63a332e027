#pragma once

#include <string>

class CTradeJournal;

// The journal as comma-separated text: the header line
// "time,date,file,side,order,quantity,price,position,average,costs,gross,net,account", then one
// row per trade. time is the local wall clock "YYYY-MM-DD HH:MM:SS", date the bar's
// "YYYY-MM-DD" (with " HH:MM" for intraday bars), file the K-line file's name (quoted when it
// needs to be), order what made the trade ("Market", "Stop loss", ...). Prices have the decimals
// of the trade's own file, or nPriceDecimals for a trade that does not know them (2 to 6);
// money has two. gross and net are the result of the position the trade closed, empty for a
// trade that closed none. A decimal point whatever the process locale.
std::string FormatTradeJournalCsv(const CTradeJournal& journal, int nPriceDecimals = 2);

// Writes the text above to strPath atomically. False, with the reason, when it could not; the
// file that was there before is then unchanged.
bool ExportTradeJournalCsv(const CTradeJournal& journal, const std::string& strPath,
                           int nPriceDecimals, std::string* pReason);
