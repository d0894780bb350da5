#include "store/ledger.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

#include "store/archivereader.h"
#include "store/csvfield.h"
#include "store/datafolder.h"
#include "store/files.h"
#include "text/lines.h"
#include "text/moments.h"
#include "text/numbers.h"

namespace store {

namespace {

constexpr std::array<const char *, 14> actionWords {"settle", "reopen", "remove", "restore", "deposit", "withdraw",
    "status", "exchange", "type", "amend", "freebet", "usefreebet", "dropfreebet", "adjust"};

// The fields of a line of each version.
constexpr std::size_t firstVersionFields = std::size_t(LedgerField::Note) + 1;
constexpr std::size_t secondVersionFields = std::size_t(LedgerField::Expires) + 1;

const char *sourceWord(RecordSource source)
{
    return source == RecordSource::Archive ? "log" : "offers";
}

std::optional<LedgerAction> actionOf(QByteArrayView word)
{
    const auto found = std::find_if(actionWords.begin(), actionWords.end(), [&](const char *w) { return word == w; });
    return found == actionWords.end() ? std::nullopt : std::optional(LedgerAction(found - actionWords.begin()));
}

bool isBetAction(LedgerAction action)
{
    return action == LedgerAction::Settle || action == LedgerAction::Reopen || action == LedgerAction::Remove
        || action == LedgerAction::Restore || action == LedgerAction::Exchange || action == LedgerAction::Amend;
}

std::optional<int> wholeNumber(QByteArrayView text)
{
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.isEmpty() ? std::optional(value) : std::nullopt;
}

// "<hex digest>:<occurrence>", as the names of records and free bets end.
std::optional<std::pair<Sha256, int>> digestAndOccurrence(QByteArrayView text)
{
    if (text.size() < 66 || text[64] != ':')
        return std::nullopt;
    Sha256 digest {};
    const auto nibble = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = nibble(text[qsizetype(2 * i)]);
        const int low = nibble(text[qsizetype(2 * i + 1)]);
        if (high < 0 || low < 0)
            return std::nullopt; // lower-case hex only
        digest[i] = std::uint8_t(high << 4 | low);
    }
    const std::optional<int> occurrence = wholeNumber(text.sliced(65));
    if (!occurrence || *occurrence < 0)
        return std::nullopt;
    return std::pair(digest, *occurrence);
}

std::optional<RecordId> recordIdOf(QByteArrayView text)
{
    const qsizetype colon = text.indexOf(':');
    const QByteArrayView source = text.first(std::max<qsizetype>(0, colon));
    if (source != "log" && source != "offers")
        return std::nullopt;
    const auto named = digestAndOccurrence(text.sliced(colon + 1));
    if (!named)
        return std::nullopt;
    return RecordId {source == "log" ? RecordSource::Archive : RecordSource::Offers, named->first, named->second};
}

// What a free-bet line must hold besides its version, date and action; false when it lacks it.
bool readFreeBetFields(ParsedLedgerLine &parsed, QByteArrayView record, QByteArrayView expires)
{
    if (!record.isEmpty() && !(parsed.record = recordIdOf(record)))
        return false;
    if (parsed.action != LedgerAction::FreeBet)
        return (parsed.freeBet = freeBetIdOf(parsed.outcome)).has_value();
    if (parsed.outcome != "snr" && parsed.outcome != "sr")
        return false;
    if (!parsed.amount || !(*parsed.amount > 0))
        return false;
    if (!expires.isEmpty()) {
        const std::optional<QDate> day = text::isoDate(expires);
        if (!day)
            return false;
        parsed.expires = *day;
    }
    return true;
}

} // namespace

QByteArray recordIdText(const RecordId &id)
{
    return QByteArray(sourceWord(id.source)) + ':' + hexOf(id.digest) + ':' + QByteArray::number(id.occurrence);
}

bool isFreeBetAction(LedgerAction action)
{
    return action == LedgerAction::FreeBet || action == LedgerAction::UseFreeBet || action == LedgerAction::DropFreeBet;
}

int versionOf(LedgerAction action)
{
    return isFreeBetAction(action) || action == LedgerAction::Adjust ? 2 : 1;
}

QByteArray freeBetIdText(const FreeBetId &id)
{
    return "free:" + hexOf(id.digest) + ':' + QByteArray::number(id.occurrence);
}

std::optional<FreeBetId> freeBetIdOf(QByteArrayView text)
{
    if (!text.startsWith("free:"))
        return std::nullopt;
    const auto named = digestAndOccurrence(text.sliced(5));
    return named ? std::optional(FreeBetId {named->first, named->second}) : std::nullopt;
}

QByteArray ledgerHeader()
{
    return "Version,Date,Action,Record,Outcome,Amount,Account,Note,Expires";
}

