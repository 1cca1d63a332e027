#pragma once

class CTradeJournal;

// Figures of a practice session, from its trades and the marked account value per bar. A
// position is one trade from its first fill to its close: only the trade that closes it (at 0 or
// through it) wins or loses, with the net result of the whole position, costs paid.
struct SSessionStats
{
    int nTrades = 0;           // trades recorded
    int nRoundTrips = 0;       // positions closed: a trade ending at 0 or crossing it
    int nWins = 0;             // closed positions whose net result is > 0
    int nLosses = 0;           // closed positions whose net result is < 0
    double dWinRate = 0.0;     // wins / (wins + losses), 0 to 1; 0 without either
    double dAverageWin = 0.0;  // gross profit / wins; 0 without wins
    double dAverageLoss = 0.0; // gross loss / losses (a negative amount); 0 without losses
    double dGrossProfit = 0.0; // sum of the net results > 0
    double dGrossLoss = 0.0;   // sum of the net results < 0 (negative or 0)
    // gross profit / -gross loss; +infinity with wins and no losses; 0 without wins
    double dProfitFactor = 0.0;
    double dLargestWin = 0.0;  // largest net result > 0; 0 without wins
    double dLargestLoss = 0.0; // most negative net result; 0 without losses
    // Largest fall of the marked value below its running peak, and that fall as a percent of
    // the peak it fell from (0 when that peak is not above 0).
    double dMaxDrawdown = 0.0;
    double dMaxDrawdownPercent = 0.0;
    double dFinalAccount = 0.0; // the last mark or the account after a later trade; else 0

    double dCostsPaid = 0.0;         // commission and slippage of every trade, open ones too
    double dProfitBeforeCosts = 0.0; // closed positions' results before their costs
    double dNetProfit = 0.0;         // closed positions' results after their costs
    double dExpectancy = 0.0;        // net profit per closed position; 0 without one
    // Closed positions that had a stop loss, and their mean R: net result / what the first stop
    // loss stood to lose (-1 is a loss of exactly the risk taken). 0 without such positions.
    int nRiskedTrips = 0;
    double dAverageR = 0.0;
};

SSessionStats ComputeSessionStats(const CTradeJournal& journal);
