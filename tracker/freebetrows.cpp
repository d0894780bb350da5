#include "tracker/freebetrows.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace history {

namespace {

// What a record made: its actual once settled, what it locks in while open.
std::optional<calc::Pennies> madeBy(const HistoryView &view, qsizetype record)
{
    if (record < 0)
        return std::nullopt;
    const Settlement &settlement = view.settlements.at(record);
    if (settlement.settled)
        return settlement.payout.profit();
    const double result = view.records.at(record).result;
    return std::isnan(result) ? std::nullopt : std::optional(calc::toPennies(result));
}

std::optional<double> retentionOf(std::optional<calc::Pennies> kept, calc::Pennies amount)
{
    return kept && amount > 0 ? std::optional(100.0 * double(*kept) / double(amount)) : std::nullopt;
}

FreeBetRow rowOf(const HistoryView &view, const FreeBet &freeBet, QDate today, qsizetype earnedBy, qsizetype usedBy)
{
    FreeBetRow row;
    row.status = freeBet.statusOn(today);
    row.daysLeft = freeBet.daysLeftOn(today);
    row.earnedBy = earnedBy;
    row.usedBy = usedBy;
    row.earnedByEvent = earnedBy >= 0 ? eventOf(view, earnedBy) : QString();
    row.usedByEvent = usedBy >= 0 ? eventOf(view, usedBy) : QString();
    if (row.status == FreeBetStatus::Used)
        row.kept = madeBy(view, usedBy);
    else if (row.status != FreeBetStatus::Held)
        row.kept = 0;
    row.retention = retentionOf(row.kept, freeBet.amount);
    return row;
}

OfferRow offerOf(const HistoryView &view, const FreeBet &freeBet, const FreeBetRow &row, calc::ShapeCache &shapes)
{
    OfferRow offer {row.freeBet, row.earnedBy, row.earnedByEvent, madeBy(view, row.earnedBy), row.kept, {},
        row.retention, row.status};
    if (!offer.freeBetProfit && row.status == FreeBetStatus::Held) {
        // Held: what the offer expected the free bet to keep, where it says.
        if (const auto expected
            = freeBetInOffer(view.records.at(row.earnedBy), view.records.line(row.earnedBy), shapes)) {
            // In doubles: two amounts of a hand-edited line multiplied could pass the largest whole number.
            offer.freeBetProfit = calc::toPennies(calc::fromPennies(expected->expectedKept)
                * (double(freeBet.amount) / double(std::max<calc::Pennies>(1, expected->amount))));
            offer.retention = retentionOf(offer.freeBetProfit, freeBet.amount);
        }
    }
    if (offer.qualifying && offer.freeBetProfit)
        offer.offerProfit = *offer.qualifying + *offer.freeBetProfit;
    offer.awaiting = row.status == FreeBetStatus::Held && !view.settlements.at(row.earnedBy).settled;
    return offer;
}

void addUp(FreeBetTotals &totals, const FreeBet &freeBet, const FreeBetRow &row)
{
    if (row.status == FreeBetStatus::Held) {
        ++totals.held;
        totals.heldValue += freeBet.amount;
        if (row.daysLeft && *row.daysLeft <= freeBetDueDays) {
            ++totals.dueSoon;
            totals.dueTodayOrTomorrow = totals.dueTodayOrTomorrow || *row.daysLeft <= 1;
        }
    } else if (row.status == FreeBetStatus::Expired) {
        totals.expiredUnused += freeBet.amount;
    }
}

void addUp(FreeBetTotals &totals, const OfferRow &offer)
{
    totals.qualifyingLosses += offer.qualifying.value_or(0);
    totals.freeBetProfits += offer.freeBetProfit.value_or(0);
    totals.offerProfits += offer.offerProfit.value_or(0);
}

// Held first, the soonest expiry first (those without one last), then the rest as received.
void order(std::vector<FreeBetRow> &rows, const std::vector<FreeBet> &freeBets)
{
    const auto rank = [&freeBets](const FreeBetRow &row) {
        const QDate expires = freeBets[row.freeBet].expires;
        const bool held = row.status == FreeBetStatus::Held;
        return std::tuple(!held, held && !expires.isValid(), held ? expires.toJulianDay() : 0);
    };
    std::stable_sort(
        rows.begin(), rows.end(), [&](const FreeBetRow &a, const FreeBetRow &b) { return rank(a) < rank(b); });
}

// Free-bet records that no free bet names yet, each linked to a held free bet of its amount at its
// bookmaker, a free bet to one record at most.
std::vector<FoundLink> linksFound(const HistoryView &view, const std::vector<FreeBet> &freeBets,
    const std::vector<FreeBetRow> &rows, std::vector<qsizetype> notToLink)
{
    std::map<std::pair<QString, calc::Pennies>, std::vector<std::size_t>> held; // by bookmaker and amount
    for (const FreeBetRow &row : rows) {
        const FreeBet &freeBet = freeBets[row.freeBet];
        if (row.status == FreeBetStatus::Held)
            held[{freeBet.bookmaker.toCaseFolded(), freeBet.amount}].push_back(row.freeBet);
    }
    std::vector<FoundLink> links;
    if (held.empty())
        return links;
    const std::unordered_set<qsizetype> linked(notToLink.begin(), notToLink.end());
    for (qsizetype index = 0; index < view.records.size(); ++index) {
        const BetRecord &record = view.records.at(index);
        if (!(record.freeStake > 0) || linked.contains(index) || view.settlements.at(index).removed)
            continue;
        const auto found = held.find({bookmakerOf(view, index).toCaseFolded(), calc::toPennies(record.freeStake)});
        if (found == held.end() || found->second.empty())
            continue;
        std::vector<std::size_t> &candidates = found->second;
        const auto first = std::min_element(candidates.begin(), candidates.end(),
            [&](std::size_t a, std::size_t b) { return toUseFirst(freeBets[a], freeBets[b]); });
        links.push_back({index, *first});
        candidates.erase(first);
    }
    return links;
}

} // namespace

