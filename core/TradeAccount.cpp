#include "core/TradeAccount.h"

#include "core/TradeLog.h"
#include "platform/StringFormat.h"

#include <cstdlib>

void CTradeAccount::Buy(double dPrice)
{
    Trade(+1, dPrice);
}

void CTradeAccount::Sell(double dPrice)
{
    Trade(-1, dPrice);
}

void CTradeAccount::Trade(int nDirection, double dPrice)
{
    const char* pszSide = nDirection > 0 ? "Buy" : "Sell";
    const int nPrice = m_nPriceDecimals;
    WriteTradeLog(StringFormat("%s %d @ %.*f", pszSide, 1, nPrice, dPrice));

    const int nBefore = m_nPosition;
    m_nPosition += nDirection;
    const int nUnitsBefore = std::abs(nBefore);
    const int nUnitsAfter = std::abs(m_nPosition);

    if (m_nPosition == 0)
    {
        // The closed unit is booked at this trade's price, not at the last mark.
        m_dNoPositionAccount += (dPrice - m_dAverage) * nBefore;
        m_dAverage = 0.0;
    }
    else if (nUnitsAfter > nUnitsBefore)
    {
        m_dAverage = (m_dAverage * nUnitsBefore + dPrice) / nUnitsAfter;
    }
    else
    {
        // Reducing without closing: this average keeps (price - average) x position unchanged at
        // the trade's price, so the profit of the unit closed stays in the account's value.
        m_dAverage = (m_dAverage * nUnitsBefore - dPrice) / nUnitsAfter;
    }

    WriteTradeLog(
        StringFormat("%s 1 @ %.*f, current position:%d, current average:%.*f, profit:%.2f, "
                     "PositionAccount:%.2f, NoPositionAccount:%.2f",
                     pszSide, nPrice, dPrice, m_nPosition, nPrice, m_dAverage, m_dProfit,
                     m_dPositionAccount, m_dNoPositionAccount));
}

void CTradeAccount::SetCurrentPrice(double dPrice)
{
    m_dCurrentPrice = dPrice;
    m_dProfit = (dPrice - m_dAverage) * m_nPosition;
    m_dPositionAccount = m_dNoPositionAccount + m_dProfit;
    if (m_nPosition != 0)
        WriteTradeLog(StringFormat("CTradeAccount::SetCurrentPrice(%.*f), Profit:%.2f, "
                                   "PositionAccount:%.2f, NoPositionAccount:%.2f",
                                   m_nPriceDecimals, dPrice, m_dProfit, m_dPositionAccount,
                                   m_dNoPositionAccount));
}

double CTradeAccount::GetShownAccount() const
{
    return m_nPosition != 0 ? m_dPositionAccount : m_dNoPositionAccount;
}

double CTradeAccount::GetShownProfit() const
{
    return m_nPosition != 0 ? m_dProfit : 0.0;
}
