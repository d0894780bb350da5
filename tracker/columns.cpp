#include "tracker/columns.h"

#include <algorithm>
#include <cmath>
#include <compare>
#include <numeric>
#include <string>
#include <unordered_map>

#include "calc/numbertext.h"
#include "store/archive.h"
#include "text/numbers.h"

namespace history {

using store::ArchiveField;

namespace {

constexpr double lowest = -std::numeric_limits<double>::infinity();

struct ViewHash
{
    std::size_t operator()(QByteArrayView view) const { return qHash(view); }
};

// Texts sort in one letter case: ASCII letters folded, other bytes as they are.
char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::strong_ordering compareFolded(QByteArrayView a, QByteArrayView b)
{
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        // As unsigned bytes, as std::string_view compares them.
        if (const auto order = uchar(folded(a[i])) <=> uchar(folded(b[i])); order != 0)
            return order;
    }
    return a.size() <=> b.size();
}

double orLowest(double value)
{
    return std::isnan(value) ? lowest : value;
}

} // namespace

std::optional<ArchiveField> fieldOf(int column)
{
    switch (Column(column)) {
    case Column::Date:
        return ArchiveField::DateTime;
    case Column::Event:
        return ArchiveField::Event;
    case Column::Bookmaker:
        return ArchiveField::Bookmaker;
    case Column::Kind:
    case Column::Result:
    case Column::Highest:
    case Column::Status:
    case Column::Actual:
    case Column::Exchange:
        return std::nullopt;
    case Column::Stake:
        break;
    }
    return ArchiveField(column - int(Column::Stake) + int(ArchiveField::Stake));
}

QString columnCaption(int column)
{
    switch (Column(column)) {
    case Column::Kind:
        return QStringLiteral("Kind");
    case Column::Result:
        return QStringLiteral("Result");
    case Column::Highest:
        return QStringLiteral("Highest");
    case Column::Status:
        return QStringLiteral("Status");
    case Column::Actual:
        return QStringLiteral("Actual");
    case Column::Exchange:
        return QStringLiteral("Exchange");
    default:
        return store::archiveFieldCaption(*fieldOf(column));
    }
}

bool isFigureColumn(int column)
{
    return column >= int(Column::Result) && column != int(Column::Status) && column != int(Column::Exchange);
}

QString resultText(const BetRecord &record, const QLocale &locale)
{
    if (!std::isnan(record.result))
        return calc::formatFigure(record.result, locale);
    return record.calculated ? QStringLiteral("no result: not all numbers") : QStringLiteral("not calculated");
}

QString statusText(const HistoryView &view, qsizetype index)
{
    const Settlement &settlement = view.settlements.at(index);
    if (settlement.removed)
        return QStringLiteral("Removed");
    return settlement.settled ? view.settlements.captions().value(settlement.caption) : QStringLiteral("Open");
}

QString exchangeText(const HistoryView &view, qsizetype index)
{
    return view.settlements.exchanges().value(view.settlements.at(index).exchange);
}

QString shownMoment(qint64 moment, const QLocale &locale)
{
    const QTime time = QTime(0, 0).addSecs(int(moment % text::secondsPerDay));
    return store::archiveDateTime(QDateTime(text::dayOf(moment), time), locale);
}

QString columnMeaning(int column)
{
    switch (Column(column)) {
    case Column::Kind:
        return QStringLiteral("What was bet: a matched or free bet from the calculator, or an offer");
    case Column::Result:
        return QStringLiteral("What the bet locked in: the lowest of its outcomes");
    case Column::Highest:
        return QStringLiteral("The best of the bet's outcomes");
    case Column::Status:
        return QStringLiteral("Open, the outcome the bet was settled as, or Removed");
    case Column::Actual:
        return QStringLiteral("The profit that came in, once the bet is settled");
    case Column::Exchange:
        return QStringLiteral("The exchange the bet's lays are at, once one is named for it");
    default:
        return fieldOf(column) == store::ArchiveField::Closeness
            ? QStringLiteral("The back returns as a share of the stake: how closely the lay matched the back bet")
            : QString();
    }
}

