#pragma once

#include "core/TradeCosts.h"

struct STradeRefusal;

// What a position of nQuantity units entered at the market price dEntry loses when it is closed
// at the market price dStop: both fills' slippage and commissions included.
double LossAtStop(ETradeSide eSide, int nQuantity, double dEntry, double dStop,
                  const STradeCosts& costs);

// The largest whole quantity whose LossAtStop is at most dRiskPercent of dAccount, and no more
// than MaxTradeQuantity allows at the entry. Refused for a stop at the entry or on its wrong side
// (a buy's stop lies below the entry, a sell's above), for a risk not above 0 and at most 100 %
// of a positive account, and when not even one unit fits the risk; *pnQuantity is then
// untouched.
bool RiskSizedQuantity(ETradeSide eSide, double dEntry, double dStop, double dRiskPercent,
                       double dAccount, const STradeCosts& costs, int nPriceDecimals,
                       int* pnQuantity, STradeRefusal* pRefusal);
