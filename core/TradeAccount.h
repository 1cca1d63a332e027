#pragma once

// The practice account: a signed position of whole units, its average entry price, the open
// profit at the last mark, and the account's value. Every trade is one unit; every trade and
// every mark of an open position is written to the day's trade log.
class CTradeAccount
{
public:
    void Buy(double dPrice);
    void Sell(double dPrice);

    // Marks the open position to dPrice. Trades never re-mark; only this does.
    void SetCurrentPrice(double dPrice);

    // The value shown to the user: marked while a position is open, the cash while flat.
    double GetShownAccount() const;
    // The open profit shown to the user: 0 while flat, whatever the last mark left.
    double GetShownProfit() const;

    double m_dNoPositionAccount = 1000000.0; // value when the position last became 0
    double m_dPositionAccount = 1000000.0;   // m_dNoPositionAccount + m_dProfit at the last mark
    int m_nPosition = 0;                     // units: positive long, negative short
    double m_dCurrentPrice = 0.0;
    double m_dProfit = 0.0;   // (mark - m_dAverage) x m_nPosition at the last mark
    double m_dAverage = 0.0;  // 0 while flat; a positive price for shorts too
    int m_nPriceDecimals = 2; // decimals of prices in log lines; money keeps cents

private:
    // nDirection is +1 for a buy and -1 for a sell.
    void Trade(int nDirection, double dPrice);
};
