// The history table's columns, in the window's order: when, what kind, which event and where, the
// result, then the archive's number fields. What each cell says, how a column sorts, and which
// rows the filters let through: no widgets, so it runs on any thread.
#pragma once

#include <optional>
#include <vector>

#include <QLocale>
#include <QString>

#include "history/betrecords.h"

namespace history {

// Result is what a bet brought for certain (an offer's lowest outcome), Highest its best outcome.
enum class Column { Date, Kind, Event, Bookmaker, Result, Highest, Stake };

// Stake and the number fields after it, one column each.
constexpr int columnCount = int(Column::Stake) + store::archiveFieldCount - int(store::ArchiveField::Stake);

// The archive field a column shows; nothing for the kind and the result, which are worked out.
std::optional<store::ArchiveField> fieldOf(int column);
QString columnCaption(int column);
bool isFigureColumn(int column);

// The result as the window shows it: the figure, or why there is none.
QString resultText(const BetRecord &record, const QLocale &locale);

// A cell's text as the table shows it.
QString cellText(const RecordsView &records, qsizetype index, int column, const QLocale &locale);

// The filters: a date range (undated records always pass), a bookmaker by name, a kind, and a text
// in the event (any letter case).
struct RowFilter
{
    qint64 from = noDate;
    qint64 to = std::numeric_limits<qint64>::max();
    QString bookmaker; // empty: all
    std::optional<calc::BetKind> kind;
    QString eventText;
};

struct RowSort
{
    int column = -1; // -1: newest first (by date, undated last; among equals the last read first)
    Qt::SortOrder order = Qt::AscendingOrder;
};

// Decides for one record at a time; built for one view of the records.
class RowTest
{
public:
    RowTest(const RecordsView &records, const RowFilter &filter);
    bool accepts(qsizetype index) const;

private:
    const RecordsView &m_records;
    RowFilter m_filter;
    int m_bookmaker = -1; // -1: all; beyond the list: a name no record has
};

// Orders records as a column sorts; ties, the last read first.
class RowOrder
{
public:
    RowOrder(const RecordsView &records, RowSort sort);
    bool before(qsizetype a, qsizetype b) const;
    // Sorts many records at once, each key worked out once.
    void sort(std::vector<int> &indexes) const;

private:
    double number(qsizetype index) const;
    QByteArrayView text(qsizetype index) const;
    bool textual() const;

    const RecordsView &m_records;
    RowSort m_sort;
    std::vector<int> m_bookmakerRank;
};

// The records that pass the filter, in the sort's order.
std::vector<int> buildRows(const RecordsView &records, const RowFilter &filter, RowSort sort);

} // namespace history
