#include "history/ledgerbatch.h"

#include <algorithm>

#include <QHash>

#include "store/filetext.h"

namespace history {

namespace {

using store::LedgerAction;

int textId(LedgerBatch &batch, QHash<QString, int> &ids, const QString &text)
{
    const auto known = ids.constFind(text);
    if (known != ids.cend())
        return *known;
    batch.texts << text;
    return ids.insert(text, int(batch.texts.size() - 1)).value();
}

void countUnread(LedgerBatch &batch, qint64 number, QByteArrayView line, bool laterVersion)
{
    ++batch.unreadCount;
    if (batch.unreadSamples.size() >= ArchiveBatch::keptSamples)
        return;
    constexpr qsizetype shown = 60;
    QString start = QString::fromUtf8(line.first(std::min(line.size(), shown)));
    if (line.size() > shown)
        start += QStringLiteral("...");
    batch.unreadSamples << QStringLiteral("ledger line %1: %2%3")
                               .arg(number)
                               .arg(laterVersion ? QStringLiteral("(a later version) ") : QString(), start);
}

void takeBetEntry(LedgerBatch &batch, QHash<QString, int> &ids, const store::LedgerEntry &entry)
{
    const store::RecordId &id = *entry.record;
    BetDecision decision;
    switch (entry.action) {
    case LedgerAction::Settle:
        decision.settling = BetDecision::Settling::Settled;
        decision.settledOn = store::momentOf(entry.when.date(), entry.when.time());
        decision.amount = entry.amount.value_or(0);
        decision.hasAmount = entry.amount.has_value();
        decision.outcome = textId(batch, ids, entry.outcome);
        decision.exchange = textId(batch, ids, entry.account);
        batch.lastExchange = entry.account;
        break;
    case LedgerAction::Reopen:
        decision.settling = BetDecision::Settling::Reopened;
        break;
    case LedgerAction::Remove:
        decision.removal = BetDecision::Removal::Removed;
        break;
    default:
        decision.removal = BetDecision::Removal::Restored;
        break;
    }
    batch.bets[{digestKey(id.digest), id.occurrence, id.source}].takeLater(decision);
}

void takeAccountEntry(LedgerBatch &batch, const store::LedgerEntry &entry)
{
    AccountEntry &account = batch.accounts[entry.account];
    if (entry.action == LedgerAction::Deposit)
        account.deposited += entry.amount.value_or(0);
    else if (entry.action == LedgerAction::Withdraw)
        account.withdrawn += entry.amount.value_or(0);
    else
        account.status = entry.outcome;
}

// Applies decisions to a table, the texts they name given the table's numbers once each.
class DecisionApplier
{
public:
    DecisionApplier(SettlementTable &table, const QStringList &texts)
        : m_table(table)
        , m_texts(texts)
    { }

    void apply(const ResolvedDecision &resolved)
    {
        Settlement settlement = m_table.at(resolved.record);
        const BetDecision &decision = resolved.decision;
        if (decision.settling == BetDecision::Settling::Settled) {
            settlement.settled = true;
            settlement.settledOn = decision.settledOn;
            settlement.actual = decision.amount;
            settlement.atBookmaker = resolved.atBookmaker;
            settlement.caption = idOf(m_captions, resolved.caption, &SettlementTable::captionId);
            settlement.exchange = idOf(m_exchanges, resolved.exchange, &SettlementTable::exchangeId);
        } else if (decision.settling == BetDecision::Settling::Reopened) {
            settlement = Settlement {noDate, 0, 0, -1, -1, false, settlement.removed};
        }
        if (decision.removal != BetDecision::Removal::Untouched)
            settlement.removed = decision.removal == BetDecision::Removal::Removed;
        m_table.set(resolved.record, settlement);
    }

private:
    int idOf(std::vector<int> &ids, int text, int (SettlementTable::*number)(const QString &))
    {
        if (text < 0)
            return -1;
        if (std::size_t(text) >= ids.size())
            ids.resize(std::size_t(m_texts.size()), -1);
        int &id = ids[std::size_t(text)];
        return id >= 0 ? id : (id = (m_table.*number)(m_texts[text]));
    }

