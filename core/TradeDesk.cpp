#include "core/TradeDesk.h"

#include "core/RiskSizing.h"
#include "platform/StringFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace
{

bool IsGuard(ETradeOrderKind eKind)
{
    return eKind == ETradeOrderKind::StopLoss || eKind == ETradeOrderKind::TakeProfit;
}

bool GuardsPosition(const STradeOrder& order)
{
    return IsGuard(order.eKind) && order.nAttachedTo == 0;
}

} // namespace

bool CTradeDesk::SetSettings(const STradeSettings& settings, STradeRefusal* pRefusal)
{
    if (!CheckTradeSettings(settings, pRefusal))
        return false;
    m_settings = settings;
    return true;
}

void CTradeDesk::SetInstrument(const std::string& strFile, int nPriceDecimals)
{
    m_vecOrders.clear();
    m_nFile = m_journal.FileIndex(strFile);
    m_account.m_nPriceDecimals = nPriceDecimals;
    m_bHasBar = false;
}

int CTradeDesk::EvaluateBar(const SChartCandlestickPoint& bar)
{
    m_vecFills.clear();
    m_bar = bar;
    m_bHasBar = true;
    if (m_vecOrders.empty())
        return 0;
    const double dLow = std::min({bar.dLow, bar.dHigh, bar.dOpen, bar.dClose});
    const double dHigh = std::max({bar.dLow, bar.dHigh, bar.dOpen, bar.dClose});

    // 1. The position's guards; the stop loss wins a bar that reaches both.
    const int nStop = FindAttached(0, ETradeOrderKind::StopLoss);
    const int nTake = FindAttached(0, ETradeOrderKind::TakeProfit);
    double dPrice = 0.0;
    if (nStop >= 0 &&
        OrderFillPrice(m_vecOrders[static_cast<size_t>(nStop)], bar.dOpen, dLow, dHigh, &dPrice))
        FillOrder(m_vecOrders[static_cast<size_t>(nStop)], std::abs(m_account.m_nPosition), dPrice);
    else if (nTake >= 0 && OrderFillPrice(m_vecOrders[static_cast<size_t>(nTake)], bar.dOpen, dLow,
                                          dHigh, &dPrice))
        FillOrder(m_vecOrders[static_cast<size_t>(nTake)], std::abs(m_account.m_nPosition), dPrice);

    // 2. Entries, nearest the open first, as the price would have met them.
    m_vecDue.clear();
    for (const STradeOrder& order : m_vecOrders)
        if (IsEntryOrder(order.eKind) && OrderFillPrice(order, bar.dOpen, dLow, dHigh, &dPrice))
            m_vecDue.emplace_back(std::fabs(dPrice - bar.dOpen), order.nId);
    std::sort(m_vecDue.begin(), m_vecDue.end());
    for (const auto& [dDistance, nId] : m_vecDue)
    {
        const int nIndex = FindIndex(nId);
        if (nIndex < 0)
            continue;
        const STradeOrder entry = m_vecOrders[static_cast<size_t>(nIndex)];
        if (!OrderFillPrice(entry, bar.dOpen, dLow, dHigh, &dPrice) ||
            !FillOrder(entry, entry.nQuantity, dPrice))
            continue;
        ActivateAttached(entry);
        // The worse case again: a stop loss it brought may be hit on the rest of the bar. One
        // that was working before missed the whole bar already.
        const int nNewStop = FindAttached(0, ETradeOrderKind::StopLoss);
        double dStopPrice = 0.0;
        if (nNewStop >= 0 && OrderFillPrice(m_vecOrders[static_cast<size_t>(nNewStop)], dPrice,
                                            dLow, dHigh, &dStopPrice))
            FillOrder(m_vecOrders[static_cast<size_t>(nNewStop)], std::abs(m_account.m_nPosition),
                      dStopPrice);
    }
    return static_cast<int>(std::count_if(m_vecFills.begin(), m_vecFills.end(),
                                          [](const SOrderFill& fill)
                                          { return fill.eRefused == ETradeRefusal::None; }));
}

void CTradeDesk::Mark()
{
    if (!m_bHasBar)
        return;
    m_account.SetCurrentPrice(m_bar.dClose);
    m_journal.AddMark(m_account.GetShownAccount());
}

