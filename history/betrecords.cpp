#include "history/betrecords.h"

#include <cmath>
#include <tuple>

#include "calc/betcheck.h"
#include "calc/offers.h"
#include "store/filetext.h"
#include "store/offerfile.h"

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
        record.result = record.highest = calc::betResult(*stake, *forfeit, *backReturns);
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

calc::OfferValues offerValues(QByteArrayView field)
{
    const auto numbers = store::offerNumbers(field);
    return numbers ? calc::OfferValues(numbers->begin(), numbers->end()) : calc::OfferValues();
}

bool samePenny(std::optional<double> archived, double worked)
{
    // The file holds two decimals; a hair more allows for halves rounded either way.
    return archived && std::fabs(*archived - worked) <= 0.005 + 1e-9;
}

// An offer's kind, stake, result (its lowest outcome) and best outcome, worked out again from its
// inputs, and whether the file's figures, stake and outcomes are those.
void judgeOffer(const store::OfferFields &fields, BetRecord &record)
{
    using store::OfferField;
    const auto field = [&](OfferField name) { return fields[std::size_t(name)]; };
    const auto number = [&](OfferField name) { return store::archivedNumber(field(name)); };
    record.offer = true;
    record.kind
        = calc::betKindOfToken(std::string_view(field(OfferField::Kind).data(), field(OfferField::Kind).size()));
    const std::optional<double> stake = number(OfferField::Stake);
    const std::optional<double> lowest = number(OfferField::Lowest);
    const std::optional<double> highest = number(OfferField::Highest);
    record.stake = stake.value_or(0);
    record.result = lowest.value_or(std::numeric_limits<double>::quiet_NaN());
    record.highest = highest.value_or(std::numeric_limits<double>::quiet_NaN());
    const calc::OfferValues inputs = offerValues(field(OfferField::Inputs));
    // A kind this program does not know cannot be worked out again: it is shown as it stands.
    const std::optional<calc::OfferValues> figures
        = record.kind == calc::BetKind::Other ? std::nullopt : calc::offerFigures(record.kind, inputs);
    if (figures) {
        record.stake = calc::offerStake(record.kind, inputs, *figures);
        std::tie(record.result, record.highest) = calc::outcomeRange(record.kind, inputs, *figures);
    }
    if (inputs.contains("freeBet") && inputs.at("freeBet") != 0)
        record.stakeForfeit = record.stake;
    record.stale = record.kind != calc::BetKind::Other
        && !(figures && calc::offerFiguresMatch(record.kind, inputs, offerValues(field(OfferField::Figures)))
            && samePenny(stake, record.stake) && samePenny(lowest, record.result)
            && samePenny(highest, record.highest));
}

std::optional<qint64> offerMoment(QByteArrayView text)
{
    const QDateTime when = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    return when.isValid() ? std::optional(store::momentOf(when.date(), when.time())) : std::nullopt;
}

QString startOf(QByteArrayView line)
{
    constexpr qsizetype shown = 60;
    const QString text = store::textFromFile(line.first(std::min(line.size(), shown)).toByteArray());
    return line.size() > shown ? text + QStringLiteral("...") : text;
}

void countUnread(ArchiveBatch &batch, RecordSource source, qint64 number, const QString &start)
{
    if (batch.unreadSamples.size() < ArchiveBatch::keptSamples)
        batch.unreadSamples << QStringLiteral("%1line %2: %3")
                                   .arg(source == RecordSource::Offers ? QStringLiteral("offers file ") : QString())
                                   .arg(number)
                                   .arg(start);
    ++batch.unreadCount;
}

// The record a line holds: its date, bookmaker and judged figures; nothing when it holds none.
std::optional<BetRecord> recordOf(
    RecordSource source, QByteArrayView line, store::ArchiveDates &dates, QByteArrayView &bookmaker)
{
    BetRecord record;
    if (source == RecordSource::Offers) {
        const std::optional<store::OfferFields> fields = store::splitOfferLine(line);
        if (!fields)
            return std::nullopt;
        record.when = offerMoment((*fields)[std::size_t(store::OfferField::DateTime)]).value_or(noDate);
        bookmaker = (*fields)[std::size_t(store::OfferField::Bookmaker)];
        judgeOffer(*fields, record);
        return record;
    }
    const std::optional<store::ArchiveFields> fields = store::splitArchiveLine(line);
    if (!fields)
        return std::nullopt;
    record.when = dates.parse((*fields)[ArchiveField::DateTime]).value_or(noDate);
    bookmaker = (*fields)[ArchiveField::Bookmaker];
    judge(*fields, record);
    return record;
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
        countUnread(batch, source, firstLine, QStringLiteral("a line too long to be a record"));
        batch.linesRead = 1;
    }
    if (!chunk)
        return batch;
    QHash<QByteArrayView, int> bookmakerIndex;
    qint64 number = firstLine;
    store::ArchiveLines lines(chunk->bytes);
    for (QByteArrayView line; lines.next(line); ++number) {
        QByteArrayView bookmaker;
        std::optional<BetRecord> record = recordOf(source, line, dates, bookmaker);
        if (!record) {
            if (source != RecordSource::Offers || !store::isOfferHeader(line))
                countUnread(batch, source, number, startOf(line));
            continue;
        }
        record->offset = int(line.data() - chunk->bytes.constData());
        record->length = int(line.size());
        auto known = bookmakerIndex.constFind(bookmaker);
        if (known == bookmakerIndex.cend()) {
            known = bookmakerIndex.insert(bookmaker, int(batch.bookmakers.size()));
            batch.bookmakers << shownBookmaker(source == RecordSource::Offers
                    ? store::offerText(bookmaker)
                    : store::textFromFile(bookmaker.toByteArray()));
        }
        record->bookmaker = *known;
        batch.records.push_back(*record);
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
    if (!at(index).offer)
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
    return at(index).offer ? store::offerText(bytes) : store::textFromFile(bytes.toByteArray());
}

QString RecordsView::kindText(qsizetype index) const
{
    if (at(index).kind != calc::BetKind::Other)
        return QString::fromUtf8(calc::betKindName(at(index).kind));
    return store::offerText((*store::splitOfferLine(line(index)))[std::size_t(store::OfferField::Kind)]);
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
