#include "history/betdecisions.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace history {

namespace {

using store::LedgerAction;

// How many identical lines come before each record in its file: one pass over the records in the
// order they were read, which is each file's order.
std::unordered_map<qsizetype, int> occurrences(const RecordsView &records, const std::vector<qsizetype> &chosen)
{
    const auto key
        = [&records](qsizetype index) { return std::pair(records.at(index).source, records.at(index).digest); };
    struct KeyHash
    {
        std::size_t operator()(const std::pair<RecordSource, quint64> &key) const
        {
            return std::size_t(key.second ^ quint64(key.first));
        }
    };
    std::unordered_map<std::pair<RecordSource, quint64>, int, KeyHash> seen;
    for (const qsizetype index : chosen)
        seen.emplace(key(index), 0);
    const std::unordered_set<qsizetype> wanted(chosen.begin(), chosen.end());
    const qsizetype last = chosen.empty() ? -1 : *std::max_element(chosen.begin(), chosen.end());
    std::unordered_map<qsizetype, int> found;
    for (qsizetype index = 0; index <= last; ++index) {
        const auto counted = seen.find(key(index));
        if (counted == seen.end())
            continue;
        if (wanted.contains(index))
            found[index] = counted->second;
        ++counted->second;
    }
    return found;
}

BetDecision decisionOf(const BetRequest &request, qint64 when)
{
    BetDecision decision;
    switch (request.action) {
    case LedgerAction::Settle:
        decision.settling = BetDecision::Settling::Settled;
        decision.settledOn = when;
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
    return decision;
}

bool isMatchedBet(calc::BetKind kind)
{
    return kind == calc::BetKind::Qualifying || kind == calc::BetKind::FreeBet || kind == calc::BetKind::PartFreeBet;
}

} // namespace

DecisionLines decisionLines(
    const HistoryView &view, const std::vector<qsizetype> &records, const BetRequest &request, const QDateTime &now)
{
    DecisionLines lines;
    const std::unordered_map<qsizetype, int> occurrence = occurrences(view.records, records);
    const qint64 moment = store::momentOf(now.date(), now.time());
    calc::ShapeCache shapes;
    for (const qsizetype index : records) {
        const BetRecord &record = view.records.at(index);
        const QByteArrayView line = view.records.line(index);
        store::LedgerEntry entry {now, request.action,
            store::RecordId {record.source, store::sha256(line), occurrence.at(index)}, {}, {}, {}, request.note};
        ResolvedDecision decision {index, decisionOf(request, moment), {}, -1, -1};
        if (request.action == LedgerAction::Settle) {
            const SettledAs settled = settledAs(record, line, request.outcome, request.amount, shapes);
            const std::optional<calc::Payout> &payout = settled.payout;
            if (!payout) {
                ++lines.refused;
                continue;
            }
            entry.outcome = request.outcome;
            entry.amount = calc::fromPennies(payout->profit());
            entry.account = request.exchange;
            decision.decision.amount = *entry.amount;
            decision.decision.hasAmount = true;
            decision.payout = *payout;
            decision.caption = lines.decisions.textId(settled.caption);
            decision.exchange = lines.decisions.textId(request.exchange);
        }
        lines.entries << entry;
        lines.decisions.list.push_back(decision);
    }
    return lines;
}

SettleChoices settleChoices(const HistoryView &view, const std::vector<qsizetype> &records)
{
    SettleChoices choices;
    choices.allRemoved = !records.empty();
    bool oneKind = true;
    for (const qsizetype index : records) {
        const Settlement &settlement = view.settlements.at(index);
        choices.anySettled = choices.anySettled || settlement.settled;
        choices.allRemoved = choices.allRemoved && settlement.removed;
        const calc::BetKind kind = view.records.at(index).kind;
        const calc::BetKind first = view.records.at(records.front()).kind;
        // The calculator's kinds of bet settle alike.
        oneKind = oneKind && (kind == first || (isMatchedBet(kind) && isMatchedBet(first)));
    }
    if (records.empty() || !oneKind)
        return choices;
    // The outcomes every one of them has, in the first one's order.
    calc::ShapeCache shapes;
    choices.outcomes = outcomesOf(view.records.at(records.front()), view.records.line(records.front()), shapes);
    for (const qsizetype index : records) {
        const std::vector<calc::SettleOutcome> own
            = outcomesOf(view.records.at(index), view.records.line(index), shapes);
        std::erase_if(choices.outcomes, [&own](const calc::SettleOutcome &outcome) {
            return std::none_of(own.begin(), own.end(), [&](const auto &o) { return o.key == outcome.key; });
        });
    }
    return choices;
}

} // namespace history
