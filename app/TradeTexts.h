#pragma once

#include "core/TradeOrder.h"

#include <QString>

#include <string>

struct STradeRefusal;

// The words of trading in the program's language.

// "限价买入" / "Buy limit"; a market order is named by its side.
QString OrderKindText(ETradeOrderKind eKind, ETradeSide eSide = ETradeSide::Buy);
// Why a trade or an order was refused, with the numbers the refusal names; prices in nDecimals.
std::string RefusalText(const STradeRefusal& refusal, int nDecimals);
// A number as typed (a price, seconds, a percentage): a finite decimal number filling the text but
// for blanks. False for anything else, *pdValue untouched.
bool ParseNumber(const QString& strText, double* pdValue);
