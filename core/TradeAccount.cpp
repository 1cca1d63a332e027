#include "core/TradeAccount.h"

#include "core/TradeRefusal.h"
#include "platform/StringFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace
{

// The most units, up to kMaxPositionUnits, whose value at dPrice stays within dBudget.
int UnitsWithin(double dBudget, double dPrice)
{
    const double dUnit = std::fabs(dPrice);
    if (!(dBudget >= 0.0))
        return 0;
    if (dUnit * kMaxPositionUnits <= dBudget)
        return kMaxPositionUnits;
    long long nUnits = static_cast<long long>(std::floor(dBudget / dUnit));
    // The division may round either way; the product is what the checks compare.
    while (nUnits > 0 && nUnits * dUnit > dBudget)
        --nUnits;
    while (nUnits < kMaxPositionUnits && (nUnits + 1) * dUnit <= dBudget)
        ++nUnits;
    return static_cast<int>(nUnits);
}

std::string Units(long long nUnits)
{
    return StringFormat(nUnits == 1 ? "%lld unit" : "%lld units", nUnits);
}

} // namespace

int MaxTradeQuantity(double dPrice)
{
    if (!std::isfinite(dPrice))
        return 0;
    return UnitsWithin(kMaxTradeValue, dPrice);
}

void CTradeAccount::Buy(double dPrice)
{
    Book({ETradeSide::Buy, 1, dPrice, 0.0, 0.0});
}

void CTradeAccount::Sell(double dPrice)
{
    Book({ETradeSide::Sell, 1, dPrice, 0.0, 0.0});
}

bool CTradeAccount::CheckTrade(ETradeSide eSide, int nQuantity, double dPrice, double dLeverage,
                               STradeRefusal* pRefusal) const
{
    const int nMax = MaxQuantity(eSide, dPrice, dLeverage);
    if (nQuantity < 1)
        return Refuse(pRefusal, ETradeRefusal::BadQuantity,
                      "the quantity must be a whole number of at least 1", nMax);
    if (!std::isfinite(dPrice))
        return Refuse(pRefusal, ETradeRefusal::BadPrice, "the price is not a finite number");
    const int nTradeMax = MaxTradeQuantity(dPrice);
    if (nQuantity > nTradeMax)
        return Refuse(pRefusal, ETradeRefusal::QuantityTooLarge,
                      StringFormat("at most %s can be traded at %.*f", Units(nTradeMax).c_str(),
                                   m_nPriceDecimals, dPrice),
                      nMax, dPrice);
    const long long nAfter = m_nPosition + static_cast<long long>(SideSign(eSide)) * nQuantity;
    if (std::llabs(nAfter) > kMaxPositionUnits)
        return Refuse(pRefusal, ETradeRefusal::PositionLimit,
                      StringFormat("a position holds at most %s; at most %s more can be "
                                   "traded this way",
                                   Units(kMaxPositionUnits).c_str(), Units(nMax).c_str()),
                      nMax, dPrice);
    // Reducing or closing frees buying power; it is never refused for it. Crossing 0 opens a
    // position on the other side, which is checked.
    const bool bReduces = m_nPosition != 0 && (nAfter == 0 || (nAfter > 0) == (m_nPosition > 0)) &&
                          std::llabs(nAfter) < std::abs(m_nPosition);
    if (bReduces)
        return true;
    if (nQuantity > nMax)
        return Refuse(pRefusal, ETradeRefusal::BuyingPower,
                      StringFormat("a position of %s at %.*f is worth more than the account "
                                   "value %.2f times the leverage %g; at most %s can be traded",
                                   Units(std::llabs(nAfter)).c_str(), m_nPriceDecimals, dPrice,
                                   ValueAt(dPrice), dLeverage, Units(nMax).c_str()),
                      nMax, dPrice);
    return true;
}

int CTradeAccount::MaxQuantity(ETradeSide eSide, double dPrice, double dLeverage) const
{
    if (!std::isfinite(dPrice))
        return 0;
    const int nHeld = std::abs(m_nPosition);
    const bool bSameSide = m_nPosition == 0 || (m_nPosition > 0) == (eSide == ETradeSide::Buy);
    const int nAllowed = UnitsWithin(ValueAt(dPrice) * dLeverage, dPrice);
    // Units that close the position come first; a position allowed on the other side follows.
    const long long nMax =
        bSameSide ? std::max(0, nAllowed - nHeld) : static_cast<long long>(nHeld) + nAllowed;
    return static_cast<int>(std::min<long long>(nMax, MaxTradeQuantity(dPrice)));
}

