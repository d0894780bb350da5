#include "history/ledgerbatch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <span>

#include <QHash>

#include "history/sidebyside.h"
#include "store/filetext.h"

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
    int intern(const QString &shown)
    {
        auto known = m_ids.constFind(shown);
        if (known == m_ids.cend()) {
            m_batch.texts << shown;
            known = m_ids.insert(shown, int(m_batch.texts.size() - 1));
        }
        return *known;
    }

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
    if (entry.action == LedgerAction::Settle) {
        decision.amount = calc::toPennies(entry.amount.value_or(0));
        decision.hasAmount = entry.amount.has_value();
        decision.outcome = texts.outcome(entry.outcome);
    }
    if ((entry.action == LedgerAction::Settle || entry.action == LedgerAction::Exchange) && !entry.account.isEmpty()) {
        decision.exchange = texts.name(entry.account);
        batch.lastExchange = batch.texts[decision.exchange];
    }
    if (entry.action == LedgerAction::Amend) {
        const Mending mending {
            store::nameText(entry.outcome), store::nameText(entry.account), store::nameText(entry.note), {}};
        decision.mended = texts.intern(mending.joined());
    }
    batch.bets.push_back({{digestKey(id.digest), id.occurrence, id.source}, decision});
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
    else if (entry.action == LedgerAction::AccountType)
        account.exchange = entry.outcome == "exchange";
    else
        account.status = store::outcomeText(entry.outcome);
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
            settlement.payout = resolved.payout;
            settlement.caption = idOf(m_captions, resolved.caption, &SettlementTable::captionId);
        } else if (decision.settling == BetDecision::Settling::Reopened) {
            // Reopened, the lays are still where they were and the bet as mended.
            settlement.settledOn = noDate;
            settlement.payout = {};
            settlement.caption = -1;
            settlement.settled = false;
        }
        if (resolved.exchange >= 0)
            settlement.exchange = idOf(m_exchanges, resolved.exchange, &SettlementTable::exchangeId);
        if (resolved.mended >= 0)
            settlement.mended = idOf(m_mendings, resolved.mended, &SettlementTable::mendingId);
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
    std::vector<int> m_mendings;
};

// Where the merged decisions about the lines of each file and digest begin, and how many such lines
// the matching has passed: a table open to one look per record, so that a million records find a
// million decisions without a search each. A digest's first bits say where it goes, so that the
// decisions, in the order of their digests, fill the table from its start.
class DigestGroups
{
public:
    explicit DigestGroups(const BetDecisions &decisions)
        : m_decisions(decisions)
    {
        std::size_t groups = 0;
        for (std::size_t i = 0; i < decisions.size(); ++i)
            groups += startsGroup(i);
        const std::size_t size = std::bit_ceil(std::max<std::size_t>(16, groups * 2));
        m_shift = 64 - std::countr_zero(size);
        m_slots.resize(size);
        for (std::size_t i = 0; i < decisions.size(); ++i) {
            if (startsGroup(i))
                *emptySlotFor(decisions[i].key.digest) = {decisions[i].key.digest, quint32(i), quint32(i), 0};
        }
    }

    // Start bringing in what next() will look at for a digest: its slot, and once that is in, the
    // decision the slot points to. A million looks then wait for memory side by side, not in turn.
    void prepareSlot(quint64 digest) const { __builtin_prefetch(&m_slots[start(digest)]); }
    void prepareDecision(quint64 digest) const
    {
        if (const Slot &slot = m_slots[start(digest)]; slot.first != empty)
            __builtin_prefetch(&m_decisions[slot.first]);
    }