QString cellText(const HistoryView &view, qsizetype index, int column, const QLocale &locale)
{
    const BetRecord &record = view.records.at(index);
    switch (Column(column)) {
    case Column::Date:
        return record.when == noDate ? view.records.field(index, store::ArchiveField::DateTime)
                                     : shownMoment(record.when, locale);
    case Column::Kind:
        return view.records.kindText(index);
    case Column::Event:
        return eventOf(view, index);
    case Column::Bookmaker:
        return bookmakerOf(view, index);
    case Column::Result:
        return resultText(record, locale);
    case Column::Highest:
        return std::isnan(record.highest) ? QString() : calc::formatFigure(record.highest, locale);
    case Column::Status:
        return statusText(view, index);
    case Column::Actual: {
        const Settlement &settlement = view.settlements.at(index);
        return settlement.settled ? calc::formatFigure(settlement.actual(), locale) : QString();
    }
    case Column::Exchange:
        return exchangeText(view, index);
    default:
        return view.records.field(index, *fieldOf(column));
    }
}

const Mending *mendingOf(const HistoryView &view, qsizetype index)
{
    const int mended = view.settlements.at(index).mended;
    return mended >= 0 ? &view.settlements.mendings().at(mended) : nullptr;
}

QString eventOf(const HistoryView &view, qsizetype index)
{
    const Mending *mending = mendingOf(view, index);
    return mending ? mending->event : view.records.field(index, ArchiveField::Event);
}

QString bookmakerOf(const HistoryView &view, qsizetype index)
{
    // A line edited by hand may mend the event alone.
    const Mending *mending = mendingOf(view, index);
    return mending && !mending->bookmaker.isEmpty() ? mending->bookmaker
                                                    : view.records.bookmakers().at(view.records.at(index).bookmaker);
}

BetBookmakers::BetBookmakers(const HistoryView &view)
    : m_view(view)
    , m_names(view.records.bookmakers())
{
    for (const Mending &mending : view.settlements.mendings()) {
        qsizetype number = mending.bookmaker.isEmpty() ? -1 : m_names.indexOf(mending.bookmaker);
        if (number < 0 && !mending.bookmaker.isEmpty()) {
            number = m_names.size();
            m_names << mending.bookmaker;
        }
        m_mended.push_back(int(number)); // -1: the bookmaker as archived
    }
}

int BetBookmakers::of(qsizetype index) const
{
    const int mended = m_view.settlements.at(index).mended;
    const int number = mended >= 0 ? m_mended[std::size_t(mended)] : -1;
    return number >= 0 ? number : m_view.records.at(index).bookmaker;
}

RowTest::RowTest(const HistoryView &view, const RowFilter &filter)
    : m_view(view)
    , m_filter(filter)
    , m_bookmakers(m_view)
{
    if (!filter.bookmaker.isEmpty()) {
        m_bookmaker = int(m_bookmakers.names().indexOf(filter.bookmaker));
        if (m_bookmaker < 0)
            m_bookmaker = int(m_bookmakers.names().size());
    }
}

bool RowTest::accepts(qsizetype index) const
{
    const BetRecord &record = m_view.records.at(index);
    if (record.when != noDate && (record.when < m_filter.from || record.when > m_filter.to))
        return false;
    if (m_bookmaker >= 0 && m_bookmakers.of(index) != m_bookmaker)
        return false;
    if (m_filter.kind && record.kind != *m_filter.kind)
        return false;
    const Settlement &settlement = m_view.settlements.at(index);
    if (settlement.removed != (m_filter.status == StatusFilter::Removed))
        return false;
    if ((m_filter.status == StatusFilter::Open && settlement.settled)
        || (m_filter.status == StatusFilter::Settled && !settlement.settled))
        return false;
    return m_filter.eventText.isEmpty() || eventOf(m_view, index).contains(m_filter.eventText, Qt::CaseInsensitive);
}

namespace {

// The rank of each name in name order, any letter case.
std::vector<int> ranksByName(const QStringList &names)
{
    std::vector<int> byName(std::size_t(names.size()));
    std::iota(byName.begin(), byName.end(), 0);
    std::sort(byName.begin(), byName.end(),
        [&](int a, int b) { return names[a].compare(names[b], Qt::CaseInsensitive) < 0; });
    std::vector<int> rank(byName.size());
    for (std::size_t i = 0; i < byName.size(); ++i)
        rank[std::size_t(byName[i])] = int(i);
    return rank;
}

} // namespace

RowOrder::RowOrder(const HistoryView &view, RowSort sort)
    : m_view(view)
    , m_sort(sort.column < 0 ? RowSort {int(Column::Date), Qt::DescendingOrder} : sort)
    , m_bookmakers(m_view)
{
    if (sort.column == int(Column::Bookmaker))
        m_rank = ranksByName(m_bookmakers.names());
    else if (sort.column == int(Column::Status))
        m_rank = ranksByName(view.settlements.captions());
    else if (sort.column == int(Column::Exchange))
        m_rank = ranksByName(view.settlements.exchanges());
}

