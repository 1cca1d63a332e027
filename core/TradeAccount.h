#pragma once

#include "core/TradeLog.h"
#include "core/TradeSide.h"

struct STradeRefusal;

// Units one trade moves, and units the position holds, at most. A billion keeps every position
// an int whatever trade comes next.
constexpr int kMaxPositionUnits = 1000000000;
// Money a trade may be worth at most: below 2^46, so amounts keep a resolution finer than a cent
// (ten trillion has steps of 0.002) through the account's sums.
constexpr double kMaxTradeValue = 1e13;

// The largest quantity one trade at dPrice may have: min(kMaxPositionUnits,
// floor(kMaxTradeValue / |dPrice|)); 0 for a price that is not finite or above kMaxTradeValue.
int MaxTradeQuantity(double dPrice);

// A trade to book: units, the price it filled at, and what it cost.
struct STradeFill
{
    ETradeSide eSide = ETradeSide::Buy;
    int nQuantity = 1;
    double dPrice = 0.0;      // the fill price, slippage included
    double dCommission = 0.0; // money
    double dSlippage = 0.0;   // money the fill price lost against the market: units x slippage
};

// What a booked trade did to the position it closed, if it closed one. A position's result
// counts all its trades: their costs, and the profit that reductions kept in its average.
struct STradeOutcome
{
    bool bClosed = false; // the trade ended a position: at 0, or crossing it
    double dNet = 0.0;    // the closed position's result, costs paid
    double dGross = 0.0;  // the same before its costs
    double dRisk = 0.0;   // what its first stop loss stood to lose, costs included; 0 without
    double dCosts = 0.0;  // commission and slippage of this trade
};

// The practice account: a signed position of whole units, its average entry price, the open
// profit at the last mark, and the account's value. Every trade and every mark of an open position
// is written to the day's trade log.
class CTradeAccount
{
public:
    // One unit at dPrice without costs or checks.
    void Buy(double dPrice);
    void Sell(double dPrice);

    // Whether a trade of nQuantity units at dPrice may be made: 1 to MaxTradeQuantity(dPrice)
    // units, a position of at most kMaxPositionUnits after it, and, unless it only reduces or
    // closes the position, a position worth at most the account value times dLeverage (both
    // marked at dPrice).
    bool CheckTrade(ETradeSide eSide, int nQuantity, double dPrice, double dLeverage,
                    STradeRefusal* pRefusal) const;
    // The largest quantity CheckTrade accepts on that side at dPrice; 0 when none.
    int MaxQuantity(ETradeSide eSide, double dPrice, double dLeverage) const;

    // Books a trade and writes its two log lines. Cash changes only when the position comes
    // back to 0, where the closed units are booked at the fill price, and by the commission,
    // paid when the trade is made. A trade that crosses 0 closes the position and opens one on
    // the other side at the same price.
    STradeOutcome Book(const STradeFill& fill);

    // Marks the open position to dPrice. Trades never re-mark; only this does.
    void SetCurrentPrice(double dPrice);

    // The value shown to the user: marked while a position is open, the cash while flat.
    double GetShownAccount() const;
    // The open profit shown to the user: 0 while flat, whatever the last mark left.
    double GetShownProfit() const;
    // The account's value marked at dPrice.
    double ValueAt(double dPrice) const;
    // The result the open position would close with if all of it filled at dFillPrice paying
    // dCommission: its trades' costs included. 0 while flat.
    double ResultIfClosedAt(double dFillPrice, double dCommission) const;

    // Writes a line of the trade log, as the account's own lines are, and keeps its health.
    void WriteLog(const std::string& strMessage);
    const STradeLogHealth& LogHealth() const { return m_logHealth; }
    // Takes the books of an account saved earlier; the log's health stays this account's own.
    void RestoreBooks(const CTradeAccount& saved);

    double m_dNoPositionAccount = 1000000.0; // value when the position last became 0, less costs
    double m_dPositionAccount = 1000000.0;   // m_dNoPositionAccount + m_dProfit at the last mark
    int m_nPosition = 0;                     // units: positive long, negative short
    double m_dCurrentPrice = 0.0;
    double m_dProfit = 0.0;   // (mark - m_dAverage) x m_nPosition at the last mark
    double m_dAverage = 0.0;  // 0 while flat; a positive price for shorts too
    int m_nPriceDecimals = 2; // decimals of prices in log lines; money keeps cents

    // The open position as one trade from its first fill to its close.
    double m_dTripCash = 1000000.0; // m_dNoPositionAccount before the position's first trade
    double m_dTripCosts = 0.0;      // costs its trades paid so far
    double m_dTripRisk = 0.0;       // set once, when a stop loss first guards it; 0 without

private:
    STradeLogHealth m_logHealth;
};
