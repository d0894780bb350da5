#include "tracker/recordrow.h"

#include <algorithm>
#include <cmath>

#include "calc/betcheck.h"
#include "calc/offers.h"
#include "store/csvfield.h"
#include "store/offerfile.h"
#include "text/numbers.h"

namespace history {

using store::ArchiveField;
using store::OfferField;

namespace {

calc::OfferValues numbersOf(QByteArrayView field)
{
    auto numbers = store::offerNumbers(field);
    return numbers ? calc::OfferValues(std::move(*numbers)) : calc::OfferValues();
}

QByteArrayView offerField(const store::OfferFields &fields, OfferField field)
{
    return fields[std::size_t(field)];
}

bool samePenny(std::optional<double> archived, double worked)
{
    // The file holds two decimals; a hair more allows for halves rounded either way.
    return archived && std::fabs(*archived - worked) <= 0.005 + 1e-9;
}

// A calculator record's inputs, where they are numbers: what its money is worked out from.
std::optional<calc::MatchedBetInput> matchedBetInput(const store::ArchiveFields &fields)
{
    const auto number = [&](ArchiveField field) { return text::plainNumber(fields[field]); };
    const std::optional<double> inputs[]
        = {number(ArchiveField::Stake), number(ArchiveField::StakeForfeit), number(ArchiveField::BackOdds),
            number(ArchiveField::LayOdds), number(ArchiveField::BackComm), number(ArchiveField::LayComm)};
    if (std::any_of(std::begin(inputs), std::end(inputs), [](const auto &input) { return !input; }))
        return std::nullopt;
    return calc::MatchedBetInput {*inputs[0], *inputs[1], *inputs[2], *inputs[3], *inputs[4], *inputs[5]};
}

// Whether the figures are those the inputs give, to the cent, as the calculator shows them.
bool matchedBetIsStale(const store::ArchiveFields &fields)
{
    std::array<double, store::archiveFieldCount> values {};
    for (const ArchiveField field : store::allArchiveFields()) {
        if (!store::isNumberField(field))
            continue;
        const std::optional<double> value = text::plainNumber(fields[field]);
        if (!value)
            return true;
        values[std::size_t(field)] = *value;
    }
    const auto value = [&](ArchiveField field) { return values[std::size_t(field)]; };
    return !calc::figuresMatchInputs(
        {value(ArchiveField::Stake), value(ArchiveField::StakeForfeit), value(ArchiveField::BackOdds),
            value(ArchiveField::LayOdds), value(ArchiveField::BackComm), value(ArchiveField::LayComm)},
        {value(ArchiveField::BackReturn), value(ArchiveField::LayStake), value(ArchiveField::LayRisk),
            value(ArchiveField::LayReturns), value(ArchiveField::BackReturns), value(ArchiveField::Closeness)});
}

void fillMatchedBet(const store::ArchiveFields &fields, BetRecord &record)
{
    const std::optional<double> stake = text::plainNumber(fields[ArchiveField::Stake]);
    const std::optional<double> forfeit = text::plainNumber(fields[ArchiveField::StakeForfeit]);
    const std::optional<double> backReturns = text::plainNumber(fields[ArchiveField::BackReturns]);
    record.kind = calc::kindOfMatchedBet(stake, forfeit);
    if (const auto closeness = text::plainNumber(fields[ArchiveField::Closeness]))
        record.closeness = float(*closeness);
    const ArchiveField figures[] = {ArchiveField::LayRisk, ArchiveField::LayStake, ArchiveField::BackReturn,
        ArchiveField::BackReturns, ArchiveField::LayReturns, ArchiveField::Closeness};
    record.calculated = std::any_of(
        std::begin(figures), std::end(figures), [&](ArchiveField field) { return !fields[field].trimmed().isEmpty(); });
    record.stale = matchedBetIsStale(fields);
    // More forfeited than staked is no bet anyone placed: it has no result and ties up no money.
    if (stake && forfeit && *forfeit > *stake)
        return;
    record.ownStake = stake.value_or(0) - forfeit.value_or(0);
    record.freeStake = forfeit.value_or(0);
    if (stake && forfeit && backReturns)
        record.result = record.highest = calc::betResult(*stake, *forfeit, *backReturns);
    const std::optional<calc::MatchedBetInput> input = matchedBetInput(fields);
    if (const auto open = input ? calc::matchedBetOpenMoney(*input) : std::nullopt)
        record.openAtExchange = open->exchange;
}

// An offer record's inputs and the figures they give.
struct OfferNumbers
{
    calc::OfferValues inputs;
    std::optional<calc::OfferValues> figures;
};

std::optional<OfferNumbers> offerNumbersOf(const BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes)
{
    const std::optional<store::OfferFields> fields = store::splitOfferLine(line);
    if (!fields || record.kind == calc::BetKind::Other)
        return std::nullopt;
    OfferNumbers numbers {numbersOf(offerField(*fields, OfferField::Inputs)), std::nullopt};
    numbers.figures = calc::offerFigures(record.kind, numbers.inputs, shapes.shape(record.kind, numbers.inputs));
    return numbers.figures ? std::optional(numbers) : std::nullopt;
}

} // namespace

QString otherOutcome(calc::Pennies atBookmaker)
{
    const calc::Pennies magnitude = atBookmaker < 0 ? -atBookmaker : atBookmaker;
    return QStringLiteral("%1:%2%3.%4")
        .arg(QLatin1String(calc::otherOutcome), atBookmaker < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

std::optional<calc::Pennies> otherAtBookmaker(const QString &outcome)
{
    // "other:", an optional minus, 1 to 13 digits, "." and two digits.
    const QString prefix = QLatin1String(calc::otherOutcome) + QLatin1Char(':');
    if (!outcome.startsWith(prefix))
        return std::nullopt;
    const QStringView amount = QStringView(outcome).mid(prefix.size());
    const bool negative = amount.startsWith(QLatin1Char('-'));
    const QStringView digits = amount.mid(negative ? 1 : 0);
    const qsizetype point = digits.size() - 3;
    const auto allDigits = [](QStringView text) {
        return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (point < 1 || point > 13 || digits[point] != QLatin1Char('.') || !allDigits(digits.first(point))
        || !allDigits(digits.mid(point + 1)))
        return std::nullopt;
    const calc::Pennies magnitude = digits.first(point).toLongLong() * 100 + digits.mid(point + 1).toLongLong();
    return negative ? -magnitude : magnitude;
}

quint64 digestKey(const store::Sha256 &digest)
{
    quint64 key = 0;
    for (int i = 0; i < 8; ++i)
        key = key << 8 | digest[std::size_t(i)];
    return key;
}

std::optional<BetRecord> recordOf(
    RecordSource source, QByteArrayView line, store::ArchiveDates &dates, QByteArrayView &bookmaker)
{
    BetRecord record;
    record.source = source;
    if (source == RecordSource::Offers) {
        const std::optional<store::OfferFields> fields = store::splitOfferLine(line);
        if (!fields)
            return std::nullopt;
        record.when = text::isoMoment(offerField(*fields, OfferField::DateTime)).value_or(noDate);
        bookmaker = offerField(*fields, OfferField::Bookmaker);
        const QByteArrayView kind = offerField(*fields, OfferField::Kind);
        record.kind = calc::betKindOfToken(std::string_view(kind.data(), std::size_t(kind.size())));
    } else {
        const std::optional<store::ArchiveFields> fields = store::splitArchiveLine(line);
        if (!fields)
            return std::nullopt;
        record.when = dates.parse((*fields)[ArchiveField::DateTime]).value_or(noDate);
        bookmaker = (*fields)[ArchiveField::Bookmaker];
        fillMatchedBet(*fields, record);
    }
    record.digest = digestKey(store::sha256(line));
    return record;
}

void fillOffer(BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes)
{
    const std::optional<store::OfferFields> fields = store::splitOfferLine(line);
    if (!fields)
        return;
    const std::optional<double> stake = text::plainNumber(offerField(*fields, OfferField::Stake));
    const std::optional<double> lowest = text::plainNumber(offerField(*fields, OfferField::Lowest));
    const std::optional<double> highest = text::plainNumber(offerField(*fields, OfferField::Highest));
    record.ownStake = stake.value_or(0);
    record.result = lowest.value_or(noFigure);
    record.highest = highest.value_or(noFigure);
    // A kind this program does not know cannot be worked out again: it is shown as it stands.
    record.stale = record.kind != calc::BetKind::Other;
    if (record.kind == calc::BetKind::Other)
        return;
    const calc::OfferValues inputs = numbersOf(offerField(*fields, OfferField::Inputs));
    const calc::OfferShape &shape = shapes.shape(record.kind, inputs);
    const std::optional<calc::OfferValues> figures = calc::offerFigures(record.kind, inputs, shape);
    if (!figures)
        return;
    const calc::OfferSummary summary = calc::summarizeOffer(record.kind, inputs, *figures, shape);
    record.ownStake = summary.stake - summary.freeStake;
    record.freeStake = summary.freeStake;
    record.result = summary.lowest;
    record.highest = summary.highest;
    record.openAtExchange = summary.open.exchange;
    record.stale = !calc::figuresMatch(shape, *figures, numbersOf(offerField(*fields, OfferField::Figures)))
        || !samePenny(stake, summary.stake) || !samePenny(lowest, summary.lowest)
        || !samePenny(highest, summary.highest);
}

std::vector<calc::SettleOutcome> outcomesOf(const BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes)
{
    if (record.source == RecordSource::Archive)
        return calc::matchedBetOutcomes();
    const std::optional<OfferNumbers> numbers = offerNumbersOf(record, line, shapes);
    return numbers ? calc::offerOutcomes(record.kind, numbers->inputs, shapes.shape(record.kind, numbers->inputs))
                   : std::vector<calc::SettleOutcome>();
}

SettledAs settledAs(const BetRecord &record, QByteArrayView line, const QString &outcome,
    std::optional<calc::Pennies> amount, calc::ShapeCache &shapes)
{
    if (outcome == QLatin1String(calc::voidOutcome))
        return {calc::voidPayout(), QStringLiteral("Void")};
    if (const std::optional<calc::Pennies> atBookmaker = otherAtBookmaker(outcome)) {
        if (!amount)
            return {std::nullopt, QStringLiteral("Other amount")};
        return {calc::otherPayout(*atBookmaker, *amount - *atBookmaker), QStringLiteral("Other amount")};
    }
    if (outcome == QLatin1String(calc::otherOutcome)) // written before the two parts were asked for
        return {amount ? std::optional(calc::otherPayout(*amount, 0)) : std::nullopt, QStringLiteral("Other amount")};
    if (record.source == RecordSource::Archive) {
        // A million settled records ask this: the calculator's outcomes are made texts once.
        struct Known
        {
            QString key;
            std::string keyBytes;
            QString caption;
        };
        static const std::vector<Known> outcomes = [] {
            std::vector<Known> known;
            for (const calc::SettleOutcome &o : calc::matchedBetOutcomes())
                known.push_back({QString::fromStdString(o.key), o.key, QString::fromStdString(o.caption)});
            return known;
        }();
        const auto known
            = std::find_if(outcomes.begin(), outcomes.end(), [&](const Known &o) { return o.key == outcome; });
        if (known == outcomes.end())
            return {std::nullopt, outcome}; // a figure this program does not offer: shown by its key
        const std::optional<store::ArchiveFields> fields = store::splitArchiveLine(line);
        const std::optional<calc::MatchedBetInput> bet = fields ? matchedBetInput(*fields) : std::nullopt;
        return {bet ? calc::matchedBetPayout(*bet, known->keyBytes) : std::nullopt, known->caption};
    }
    const std::optional<OfferNumbers> numbers = offerNumbersOf(record, line, shapes);
    if (!numbers)
        return {std::nullopt, outcome};
    const std::string key = outcome.toStdString();
    const std::vector<calc::SettleOutcome> outcomes
        = calc::offerOutcomes(record.kind, numbers->inputs, shapes.shape(record.kind, numbers->inputs));
    const auto known
        = std::find_if(outcomes.begin(), outcomes.end(), [&](const calc::SettleOutcome &o) { return o.key == key; });
    return {calc::offerPayout(record.kind, numbers->inputs, *numbers->figures, key),
        known == outcomes.end() ? outcome : QString::fromStdString(known->caption)};
}

std::optional<FreeBetInOffer> freeBetInOffer(const BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes)
{
    if (record.source != RecordSource::Offers)
        return std::nullopt;
    const std::optional<OfferNumbers> numbers = offerNumbersOf(record, line, shapes);
    if (!numbers || !numbers->figures->contains("freeBetValue"))
        return std::nullopt;
    const calc::OfferValues &in = numbers->inputs;
    const double amount = in.contains("refund") ? in.at("refund") : in.contains("backStake") ? in.at("backStake") : 0;
    return FreeBetInOffer {calc::toPennies(amount), calc::toPennies(numbers->figures->at("freeBetValue"))};
}

OfferExport offerExportOf(const BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes)
{
    OfferExport exported;
    const std::optional<store::OfferFields> fields = store::splitOfferLine(line);
    if (record.source != RecordSource::Offers || !fields)
        return exported;
    QStringList pairs;
    for (const OfferField field : {OfferField::Inputs, OfferField::Figures}) {
        if (const QString text = store::csvText(offerField(*fields, field)); !text.isEmpty())
            pairs << text;
    }
    exported.inputsAndFigures = pairs.join(QLatin1Char(';'));
    if (const std::optional<OfferNumbers> numbers = offerNumbersOf(record, line, shapes))
        exported.backAndLay = calc::backAndLay(record.kind, numbers->inputs, *numbers->figures);
    return exported;
}

} // namespace history