    // The decision about the next line of the file with this digest, if there is one.
    const KeyedDecision *next(quint64 digest, RecordSource source)
    {
        for (std::size_t at = start(digest);; at = (at + 1) & (m_slots.size() - 1)) {
            Slot &slot = m_slots[at];
            if (slot.first == empty)
                return nullptr;
            // The group's first decision says its file; prepareDecision() brought it in already.
            if (slot.digest != digest || m_decisions[slot.first].key.source != source)
                continue;
            // A group's decisions come in the order of their occurrence, and so do the lines: the
            // search goes on from where the last one stopped, so that a group is passed over once.
            const BetKey wanted {digest, slot.passed++, source};
            const auto inGroup
                = [&](std::size_t i) { return i < m_decisions.size() && m_decisions[i].key.sameLine(wanted); };
            while (inGroup(slot.at) && m_decisions[slot.at].key.occurrence < wanted.occurrence)
                ++slot.at;
            return inGroup(slot.at) && m_decisions[slot.at].key.occurrence == wanted.occurrence ? &m_decisions[slot.at]
                                                                                                : nullptr;
        }
    }

private:
    static constexpr quint32 empty = std::numeric_limits<quint32>::max();
    struct Slot
    {
        quint64 digest = 0;
        quint32 first = empty; // the group's first decision
        quint32 at = 0; // the first decision of the group not passed yet
        int passed = 0;
    };

    bool startsGroup(std::size_t i) const { return i == 0 || !m_decisions[i].key.sameLine(m_decisions[i - 1].key); }
    std::size_t start(quint64 digest) const { return std::size_t(digest >> m_shift); }
    Slot *emptySlotFor(quint64 digest)
    {
        std::size_t at = start(digest);
        while (m_slots[at].first != empty)
            at = (at + 1) & (m_slots.size() - 1);
        return &m_slots[at];
    }

    const BetDecisions &m_decisions;
    std::vector<Slot> m_slots;
    int m_shift = 60;
};

// A decision found, and the record it names; the decision is copied while it is at hand, so that
// what follows reads the records and their decisions in order.
struct Found
{
    quint32 record;
    quint32 decision; // in the merged decisions
    BetDecision decided;
};

// Which records the merged decisions name: one walk over the records in their files' order,
// counting identical lines.
std::vector<Found> foundRecords(
    const RecordsView &records, const BetDecisions &decisions, const std::atomic<bool> &stop)
{
    DigestGroups groups(decisions);
    std::vector<Found> found;
    found.reserve(decisions.size());
    constexpr qsizetype slotsAhead = 16;
    constexpr qsizetype decisionsAhead = 8;
    for (qsizetype index = 0; index < records.size() && found.size() < decisions.size(); ++index) {
        if (index % 65536 == 0 && stop)
            break;
        if (index + slotsAhead < records.size())
            groups.prepareSlot(records.at(index + slotsAhead).digest);
        if (index + decisionsAhead < records.size())
            groups.prepareDecision(records.at(index + decisionsAhead).digest);
        const BetRecord &record = records.at(index);
        if (const KeyedDecision *decision = groups.next(record.digest, record.source))
            found.push_back({quint32(index), quint32(decision - decisions.data()), decision->decision});
    }
    return found;
}

// What settling each record found as its decision says pays at each account, and the caption of
// the outcome, among the captions named.
struct Payout
{
    calc::Payout payout;
    int caption = -1;
};
struct Payouts
{
    std::vector<Payout> list;
    ResolvedDecisions captions; // their texts alone
};

Payouts payoutsOf(
    const RecordsView &records, std::span<const Found> found, const QStringList &texts, const std::atomic<bool> &stop)
{
    Payouts payouts;
    payouts.list.reserve(found.size());
    calc::ShapeCache shapes;
    for (const Found &each : found) {
        if (payouts.list.size() % 65536 == 0 && stop)
            return {};
        const BetDecision &decision = each.decided;
        if (decision.settling != BetDecision::Settling::Settled) {
            payouts.list.push_back({});
            continue;
        }
        // The outcome says what came in where, worked out again from the record; an amount typed is
        // as written, and one for an outcome this program does not know counts at the bookmaker.
        const SettledAs settled = settledAs(records.at(each.record), records.line(each.record),
            texts.value(decision.outcome), decision.hasAmount ? std::optional(decision.amount) : std::nullopt, shapes);
        payouts.list.push_back(
            {settled.payout.value_or(calc::Payout {decision.amount, 0}), payouts.captions.textId(settled.caption)});
    }
    return payouts;
}

} // namespace

void BetDecision::takeLater(const BetDecision &later)
{
    if (later.settling != Settling::Untouched) {
        settling = later.settling;
        settledOn = later.settledOn;
        amount = later.amount;
        hasAmount = later.hasAmount;
        outcome = later.outcome;
    }
    if (later.removal != Removal::Untouched)
        removal = later.removal;
    if (later.exchange >= 0)
        exchange = later.exchange;
    if (later.mended >= 0)
        mended = later.mended;
}

