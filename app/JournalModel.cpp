#include "app/JournalModel.h"

#include "app/Resources.h"
#include "app/TradeTexts.h"
#include "core/KLineMessages.h"
#include "core/TradeJournal.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kColumns = IDS_TRADES_LAST_COLUMN - IDS_TRADES_FIRST_COLUMN + 1;
} // namespace

CJournalModel::CJournalModel(const CTradeJournal& journal, QObject* pParent)
    : QAbstractTableModel(pParent), m_journal(journal)
{
}

int CJournalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_journal.Records().size());
}

int CJournalModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant CJournalModel::data(const QModelIndex& index, int nRole) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const STradeRecord& record = m_journal.Records()[static_cast<std::size_t>(index.row())];
    if (nRole == Qt::TextAlignmentRole)
        return index.column() >= 3 && index.column() != 5
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    if (nRole != Qt::DisplayRole)
        return {};
    switch (index.column())
    {
    case 0:
        // A bar of a day has no time; one of an intraday file has.
        return QString::fromStdString(KLineBarTimeText(
            record.dBarDate, record.dBarDate != std::floor(record.dBarDate)));
    case 1:
        return QString::fromStdString(m_journal.FileName(record));
    case 2:
        return AppQText(record.eSide == ETradeSide::Buy ? IDS_SIDE_BUY : IDS_SIDE_SELL);
    case 3:
        return record.nQuantity;
    case 4:
        return QString::fromStdString(
            StringFormat("%.*f", std::max(record.nPriceDecimals, 2), record.dPrice));
    case 5:
        return OrderKindText(record.eOrder, record.eSide);
    default:
        return ClosesPosition(record) ? QString::fromStdString(StringFormat("%.2f", record.dRealized))
                                      : QString();
    }
}

QVariant CJournalModel::headerData(int nSection, Qt::Orientation eOrientation, int nRole) const
{
    if (nRole != Qt::DisplayRole || eOrientation != Qt::Horizontal || nSection < 0 ||
        nSection >= kColumns)
        return {};
    return AppQText(IDS_TRADES_FIRST_COLUMN + static_cast<unsigned>(nSection));
}