bool CTradeDesk::Trade(ETradeSide eSide, int nQuantity, STradeRefusal* pRefusal)
{
    if (!m_bHasBar)
        return Refuse(pRefusal, ETradeRefusal::NoBar, "no bar has been shown to trade at");
    return Execute(eSide, nQuantity, m_bar.dClose, ETradeOrderKind::Market, pRefusal);
}

bool CTradeDesk::Execute(ETradeSide eSide, int nQuantity, double dMarket, ETradeOrderKind eKind,
                         STradeRefusal* pRefusal)
{
    const STradeCosts& costs = m_settings.costs;
    const double dFill = FillPrice(costs, eSide, dMarket);
    if (!m_account.CheckTrade(eSide, nQuantity, dFill, m_settings.dLeverage, pRefusal))
        return false;
    const int nDecimals = m_account.m_nPriceDecimals;
    if (eKind != ETradeOrderKind::Market)
        m_account.WriteLog(StringFormat("%s filled: %s %d @ %.*f", OrderKindName(eKind),
                                        SideName(eSide), nQuantity, nDecimals, dFill));

    STradeRecord record;
    record.nPositionBefore = m_account.m_nPosition;
    const STradeFill fill = {eSide, nQuantity, dFill, Commission(costs, nQuantity, dFill),
                             costs.dSlippage * nQuantity};
    const STradeOutcome outcome = m_account.Book(fill);
    record.tTime = std::time(nullptr);
    record.dBarDate = m_bar.dDate;
    record.eSide = eSide;
    record.dPrice = dFill;
    record.nPosition = m_account.m_nPosition;
    record.dAverage = m_account.m_dAverage;
    record.dRealized = outcome.dNet;
    record.dAccount = m_account.ValueAt(dFill);
    record.nQuantity = nQuantity;
    record.eOrder = eKind;
    record.dCosts = outcome.dCosts;
    record.dGross = outcome.dGross;
    record.dRisk = outcome.dRisk;
    record.nFile = m_nFile;
    record.nPriceDecimals = nDecimals;
    m_journal.Append(record);
    FollowPosition(record.nPositionBefore);
    return true;
}

void CTradeDesk::FollowPosition(int nPositionBefore)
{
    const int nPosition = m_account.m_nPosition;
    const bool bClosed = nPosition == 0 || (nPosition > 0) != (nPositionBefore > 0);
    for (int i = static_cast<int>(m_vecOrders.size()) - 1; i >= 0; --i)
    {
        STradeOrder& order = m_vecOrders[static_cast<size_t>(i)];
        if (!GuardsPosition(order))
            continue;
        if (bClosed)
            RemoveAt(i);
        else
            order.nQuantity = std::abs(nPosition);
    }
}

bool CTradeDesk::FillOrder(const STradeOrder& order, int nQuantity, double dMarket)
{
    const STradeOrder filled = order; // the fill may remove it
    SOrderFill fill;
    fill.nOrderId = filled.nId;
    fill.eKind = filled.eKind;
    fill.eSide = filled.eSide;
    fill.nQuantity = nQuantity;
    fill.dPrice = FillPrice(m_settings.costs, filled.eSide, dMarket);
    STradeRefusal refusal;
    if (!Execute(filled.eSide, nQuantity, dMarket, filled.eKind, &refusal))
    {
        // The account changed since it was placed: it cannot fill, so it stops working.
        m_account.WriteLog(StringFormat("%s %.*f cancelled, not filled: %s",
                                        OrderKindName(filled.eKind), m_account.m_nPriceDecimals,
                                        filled.dPrice, refusal.strText.c_str()));
        CancelOrder(filled.nId);
        fill.eRefused = refusal.eReason;
    }
    m_vecFills.push_back(fill);
    return fill.eRefused == ETradeRefusal::None;
}

