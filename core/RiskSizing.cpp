#include "core/RiskSizing.h"

#include "core/TradeAccount.h"
#include "core/TradeRefusal.h"
#include "platform/StringFormat.h"

#include <cmath>

double LossAtStop(ETradeSide eSide, int nQuantity, double dEntry, double dStop,
                  const STradeCosts& costs)
{
    const double dEntryFill = FillPrice(costs, eSide, dEntry);
    const double dStopFill = FillPrice(costs, OppositeSide(eSide), dStop);
    return (dEntryFill - dStopFill) * SideSign(eSide) * nQuantity +
           Commission(costs, nQuantity, dEntryFill) + Commission(costs, nQuantity, dStopFill);
}

bool RiskSizedQuantity(ETradeSide eSide, double dEntry, double dStop, double dRiskPercent,
                       double dAccount, const STradeCosts& costs, int nPriceDecimals,
                       int* pnQuantity, STradeRefusal* pRefusal)
{
    if (!std::isfinite(dEntry) || !std::isfinite(dStop))
        return Refuse(pRefusal, ETradeRefusal::BadPrice, "the price is not a finite number");
    const bool bBuy = eSide == ETradeSide::Buy;
    if (dStop == dEntry || (dStop > dEntry) == bBuy)
        return Refuse(pRefusal, ETradeRefusal::BadStop,
                      StringFormat("the stop of a %s must lie %s its entry: %.*f is not %s %.*f",
                                   bBuy ? "buy" : "sell", bBuy ? "below" : "above", nPriceDecimals,
                                   dStop, bBuy ? "below" : "above", nPriceDecimals, dEntry),
                      0, dEntry);
    if (!(dRiskPercent > 0.0 && dRiskPercent <= 100.0) || !(dAccount > 0.0) ||
        !std::isfinite(dAccount))
        return Refuse(pRefusal, ETradeRefusal::BadRisk,
                      "the risk must be above 0 and at most 100 % of an account above 0");

    // The loss is a fixed part plus a part per unit; solve, then settle the rounding on the
    // loss itself.
    const double dBudget = dAccount * dRiskPercent / 100.0;
    const double dFixed = LossAtStop(eSide, 0, dEntry, dStop, costs);
    const double dPerUnit = LossAtStop(eSide, 1, dEntry, dStop, costs) - dFixed;
    const int nLimit = MaxTradeQuantity(FillPrice(costs, eSide, dEntry));
    const double dGuess = std::floor((dBudget - dFixed) / dPerUnit);
    long long nQuantity = dGuess < 0.0      ? 0
                          : dGuess > nLimit ? nLimit
                                            : static_cast<long long>(dGuess);
    while (nQuantity > 0 &&
           LossAtStop(eSide, static_cast<int>(nQuantity), dEntry, dStop, costs) > dBudget)
        --nQuantity;
    while (nQuantity < nLimit &&
           LossAtStop(eSide, static_cast<int>(nQuantity + 1), dEntry, dStop, costs) <= dBudget)
        ++nQuantity;
    if (nQuantity < 1)
        return Refuse(pRefusal, ETradeRefusal::RiskTooSmall,
                      StringFormat("one unit loses %.2f at the stop, more than %g %% of the "
                                   "account (%.2f)",
                                   LossAtStop(eSide, 1, dEntry, dStop, costs), dRiskPercent,
                                   dBudget),
                      0, dEntry);
    *pnQuantity = static_cast<int>(nQuantity);
    return true;
}
