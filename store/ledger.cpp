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

constexpr std::array<const char *, 10> actionWords {
    "settle", "reopen", "remove", "restore", "deposit", "withdraw", "status", "exchange", "type", "amend"};

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

std::optional<RecordId> recordIdOf(QByteArrayView text)
{
    const qsizetype first = text.indexOf(':');
    const qsizetype last = text.lastIndexOf(':');
    if (first < 0 || last - first != 65)
        return std::nullopt;
    RecordId id;
    const QByteArrayView source = text.first(first);
    if (source == "log")
        id.source = RecordSource::Archive;
    else if (source == "offers")
        id.source = RecordSource::Offers;
    else
        return std::nullopt;
    const QByteArrayView hex = text.sliced(first + 1, 64);
    const auto nibble = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    for (std::size_t i = 0; i < id.digest.size(); ++i) {
        const int high = nibble(hex[qsizetype(2 * i)]);
        const int low = nibble(hex[qsizetype(2 * i + 1)]);
        if (high < 0 || low < 0)
            return std::nullopt; // lower-case hex only
        id.digest[i] = std::uint8_t(high << 4 | low);
    }
    const std::optional<int> occurrence = wholeNumber(text.sliced(last + 1));
    if (!occurrence || *occurrence < 0)
        return std::nullopt;
    id.occurrence = *occurrence;
    return id;
}

} // namespace

QByteArray recordIdText(const RecordId &id)
{
    return QByteArray(sourceWord(id.source)) + ':' + hexOf(id.digest) + ':' + QByteArray::number(id.occurrence);
}

QByteArray ledgerHeader()
{
    return "Version,Date,Action,Record,Outcome,Amount,Account,Note";
}

QByteArray ledgerLine(const LedgerEntry &entry)
{
    return QByteArrayList {QByteArray::number(ledgerFormatVersion), text::isoDateTime(entry.when),
        actionWords[std::size_t(entry.action)], entry.record ? recordIdText(*entry.record) : QByteArray(),
        csvField(inert(entry.outcome)),
        entry.amount ? text::moneyText(std::llround(*entry.amount * 100)) : QByteArray(),
        csvField(inert(entry.account)), csvField(inert(entry.note))}
        .join(',');
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
    std::array<QByteArrayView, ledgerFieldCount> fields;
    const bool split = splitCsvLine(line, fields);
    const auto field = [&](LedgerField name) { return fields[std::size_t(name)]; };
    // A later version may have more columns: its version is read whatever follows.
    const QByteArrayView version
        = split ? field(LedgerField::Version) : line.first(std::max<qsizetype>(0, line.indexOf(',')));
    if (const std::optional<int> number = wholeNumber(version); number && *number > ledgerFormatVersion) {
        parsed.kind = LedgerLineKind::LaterVersion;
        return parsed;
    }
    if (!split || version != QByteArray::number(ledgerFormatVersion))
        return parsed;
    const std::optional<qint64> moment = text::isoMoment(field(LedgerField::Date));
    const std::optional<LedgerAction> action = actionOf(field(LedgerField::Action));
    if (!moment || !action)
        return parsed;
    parsed.moment = *moment;
    parsed.action = *action;
    if (isBetAction(parsed.action) && !(parsed.record = recordIdOf(field(LedgerField::Record))))
        return parsed;
    parsed.outcome = field(LedgerField::Outcome);
    if (!field(LedgerField::Amount).isEmpty() && !(parsed.amount = text::plainNumber(field(LedgerField::Amount))))
        return parsed;
    const bool needsAmount = parsed.action == LedgerAction::Deposit || parsed.action == LedgerAction::Withdraw
        || (parsed.action == LedgerAction::Settle && parsed.outcome != "void");
    if (needsAmount && !parsed.amount)
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