    SettlementTable &m_table;
    const QStringList &m_texts; // may grow as decisions are applied
    std::vector<int> m_captions;
    std::vector<int> m_exchanges;
};

} // namespace

void BetDecision::takeLater(const BetDecision &later)
{
    if (later.settling != Settling::Untouched) {
        settling = later.settling;
        settledOn = later.settledOn;
        amount = later.amount;
        hasAmount = later.hasAmount;
        outcome = later.outcome;
        exchange = later.exchange;
    }
    if (later.removal != Removal::Untouched)
        removal = later.removal;
}

LedgerBatch readLedgerBatch(const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes)
{
    LedgerBatch batch;
    std::optional<store::ArchiveChunk> chunk = store::readArchiveFrom(path, from, maxBytes);
    batch.end = chunk ? chunk->end : from;
    if (!chunk)
        return batch;
    if (chunk->skippedLongLine) {
        countUnread(batch, firstLine, "a line too long to be an entry", false);
        batch.linesRead = 1;
    }
    QHash<QString, int> ids;
    qint64 number = firstLine + batch.linesRead;
    store::ArchiveLines lines(chunk->bytes);
    for (QByteArrayView line; lines.next(line); ++number) {
        const store::ParsedLedgerLine parsed = store::parseLedgerLine(line);
        if (parsed.kind == store::LedgerLineKind::Header)
            continue;
        if (parsed.kind != store::LedgerLineKind::Entry)
            countUnread(batch, number, line, parsed.kind == store::LedgerLineKind::LaterVersion);
        else if (parsed.entry.record)
            takeBetEntry(batch, ids, parsed.entry);
        else
            takeAccountEntry(batch, parsed.entry);
    }
    batch.linesRead = number - firstLine;
    batch.bytes = std::move(chunk->bytes);
    return batch;
}

int ResolvedDecisions::textId(const QString &text)
{
    const auto known = m_ids.constFind(text);
    if (known != m_ids.cend())
        return *known;
    texts << text;
    return m_ids.insert(text, int(texts.size() - 1)).value();
}

BetDecisions resolveDecisions(
    const RecordsView &records, BetDecisions decisions, const QStringList &texts, SettlementTable &table)
{
    // How many lines of each digest have been passed, by source and digest, sorted for lookup: a
    // million decisions name a million digests.
    struct Seen
    {
        quint64 digest;
        int passed;
        RecordSource source;
        auto key() const { return std::pair(source, digest); }
    };
    std::vector<Seen> seen;
    seen.reserve(decisions.size());
    for (const auto &[key, decision] : decisions)
        seen.push_back({key.digest, 0, key.source});
    const auto byKey = [](const Seen &a, const Seen &b) { return a.key() < b.key(); };
    std::sort(seen.begin(), seen.end(), byKey);
    seen.erase(std::unique(seen.begin(), seen.end(), [](const Seen &a, const Seen &b) { return a.key() == b.key(); }),
        seen.end());
    BetDecisions unresolved = std::move(decisions);
    ResolvedDecisions names; // the captions and exchanges named, each once
    DecisionApplier applier(table, names.texts);
    std::vector<int> exchangeIds(std::size_t(texts.size()), -1); // the texts' ids among the resolved
    for (qsizetype index = 0; index < records.size() && !unresolved.empty(); ++index) {
        const BetRecord &record = records.at(index);
        const Seen wanted {record.digest, 0, record.source};
        const auto counted = std::lower_bound(seen.begin(), seen.end(), wanted, byKey);
        if (counted == seen.end() || counted->key() != wanted.key())
            continue;
        const auto decision = unresolved.find({record.digest, counted->passed++, record.source});
        if (decision == unresolved.end())
            continue;
        ResolvedDecision resolved {index, decision->second, 0, -1, -1};
        if (const int exchange = decision->second.exchange; exchange >= 0 && exchange < texts.size()) {
            int &id = exchangeIds[std::size_t(exchange)];
            resolved.exchange = id >= 0 ? id : (id = names.textId(texts[exchange]));
        }
        if (decision->second.settling == BetDecision::Settling::Settled) {
            const QString outcome = texts.value(decision->second.outcome);
            const QByteArrayView line = records.line(index);
            const std::optional<double> amount
                = decision->second.hasAmount ? std::optional(decision->second.amount) : std::nullopt;
            // The amount written is what came in; where it is split follows the outcome.
            const std::optional<calc::Payout> payout = payoutOf(record, line, outcome, amount);
            resolved.atBookmaker = payout ? payout->bookmaker : resolved.decision.amount;
            resolved.caption = names.textId(outcomeCaption(record, line, outcome));
        }
        applier.apply(resolved);
        unresolved.erase(decision);
    }
    return unresolved;
}

void applyAll(const ResolvedDecisions &decisions, SettlementTable &table)
{
    DecisionApplier applier(table, decisions.texts);
    for (const ResolvedDecision &resolved : decisions.list)
        applier.apply(resolved);
}

} // namespace history
