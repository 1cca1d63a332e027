#pragma once

#include "core/PracticeSession.h"

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// Places an order: its kind, price and quantity, an optional stop loss and take profit, and
// "risk N % of the account", which sizes the quantity from the stop and shows it before the order
// is placed. OK hands the request to place; a refusal is shown and the dialog stays open.
class COrderDlg : public QDialog
{
public:
    using FPlace = std::function<bool(const SOrderRequest&, std::string* pstrWhy)>;

    COrderDlg(const CPracticeSession& session, const SOrderRequest& initial, FPlace place,
              QWidget* pParent = nullptr);

    void accept() override;

private:
    // The kinds offered, in the order of the drop-down.
    static SOrderRequest KindAt(int nIndex);
    static int IndexOf(const SOrderRequest& request);
    void ShowKind();
    void ShowRiskSize();
    // The request as the fields say; false, with the field's text, when a number is not one.
    bool ReadRequest(SOrderRequest* pRequest, QString* pstrBad) const;

    const CPracticeSession& m_session;
    FPlace m_place;
    QComboBox* m_pKind = nullptr;
    QLineEdit* m_pPrice = nullptr;
    QSpinBox* m_pQuantity = nullptr;
    QLineEdit* m_pStopLoss = nullptr;
    QLineEdit* m_pTakeProfit = nullptr;
    QLineEdit* m_pRisk = nullptr;
    QLabel* m_pRiskSize = nullptr;
};
