#include "tracker/historymodel.h"

#include <algorithm>

namespace history {

namespace {

// Beyond this many records at once, a sorted table is sorted again off the user-interface thread
// rather than record by record.
constexpr qsizetype insertedOneByOne = 256;

} // namespace

HistoryModel::HistoryModel(const ArchiveFollower &follower, QObject *parent)
    : QAbstractTableModel(parent)
    , m_follower(follower)
{
    m_worker.setMaxThreadCount(1);
    m_worker.setExpiryTimeout(-1);
}

HistoryModel::~HistoryModel()
{
    m_worker.waitForDone();
}

void HistoryModel::setFilter(const RowFilter &filter)
{
    m_filter = filter;
    ++m_generation;
    rebuild();
}

void HistoryModel::sort(int column, Qt::SortOrder order)
{
    m_sort = {column, order};
    ++m_generation;
    rebuild();
}

void HistoryModel::takeView()
{
    m_view = {m_follower.records().view(), m_follower.ledger().settlements()};
    ++m_viewVersion;
}

void HistoryModel::clearRecords()
{
    beginResetModel();
    m_rows.clear();
    m_totals = std::make_shared<Totals>();
    takeView();
    endResetModel();
    ++m_readsAfresh;
    ++m_settlementsVersion;
    ++m_generation;
}

void HistoryModel::settlementsChanged()
{
    ++m_settlementsVersion;
    takeView();
    if (!m_rows.empty())
        emit dataChanged(index(0, int(Column::Status)), index(int(m_rows.size()) - 1, int(Column::Exchange)));
    ++m_generation;
    rebuild();
}

void HistoryModel::addRecords(qsizetype first)
{
    takeView();
    const RowTest test(m_view, m_filter);
    std::vector<int> added;
    for (qsizetype index = first; index < m_view.records.size(); ++index) {
        if (test.accepts(index))
            added.push_back(int(index));
    }
    insertRecordRows(added);
}

void HistoryModel::insertRecordRows(const std::vector<int> &indexes)
{
    if (indexes.empty())
        return;
    const RowOrder order(m_view, m_sort);
    const auto before = [&](int a, int b) { return order.before(a, b); };
    // Records that come in the table's order (a growing archive, newest first) go on top as one block.
    if (std::is_sorted(indexes.rbegin(), indexes.rend(), before)
        && (m_rows.empty() || before(indexes.front(), m_rows.front()))) {
        beginInsertRows({}, 0, int(indexes.size()) - 1);
        m_rows.insert(m_rows.begin(), indexes.rbegin(), indexes.rend());
        endInsertRows();
        return;
    }
    if (qsizetype(indexes.size()) > insertedOneByOne) {
        rebuild(); // many records out of the table's order: sorted off the user-interface thread
        return;
    }
    for (const int index : indexes) {
        const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), index, before);
        const int row = int(at - m_rows.begin());
        beginInsertRows({}, row, row);
        m_rows.insert(at, index);
        endInsertRows();
    }
}

namespace {

SharedFreeBets freeBetsShown(const HistoryView &view, HistoryModel::FreeBetsInput &&input, QDate today)
{
    input.records->lookAt(view.records);
    FreeBetTotals totals = freeBetTotalsOf(view, *input.freeBets, input.records->found(), today);
    return std::make_shared<const FreeBetsShown>(FreeBetsShown {std::move(input.freeBets), std::move(totals)});
}

} // namespace

std::shared_ptr<KeyedRecords> HistoryModel::keyedRecords()
{
    const FreeBetBook &book = m_follower.ledger().freeBets();
    const std::pair made(book.version(), m_readsAfresh);
    if (!m_keyedRecords || made != m_keyedFor) {
        m_keyedRecords = std::make_shared<KeyedRecords>(freeBetKeys(book.freeBets(), book.unlinkedBets()));
        m_keyedFor = made;
    }
    return m_keyedRecords;
}