BetDecision decisionOf(store::LedgerAction action, qint64 moment)
{
    BetDecision decision;
    switch (action) {
    case LedgerAction::Settle:
        decision.settling = BetDecision::Settling::Settled;
        decision.settledOn = moment;
        break;
    case LedgerAction::Reopen:
        decision.settling = BetDecision::Settling::Reopened;
        break;
    case LedgerAction::Remove:
        decision.removal = BetDecision::Removal::Removed;
        break;
    case LedgerAction::Restore:
        decision.removal = BetDecision::Removal::Restored;
        break;
    default: // the exchange alone, or no bet's action
        break;
    }
    return decision;
}

LedgerBatch readLedgerBatch(const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes)
{
    LedgerBatch batch;
    std::optional<store::ArchiveChunk> chunk
        = store::readArchiveFrom(path, from, maxBytes, store::LastLine::ReadWhenIdle);
    batch.end = chunk ? chunk->end : from;
    if (!chunk)
        return batch;
    if (chunk->skippedLongLine) {
        countUnread(batch, firstLine, "a line too long to be an entry", false);
        batch.linesRead = 1;
    }
    BatchTexts texts(batch);
    qint64 number = firstLine + batch.linesRead;
    store::ArchiveLines lines(chunk->lines());
    for (QByteArrayView line; lines.next(line); ++number) {
        const store::ParsedLedgerLine parsed = store::parseLedgerLine(line);
        if (parsed.kind == store::LedgerLineKind::Header)
            continue;
        if (parsed.kind != store::LedgerLineKind::Entry || !withinBound(parsed.amount))
            countUnread(batch, number, line, parsed.kind == store::LedgerLineKind::LaterVersion);
        else if (parsed.record)
            takeBetEntry(batch, texts, parsed);
        else
            takeAccountEntry(batch, parsed);
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

BetDecisions resolveDecisions(const RecordsView &records, BetDecisions decisions, const QStringList &texts,
    SettlementTable &table, const std::atomic<bool> &stop)
{
    const std::vector<Found> found = foundRecords(records, decisions, stop);
    // A million settled lines are read again for their payouts: half of them on a second thread.
    constexpr std::size_t sharedFrom = 10'000;
    const std::span<const Found> all(found);
    std::array<Payouts, 2> halves;
    const std::size_t half = sideBySide(found.size(), sharedFrom, [&](int part, std::size_t from, std::size_t to) {
        halves[std::size_t(part)] = payoutsOf(records, all.subspan(from, to - from), texts, stop);
    });
    if (stop)
        return decisions;

    ResolvedDecisions names; // the captions and exchanges named, each once
    DecisionApplier applier(table, names.texts);
    std::vector<int> textIds(std::size_t(texts.size()), -1); // the texts' ids among the resolved
    const auto nameId = [&names](const QStringList &among, int text, std::vector<int> &ids) {
        if (text < 0 || text >= among.size())
            return -1;
        if (ids.size() < std::size_t(among.size()))
            ids.resize(std::size_t(among.size()), -1);
        int &id = ids[std::size_t(text)];
        return id >= 0 ? id : (id = names.textId(among[text]));
    };
    std::array<std::vector<int>, 2> captionIds;
    std::vector<bool> resolvedOnes(decisions.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        const bool first = i < half;
        const Payouts &payouts = halves[first ? 0 : 1];
        const Payout &payout = payouts.list[first ? i : i - half];
        const BetDecision &decision = found[i].decided;
        resolvedOnes[found[i].decision] = true;
        applier.apply({qint64(found[i].record), decision, payout.payout,
            nameId(payouts.captions.texts, payout.caption, captionIds[first ? 0 : 1]),
            nameId(texts, decision.exchange, textIds), nameId(texts, decision.mended, textIds)});
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < decisions.size(); ++i) {
        if (!resolvedOnes[i])
            decisions[kept++] = decisions[i];
    }
    decisions.resize(kept);
    return decisions;
}

void applyAll(const ResolvedDecisions &decisions, SettlementTable &table)
{
    DecisionApplier applier(table, decisions.texts);
    for (const ResolvedDecision &resolved : decisions.list)
        applier.apply(resolved);
}

} // namespace history
