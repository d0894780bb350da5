#include "tracker/betdecision.h"

namespace history {

using store::LedgerAction;

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

BetLineFields fieldsOf(store::LedgerAction action)
{
    return {action == LedgerAction::Settle, action == LedgerAction::Settle || action == LedgerAction::Exchange,
        action == LedgerAction::Amend};
}

} // namespace history