QString freeBetStatusText(FreeBetStatus status)
{
    switch (status) {
    case FreeBetStatus::Held:
        return QStringLiteral("Held");
    case FreeBetStatus::Used:
        return QStringLiteral("Used");
    case FreeBetStatus::Expired:
        return QStringLiteral("Expired");
    case FreeBetStatus::Dropped:
        return QStringLiteral("Dropped");
    }
    return {};
}

QString offerStatusText(const OfferRow &offer)
{
    return offer.awaiting ? QStringLiteral("Awaiting free bet") : freeBetStatusText(offer.status);
}

std::vector<BetKey> freeBetKeys(const std::vector<FreeBet> &freeBets, const std::vector<BetKey> &unlinked)
{
    std::vector<BetKey> keys;
    keys.reserve(2 * freeBets.size() + unlinked.size());
    for (const FreeBet &freeBet : freeBets) {
        keys.push_back(freeBet.earnedBy.value_or(BetKey {}));
        keys.push_back(freeBet.usedBy.value_or(BetKey {}));
    }
    keys.insert(keys.end(), unlinked.begin(), unlinked.end());
    return keys;
}

KeyedRecords::KeyedRecords(std::vector<BetKey> keys)
    : m_keys(std::move(keys))
    , m_found(m_keys.size(), -1)
{ }

void KeyedRecords::lookAt(const RecordsView &records)
{
    if (m_keys.empty())
        return;
    constexpr quint64 filterBits = quint64(1) << 22;
    const auto bitOf = [](quint64 digest) { return digest & (filterBits - 1); };
    if (m_wanted.empty()) {
        m_wanted.reserve(m_keys.size());
        m_digests.reserve(m_keys.size());
        m_maybe.assign(filterBits / 64, 0);
        for (std::size_t i = 0; i < m_keys.size(); ++i) {
            m_wanted.emplace_back(m_keys[i], i);
            m_digests.insert(m_keys[i].digest);
            m_maybe[bitOf(m_keys[i].digest) / 64] |= quint64(1) << (bitOf(m_keys[i].digest) % 64);
        }
        std::sort(m_wanted.begin(), m_wanted.end());
    }
    for (; m_looked < records.size(); ++m_looked) {
        const BetRecord &record = records.at(m_looked);
        const quint64 bit = bitOf(record.digest);
        if (!(m_maybe[bit / 64] >> (bit % 64) & 1) || !m_digests.contains(record.digest))
            continue;
        const BetKey key {record.digest, m_seen[std::size_t(record.source)][record.digest]++, record.source};
        auto at = std::lower_bound(m_wanted.begin(), m_wanted.end(), std::pair(key, std::size_t(0)));
        for (; at != m_wanted.end() && at->first == key; ++at)
            m_found[at->second] = m_looked;
    }
}

FreeBetTotals freeBetTotalsOf(
    const HistoryView &view, const std::vector<FreeBet> &freeBets, const std::vector<qsizetype> &records, QDate today)
{
    FreeBetTotals totals;
    std::vector<qsizetype> earnedBy;
    std::vector<qsizetype> usedBy;
    for (std::size_t i = 0; i < freeBets.size(); ++i) {
        earnedBy.push_back(freeBets[i].earnedBy ? records[2 * i] : -1);
        usedBy.push_back(freeBets[i].usedBy ? records[2 * i + 1] : -1);
    }
    calc::ShapeCache shapes;
    double retentionSum = 0;
    int retentionCount = 0;
    for (std::size_t i = 0; i < freeBets.size(); ++i) {
        FreeBetRow row = rowOf(view, freeBets[i], today, earnedBy[i], usedBy[i]);
        row.freeBet = i;
        addUp(totals, freeBets[i], row);
        if (row.status == FreeBetStatus::Used && row.retention) {
            retentionSum += *row.retention;
            ++retentionCount;
        }
        if (row.earnedBy >= 0) {
            totals.offers.push_back(offerOf(view, freeBets[i], row, shapes));
            addUp(totals, totals.offers.back());
        }
        totals.rows.push_back(row);
    }
    if (retentionCount > 0)
        totals.averageRetention = retentionSum / retentionCount;
    std::vector<qsizetype> notToLink(records.begin() + qsizetype(2 * freeBets.size()), records.end());
    notToLink.insert(notToLink.end(), usedBy.begin(), usedBy.end());
    totals.links = linksFound(view, freeBets, totals.rows, std::move(notToLink));
    order(totals.rows, freeBets);
    return totals;
}

} // namespace history
