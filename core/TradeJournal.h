#pragma once

#include "chart/ChartTradeMarker.h"
#include "core/TradeOrder.h"
#include "core/TradeSide.h"

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

class CTradeAccount;

// One trade as the account booked it. The position, average and account value are the
// account's own numbers right after the trade.
struct STradeRecord
{
    std::time_t tTime = 0; // wall clock of the trade
    double dBarDate = 0.0; // OLE date of the bar the trade was made on
    ETradeSide eSide = ETradeSide::Buy;
    double dPrice = 0.0; // the fill price, slippage included
    int nPositionBefore = 0;
    int nPosition = 0;      // position after the trade
    double dAverage = 0.0;  // average entry price after the trade, 0 while flat
    double dRealized = 0.0; // net result of the position the trade closed, costs paid; else 0
    double dAccount = 0.0;  // account value after the trade, marked at the trade's price
    int nQuantity = 1;
    ETradeOrderKind eOrder = ETradeOrderKind::Market; // what made the trade
    double dCosts = 0.0;                              // commission and slippage of this trade
    double dGross = 0.0;    // result of the position the trade closed before its costs; else 0
    double dRisk = 0.0;     // what that position's first stop loss stood to lose; 0 without one
    int nFile = -1;         // the K-line file, an index into the journal's names; -1 unknown
    int nPriceDecimals = 0; // decimals of that file's prices; 0 unknown
    std::size_t nMarksBefore = 0; // the journal's marks when the trade was recorded
};

// Whether the record ends a position: back at 0, or through it to the other side.
bool ClosesPosition(const STradeRecord& record);

// The session's trades and the account's marked value per bar, in memory. The journal copies
// the account's numbers; it never books anything itself. Everything it holds grows at the end
// only, so a caller can draw what is new since the counts it last saw.
class CTradeJournal
{
public:
    // Buys or sells one unit on the account without costs or checks, and records it.
    const STradeRecord& Trade(CTradeAccount& account, ETradeSide eSide, double dPrice,
                              double dBarDate, std::time_t tTime);
    void Append(const STradeRecord& record);

    // The marked account value after a replay step (the value shown to the user).
    void AddMark(double dAccount) { m_vecMarks.push_back(dAccount); }
    void Clear();
    // Back to the first nRecords trades and nMarks marks, as they were.
    void Truncate(std::size_t nRecords, std::size_t nMarks);

    // The index records of a K-line file carry in nFile; each name is kept once.
    int FileIndex(const std::string& strFile);
    // The name of the record's file; empty when it is not known.
    const std::string& FileName(const STradeRecord& record) const;

    const std::vector<STradeRecord>& Records() const { return m_vecRecords; }
    const std::vector<double>& Marks() const { return m_vecMarks; }
    // The trades as chart markers at their bars' dates, one per record, kept as trades come.
    const std::vector<SChartTradeMarker>& Markers() const { return m_vecMarkers; }

private:
    std::vector<STradeRecord> m_vecRecords;
    std::vector<double> m_vecMarks;
    std::vector<SChartTradeMarker> m_vecMarkers;
    std::vector<std::string> m_vecFiles;
};
