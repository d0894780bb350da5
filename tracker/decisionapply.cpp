#include "tracker/decisionapply.h"

#include "tracker/textids.h"

namespace history {

int ResolvedDecisions::textId(const QString &text)
{
    return internedId(text, texts, m_ids);
}

void DecisionApplier::apply(const ResolvedDecision &resolved)
{
    Settlement settlement = m_table.at(resolved.record);
    const BetDecision &decision = resolved.decision;
    if (decision.settling == BetDecision::Settling::Settled) {
        settlement.settled = true;
        settlement.settledOn = decision.settledOn;
        settlement.payout = resolved.payout;
        settlement.caption = tableId(m_captions, resolved.caption, &SettlementTable::captionId);
    } else if (decision.settling == BetDecision::Settling::Reopened) {
        // Reopened, the lays are still where they were and the bet as mended.
        settlement.settledOn = noDate;
        settlement.payout = {};
        settlement.caption = -1;
        settlement.settled = false;
    }
    if (resolved.exchange >= 0)
        settlement.exchange = tableId(m_exchanges, resolved.exchange, &SettlementTable::exchangeId);
    if (resolved.mended >= 0)
        settlement.mended = tableId(m_mendings, resolved.mended, &SettlementTable::mendingId);
    if (decision.removal != BetDecision::Removal::Untouched)
        settlement.removed = decision.removal == BetDecision::Removal::Removed;
    m_table.set(resolved.record, settlement);
}

int DecisionApplier::tableId(std::vector<int> &ids, int text, int (SettlementTable::*number)(const QString &))
{
    return renumbered(ids, m_texts, text, [&](const QString &named) { return (m_table.*number)(named); });
}

void applyAll(const ResolvedDecisions &decisions, SettlementTable &table)
{
    DecisionApplier applier(table, decisions.texts);
    for (const ResolvedDecision &resolved : decisions.list)
        applier.apply(resolved);
}

} // namespace history
