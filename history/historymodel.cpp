#include "history/historymodel.h"

#include <cmath>

#include <QBrush>
#include <QColor>
#include <QLocale>

#include "calc/numbertext.h"

namespace history {

namespace {

const QStringList headers {"Date", "Event", "Bookmaker", "Stake", "Stake Forfeit", "Back Odds", "Lay Odds", "Lay Risk",
    "Lay Stake", "Back Comm.", "Lay Comm.", "Back Return", "Back Returns", "Lay Returns", "Closeness %", "Result"};

const QColor staleRed(255, 208, 208);

} // namespace

void HistoryModel::add(ArchiveBatch &&batch)
{
    if (batch.records.empty())
        return;
    // Newest first: the new records go on top.
    beginInsertRows({}, 0, int(batch.records.size()) - 1);
    m_records.add(std::move(batch));
    endInsertRows();
}

void HistoryModel::clear()
{
    beginResetModel();
    m_records = {};
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(headers.size());
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    const qsizetype record = recordIndex(index.row());
    const BetRecord &bet = m_records.at(record);
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column != resultColumn)
            return m_records.field(record, column);
        return std::isnan(bet.result) ? QStringLiteral("no result: not all numbers")
                                      : calc::formatFigure(bet.result, QLocale());
    case sortRole:
        if (column == 0)
            return bet.when;
        if (column == resultColumn)
            return bet.result;
        if (column >= 3)
            return store::archivedNumber(m_records.field(record, column).toLatin1()).value_or(0);
        return m_records.field(record, column);
    case Qt::BackgroundRole:
        return bet.stale ? QVariant(QBrush(staleRed)) : QVariant();
    case Qt::ToolTipRole:
        return bet.stale ? QStringLiteral("The figures are not those that this record's inputs give") : QVariant();
    case Qt::TextAlignmentRole:
        return column >= 3 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headers.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void HistoryFilter::setFilters(qint64 from, qint64 to, int bookmaker, const QString &eventText)
{
    m_from = from;
    m_to = to;
    m_bookmaker = bookmaker;
    m_eventText = eventText;
    invalidateRowsFilter();
}

bool HistoryFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const qsizetype record = history().recordIndex(sourceRow);
    const BetRecord &bet = history().records().at(record);
    if (bet.when != noDate && (bet.when < m_from || bet.when > m_to))
        return false;
    if (m_bookmaker >= 0 && bet.bookmaker != m_bookmaker)
        return false;
    return m_eventText.isEmpty() || history().records().field(record, 1).contains(m_eventText, Qt::CaseInsensitive);
}

} // namespace history