QByteArray ledgerLine(const LedgerEntry &entry)
{
    const int version = versionOf(entry.action);
    QByteArrayList fields {QByteArray::number(version), text::isoDateTime(entry.when),
        actionWords[std::size_t(entry.action)], entry.record ? recordIdText(*entry.record) : QByteArray(),
        csvField(inert(entry.outcome)),
        entry.amount ? text::moneyText(std::llround(*entry.amount * 100)) : QByteArray(),
        csvField(inert(entry.account)), csvField(inert(entry.note))};
    if (version > 1)
        fields << (entry.expires.isValid() ? text::isoDateText(entry.expires) : QByteArray());
    return fields.join(',');
}

void appendToLedger(const QString &folder, const QList<LedgerEntry> &entries, std::chrono::milliseconds lockWait)
{
    QList<QByteArray> lines;
    lines.reserve(entries.size());
    for (const LedgerEntry &entry : entries)
        lines << ledgerLine(entry);
    files::makeSureOfFolder(folder);
    files::appendLines(ledgerPath(folder), lines, ledgerHeader(), lockWait);
}

ParsedLedgerLine parseLedgerLine(QByteArrayView line)
{
    ParsedLedgerLine parsed;
    line = withoutByteOrderMark(line);
    if (line.startsWith("Version,")) {
        parsed.kind = LedgerLineKind::Header;
        return parsed;
    }
    // A later version may have more columns: its version is read whatever follows.
    const QByteArrayView versionText = line.first(std::max<qsizetype>(0, line.indexOf(',')));
    const std::optional<int> version = wholeNumber(versionText);
    if (version && *version > ledgerFormatVersion) {
        parsed.kind = LedgerLineKind::LaterVersion;
        return parsed;
    }
    std::array<QByteArrayView, secondVersionFields> fields;
    const std::size_t fieldCount = version == 1 ? firstVersionFields : secondVersionFields;
    if (!version || *version < 1 || versionText != QByteArray::number(*version)
        || !splitCsvLine(line, std::span(fields).first(fieldCount)))
        return parsed;
    const auto field = [&](LedgerField name) { return fields[std::size_t(name)]; };
    const std::optional<qint64> moment = text::isoMoment(field(LedgerField::Date));
    const std::optional<LedgerAction> action = actionOf(field(LedgerField::Action));
    if (!moment || !action || versionOf(*action) > *version)
        return parsed;
    parsed.moment = *moment;
    parsed.action = *action;
    if (isBetAction(parsed.action) && !(parsed.record = recordIdOf(field(LedgerField::Record))))
        return parsed;
    parsed.outcome = field(LedgerField::Outcome);
    if (!field(LedgerField::Amount).isEmpty() && !(parsed.amount = text::plainNumber(field(LedgerField::Amount))))
        return parsed;
    const bool needsAmount = parsed.action == LedgerAction::Deposit || parsed.action == LedgerAction::Withdraw
        || parsed.action == LedgerAction::Adjust || (parsed.action == LedgerAction::Settle && parsed.outcome != "void");
    if (needsAmount && !parsed.amount)
        return parsed;
    if (isFreeBetAction(parsed.action)
        && !readFreeBetFields(parsed, field(LedgerField::Record), field(LedgerField::Expires)))
        return parsed;
    parsed.account = field(LedgerField::Account);
    if (parsed.action == LedgerAction::Exchange && parsed.account.isEmpty())
        return parsed;
    if (parsed.action == LedgerAction::AccountType && parsed.outcome != "bookmaker" && parsed.outcome != "exchange")
        return parsed;
    parsed.note = field(LedgerField::Note);
    parsed.kind = LedgerLineKind::Entry;
    return parsed;
}

std::optional<RecordId> recordNamedInLedger(const QString &folder, const std::function<bool(const RecordId &)> &wanted)
{
    constexpr qint64 piece = 1 << 20;
    const QString path = ledgerPath(folder);
    qint64 from = 0;
    while (const std::optional<ArchiveChunk> chunk = readArchiveFrom(path, from, piece, LastLine::ReadWhenIdle)) {
        if (chunk->end == from)
            break;
        text::Lines lines(chunk->lines());
        for (QByteArrayView line; lines.next(line);) {
            const ParsedLedgerLine parsed = parseLedgerLine(line);
            if (parsed.kind == LedgerLineKind::Entry && parsed.record && wanted(*parsed.record))
                return parsed.record;
        }
        from = chunk->end;
    }
    return std::nullopt;
}

QString outcomeText(QByteArrayView outcome)
{
    return csvText(outcome);
}

QString nameText(QByteArrayView written)
{
    return withoutInertMark(csvText(written));
}

} // namespace store
