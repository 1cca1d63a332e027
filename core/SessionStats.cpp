#include "core/SessionStats.h"

#include "core/TradeJournal.h"

#include <algorithm>
#include <limits>

namespace
{

void AddResults(const std::vector<STradeRecord>& vecRecords, SSessionStats* pStats)
{
    double dRSum = 0.0;
    for (const STradeRecord& record : vecRecords)
    {
        pStats->dCostsPaid += record.dCosts;
        if (!ClosesPosition(record))
            continue;
        ++pStats->nRoundTrips;
        const double dProfit = record.dRealized;
        pStats->dNetProfit += dProfit;
        pStats->dProfitBeforeCosts += record.dGross;
        if (record.dRisk > 0.0)
        {
            ++pStats->nRiskedTrips;
            dRSum += dProfit / record.dRisk;
        }
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
    if (pStats->nRiskedTrips > 0)
        pStats->dAverageR = dRSum / pStats->nRiskedTrips;
    if (pStats->nRoundTrips > 0)
        pStats->dExpectancy = pStats->dNetProfit / pStats->nRoundTrips;
}

// The worst fall in money; its percent is of the peak that fall started from, so both figures
// describe the same fall.
void AddDrawdown(const std::vector<double>& vecMarks, SSessionStats* pStats)
{
    if (vecMarks.empty())
        return;
    double dPeak = vecMarks.front();
    for (const double dValue : vecMarks)
    {
        dPeak = std::max(dPeak, dValue);
        const double dFall = dPeak - dValue;
        if (dFall <= pStats->dMaxDrawdown)
            continue;
        pStats->dMaxDrawdown = dFall;
        pStats->dMaxDrawdownPercent = dPeak > 0.0 ? dFall / dPeak * 100.0 : 0.0;
    }
}

} // namespace

SSessionStats ComputeSessionStats(const CTradeJournal& journal)
{
    SSessionStats stats;
    const std::vector<STradeRecord>& vecRecords = journal.Records();
    stats.nTrades = static_cast<int>(vecRecords.size());
    AddResults(vecRecords, &stats);
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

    // Whichever came last: a trade after the last mark paid costs the mark has not seen.
    if (!vecRecords.empty() && vecRecords.back().nMarksBefore >= journal.Marks().size())
        stats.dFinalAccount = vecRecords.back().dAccount;
    else if (!journal.Marks().empty())
        stats.dFinalAccount = journal.Marks().back();
    return stats;
}
