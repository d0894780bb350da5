#include "tracker/betdecisions.h"

#include <algorithm>
#include <map>
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

bool isMatchedBet(calc::BetKind kind)
{
    return kind == calc::BetKind::Qualifying || kind == calc::BetKind::FreeBet || kind == calc::BetKind::PartFreeBet;
}

void addLine(DecisionLines &lines, const store::LedgerEntry &entry, const ResolvedDecision &decision)
{
    lines.entries << entry;
    lines.decisions.list.push_back(decision);
}

// The amend line, and an exchange line where the exchange changed.
void amend(DecisionLines &lines, store::LedgerEntry entry, ResolvedDecision decision, const BetRequest &request,
    const QString &exchangeBefore)
{
    const Mending &mending = request.mending;
    entry.outcome = mending.event;
    entry.account = mending.bookmaker;
    entry.note = mending.note;
    decision.mended = lines.decisions.textId(mending.joined());
    addLine(lines, entry, decision);
    if (request.exchange.isEmpty() || request.exchange == exchangeBefore)
        return;
    entry = {entry.when, LedgerAction::Exchange, entry.record, {}, {}, request.exchange, {}, {}};
    decision.decision = decisionOf(LedgerAction::Exchange, noDate);
    decision.exchange = lines.decisions.textId(request.exchange);
    addLine(lines, entry, decision);
}

// The free bet a refund settled as one leaves at the bet's bookmaker.
void addRefundedFreeBet(DecisionLines &lines, const HistoryView &view, qsizetype index,
    const store::LedgerEntry &settle, QDate expires, calc::ShapeCache &shapes)
{
    const std::optional<FreeBetInOffer> refund
        = freeBetInOffer(view.records.at(index), view.records.line(index), shapes);
    if (!refund || refund->amount <= 0)
        return;
    lines.entries << store::LedgerEntry {settle.when, LedgerAction::FreeBet, settle.record, QStringLiteral("snr"),
        calc::fromPennies(refund->amount), bookmakerOf(view, index), QStringLiteral("refund"), expires};
}

} // namespace

DecisionLines decisionLines(const HistoryView &view, const std::vector<qsizetype> &records,
    const std::vector<store::RecordId> &ids, const BetRequest &request, const QDateTime &now)
{
    DecisionLines lines;
    const qint64 moment = text::momentOf(now.date(), now.time());
    calc::ShapeCache shapes;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const qsizetype index = records[i];
        const BetRecord &record = view.records.at(index);
        const QByteArrayView line = view.records.line(index);
        store::LedgerEntry entry {now, request.action, ids[i], {}, {}, {}, request.note, {}};
        ResolvedDecision decision {index, decisionOf(request.action, moment), {}, -1, -1};
        // A settle is at the exchange named for the bet, where there is one.
        const Settlement &before = view.settlements.at(index);
        const QString exchange = request.action == LedgerAction::Settle && before.exchange >= 0
            ? view.settlements.exchanges().at(before.exchange)
            : request.exchange;
        const BetLineFields fields = fieldsOf(request.action);
        if (fields.exchange) {
            entry.account = exchange;
            decision.exchange = lines.decisions.textId(exchange);
        }
        if (fields.outcome) {
            const SettledAs settled = settledAs(record, line, request.outcome, request.amount, shapes);
            const std::optional<calc::Payout> &payout = settled.payout;
            if (!payout) {
                ++lines.refused;
                continue;
            }
            lines.needsExchange = lines.needsExchange || (payout->exchange != 0 && exchange.isEmpty());
            entry.outcome = request.outcome;
            entry.amount = calc::fromPennies(payout->profit());
            decision.decision.amount = payout->profit();
            decision.decision.hasAmount = true;
            decision.payout = *payout;
            decision.caption = lines.decisions.textId(settled.caption);
        }
        if (fields.mending)
            amend(lines, entry, decision, request, exchangeText(view, index));
        else
            addLine(lines, entry, decision);
        if (request.outcome == QLatin1String(calc::refundAsFreeBetOutcome))
            addRefundedFreeBet(lines, view, index, entry, request.freeBetExpires, shapes);
    }
    return lines;
}

std::vector<store::RecordId> recordIds(const RecordsView &records, const std::vector<qsizetype> &chosen)
{
    const std::unordered_map<qsizetype, int> occurrence = occurrences(records, chosen);
    std::vector<store::RecordId> ids;
    for (const qsizetype index : chosen)
        ids.push_back({records.at(index).source, store::sha256(records.line(index)), occurrence.at(index)});
    return ids;
}

std::optional<std::vector<qsizetype>> recordsNamed(const RecordsView &records, const std::vector<store::RecordId> &ids)
{
    // One pass over the records counting the lines of each name's file and first digest bytes; a
    // line so counted is checked against the whole digest.
    struct Wanted
    {
        std::vector<std::size_t> ids;
        std::map<store::Sha256, int> seen; // lines whose first bytes agree and the rest do not are others
    };
    std::map<std::pair<RecordSource, quint64>, Wanted> wanted;
    for (std::size_t i = 0; i < ids.size(); ++i)
        wanted[{ids[i].source, digestKey(ids[i].digest)}].ids.push_back(i);
    std::vector<qsizetype> found(ids.size(), -1);
    for (qsizetype index = 0; index < records.size(); ++index) {
        const BetRecord &record = records.at(index);
        const auto group = wanted.find({record.source, record.digest});
        if (group == wanted.end())
            continue;
        const store::Sha256 digest = store::sha256(records.line(index));
        const int occurrence = group->second.seen[digest]++;
        for (const std::size_t i : group->second.ids) {
            if (ids[i].digest == digest && ids[i].occurrence == occurrence)
                found[i] = index;
        }
    }
    if (std::find(found.begin(), found.end(), -1) != found.end())
        return std::nullopt;
    return found;
}

SettleChoices settleChoices(const HistoryView &view, const std::vector<qsizetype> &records)
{
    SettleChoices choices;
    choices.allRemoved = !records.empty();
    bool oneKind = true;
    for (const qsizetype index : records) {
        const Settlement &settlement = view.settlements.at(index);
        choices.anySettled = choices.anySettled || settlement.settled;
        choices.anyRemoved = choices.anyRemoved || settlement.removed;
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

OtherAmountForm otherAmountForm(const HistoryView &view, const std::vector<qsizetype> &records)
{
    OtherAmountForm form;
    form.bets = int(records.size());
    form.exchangeToo = std::any_of(records.begin(), records.end(),
        [&view](qsizetype index) { return view.records.at(index).kind != calc::BetKind::CasinoBonus; });
    if (records.size() != 1)
        return form;
    const SettleChoices choices = settleChoices(view, records);
    if (choices.outcomes.empty())
        return form;
    calc::ShapeCache shapes;
    const qsizetype index = records.front();
    const SettledAs first = settledAs(view.records.at(index), view.records.line(index),
        QString::fromStdString(choices.outcomes.front().key), std::nullopt, shapes);
    form.initial = first.payout.value_or(calc::Payout {});
    return form;
}

} // namespace history
