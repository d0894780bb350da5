#include "history/betrecords.h"

#include "calc/betcheck.h"
#include "store/filetext.h"

namespace history {

using store::ArchiveField;

namespace {

// The result, the kind and the staleness of a record, from its number fields.
void judge(const store::ArchiveFields &fields, BetRecord &record)
{
    const auto number = [&](ArchiveField field) { return store::archivedNumber(fields[field]); };
    const std::optional<double> stake = number(ArchiveField::Stake);
    const std::optional<double> forfeit = number(ArchiveField::StakeForfeit);
    const std::optional<double> backReturns = number(ArchiveField::BackReturns);
    record.stake = stake.value_or(0);
    record.stakeForfeit = forfeit.value_or(0);
    record.kind = calc::kindOfMatchedBet(stake, forfeit);
    record.closeness = number(ArchiveField::Closeness).value_or(std::numeric_limits<double>::quiet_NaN());
    if (stake && forfeit && backReturns)
        record.result = calc::betResult(*stake, *forfeit, *backReturns);
    const ArchiveField figures[] = {ArchiveField::LayRisk, ArchiveField::LayStake, ArchiveField::BackReturn,
        ArchiveField::BackReturns, ArchiveField::LayReturns, ArchiveField::Closeness};
    record.calculated = std::any_of(
        std::begin(figures), std::end(figures), [&](ArchiveField field) { return !fields[field].trimmed().isEmpty(); });

    std::array<double, store::archiveFieldCount> values {};
    for (const ArchiveField field : store::allArchiveFields()) {
        if (!store::isNumberField(field))
            continue;
        const std::optional<double> value = number(field);
        if (!value)
            return;
        values[std::size_t(field)] = *value;
    }
    const auto value = [&](ArchiveField field) { return values[std::size_t(field)]; };
    record.stale = !calc::figuresMatchInputs(
        {value(ArchiveField::Stake), value(ArchiveField::StakeForfeit), value(ArchiveField::BackOdds),
            value(ArchiveField::LayOdds), value(ArchiveField::BackComm), value(ArchiveField::LayComm)},
        {value(ArchiveField::BackReturn), value(ArchiveField::LayStake), value(ArchiveField::LayRisk),
            value(ArchiveField::LayReturns), value(ArchiveField::BackReturns), value(ArchiveField::Closeness)});
}

QString startOf(QByteArrayView line)
{
    constexpr qsizetype shown = 60;
    const QString text = store::textFromFile(line.first(std::min(line.size(), shown)).toByteArray());
    return line.size() > shown ? text + QStringLiteral("...") : text;
}

void countUnread(ArchiveBatch &batch, qint64 number, const QString &start)
{
    if (batch.unreadSamples.size() < ArchiveBatch::keptSamples)
        batch.unreadSamples << QStringLiteral("line %1: %2").arg(number).arg(start);
    ++batch.unreadCount;
}

} // namespace

QString shownBookmaker(const QString &archived)
{
    const QString name = archived.trimmed();
    if (name.isEmpty() || name == QLatin1String("Select Bookie..."))
        return QStringLiteral("(no bookmaker)");
    return name;
}

ArchiveBatch readBatch(const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes, store::ArchiveDates &dates)
{
    ArchiveBatch batch;
    std::optional<store::ArchiveChunk> chunk = store::readArchiveFrom(path, from, maxBytes);
    batch.end = chunk ? chunk->end : from;
    if (chunk && chunk->skippedLongLine) {
        countUnread(batch, firstLine, QStringLiteral("a line too long to be a record"));
        batch.linesRead = 1;
    }
    if (!chunk)
        return batch;
    QHash<QByteArrayView, int> bookmakerIndex;
    qint64 number = firstLine;
    store::ArchiveLines lines(chunk->bytes);
    for (QByteArrayView line; lines.next(line);) {
        const std::optional<store::ArchiveFields> fields = store::splitArchiveLine(line);
        if (!fields) {
            countUnread(batch, number++, startOf(line));
            continue;
        }
        ++number;
        BetRecord record;
        record.offset = int(line.data() - chunk->bytes.constData());
        record.length = int(line.size());
        record.when = dates.parse((*fields)[ArchiveField::DateTime]).value_or(noDate);
        const QByteArrayView bookmaker = (*fields)[ArchiveField::Bookmaker];
        auto known = bookmakerIndex.constFind(bookmaker);
        if (known == bookmakerIndex.cend()) {
            known = bookmakerIndex.insert(bookmaker, int(batch.bookmakers.size()));
            batch.bookmakers << shownBookmaker(store::textFromFile(bookmaker.toByteArray()));
        }
        record.bookmaker = *known;
        judge(*fields, record);
        batch.records.push_back(record);
    }
    batch.linesRead += number - firstLine;
    batch.bytes = std::move(chunk->bytes);
    return batch;
}

QByteArrayView RecordsView::line(qsizetype index) const
{
    const BetRecord &record = at(index);
    return QByteArrayView(m_chunks[std::size_t(record.chunk)]).sliced(record.offset, record.length);
}

QByteArrayView RecordsView::fieldBytes(qsizetype index, ArchiveField field) const
{
    return (*store::splitArchiveLine(line(index)))[field];
}

QString RecordsView::field(qsizetype index, ArchiveField field) const
{
    return store::textFromFile(fieldBytes(index, field).toByteArray());
}

void BetRecords::add(ArchiveBatch &&batch)
{
    // Bookmaker numbers of the batch become numbers of the whole history.
    QList<int> global;
    for (const QString &name : std::as_const(batch.bookmakers)) {
        auto known = m_bookmakerIndex.constFind(name);
        if (known == m_bookmakerIndex.cend()) {
            known = m_bookmakerIndex.insert(name, int(m_bookmakers.size()));
            m_bookmakers << name;
        }
        global << *known;
    }
    if (batch.records.empty())
        return; // lines that are no records are not kept
    const int chunk = int(m_chunks.size());
    m_chunks.push_back(std::move(batch.bytes));
    for (BetRecord record : batch.records) {
        record.chunk = chunk;
        record.bookmaker = global[record.bookmaker];
        if (m_count % pageSize == 0) {
            m_pages.push_back(std::make_shared<Page>());
            m_pages.back()->reserve(std::size_t(pageSize));
        }
        m_pages.back()->push_back(record);
        ++m_count;
    }
}

} // namespace history
