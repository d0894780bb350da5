#include "history/betrecords.h"

#include "calc/betcheck.h"
#include "store/filetext.h"

namespace history {

namespace {

std::optional<double> number(const store::ArchiveFields &fields, int index)
{
    return store::archivedNumber(fields[std::size_t(index)]);
}

// The result and the staleness of a record, from its number fields (see ArchiveEntry::figures).
void judge(const store::ArchiveFields &fields, BetRecord &record)
{
    std::array<std::optional<double>, 12> values;
    for (int i = 0; i < 12; ++i)
        values[std::size_t(i)] = number(fields, 3 + i);
    const auto [stake, forfeit, backOdds, layOdds, layRisk, layStake, backComm, layComm, backReturn, backReturns,
        layReturns, closeness]
        = values;
    record.stake = stake.value_or(0);
    record.closeness = closeness.value_or(std::numeric_limits<double>::quiet_NaN());
    if (stake && forfeit && backReturns)
        record.result = calc::betResult(*stake, *forfeit, *backReturns);
    for (const auto &value : values) {
        if (!value)
            return;
    }
    record.stale = !calc::figuresMatchInputs({*stake, *forfeit, *backOdds, *layOdds, *backComm, *layComm},
        {*backReturn, *layStake, *layRisk, *layReturns, *backReturns, *closeness});
}

QString startOf(QByteArrayView line)
{
    constexpr qsizetype shown = 60;
    const QString text = store::textFromFile(line.first(std::min(line.size(), shown)).toByteArray());
    return line.size() > shown ? text + QStringLiteral("...") : text;
}

} // namespace

ArchiveBatch readBatch(const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes, store::ArchiveDates &dates)
{
    ArchiveBatch batch;
    std::optional<store::ArchiveChunk> chunk = store::readArchiveFrom(path, from, maxBytes);
    batch.end = chunk ? chunk->end : from;
    if (chunk && chunk->skippedLongLine) {
        batch.unread << UnreadLine {firstLine, QStringLiteral("a line too long to be a record")};
        batch.linesRead = 1;
    }
    if (!chunk)
        return batch;
    QHash<QByteArrayView, int> bookmakerIndex;
    qint64 number = firstLine;
    for (QByteArrayView line : std::as_const(chunk->lines)) {
        const std::optional<store::ArchiveFields> fields = store::splitArchiveLine(line);
        if (!fields) {
            batch.unread << UnreadLine {number++, startOf(line)};
            continue;
        }
        ++number;
        BetRecord record;
        record.offset = int(line.data() - chunk->bytes.constData());
        record.length = int(line.size());
        record.when = dates.parse((*fields)[0]).value_or(noDate);
        const QByteArrayView bookmaker = (*fields)[2];
        auto known = bookmakerIndex.constFind(bookmaker);
        if (known == bookmakerIndex.cend()) {
            known = bookmakerIndex.insert(bookmaker, int(batch.bookmakers.size()));
            batch.bookmakers << store::textFromFile(bookmaker.toByteArray());
        }
        record.bookmaker = *known;
        judge(*fields, record);
        batch.records.push_back(record);
    }
    batch.linesRead += number - firstLine;
    batch.bytes = std::move(chunk->bytes);
    return batch;
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
    const int chunk = int(m_chunks.size());
    m_chunks.push_back(std::move(batch.bytes));
    for (BetRecord record : batch.records) {
        record.chunk = chunk;
        record.bookmaker = global[record.bookmaker];
        m_records.push_back(record);
    }
}

QStringList BetRecords::fields(qsizetype index) const
{
    const BetRecord &record = at(index);
    const QByteArrayView line
        = QByteArrayView(m_chunks[std::size_t(record.chunk)]).sliced(record.offset, record.length);
    QStringList texts;
    const store::ArchiveFields split = *store::splitArchiveLine(line);
    for (QByteArrayView field : split)
        texts << store::textFromFile(field.toByteArray());
    return texts;
}

QString BetRecords::field(qsizetype index, int field) const
{
    return fields(index).at(field);
}

} // namespace history
