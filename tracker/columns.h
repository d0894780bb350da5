// The history table's columns, in the window's order: when, what kind, which event and where, the
// result and the best outcome, how the bet was settled and what came in, then the archive's number
// fields. What each cell says, how a column sorts, and which rows the filters let through: no
// widgets, so it runs on any thread.
#pragma once

#include <optional>
#include <vector>

#include <QLocale>
#include <QString>

#include "tracker/betrecords.h"
#include "tracker/settlements.h"

namespace history {

// Result is what a bet locked in (an offer's lowest outcome), Highest its best outcome, Status how it
// was settled, Actual the profit that came in, Exchange where its lays are.
enum class Column { Date, Kind, Event, Bookmaker, Result, Highest, Status, Actual, Exchange, Stake };

// What a rebuild reads: the records and the ledger's settlements of them, as they stood.
struct HistoryView
{
    HistoryView(RecordsView records = {}, SettlementTable settlements = {})
        : records(std::move(records))
        , settlements(std::move(settlements))
    { }
    RecordsView records;
    SettlementTable settlements;
};

// Which bets the status filter lets through. Removed bets show under Removed alone.
enum class StatusFilter { AllBets, Open, Settled, Removed };

// Stake and the number fields after it, one column each.
constexpr int columnCount = int(Column::Stake) + store::archiveFieldCount - int(store::ArchiveField::Stake);

// The archive field a column shows; nothing for those that are worked out.
std::optional<store::ArchiveField> fieldOf(int column);
QString columnCaption(int column);
// What a column's heading means, for its tool tip; empty where the caption says it all.
QString columnMeaning(int column);
bool isFigureColumn(int column);

// The result as the window shows it: the figure, or why there is none.
QString resultText(const BetRecord &record, const QLocale &locale);

// A record's moment as the table shows every date: the locale's short date and its time.
QString shownMoment(qint64 moment, const QLocale &locale);
// A cell's text as the table shows it.
QString cellText(const HistoryView &view, qsizetype index, int column, const QLocale &locale);

// The bet as mended in the ledger, or nothing; its event and bookmaker as mended or as archived (an
// empty bookmaker mends nothing).
const Mending *mendingOf(const HistoryView &view, qsizetype index);
QString eventOf(const HistoryView &view, qsizetype index);
QString bookmakerOf(const HistoryView &view, qsizetype index);

// The bookmakers by number: the archived names, then the names that mendings alone give. Built for
// one view of the records, which must outlive it.
class BetBookmakers
{
    Q_DISABLE_COPY_MOVE(BetBookmakers)

public:
    explicit BetBookmakers(const HistoryView &view);
    const QStringList &names() const { return m_names; }
    // The bet's bookmaker among the names.
    int of(qsizetype index) const;

private:
    const HistoryView &m_view;
    QStringList m_names;
    std::vector<int> m_mended; // the number of each mending's bookmaker
};

// The exchange named for the bet; empty where none was.
QString exchangeText(const HistoryView &view, qsizetype index);

// "Open", the outcome's caption, or "Removed".
QString statusText(const HistoryView &view, qsizetype index);

// The filters: a date range (undated records always pass), a bookmaker by name, a kind, and a text
// in the event (any letter case).
struct RowFilter
{
    qint64 from = noDate;
    qint64 to = std::numeric_limits<qint64>::max();
    QString bookmaker; // empty: all
    std::optional<calc::BetKind> kind;
    QString eventText;
    StatusFilter status = StatusFilter::AllBets;
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
    RowTest(const HistoryView &view, const RowFilter &filter);
    bool accepts(qsizetype index) const;

private:
    HistoryView m_view;
    RowFilter m_filter;
    BetBookmakers m_bookmakers;
    int m_bookmaker = -1; // -1: all; beyond the list: a name no record has
};

// Orders records as a column sorts; ties, the last read first.
class RowOrder
{
public:
    RowOrder(const HistoryView &view, RowSort sort);
    bool before(qsizetype a, qsizetype b) const;
    // Sorts many records at once, each key worked out once.
    void sort(std::vector<int> &indexes) const;

private:
    double number(qsizetype index) const;
    QByteArrayView text(qsizetype index) const;
    bool textual() const;

    HistoryView m_view;
    RowSort m_sort;
    BetBookmakers m_bookmakers;
    std::vector<int> m_rank; // of each bookmaker or status caption by name
};

// The records that pass the filter, in the sort's order.
std::vector<int> buildRows(const HistoryView &view, const RowFilter &filter, RowSort sort);

} // namespace history
