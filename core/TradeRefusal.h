#pragma once

#include <string>
#include <utility>

// Why a trade, an order or a setting was not accepted.
enum class ETradeRefusal
{
    None,
    NoBar,            // no bar has been shown yet: there is no close to trade at
    BadQuantity,      // not a whole number of at least one unit
    BadPrice,         // not a finite number
    QuantityTooLarge, // more units than a value exact to the cent allows at this price
    PositionLimit,    // the position would exceed the largest position the account holds
    BuyingPower,      // the position's value would exceed the account value times the leverage
    WrongSide,        // an order's price is on the wrong side of the close or of its entry
    NoPosition,       // a stop loss or take profit needs an open position
    AlreadyAttached,  // the position or entry already has an order of that kind
    UnknownOrder,     // no working order has that id, or it cannot carry what was asked
    BadStop,          // a risk stop at the entry price or on the wrong side of it
    BadRisk,          // a risk that is not above 0 and at most 100 % of a positive account
    RiskTooSmall,     // the risk does not cover the loss of a single unit at the stop
    BadSetting,       // a cost or leverage that is negative, not finite or out of range
};

// A refusal: its kind, the numbers it names, and an English sentence saying it. nMaxQuantity is
// the largest quantity allowed where a quantity was refused; dPrice the price the rule compared
// with (the close, the entry price), when there is one.
struct STradeRefusal
{
    ETradeRefusal eReason = ETradeRefusal::None;
    int nMaxQuantity = 0;
    double dPrice = 0.0;
    std::string strText;
};

// Fills *pRefusal (when given) and answers false, so checks can end with "return Refuse(...)".
inline bool Refuse(STradeRefusal* pRefusal, ETradeRefusal eReason, std::string strText,
                   int nMaxQuantity = 0, double dPrice = 0.0)
{
    if (pRefusal != nullptr)
        *pRefusal = {eReason, nMaxQuantity, dPrice, std::move(strText)};
    return false;
}
