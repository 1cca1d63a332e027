// Orders placed, moved and cancelled on the chart itself.
#include "app/OrvantaDlg.h"

#include "app/Resources.h"
#include "app/StringIds.h"
#include "app/TradeTexts.h"

#include <QCursor>
#include <QMenu>
#include <QSpinBox>

void COrvantaDlg::OnOrderMoved(int nId, double dPrice)
{
    STradeRefusal refusal;
    const bool bMoved = m_session.MoveOrder(nId, dPrice, &refusal);
    // A refused move puts the line back at its order's price.
    ShowTrading();
    if (!bMoved)
        ShowRefusal(refusal);
    ShowNotes();
}

void COrvantaDlg::OnOrderCancel(int nId)
{
    m_session.CancelOrder(nId);
    ShowTrading();
    ShowNotes();
}

void COrvantaDlg::OnChartContextMenu(POINT /*pt*/, double dPrice)
{
    if (!m_session.CanTrade())
        return;
    const double dClose = m_session.Player().m_dClose;
    const int nPosition = m_session.Account().m_nPosition;
    const std::string strPrice = StringFormat("%.*f", m_session.PriceDecimals(), dPrice);
    // Only the orders that wait at this price: a limit on its side of the close, a stop on the
    // other, and the open position's stop loss or take profit where each belongs.
    std::vector<ETradeOrderKind> vecKinds;
    if (dPrice < dClose)
        vecKinds = {ETradeOrderKind::BuyLimit, ETradeOrderKind::SellStop};
    else if (dPrice > dClose)
        vecKinds = {ETradeOrderKind::BuyStop, ETradeOrderKind::SellLimit};
    if (nPosition != 0 && dPrice != dClose)
        vecKinds.push_back((dPrice < dClose) == (nPosition > 0) ? ETradeOrderKind::StopLoss
                                                                 : ETradeOrderKind::TakeProfit);

    QMenu menu(this);
    for (const ETradeOrderKind eKind : vecKinds)
    {
        const std::string strKind = OrderKindText(eKind, ETradeSide::Buy).toStdString();
        menu.addAction(QString::fromStdString(
                           FormatAppText(IDS_CHART_MENU_ORDER, strKind.c_str(), strPrice.c_str())),
                       this, [this, eKind, dPrice] { PlaceOrderAt(eKind, dPrice); });
    }
    if (!vecKinds.empty())
        menu.addSeparator();
    const ETradeOrderKind eDialogKind =
        dPrice > dClose ? ETradeOrderKind::BuyStop : ETradeOrderKind::BuyLimit;
    menu.addAction(QString::fromStdString(FormatAppText(IDS_CHART_MENU_DIALOG, strPrice.c_str())),
                   this,
                   [this, eDialogKind, dPrice]
                   {
                       SOrderRequest request;
                       request.eKind = eDialogKind;
                       request.nQuantity = m_pQuantity->value();
                       request.dPrice = dPrice;
                       PlaceOrderFrom(request);
                   });
    // The prices must not move under the menu.
    const CModalPause pause(*this);
    menu.exec(QCursor::pos());
}

void COrvantaDlg::PlaceOrderAt(ETradeOrderKind eKind, double dPrice)
{
    STradeRefusal refusal;
    // A stop loss or take profit holds the whole position: its quantity is the position's.
    const int nQuantity = IsEntryOrder(eKind) ? m_pQuantity->value() : 0;
    const bool bPlaced = m_session.PlaceOrder(eKind, nQuantity, dPrice, 0, nullptr, &refusal);
    ShowTrading();
    if (!bPlaced)
        ShowRefusal(refusal);
    ShowNotes();
}
