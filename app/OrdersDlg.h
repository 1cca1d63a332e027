#pragma once

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>

class CTradeDesk;
class QTableView;

// The working orders as a table: number, kind, quantity, price, what it guards.
class COrdersModel : public QAbstractTableModel
{
public:
    COrdersModel(const CTradeDesk& desk, int nPriceDecimals, QObject* pParent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation eOrientation, int nRole) const override;

    // The orders changed under the model.
    void Refresh();
    int OrderIdAt(int nRow) const;

private:
    const CTradeDesk& m_desk;
    int m_nPriceDecimals;
};

// Shows the working orders and cancels the one chosen through cancel(id).
class COrdersDlg : public QDialog
{
public:
    COrdersDlg(const CTradeDesk& desk, int nPriceDecimals, std::function<void(int)> cancel,
               QWidget* pParent = nullptr);

private:
    void CancelChosen();

    COrdersModel* m_pModel = nullptr;
    QTableView* m_pTable = nullptr;
    std::function<void(int)> m_cancel;
};
