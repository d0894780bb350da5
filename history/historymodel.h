// The bet history as a table: one row per record, newest first, the fifteen archive fields and
// the Result. Stale rows (figures that are not those of their inputs) are marked.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include "history/betrecords.h"

namespace history {

class HistoryModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int resultColumn = store::archiveFieldCount;
    // The value a column sorts and filters by: seconds for the date, numbers for the figures.
    static constexpr int sortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void add(ArchiveBatch &&batch);
    void clear();
    const BetRecords &records() const { return m_records; }
    // The record a row shows.
    qsizetype recordIndex(int row) const { return m_records.size() - 1 - row; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    BetRecords m_records;
};

// The rows the filters let through: a date range (undated records always pass), one bookmaker
// or all, and a text in the event.
class HistoryFilter final : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setFilters(qint64 from, qint64 to, int bookmaker, const QString &eventText);
    const HistoryModel &history() const { return *static_cast<const HistoryModel *>(sourceModel()); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    qint64 m_from = noDate;
    qint64 m_to = std::numeric_limits<qint64>::max();
    int m_bookmaker = -1;
    QString m_eventText;
};

} // namespace history
