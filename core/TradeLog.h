#pragma once

#include <ctime>
#include <string>

// Appends "<local time stamp>: <message>\r\n" to the day's log, <YYYYMMDD>TradeDetails.log in the
// current directory. A line that cannot be written is reported on standard error; the caller
// goes on either way.
void WriteTradeLog(const std::string& strMessage);

// The same at a given moment; stamp and file name both come from it.
void WriteTradeLog(const std::string& strMessage, std::time_t tNow);

// The log file name for a moment, e.g. "20170105TradeDetails.log".
std::string TradeLogFileName(std::time_t tNow);
