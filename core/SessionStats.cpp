#include "core/SessionStats.h"

#include "core/TradeJournal.h"

#include <algorithm>
#include <limits>

namespace
{

// Closing a long or a short, or crossing 0 in one trade, ends one round trip.
bool ClosesPosition(const STradeRecord& record)
{
    const long long nBefore = record.nPositionBefore;
    const long long nAfter = record.nPosition;
    return nBefore != 0 && nBefore * nAfter <= 0;
}

void AddProfits(const std::vector<STradeRecord>& vecRecords, SSessionStats* pStats)
{
    for (const STradeRecord& record : vecRecords)
    {
        if (ClosesPosition(record))
            ++pStats->nRoundTrips;
        const double dProfit = record.dRealized;
        if (dProfit > 0.0)
        {
            ++pStats->nWins;
            pStats->dGrossProfit += dProfit;
            pStats->dLargestWin = std::max(pStats->dLargestWin, dProfit);
        }
        else if (dProfit < 0.0)
        {
            ++pStats->nLosses;
            pStats->dGrossLoss += dProfit;
            pStats->dLargestLoss = std::min(pStats->dLargestLoss, dProfit);
        }
    }
}

void AddDrawdown(const std::vector<double>& vecMarks, SSessionStats* pStats)
{
    if (vecMarks.empty())
        return;
    double dPeak = vecMarks.front();
    for (const double dValue : vecMarks)
    {
        dPeak = std::max(dPeak, dValue);
        const double dFall = dPeak - dValue;
        pStats->dMaxDrawdown = std::max(pStats->dMaxDrawdown, dFall);
        if (dPeak > 0.0)
            pStats->dMaxDrawdownPercent =
                std::max(pStats->dMaxDrawdownPercent, dFall / dPeak * 100.0);
    }
}

} // namespace

SSessionStats ComputeSessionStats(const CTradeJournal& journal)
{
    SSessionStats stats;
    const std::vector<STradeRecord>& vecRecords = journal.Records();
    stats.nTrades = static_cast<int>(vecRecords.size());
    AddProfits(vecRecords, &stats);
    AddDrawdown(journal.Marks(), &stats);

    const int nDecided = stats.nWins + stats.nLosses;
    if (nDecided > 0)
        stats.dWinRate = static_cast<double>(stats.nWins) / nDecided;
    if (stats.nWins > 0)
        stats.dAverageWin = stats.dGrossProfit / stats.nWins;
    if (stats.nLosses > 0)
        stats.dAverageLoss = stats.dGrossLoss / stats.nLosses;
    if (stats.nLosses > 0)
        stats.dProfitFactor = stats.dGrossProfit / -stats.dGrossLoss;
    else if (stats.nWins > 0)
        stats.dProfitFactor = std::numeric_limits<double>::infinity();

    if (!journal.Marks().empty())
        stats.dFinalAccount = journal.Marks().back();
    else if (!vecRecords.empty())
        stats.dFinalAccount = vecRecords.back().dAccount;
    return stats;
}
