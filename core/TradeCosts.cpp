#include "core/TradeCosts.h"

#include "core/TradeRefusal.h"

#include <cmath>

double FillPrice(const STradeCosts& costs, ETradeSide eSide, double dMarketPrice)
{
    return dMarketPrice + SideSign(eSide) * costs.dSlippage;
}

double Commission(const STradeCosts& costs, int nQuantity, double dFillPrice)
{
    switch (costs.eCommission)
    {
    case ECommissionKind::PerTrade:
        return costs.dCommission;
    case ECommissionKind::PerUnit:
        return costs.dCommission * nQuantity;
    case ECommissionKind::PercentOfValue:
        return costs.dCommission / 100.0 * nQuantity * std::fabs(dFillPrice);
    }
    return 0.0;
}

bool CheckTradeSettings(const STradeSettings& settings, STradeRefusal* pRefusal)
{
    const STradeCosts& costs = settings.costs;
    if (!(settings.dLeverage >= 1.0 && settings.dLeverage <= 1000.0))
        return Refuse(pRefusal, ETradeRefusal::BadSetting, "the leverage must be from 1 to 1000");
    if (!(costs.dCommission >= 0.0 && std::isfinite(costs.dCommission)))
        return Refuse(pRefusal, ETradeRefusal::BadSetting,
                      "the commission must be a number of at least 0");
    if (costs.eCommission == ECommissionKind::PercentOfValue && costs.dCommission >= 100.0)
        return Refuse(pRefusal, ETradeRefusal::BadSetting,
                      "a commission in percent must be below 100");
    if (!(costs.dSlippage >= 0.0 && std::isfinite(costs.dSlippage)))
        return Refuse(pRefusal, ETradeRefusal::BadSetting,
                      "the slippage must be a number of at least 0");
    return true;
}
