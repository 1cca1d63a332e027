#pragma once

#include "core/TradeSide.h"

struct STradeRefusal;

enum class ECommissionKind
{
    PerTrade,       // dCommission money per trade, whatever its size
    PerUnit,        // dCommission money per unit traded
    PercentOfValue, // dCommission percent of the traded value (fill price x units)
};

// What every fill costs the trader. Zero costs change nothing: prices, the account and the log
// lines are those of a trade without costs.
struct STradeCosts
{
    ECommissionKind eCommission = ECommissionKind::PerTrade;
    double dCommission = 0.0;
    // Price units every fill loses: buys fill this much higher, sells this much lower (slippage,
    // or half a bid-ask spread).
    double dSlippage = 0.0;
};

struct STradeSettings
{
    // A position may be worth the account value times this: 1 for shares, 30 or 100 for forex.
    double dLeverage = 1.0;
    STradeCosts costs;
};

// The price a trade at dMarketPrice fills at.
double FillPrice(const STradeCosts& costs, ETradeSide eSide, double dMarketPrice);

// The commission of a trade of nQuantity units filled at dFillPrice.
double Commission(const STradeCosts& costs, int nQuantity, double dFillPrice);

// Costs and leverage must be finite, costs not negative, a percentage below 100 and the leverage
// from 1 to 1000.
bool CheckTradeSettings(const STradeSettings& settings, STradeRefusal* pRefusal);
