#include "core/TradeOrder.h"

#include "core/TradeRefusal.h"
#include "platform/StringFormat.h"

#include <algorithm>
#include <cctype>

const char* OrderKindName(ETradeOrderKind eKind)
{
    switch (eKind)
    {
    case ETradeOrderKind::Market:
        return "Market";
    case ETradeOrderKind::BuyLimit:
        return "Buy limit";
    case ETradeOrderKind::BuyStop:
        return "Buy stop";
    case ETradeOrderKind::SellLimit:
        return "Sell limit";
    case ETradeOrderKind::SellStop:
        return "Sell stop";
    case ETradeOrderKind::StopLoss:
        return "Stop loss";
    case ETradeOrderKind::TakeProfit:
        return "Take profit";
    }
    return "Order";
}

bool IsEntryOrder(ETradeOrderKind eKind)
{
    return eKind == ETradeOrderKind::BuyLimit || eKind == ETradeOrderKind::BuyStop ||
           eKind == ETradeOrderKind::SellLimit || eKind == ETradeOrderKind::SellStop;
}

ETradeSide EntrySide(ETradeOrderKind eKind)
{
    return eKind == ETradeOrderKind::BuyLimit || eKind == ETradeOrderKind::BuyStop
               ? ETradeSide::Buy
               : ETradeSide::Sell;
}

bool FillsFromBelow(const STradeOrder& order)
{
    // Stops buy above and sell below the market; limits the other way round.
    const bool bStop = order.eKind == ETradeOrderKind::BuyStop ||
                       order.eKind == ETradeOrderKind::SellStop ||
                       order.eKind == ETradeOrderKind::StopLoss;
    return (order.eSide == ETradeSide::Buy) == bStop;
}

bool OrderFillPrice(const STradeOrder& order, double dStart, double dLow, double dHigh,
                    double* pdPrice)
{
    const double dLowest = std::min(dLow, dStart);
    const double dHighest = std::max(dHigh, dStart);
    if (FillsFromBelow(order))
    {
        if (dHighest < order.dPrice)
            return false;
        *pdPrice = std::max(dStart, order.dPrice);
        return true;
    }
    if (dLowest > order.dPrice)
        return false;
    *pdPrice = std::min(dStart, order.dPrice);
    return true;
}

bool CheckOrderSide(const STradeOrder& order, double dReference, const char* pszReference,
                    int nPriceDecimals, STradeRefusal* pRefusal)
{
    const bool bAbove = FillsFromBelow(order);
    if (bAbove ? order.dPrice > dReference : order.dPrice < dReference)
        return true;
    std::string strWhat = std::string("a ") + OrderKindName(order.eKind);
    strWhat[2] = static_cast<char>(std::tolower(static_cast<unsigned char>(strWhat[2])));
    if (order.eKind == ETradeOrderKind::StopLoss || order.eKind == ETradeOrderKind::TakeProfit)
        strWhat += order.eSide == ETradeSide::Sell ? " of a long position" : " of a short position";
    return Refuse(pRefusal, ETradeRefusal::WrongSide,
                  StringFormat("%s must be %s %s: %.*f is not %s %.*f", strWhat.c_str(),
                               bAbove ? "above" : "below", pszReference, nPriceDecimals,
                               order.dPrice, bAbove ? "above" : "below", nPriceDecimals,
                               dReference),
                  0, dReference);
}
