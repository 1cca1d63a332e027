#pragma once

#include <QAbstractTableModel>

class CTradeJournal;

// The journal's trades as a table: the bar's date, the file, side, quantity, price with the
// file's decimals, the order that made it and the net result of a position it closed.
class CJournalModel : public QAbstractTableModel
{
public:
    CJournalModel(const CTradeJournal& journal, QObject* pParent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation eOrientation, int nRole) const override;

private:
    const CTradeJournal& m_journal;
};
