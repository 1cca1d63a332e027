#pragma once

#include <ctime>
#include <string>

// Appends "<local time stamp>: <message>\r\n" to the day's log, <YYYYMMDD>TradeDetails.log in the
// current directory. A line is written whole or not at all: when only part of it fits, the file
// is cut back to where it was. A line that cannot be written is also reported on standard error.
// True when the line is in the file; false with the reason in *pReason (when given) otherwise.
bool WriteTradeLog(const std::string& strMessage, std::string* pReason = nullptr);

// The same at a given moment; stamp and file name both come from it.
bool WriteTradeLog(const std::string& strMessage, std::time_t tNow, std::string* pReason = nullptr);

// While a batch lasts the day's log stays open between lines, as a fast-forward over thousands of
// bars writes thousands of them; each line still goes in whole or not at all. Batches nest.
class CTradeLogBatch
{
public:
    CTradeLogBatch();
    ~CTradeLogBatch();
    CTradeLogBatch(const CTradeLogBatch&) = delete;
    CTradeLogBatch& operator=(const CTradeLogBatch&) = delete;
};

// The log file name for a moment, e.g. "20170105TradeDetails.log".
std::string TradeLogFileName(std::time_t tNow);

// How the lines an account wrote have fared: a caller shows one message when the log first fails
// and a short note while bFailing lasts.
struct STradeLogHealth
{
    bool bFailing = false; // the last line could not be written
    int nLinesLost = 0;    // lines not written so far
    std::string strReason; // why the last lost line was lost
};
