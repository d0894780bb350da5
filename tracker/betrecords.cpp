#include "tracker/betrecords.h"

#include "store/csvfield.h"
#include "store/filetext.h"
#include "store/offerfile.h"
#include "text/lines.h"
#include "tracker/sidebyside.h"

namespace history {

using store::ArchiveField;

namespace {

QString archiveText(QByteArrayView bytes)
{
    return store::textFromFile(bytes.toByteArray());
}

QString where(RecordSource source)
{
    return source == RecordSource::Offers ? QStringLiteral("offers file ") : QString();
}

} // namespace

QString shownBookmaker(const QString &archived)
{
    const QString name = archived.trimmed();
    if (name.isEmpty() || name == QLatin1String("Select Bookie..."))
        return QStringLiteral("(no bookmaker)");
    return name;
}

ArchiveBatch readBatch(RecordSource source, const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes,
    store::ArchiveDates &dates)
{
    ArchiveBatch batch;
    std::optional<store::ArchiveChunk> chunk = store::readArchiveFrom(path, from, maxBytes);
    batch.end = chunk ? chunk->end : from;
    if (chunk && chunk->skippedLongLine) {
        batch.unread.add(where(source), firstLine, "a line too long to be a record", &archiveText);
        batch.linesRead = 1;
    }
    if (!chunk)
        return batch;
    QHash<QByteArrayView, int> bookmakerIndex;
    qint64 number = firstLine;
    text::Lines lines(chunk->lines());
    for (QByteArrayView line; lines.next(line); ++number) {
        // An editor may save the file with a byte-order mark: it is no part of the first record.
        if (from == 0 && number == firstLine)
            line = store::withoutByteOrderMark(line);
        QByteArrayView bookmaker;
        std::optional<BetRecord> record = recordOf(source, line, dates, bookmaker);
        if (!record) {
            if (source != RecordSource::Offers || !store::isOfferHeader(line))
                batch.unread.add(where(source), number, line, &archiveText);
            continue;
        }
        record->offset = int(line.data() - chunk->bytes.constData());
        record->length = int(line.size());
        auto known = bookmakerIndex.constFind(bookmaker);
        if (known == bookmakerIndex.cend()) {
            known = bookmakerIndex.insert(bookmaker, int(batch.bookmakers.size()));
            batch.bookmakers << shownBookmaker(source == RecordSource::Offers
                    ? store::csvText(bookmaker)
                    : store::textFromFile(bookmaker.toByteArray()));
        }
        record->bookmaker = *known;
        batch.records.push_back(*record);
    }
    batch.linesRead += number - firstLine;
    batch.bytes = std::move(chunk->bytes);
    return batch;
}

void fillOffers(ArchiveBatch &batch)
{
    // The larger part of reading an offer: a large batch is shared with a second thread.
    constexpr std::size_t sharedFrom = 2'000;
    sideBySide(batch.records.size(), sharedFrom, [&batch](int, std::size_t from, std::size_t to) {
        calc::ShapeCache shapes;
        for (std::size_t i = from; i < to; ++i) {
            BetRecord &record = batch.records[i];
            if (record.source == RecordSource::Offers)
                fillOffer(record, QByteArrayView(batch.bytes).sliced(record.offset, record.length), shapes);
        }
    });
}

QByteArrayView RecordsView::line(qsizetype index) const
{
    const BetRecord &record = at(index);
    return QByteArrayView(m_chunks[std::size_t(record.chunk)]).sliced(record.offset, record.length);
}

QByteArrayView RecordsView::fieldBytes(qsizetype index, ArchiveField field) const
{
    if (at(index).source == RecordSource::Archive)
        return (*store::splitArchiveLine(line(index)))[field];
    // An offer has the archive's text fields and a stake; its other figures are its own.
    using store::OfferField;
    const store::OfferFields offer = *store::splitOfferLine(line(index));
    switch (field) {
    case ArchiveField::DateTime:
        return offer[std::size_t(OfferField::DateTime)];
    case ArchiveField::Event:
        return offer[std::size_t(OfferField::Event)];
    case ArchiveField::Bookmaker:
        return offer[std::size_t(OfferField::Bookmaker)];
    case ArchiveField::Stake:
        return offer[std::size_t(OfferField::Stake)];
    default:
        return {};
    }
}

QString RecordsView::field(qsizetype index, ArchiveField field) const
{
    const QByteArrayView bytes = fieldBytes(index, field);
    return at(index).source == RecordSource::Offers ? store::csvText(bytes) : store::textFromFile(bytes.toByteArray());
}

QString RecordsView::kindText(qsizetype index) const
{
    if (at(index).kind != calc::BetKind::Other)
        return QString::fromUtf8(calc::betKindName(at(index).kind));
    return store::csvText((*store::splitOfferLine(line(index)))[std::size_t(store::OfferField::Kind)]);
}

void BookmakerNumbers::number(ArchiveBatch &batch)
{
    std::vector<int> global;
    global.reserve(std::size_t(batch.bookmakers.size()));
    QStringList added;
    for (const QString &name : std::as_const(batch.bookmakers)) {
        auto known = m_numbers.constFind(name);
        if (known == m_numbers.cend()) {
            known = m_numbers.insert(name, int(m_numbers.size()));
            added << name;
        }
        global.push_back(*known);
    }
    for (BetRecord &record : batch.records)
        record.bookmaker = global[std::size_t(record.bookmaker)];
    batch.bookmakers = std::move(added);
}

void BetRecords::add(ArchiveBatch &&batch)
{
    m_bookmakers << batch.bookmakers;
    if (batch.records.empty())
        return; // lines that are no records are not kept
    const int chunk = int(m_chunks.size());
    m_chunks.push_back(std::move(batch.bytes));
    for (BetRecord record : batch.records) {
        record.chunk = chunk;
        if (m_count % pageSize == 0) {
            m_pages.push_back(std::make_shared<Page>());
            m_pages.back()->reserve(std::size_t(pageSize));
        }
        m_pages.back()->push_back(record);
        ++m_count;
    }
}

} // namespace history
