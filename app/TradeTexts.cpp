#include "app/TradeTexts.h"

#include "app/Resources.h"
#include "core/TradeRefusal.h"

#include <cmath>

QString OrderKindText(ETradeOrderKind eKind, ETradeSide eSide)
{
    if (eKind == ETradeOrderKind::Market)
        return AppQText(IDS_ORDER_KIND_FIRST + (eSide == ETradeSide::Sell ? 1 : 0));
    return AppQText(IDS_ORDER_KIND_FIRST + 1 + static_cast<unsigned>(eKind));
}

std::string RefusalText(const STradeRefusal& refusal, int nDecimals)
{
    if (refusal.eReason == ETradeRefusal::None)
        return refusal.strText;
    const unsigned nId = IDS_REFUSED_FIRST + static_cast<unsigned>(refusal.eReason) - 1;
    const std::string strPrice = StringFormat("%.*f", nDecimals, refusal.dPrice);
    // Each text takes what it names: the largest quantity, or the price compared with.
    const std::string strFormat = AppText(nId);
    if (strFormat.find("%d") != std::string::npos)
        return StringFormat(strFormat.c_str(), refusal.nMaxQuantity);
    if (strFormat.find("%s") != std::string::npos)
        return StringFormat(strFormat.c_str(), strPrice.c_str());
    return StringFormat(strFormat.c_str(), 0);
}

bool ParseNumber(const QString& strText, double* pdValue)
{
    bool bNumber = false;
    const double dValue = strText.trimmed().toDouble(&bNumber);
    if (!bNumber || !std::isfinite(dValue))
        return false;
    *pdValue = dValue;
    return true;
}