HistoryModel::FreeBetsKey HistoryModel::currentFreeBetsKey() const
{
    return {m_follower.ledger().freeBets().version(), m_settlementsVersion, m_view.records.size(), m_today()};
}

HistoryModel::FreeBetsInput HistoryModel::freeBetsInput(const FreeBetsKey &key)
{
    // Worked out again only when what they show may have changed; while the files are first read
    // they wait, since working them out for each piece read would cost the load more than all the
    // rest. Pieces appended later are few, and worked out at once.
    if (key == m_freeBetsKey || (m_follower.isLoading() && m_follower.isReading()))
        return {m_totals->freeBets, {}, {}};
    return {{}, m_follower.ledger().freeBets().sharedFreeBets(), keyedRecords()};
}

void HistoryModel::rebuild()
{
    // The one under way is done again when it ends if it turns out out of date (takeRebuild): a
    // load that ends with the ledger's settlements asks twice for the same rows and totals.
    if (m_rebuilding)
        return;
    m_rebuilding = true;
    takeView();
    const FreeBetsKey freeBetsKey = currentFreeBetsKey();
    FreeBetsInput freeBets = freeBetsInput(freeBetsKey);
    // Free bets that waited for the files to be read are worked out by the rebuild after.
    const bool freeBetsWait = freeBets.known && freeBetsKey != m_freeBetsKey;
    m_worker.start([this, view = m_view, filter = m_filter, sort = m_sort, generation = m_generation,
                       accounts = m_follower.ledger().accounts(), lines = m_follower.ledger().accountLines(),
                       exchange = m_follower.ledger().lastExchange(), before = m_totals, freeBets = std::move(freeBets),
                       freeBetsKey, freeBetsWait]() mutable {
        std::vector<int> rows = buildRows(view, filter, sort);
        Totals totals = totalsOf(view, rows, {accounts, lines, exchange}, *before);
        totals.freeBets = freeBets.known ? freeBets.known : freeBetsShown(view, std::move(freeBets), freeBetsKey.today);
        QMetaObject::invokeMethod(this,
            [this, rows = std::move(rows), totals = std::move(totals), covered = view.records.size(), generation,
                freeBetsKey, freeBetsWait]() mutable {
                if (generation == m_generation && !freeBetsWait)
                    m_freeBetsKey = freeBetsKey;
                takeRebuild(std::move(rows), std::move(totals), covered, generation);
                m_rebuildAgain
                    = m_rebuildAgain || (freeBetsWait && !(m_follower.isLoading() && m_follower.isReading()));
                m_rebuilding = false;
                if (std::exchange(m_rebuildAgain, false))
                    rebuild();
                else
                    emit rebuilt();
            });
    });
}

void HistoryModel::takeRebuild(std::vector<int> rows, Totals totals, qsizetype covered, int generation)
{
    if (generation != m_generation) {
        m_rebuildAgain = true;
        return;
    }
    if (rows != m_rows) {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
        addRecords(covered);
    }
    m_totals = std::make_shared<const Totals>(std::move(totals));
    if (covered < m_follower.records().size())
        m_rebuildAgain = true; // the totals are still to count what came meanwhile
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : history::columnCount;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    const qsizetype record = recordAt(index.row());
    const BetRecord &bet = m_view.records.at(record);
    switch (role) {
    case Qt::DisplayRole:
        return cellText(m_view, record, index.column(), QLocale());
    case StaleRole:
        return bet.stale;
    case Qt::ToolTipRole:
        if (!bet.stale)
            return {};
        return bet.calculated ? QStringLiteral("The figures are not those that this record's inputs give")
                              : QStringLiteral("Archived before Calculate was pressed: the record has no figures");
    case Qt::TextAlignmentRole:
        return isFigureColumn(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return columnCaption(section);
    if (orientation == Qt::Horizontal && (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)) {
        if (const QString meaning = columnMeaning(section); !meaning.isEmpty())
            return meaning;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace history
