#pragma once

#include "chart/ChartTradeMarker.h"

#include <ctime>
#include <vector>

class CTradeAccount;

enum class ETradeSide
{
    Buy,
    Sell,
};

// One trade as the account booked it. Every field after the side is the account's own number
// right after the trade.
struct STradeRecord
{
    std::time_t tTime = 0; // wall clock of the trade
    double dBarDate = 0.0; // OLE date of the bar the trade was made on
    ETradeSide eSide = ETradeSide::Buy;
    double dPrice = 0.0;
    int nPositionBefore = 0;
    int nPosition = 0;      // position after the trade
    double dAverage = 0.0;  // average entry price after the trade, 0 while flat
    double dRealized = 0.0; // cash booked by the trade: change of the flat account value
    double dAccount = 0.0;  // account value after the trade, marked at the trade's price
};

// The session's trades and the account's marked value per bar, in memory. The journal copies
// the account's numbers; it never books anything itself.
class CTradeJournal
{
public:
    // Buys or sells one unit on the account and records what the account then holds.
    const STradeRecord& Trade(CTradeAccount& account, ETradeSide eSide, double dPrice,
                              double dBarDate, std::time_t tTime);
    // The record for a trade already made: before and after are the account around it.
    static STradeRecord MakeRecord(const CTradeAccount& before, const CTradeAccount& after,
                                   ETradeSide eSide, double dPrice, double dBarDate,
                                   std::time_t tTime);
    void Append(const STradeRecord& record) { m_vecRecords.push_back(record); }

    // The marked account value after a replay step (the value shown to the user).
    void AddMark(double dAccount) { m_vecMarks.push_back(dAccount); }
    void Clear();

    const std::vector<STradeRecord>& Records() const { return m_vecRecords; }
    const std::vector<double>& Marks() const { return m_vecMarks; }
    // The trades as chart markers at their bars' dates.
    std::vector<SChartTradeMarker> Markers() const;

private:
    std::vector<STradeRecord> m_vecRecords;
    std::vector<double> m_vecMarks;
};