bool RowOrder::textual() const
{
    return m_sort.column == int(Column::Event);
}

double RowOrder::number(qsizetype index) const
{
    const BetRecord &record = m_view.records.at(index);
    switch (Column(m_sort.column)) {
    case Column::Status: {
        // Open bets first, then the outcomes by name, the removed last.
        const Settlement &settlement = m_view.settlements.at(index);
        if (settlement.removed)
            return std::numeric_limits<double>::max();
        return settlement.settled ? m_rank[std::size_t(settlement.caption)] : -1;
    }
    case Column::Actual: {
        const Settlement &settlement = m_view.settlements.at(index);
        return settlement.settled ? settlement.actual() : lowest;
    }
    case Column::Exchange: {
        const int exchange = m_view.settlements.at(index).exchange;
        return exchange >= 0 ? m_rank[std::size_t(exchange)] : -1;
    }
    case Column::Date:
        return record.when == noDate ? lowest : double(record.when);
    case Column::Kind:
        return double(record.kind);
    case Column::Bookmaker:
        return m_rank[std::size_t(m_bookmakers.of(index))];
    case Column::Result:
        return orLowest(record.result);
    case Column::Highest:
        return orLowest(record.highest);
    default:
        return text::plainNumber(m_view.records.fieldBytes(index, *fieldOf(m_sort.column))).value_or(lowest);
    }
}

QByteArrayView RowOrder::text(qsizetype index) const
{
    const Mending *mending = mendingOf(m_view, index);
    return mending ? QByteArrayView(mending->eventUtf8)
                   : m_view.records.fieldBytes(index, ArchiveField::Event).trimmed();
}

bool RowOrder::before(qsizetype a, qsizetype b) const
{
    std::partial_ordering order = textual() ? compareFolded(text(a), text(b)) : number(a) <=> number(b);
    if (m_sort.order == Qt::DescendingOrder)
        order = 0 <=> order;
    return order != 0 ? order < 0 : a > b;
}

void RowOrder::sort(std::vector<int> &indexes) const
{
    // Each key is worked out once, then the keys are sorted: n look-ups, not n log n.
    const bool descending = m_sort.order == Qt::DescendingOrder;
    const auto sortBy = [&](auto key) {
        using Key = decltype(key(0));
        std::vector<std::pair<Key, int>> keyed;
        keyed.reserve(indexes.size());
        for (const int index : indexes)
            keyed.emplace_back(key(index), index);
        std::sort(keyed.begin(), keyed.end(), [&](const auto &a, const auto &b) {
            const auto order = descending ? b.first <=> a.first : a.first <=> b.first;
            return order != 0 ? order < 0 : a.second > b.second;
        });
        for (std::size_t i = 0; i < keyed.size(); ++i)
            indexes[i] = keyed[i].second;
    };
    if (!textual()) {
        sortBy([&](int index) { return number(index); });
        return;
    }
    // Events repeat: each distinct one is folded to one letter case and ranked once, and the
    // records sort by their event's rank.
    std::unordered_map<QByteArrayView, int, ViewHash> ids;
    std::vector<int> idOf(std::size_t(m_view.records.size()));
    for (const int index : indexes)
        idOf[std::size_t(index)] = ids.try_emplace(text(index), int(ids.size())).first->second;
    std::vector<std::pair<std::string, int>> distinct;
    distinct.reserve(ids.size());
    for (const auto &[event, id] : ids) {
        std::string key(std::size_t(event.size()), ' ');
        std::transform(event.begin(), event.end(), key.begin(), folded);
        distinct.emplace_back(std::move(key), id);
    }
    std::sort(distinct.begin(), distinct.end());
    // Texts that differ in letter case only share a rank, as before() finds them equal.
    std::vector<int> rank(distinct.size());
    for (std::size_t i = 0, shared = 0; i < distinct.size(); ++i) {
        if (i > 0 && distinct[i].first != distinct[i - 1].first)
            shared = i;
        rank[std::size_t(distinct[i].second)] = int(shared);
    }
    sortBy([&](int index) { return rank[std::size_t(idOf[std::size_t(index)])]; });
}

std::vector<int> buildRows(const HistoryView &view, const RowFilter &filter, RowSort sort)
{
    const RowTest test(view, filter);
    std::vector<int> rows;
    rows.reserve(std::size_t(view.records.size()));
    for (qsizetype index = 0; index < view.records.size(); ++index) {
        if (test.accepts(index))
            rows.push_back(int(index));
    }
    RowOrder(view, sort).sort(rows);
    return rows;
}

} // namespace history
