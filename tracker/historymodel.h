// The bet history as a table: the records that pass the filter, one per row, in the chosen order,
// with the totals over them. Rows and totals are worked out off the user-interface thread from a
// view of the records; records that arrive meanwhile show at once, in their place.
#pragma once

#include <functional>
#include <vector>

#include <QAbstractTableModel>
#include <QThreadPool>

#include "tracker/archivefollower.h"
#include "tracker/columns.h"
#include "tracker/totals.h"

namespace history {

class HistoryModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The follower holds the records and what the ledger says of them.
    // True for a row whose figures are not those its inputs give; the window marks such rows.
    static constexpr int StaleRole = Qt::UserRole + 1;

    explicit HistoryModel(const ArchiveFollower &follower, QObject *parent = nullptr);
    ~HistoryModel() override;

    void setFilter(const RowFilter &filter);
    // The day the free bets' status and days left are counted on; today unless a test fixes it.
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }

    // What the free bets' rows are worked out from: those already worked out when nothing they
    // show has changed, or the free bets.
    struct FreeBetsInput
    {
        SharedFreeBets known;
        std::shared_ptr<const std::vector<FreeBet>> freeBets;
        std::shared_ptr<KeyedRecords> records; // of their freeBetKeys()
    };
    // Records from the index on have been added: those that pass the filter show at once.
    void addRecords(qsizetype first);
    // The records have been dropped (the archive is read afresh).
    void clearRecords();
    // The ledger's decisions changed: the statuses show at once, the rows and totals follow.
    void settlementsChanged();
    // Works the rows and the totals out again; rebuilt() follows.
    void rebuild();
    bool isRebuilding() const { return m_rebuilding; }
    const Totals &totals() const { return *m_totals; }
    const SharedTotals &sharedTotals() const { return m_totals; }
    qsizetype recordAt(int row) const { return m_rows[std::size_t(row)]; }
    // The records and their settlements as the table shows them.
    const HistoryView &view() const { return m_view; }
    // Counts the views taken: a new one whenever records arrive or the ledger's decisions change.
    quint64 viewVersion() const { return m_viewVersion; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    // The rows and the totals are those of the records, the filter and the order.
    void rebuilt();

private:
    void takeRebuild(std::vector<int> rows, Totals totals, qsizetype covered, int generation);
    void insertRecordRows(const std::vector<int> &indexes);
    void takeView();
    // The records of the free bets' keys as found so far (m_keyedRecords), made anew where needed.
    std::shared_ptr<KeyedRecords> keyedRecords();

    const ArchiveFollower &m_follower;
    HistoryView m_view; // taken anew whenever records or settlements change
    quint64 m_viewVersion = 0;
    RowFilter m_filter;
    RowSort m_sort;
    std::vector<int> m_rows;
    SharedTotals m_totals = std::make_shared<Totals>();
    // One thread that stays: a new thread per rebuild would take a new memory arena each time,
    // and the transient rows and keys of a million records would pile up in them.
    QThreadPool m_worker;
    bool m_rebuilding = false;
    bool m_rebuildAgain = false;
    int m_generation = 0; // a rebuild started before the last change is out of date
    std::function<QDate()> m_today = &QDate::currentDate;
    // What the free bets' rows in the totals were worked out from.
    struct FreeBetsKey
    {
        int book = -1; // FreeBetBook::version()
        int settlements = 0;
        qsizetype records = 0;
        QDate today;
        bool operator==(const FreeBetsKey &) const = default;
    };
    FreeBetsKey currentFreeBetsKey() const;
    FreeBetsInput freeBetsInput(const FreeBetsKey &key);
    FreeBetsKey m_freeBetsKey;
    int m_settlementsVersion = 0;
    // The records of the free bets' keys, looked up on the worker as records arrive; made anew for
    // other free bets, or records read afresh.
    std::shared_ptr<KeyedRecords> m_keyedRecords;
    std::pair<int, int> m_keyedFor {-1, -1}; // the book's version and the reads afresh it was made for
    int m_readsAfresh = 0;
};

} // namespace history
