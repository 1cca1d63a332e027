#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "core/TradeAccount.h"
#include "core/TradeCosts.h"
#include "core/TradeJournal.h"
#include "core/TradeOrder.h"
#include "core/TradeRefusal.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// One order the last bar filled, or cancelled because its fill was refused.
struct SOrderFill
{
    int nOrderId = 0;
    ETradeOrderKind eKind = ETradeOrderKind::BuyLimit;
    ETradeSide eSide = ETradeSide::Buy;
    int nQuantity = 0;
    double dPrice = 0.0;                          // the fill price, slippage included
    ETradeRefusal eRefused = ETradeRefusal::None; // why it did not fill, when it did not
};

// Everything trading changes, as it stood: enough to step back to exactly the state before a bar.
// A plain value; its cost is the working orders it holds.
struct STradeDeskSnapshot
{
    CTradeAccount account;
    std::vector<STradeOrder> vecOrders;
    int nNextOrderId = 1;
    std::size_t nRecords = 0;
    std::size_t nMarks = 0;
    bool bHasBar = false;
    SChartCandlestickPoint bar;
};

// The practice account with its working orders, costs and journal: market trades at the
// current close, orders that wait for the price, and their fills on each new bar.
//
// Per bar, in this order:
//  1. EvaluateBar(bar): the orders the bar trades through fill;
//  2. Mark(): the account is marked to the bar's close.
class CTradeDesk
{
public:
    // Costs and leverage for the trades and orders from now on; refused (and unchanged) when
    // CheckTradeSettings refuses them.
    bool SetSettings(const STradeSettings& settings, STradeRefusal* pRefusal = nullptr);
    const STradeSettings& Settings() const { return m_settings; }

    // The K-line file trades are made on from now: its name goes into the journal, its price
    // decimals into the log. Working orders are cancelled, their prices being the last file's;
    // the account and its position stay. Until the file's first bar there is nothing to trade at.
    void SetInstrument(const std::string& strFile, int nPriceDecimals);

    // A newly revealed bar. Every order working before it is filled where the bar trades through
    // its price, at that price or at the open when the bar opens beyond it:
    //  1. the position's stop loss, else its take profit (when the bar holds both, the stop loss:
    //     the worse of the two is assumed to have come first);
    //  2. entry orders, the one nearest the open first; a filled entry's take profit works from
    //     the next bar, its stop loss already on the rest of this one (again the worse case).
    // The bar then is the current bar. Returns the number of fills; Fills() lists them.
    // Allocates nothing when nothing fills.
    int EvaluateBar(const SChartCandlestickPoint& bar);
    // Marks the account to the current close and records the value shown.
    void Mark();

    // A market trade of nQuantity units at the current close.
    bool Trade(ETradeSide eSide, int nQuantity, STradeRefusal* pRefusal = nullptr);

    // Places an order. Entries (buy/sell limit/stop) take nQuantity and must not fill at the
    // close; a stop loss or take profit guards the open position (nAttachedTo 0) or the entry
    // order nAttachedTo, takes its quantity, and must lie on the losing or winning side of the
    // close or of that entry's price. One stop loss and one take profit each. *pnId (when
    // given) gets the new order's id.
    bool PlaceOrder(ETradeOrderKind eKind, int nQuantity, double dPrice, int nAttachedTo, int* pnId,
                    STradeRefusal* pRefusal = nullptr);
    // Moves a working order to dPrice under the rules of placing it; its orders attached must
    // stay on their sides of it. Refused, unchanged, otherwise.
    bool MoveOrder(int nId, double dPrice, STradeRefusal* pRefusal = nullptr);
    // Cancels a working order and the orders attached to it. False for an id not working.
    bool CancelOrder(int nId);
    void CancelAllOrders() { m_vecOrders.clear(); }

    // Working orders, oldest first.
    const std::vector<STradeOrder>& Orders() const { return m_vecOrders; }
    const STradeOrder* FindOrder(int nId) const;
    // The fills of the last EvaluateBar.
    const std::vector<SOrderFill>& Fills() const { return m_vecFills; }

    // The quantity to trade to risk dRiskPercent of the account value (marked at the close) from
    // dEntry to dStop, costs included; see RiskSizedQuantity. Not capped by buying power: the
    // trade or order says so when it is placed.
    bool SizeByRisk(ETradeSide eSide, double dEntry, double dStop, double dRiskPercent,
                    int* pnQuantity, STradeRefusal* pRefusal = nullptr) const;

    STradeDeskSnapshot Snapshot() const;
    // Puts back a snapshot of this desk; the journal drops what came after it. Settings, the
    // instrument and the log's health stay as they are now.
    void Restore(const STradeDeskSnapshot& snapshot);

    // A line of the trade log that is not a trade's, such as a step back's.
    void WriteLog(const std::string& strMessage) { m_account.WriteLog(strMessage); }
    const CTradeAccount& Account() const { return m_account; }
    const CTradeJournal& Journal() const { return m_journal; }
    CTradeJournal& Journal() { return m_journal; }
    // The journal's index of the file trades are made on now; -1 before any.
    int FileIndex() const { return m_nFile; }
    bool HasBar() const { return m_bHasBar; }
    const SChartCandlestickPoint& Bar() const { return m_bar; }

private:
    // Checks and books a trade at dMarket (slippage comes on top), records it and keeps the
    // position's orders in step. The log line naming an order comes first.
    bool Execute(ETradeSide eSide, int nQuantity, double dMarket, ETradeOrderKind eKind,
                 STradeRefusal* pRefusal);
    // After a trade: the position's orders follow its size, and go when it closes.
    void FollowPosition(int nPositionBefore);
    // An entry order filled: its stop loss and take profit now guard the position if it is on
    // the entry's side, replacing the kind they are; else they go.
    void ActivateAttached(const STradeOrder& entry);
    // The position's stop loss guards it: fix what the position stands to lose, once.
    void FixRisk(const STradeOrder& stopLoss);
    // Fills nQuantity units of the order at dMarket and lists the fill; an order whose fill the
    // account refuses is cancelled and listed with the reason.
    bool FillOrder(const STradeOrder& order, int nQuantity, double dMarket);
    int FindIndex(int nId) const;
    int FindAttached(int nAttachedTo, ETradeOrderKind eKind) const;
    void RemoveAt(int nIndex);
    // The order as placed or moved there breaks no rule.
    bool CheckOrder(const STradeOrder& order, STradeRefusal* pRefusal) const;

    CTradeAccount m_account;
    CTradeJournal m_journal;
    STradeSettings m_settings;
    std::vector<STradeOrder> m_vecOrders;
    std::vector<SOrderFill> m_vecFills;
    std::vector<std::pair<double, int>> m_vecDue; // entries a bar reaches: distance, id
    int m_nNextOrderId = 1;
    int m_nFile = -1;
    bool m_bHasBar = false;
    SChartCandlestickPoint m_bar;
};