STradeOutcome CTradeAccount::Book(const STradeFill& fill)
{
    const char* pszSide = SideName(fill.eSide);
    const int nPrice = m_nPriceDecimals;
    const double dPrice = fill.dPrice;
    const int nQuantity = fill.nQuantity;
    WriteLog(StringFormat("%s %d @ %.*f", pszSide, nQuantity, nPrice, dPrice));

    STradeOutcome outcome;
    outcome.dCosts = fill.dCommission + fill.dSlippage;
    const int nBefore = m_nPosition;
    m_nPosition += SideSign(fill.eSide) * nQuantity;
    const int nUnitsBefore = std::abs(nBefore);
    const int nUnitsAfter = std::abs(m_nPosition);
    if (nBefore == 0)
    {
        m_dTripCash = m_dNoPositionAccount;
        m_dTripCosts = 0.0;
        m_dTripRisk = 0.0;
    }

    if (nBefore == 0 || (nBefore > 0) == (m_nPosition > nBefore))
    {
        m_dAverage = (m_dAverage * nUnitsBefore + dPrice * nQuantity) / nUnitsAfter;
        m_dNoPositionAccount -= fill.dCommission;
        m_dTripCosts += outcome.dCosts;
    }
    else if (nUnitsAfter != 0 && (nBefore > 0) == (m_nPosition > 0))
    {
        // Reducing without closing: this average keeps (price - average) x position unchanged at
        // the trade's price, so the profit of the units closed stays in the account's value.
        m_dAverage = (m_dAverage * nUnitsBefore - dPrice * nQuantity) / nUnitsAfter;
        m_dNoPositionAccount -= fill.dCommission;
        m_dTripCosts += outcome.dCosts;
    }
    else
    {
        // Back to 0 or through it: the closed units are booked at this trade's price, not at the
        // last mark, and carry their share of the trade's costs.
        const double dClosedShare = static_cast<double>(nUnitsBefore) / nQuantity;
        m_dNoPositionAccount += (dPrice - m_dAverage) * nBefore - fill.dCommission * dClosedShare;
        m_dTripCosts += outcome.dCosts * dClosedShare;
        outcome.bClosed = true;
        outcome.dNet = m_dNoPositionAccount - m_dTripCash;
        outcome.dGross = outcome.dNet + m_dTripCosts;
        outcome.dRisk = m_dTripRisk;
        m_dAverage = 0.0;
        if (m_nPosition != 0)
        {
            m_dTripCash = m_dNoPositionAccount;
            m_dTripCosts = outcome.dCosts * (1.0 - dClosedShare);
            m_dTripRisk = 0.0;
            m_dNoPositionAccount -= fill.dCommission * (1.0 - dClosedShare);
            m_dAverage = dPrice;
        }
    }

    std::string strState =
        StringFormat("%s %d @ %.*f, current position:%d, current average:%.*f, profit:%.2f, "
                     "PositionAccount:%.2f, NoPositionAccount:%.2f",
                     pszSide, nQuantity, nPrice, dPrice, m_nPosition, nPrice, m_dAverage, m_dProfit,
                     m_dPositionAccount, m_dNoPositionAccount);
    if (fill.dCommission != 0.0)
        strState += StringFormat(", commission:%.2f", fill.dCommission);
    if (fill.dSlippage != 0.0)
        strState += StringFormat(", slippage:%.2f", fill.dSlippage);
    WriteLog(strState);
    return outcome;
}

void CTradeAccount::SetCurrentPrice(double dPrice)
{
    m_dCurrentPrice = dPrice;
    m_dProfit = (dPrice - m_dAverage) * m_nPosition;
    m_dPositionAccount = m_dNoPositionAccount + m_dProfit;
    if (m_nPosition != 0)
        WriteLog(StringFormat("CTradeAccount::SetCurrentPrice(%.*f), Profit:%.2f, "
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

double CTradeAccount::ValueAt(double dPrice) const
{
    return m_dNoPositionAccount + (m_nPosition != 0 ? (dPrice - m_dAverage) * m_nPosition : 0.0);
}

double CTradeAccount::ResultIfClosedAt(double dFillPrice, double dCommission) const
{
    if (m_nPosition == 0)
        return 0.0;
    return ValueAt(dFillPrice) - dCommission - m_dTripCash;
}

void CTradeAccount::RestoreBooks(const CTradeAccount& saved)
{
    STradeLogHealth health = std::move(m_logHealth);
    *this = saved;
    m_logHealth = std::move(health);
}

void CTradeAccount::WriteLog(const std::string& strMessage)
{
    std::string strReason;
    m_logHealth.bFailing = !WriteTradeLog(strMessage, &strReason);
    if (!m_logHealth.bFailing)
        return;
    ++m_logHealth.nLinesLost;
    m_logHealth.strReason = std::move(strReason);
}