void CTradeDesk::ActivateAttached(const STradeOrder& entry)
{
    const int nPosition = m_account.m_nPosition;
    const bool bOnEntrySide = nPosition != 0 && (nPosition > 0) == (entry.eSide == ETradeSide::Buy);
    const int nEntry = FindIndex(entry.nId);
    if (nEntry >= 0)
        RemoveAt(nEntry);
    for (const ETradeOrderKind eKind : {ETradeOrderKind::StopLoss, ETradeOrderKind::TakeProfit})
    {
        const int nAttached = FindAttached(entry.nId, eKind);
        if (nAttached < 0)
            continue;
        if (!bOnEntrySide)
        {
            RemoveAt(nAttached);
            continue;
        }
        const int nOld = FindAttached(0, eKind);
        if (nOld >= 0)
            RemoveAt(nOld);
        STradeOrder& order = m_vecOrders[static_cast<size_t>(FindAttached(entry.nId, eKind))];
        order.nAttachedTo = 0;
        order.nQuantity = std::abs(nPosition);
        if (eKind == ETradeOrderKind::StopLoss)
            FixRisk(order);
    }
}

void CTradeDesk::FixRisk(const STradeOrder& stopLoss)
{
    if (m_account.m_dTripRisk != 0.0 || m_account.m_nPosition == 0)
        return;
    const double dFill = FillPrice(m_settings.costs, stopLoss.eSide, stopLoss.dPrice);
    const double dCommission = Commission(m_settings.costs, std::abs(m_account.m_nPosition), dFill);
    const double dLoss = -m_account.ResultIfClosedAt(dFill, dCommission);
    if (dLoss > 0.0)
        m_account.m_dTripRisk = dLoss;
}

bool CTradeDesk::PlaceOrder(ETradeOrderKind eKind, int nQuantity, double dPrice, int nAttachedTo,
                            int* pnId, STradeRefusal* pRefusal)
{
    if (!m_bHasBar)
        return Refuse(pRefusal, ETradeRefusal::NoBar, "no bar has been shown to trade at");
    STradeOrder order;
    order.eKind = eKind;
    order.dPrice = dPrice;
    if (IsEntryOrder(eKind))
    {
        order.eSide = EntrySide(eKind);
        order.nQuantity = nQuantity;
    }
    else if (IsGuard(eKind) && nAttachedTo == 0)
    {
        if (m_account.m_nPosition == 0)
            return Refuse(
                pRefusal, ETradeRefusal::NoPosition,
                StringFormat("a %s needs an open position",
                             eKind == ETradeOrderKind::StopLoss ? "stop loss" : "take profit"));
        order.eSide = m_account.m_nPosition > 0 ? ETradeSide::Sell : ETradeSide::Buy;
        order.nQuantity = std::abs(m_account.m_nPosition);
    }
    else if (IsGuard(eKind))
    {
        const STradeOrder* pEntry = FindOrder(nAttachedTo);
        if (pEntry == nullptr || !IsEntryOrder(pEntry->eKind))
            return Refuse(pRefusal, ETradeRefusal::UnknownOrder,
                          StringFormat("no working entry order has the id %d", nAttachedTo));
        order.eSide = OppositeSide(pEntry->eSide);
        order.nQuantity = pEntry->nQuantity;
        order.nAttachedTo = nAttachedTo;
    }
    else
        return Refuse(pRefusal, ETradeRefusal::UnknownOrder, "a market trade does not wait");
    if (IsGuard(eKind) && FindAttached(nAttachedTo, eKind) >= 0)
        return Refuse(
            pRefusal, ETradeRefusal::AlreadyAttached,
            StringFormat("the %s already has a %s: move that one",
                         nAttachedTo == 0 ? "position" : "entry order",
                         eKind == ETradeOrderKind::StopLoss ? "stop loss" : "take profit"));
    if (!CheckOrder(order, pRefusal))
        return false;
    order.nId = m_nNextOrderId++;
    m_vecOrders.push_back(order);
    if (GuardsPosition(order) && eKind == ETradeOrderKind::StopLoss)
        FixRisk(order);
    if (pnId != nullptr)
        *pnId = order.nId;
    return true;
}

