#include "tracker/ledgerread.h"

#include <algorithm>
#include <cmath>

#include "store/filetext.h"
#include "text/lines.h"
#include "tracker/textids.h"

namespace history {

namespace {

using store::LedgerAction;

// The texts a batch names, each once. The lines that follow one another mostly name the same
// outcome and exchange: the last of each field is known by its bytes, with no text made.
class BatchTexts
{
public:
    explicit BatchTexts(LedgerBatch &batch)
        : m_batch(batch)
    { }

    int outcome(QByteArrayView written) { return idOf(m_lastOutcome, written, &store::outcomeText); }
    int name(QByteArrayView written) { return idOf(m_lastName, written, &store::nameText); }
    int intern(const QString &shown) { return internedId(shown, m_batch.texts, m_ids); }

private:
    struct Last
    {
        QByteArray written;
        int id = -1;
    };

    int idOf(Last &last, QByteArrayView written, QString (*text)(QByteArrayView))
    {
        if (last.id >= 0 && last.written == written)
            return last.id;
        last = {written.toByteArray(), intern(text(written))};
        return last.id;
    }

    LedgerBatch &m_batch;
    QHash<QString, int> m_ids;
    Last m_lastOutcome;
    Last m_lastName;
};

QString ledgerText(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

// No one moves more than the most money the form takes: a line beyond it is a slip or damage, and
// would swamp every sum it went into.
bool withinBound(std::optional<double> amount)
{
    return !amount || std::fabs(*amount) <= calc::fromPennies(calc::largestMoney);
}

void takeBetEntry(LedgerBatch &batch, BatchTexts &texts, const store::ParsedLedgerLine &entry)
{
    const store::RecordId &id = *entry.record;
    BetDecision decision = decisionOf(entry.action, entry.moment);
    const BetLineFields fields = fieldsOf(entry.action);
    if (fields.outcome) {
        decision.amount = calc::toPennies(entry.amount.value_or(0));
        decision.hasAmount = entry.amount.has_value();
        decision.outcome = texts.outcome(entry.outcome);
    }
    if (fields.exchange && !entry.account.isEmpty()) {
        decision.exchange = texts.name(entry.account);
        batch.lastExchange = batch.texts[decision.exchange];
    }
    if (fields.mending) {
        const Mending mending {
            store::nameText(entry.outcome), store::nameText(entry.account), store::nameText(entry.note), {}};
        decision.mended = texts.intern(mending.joined());
    }
    batch.bets.push_back({betKeyOf(id), decision});
}

void takeFreeBetEntry(LedgerBatch &batch, const store::ParsedLedgerLine &entry, QByteArrayView line, qint64 number)
{
    FreeBetLine freeBet {entry.action, entry.moment, number, {}, 0, {}, 0, false, {}, store::nameText(entry.note), {}};
    if (entry.record)
        freeBet.bet = betKeyOf(*entry.record);
    if (entry.freeBet) {
        freeBet.digest = entry.freeBet->digest;
        freeBet.occurrence = entry.freeBet->occurrence;
    } else {
        freeBet.digest = store::sha256(line);
        freeBet.amount = calc::toPennies(entry.amount.value_or(0));
        freeBet.stakeReturned = entry.outcome == "sr";
        freeBet.bookmaker = store::nameText(entry.account);
        freeBet.expires = entry.expires;
    }
    batch.freeBets.push_back(std::move(freeBet));
}

void takeAccountEntry(LedgerBatch &batch, const store::ParsedLedgerLine &entry)
{
    const QString name = store::nameText(entry.account);
    const calc::Pennies amount = calc::toPennies(entry.amount.value_or(0));
    batch.accountLines.push_back(
        {entry.moment, entry.action, name, amount, store::outcomeText(entry.outcome), store::nameText(entry.note)});
    AccountEntry &account = batch.accounts[name];
    if (entry.action == LedgerAction::Deposit)
        account.deposited += amount;
    else if (entry.action == LedgerAction::Withdraw)
        account.withdrawn += amount;
    else if (entry.action == LedgerAction::Adjust)
        account.adjusted += amount;
    else if (entry.action == LedgerAction::AccountType)
        account.exchange = entry.outcome == "exchange";
    else
        account.status = store::outcomeText(entry.outcome);
}

} // namespace

LedgerBatch readLedgerBatch(const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes)
{
    LedgerBatch batch;
    std::optional<store::ArchiveChunk> chunk
        = store::readArchiveFrom(path, from, maxBytes, store::LastLine::ReadWhenIdle);
    batch.end = chunk ? chunk->end : from;
    if (!chunk)
        return batch;
    if (chunk->skippedLongLine) {
        batch.unread.add(QStringLiteral("ledger "), firstLine, "a line too long to be an entry", &ledgerText);
        batch.linesRead = 1;
    }
    BatchTexts texts(batch);
    qint64 number = firstLine + batch.linesRead;
    text::Lines lines(chunk->lines());
    for (QByteArrayView line; lines.next(line); ++number) {
        const store::ParsedLedgerLine parsed = store::parseLedgerLine(line);
        if (parsed.kind == store::LedgerLineKind::Header)
            continue;
        if (parsed.kind != store::LedgerLineKind::Entry || !withinBound(parsed.amount))
            batch.unread.add(QStringLiteral("ledger "), number, line, &ledgerText,
                parsed.kind == store::LedgerLineKind::LaterVersion ? QStringLiteral("(a later version) ") : QString());
        else if (store::isFreeBetAction(parsed.action))
            takeFreeBetEntry(batch, parsed, line, number);
        else if (parsed.record)
            takeBetEntry(batch, texts, parsed);
        else
            takeAccountEntry(batch, parsed);
    }
    batch.linesRead = number - firstLine;
    batch.bytes = std::move(chunk->bytes);
    return batch;
}

} // namespace history
