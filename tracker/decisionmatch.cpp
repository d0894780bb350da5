#include "tracker/decisionmatch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <span>

#include "tracker/sidebyside.h"
#include "tracker/textids.h"

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <xmmintrin.h>
#endif

namespace history {

namespace {

// Asks the processor to bring the memory at an address into its cache: a hint, which a compiler
// that has no way to give it leaves out.
inline void prefetch(const void *address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#elif defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
    _mm_prefetch(static_cast<const char *>(address), _MM_HINT_T0);
#else
    (void)address;
#endif
}

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
    void prepareSlot(quint64 digest) const { prefetch(&m_slots[start(digest)]); }
    void prepareDecision(quint64 digest) const
    {
        if (const Slot &slot = m_slots[start(digest)]; slot.first != empty)
            prefetch(&m_decisions[slot.first]);
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
        return renumbered(ids, among, text, [&names](const QString &named) { return names.textId(named); });
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

} // namespace history