bool CTradeDesk::CheckOrder(const STradeOrder& order, STradeRefusal* pRefusal) const
{
    if (!std::isfinite(order.dPrice))
        return Refuse(pRefusal, ETradeRefusal::BadPrice, "the price is not a finite number");
    const int nDecimals = m_account.m_nPriceDecimals;
    if (order.nAttachedTo != 0)
    {
        const STradeOrder* pEntry = FindOrder(order.nAttachedTo);
        return pEntry != nullptr &&
               CheckOrderSide(order, pEntry->dPrice, "its entry", nDecimals, pRefusal);
    }
    if (!CheckOrderSide(order, m_bar.dClose, "the close", nDecimals, pRefusal))
        return false;
    if (!IsEntryOrder(order.eKind))
        return true;
    // Buying power as if it filled at its price now.
    const double dFill = FillPrice(m_settings.costs, order.eSide, order.dPrice);
    if (!m_account.CheckTrade(order.eSide, order.nQuantity, dFill, m_settings.dLeverage, pRefusal))
        return false;
    for (const STradeOrder& attached : m_vecOrders)
        if (attached.nAttachedTo == order.nId && order.nId != 0 &&
            !CheckOrderSide(attached, order.dPrice, "its entry", nDecimals, pRefusal))
            return false;
    return true;
}

bool CTradeDesk::MoveOrder(int nId, double dPrice, STradeRefusal* pRefusal)
{
    const int nIndex = FindIndex(nId);
    if (nIndex < 0)
        return Refuse(pRefusal, ETradeRefusal::UnknownOrder,
                      StringFormat("no working order has the id %d", nId));
    if (!m_bHasBar)
        return Refuse(pRefusal, ETradeRefusal::NoBar, "no bar has been shown to trade at");
    STradeOrder moved = m_vecOrders[static_cast<size_t>(nIndex)];
    moved.dPrice = dPrice;
    if (!CheckOrder(moved, pRefusal))
        return false;
    m_vecOrders[static_cast<size_t>(nIndex)].dPrice = dPrice;
    return true;
}

bool CTradeDesk::CancelOrder(int nId)
{
    const int nIndex = FindIndex(nId);
    if (nIndex < 0)
        return false;
    RemoveAt(nIndex);
    for (int i = static_cast<int>(m_vecOrders.size()) - 1; i >= 0; --i)
        if (m_vecOrders[static_cast<size_t>(i)].nAttachedTo == nId)
            RemoveAt(i);
    return true;
}

const STradeOrder* CTradeDesk::FindOrder(int nId) const
{
    const int nIndex = FindIndex(nId);
    return nIndex < 0 ? nullptr : &m_vecOrders[static_cast<size_t>(nIndex)];
}

bool CTradeDesk::SizeByRisk(ETradeSide eSide, double dEntry, double dStop, double dRiskPercent,
                            int* pnQuantity, STradeRefusal* pRefusal) const
{
    const double dAccount =
        m_bHasBar ? m_account.ValueAt(m_bar.dClose) : m_account.GetShownAccount();
    return RiskSizedQuantity(eSide, dEntry, dStop, dRiskPercent, dAccount, m_settings.costs,
                             m_account.m_nPriceDecimals, pnQuantity, pRefusal);
}

STradeDeskSnapshot CTradeDesk::Snapshot() const
{
    return {m_account,
            m_vecOrders,
            m_nNextOrderId,
            m_journal.Records().size(),
            m_journal.Marks().size(),
            m_bHasBar,
            m_bar};
}

void CTradeDesk::Restore(const STradeDeskSnapshot& snapshot)
{
    const int nDecimals = m_account.m_nPriceDecimals;
    m_account.RestoreBooks(snapshot.account);
    m_account.m_nPriceDecimals = nDecimals;
    m_vecOrders = snapshot.vecOrders;
    m_nNextOrderId = snapshot.nNextOrderId;
    m_journal.Truncate(snapshot.nRecords, snapshot.nMarks);
    m_bHasBar = snapshot.bHasBar;
    m_bar = snapshot.bar;
    m_vecFills.clear();
}

int CTradeDesk::FindIndex(int nId) const
{
    for (std::size_t i = 0; i < m_vecOrders.size(); ++i)
        if (m_vecOrders[i].nId == nId)
            return static_cast<int>(i);
    return -1;
}

int CTradeDesk::FindAttached(int nAttachedTo, ETradeOrderKind eKind) const
{
    for (std::size_t i = 0; i < m_vecOrders.size(); ++i)
        if (m_vecOrders[i].eKind == eKind && m_vecOrders[i].nAttachedTo == nAttachedTo)
            return static_cast<int>(i);
    return -1;
}

void CTradeDesk::RemoveAt(int nIndex)
{
    m_vecOrders.erase(m_vecOrders.begin() + nIndex);
}
