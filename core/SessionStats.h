#pragma once

class CTradeJournal;

// Figures of a practice session, from its trades and the marked account value per bar. The
// account books cash only when a position comes back to 0, so only closing trades win or lose.
struct SSessionStats
{
    int nTrades = 0;           // trades recorded
    int nRoundTrips = 0;       // positions closed: a trade ending at 0 or crossing it
    int nWins = 0;             // trades whose realized profit is > 0
    int nLosses = 0;           // trades whose realized profit is < 0
    double dWinRate = 0.0;     // wins / (wins + losses), 0 to 1; 0 without either
    double dAverageWin = 0.0;  // gross profit / wins; 0 without wins
    double dAverageLoss = 0.0; // gross loss / losses (a negative amount); 0 without losses
    double dGrossProfit = 0.0; // sum of the realized profits > 0
    double dGrossLoss = 0.0;   // sum of the realized profits < 0 (negative or 0)
    // gross profit / -gross loss; +infinity with wins and no losses; 0 without wins
    double dProfitFactor = 0.0;
    double dLargestWin = 0.0;         // largest realized profit > 0; 0 without wins
    double dLargestLoss = 0.0;        // most negative realized profit; 0 without losses
    double dMaxDrawdown = 0.0;        // largest fall of the marked value below its running peak
    double dMaxDrawdownPercent = 0.0; // largest such fall as a percent of that peak (peaks > 0)
    double dFinalAccount = 0.0;       // last mark; without marks the last trade's account; else 0
};

SSessionStats ComputeSessionStats(const CTradeJournal& journal);
