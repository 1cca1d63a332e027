#pragma once

#include "core/TradeSide.h"

#include <string>

struct STradeRefusal;

enum class ETradeOrderKind
{
    Market,     // a trade at the close, made at once
    BuyLimit,   // buys when the price comes down to it: placed below the close
    BuyStop,    // buys when the price rises to it: above the close
    SellLimit,  // sells when the price rises to it: above the close
    SellStop,   // sells when the price comes down to it: below the close
    StopLoss,   // closes the position at a loss: below the close for a long, above for a short
    TakeProfit, // closes the position at a profit: above the close for a long, below for a short
};

// An order that waits for the price. Stop loss and take profit close the whole position: they
// hold its size and are one-cancels-the-other.
struct STradeOrder
{
    int nId = 0; // stable while the order works; never reused by the same session
    ETradeOrderKind eKind = ETradeOrderKind::BuyLimit;
    ETradeSide eSide = ETradeSide::Buy; // the side its fill trades
    int nQuantity = 0;
    double dPrice = 0.0;
    // Stop loss and take profit: the id of the entry order whose fill starts them, or 0 while
    // they guard the open position. Entries: 0.
    int nAttachedTo = 0;
};

// "Market", "Buy limit", "Buy stop", "Sell limit", "Sell stop", "Stop loss", "Take profit".
const char* OrderKindName(ETradeOrderKind eKind);

bool IsEntryOrder(ETradeOrderKind eKind);

// The side an entry order trades.
ETradeSide EntrySide(ETradeOrderKind eKind);

// Whether the order fills when the price reaches it from below (buy stops, sell limits, a short's
// stop loss, a long's take profit), rather than from above.
bool FillsFromBelow(const STradeOrder& order);

// The market price the order fills at on a stretch of a bar that starts at dStart and trades
// from dLow to dHigh: its own price, or dStart when that is already beyond it (a gap fills at
// the open, never better than the market was). False, *pdPrice untouched, when it is not reached.
bool OrderFillPrice(const STradeOrder& order, double dStart, double dLow, double dHigh,
                    double* pdPrice);

// An order may only be placed where it does not fill at once: an order filling from below must
// lie above dReference (the close, or the price of the entry it is attached to), one filling
// from above below it. pszReference names it in the reason: "the close", "its entry".
bool CheckOrderSide(const STradeOrder& order, double dReference, const char* pszReference,
                    int nPriceDecimals, STradeRefusal* pRefusal);
