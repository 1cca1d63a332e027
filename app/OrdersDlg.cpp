#include "app/OrdersDlg.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/Resources.h"
#include "app/TradeTexts.h"
#include "core/TradeDesk.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace
{
constexpr int kColumns = IDS_ORDERS_LAST_COLUMN - IDS_ORDERS_FIRST_COLUMN + 1;
} // namespace

COrdersModel::COrdersModel(const CTradeDesk& desk, int nPriceDecimals, QObject* pParent)
    : QAbstractTableModel(pParent), m_desk(desk), m_nPriceDecimals(nPriceDecimals)
{
}

int COrdersModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_desk.Orders().size());
}

int COrdersModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant COrdersModel::data(const QModelIndex& index, int nRole) const
{
    if (nRole != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const STradeOrder& order = m_desk.Orders()[static_cast<std::size_t>(index.row())];
    switch (index.column())
    {
    case 0:
        return order.nId;
    case 1:
        return OrderKindText(order.eKind, order.eSide);
    case 2:
        return order.nQuantity;
    case 3:
        return QString::fromStdString(StringFormat("%.*f", m_nPriceDecimals, order.dPrice));
    default:
        if (IsEntryOrder(order.eKind))
            return {};
        return order.nAttachedTo == 0 ? AppQText(IDS_ORDERS_POSITION)
                                      : QVariant(order.nAttachedTo);
    }
}

QVariant COrdersModel::headerData(int nSection, Qt::Orientation eOrientation, int nRole) const
{
    if (nRole != Qt::DisplayRole || eOrientation != Qt::Horizontal || nSection < 0 ||
        nSection >= kColumns)
        return {};
    return AppQText(IDS_ORDERS_FIRST_COLUMN + static_cast<unsigned>(nSection));
}

void COrdersModel::Refresh()
{
    beginResetModel();
    endResetModel();
}

int COrdersModel::OrderIdAt(int nRow) const
{
    return nRow >= 0 && nRow < rowCount() ? m_desk.Orders()[static_cast<std::size_t>(nRow)].nId
                                          : 0;
}

COrdersDlg::COrdersDlg(const CTradeDesk& desk, int nPriceDecimals, std::function<void(int)> cancel,
                       QWidget* pParent)
    : QDialog(pParent), m_cancel(std::move(cancel))
{
    const CDialogUnits units(9);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_ORDERS_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(260, 150));

    m_pModel = new COrdersModel(desk, nPriceDecimals, this);
    m_pTable = new QTableView(this);
    m_pTable->setModel(m_pModel);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->verticalHeader()->hide();
    m_pTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_pTable->verticalHeader()->setDefaultSectionSize(m_pTable->fontMetrics().height() + 4);
    m_pTable->setGeometry(units.Rect(7, 7, 246, 116));
    QPushButton* pCancel = AddButton(this, units, AppQText(IDS_ORDERS_CANCEL), {146, 129, 50, 14});
    QPushButton* pClose = AddButton(this, units, AppQText(IDS_ORDERS_CLOSE), {203, 129, 50, 14}, true);
    connect(pCancel, &QPushButton::clicked, this, &COrdersDlg::CancelChosen);
    connect(pClose, &QPushButton::clicked, this, &COrdersDlg::accept);
    if (m_pModel->rowCount() > 0)
        m_pTable->selectRow(0);
}

void COrdersDlg::CancelChosen()
{
    const QModelIndexList rows = m_pTable->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const int nRow = rows.first().row();
    m_cancel(m_pModel->OrderIdAt(nRow));
    m_pModel->Refresh();
    if (m_pModel->rowCount() > 0)
        m_pTable->selectRow(std::min(nRow, m_pModel->rowCount() - 1));
}
