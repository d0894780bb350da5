#include "history/ledgerbook.h"

#include <algorithm>

namespace history {

int LedgerBook::settlementsWithoutBet() const
{
    return int(std::count_if(m_orphans.begin(), m_orphans.end(),
        [](const auto &orphan) { return orphan.second.settling == BetDecision::Settling::Settled; }));
}

void LedgerBook::waitLater(BetDecisions &into, const BetKey &key, const BetDecision &decision)
{
    into[key].takeLater(decision);
}

void LedgerBook::take(LedgerBatch &&batch)
{
    // The batch's texts become the book's, so that decisions of several batches share them.
    std::vector<int> ids;
    for (const QString &text : std::as_const(batch.texts)) {
        auto known = m_textIds.constFind(text);
        if (known == m_textIds.cend()) {
            m_texts << text;
            known = m_textIds.insert(text, int(m_texts.size() - 1));
        }
        ids.push_back(*known);
    }
    for (auto &[key, decision] : batch.bets) {
        if (decision.outcome >= 0)
            decision.outcome = ids[std::size_t(decision.outcome)];
        if (decision.exchange >= 0)
            decision.exchange = ids[std::size_t(decision.exchange)];
        waitLater(m_waiting, key, decision);
    }
    for (const auto &[name, entry] : batch.accounts) {
        AccountEntry &account = m_accounts[name];
        account.deposited += entry.deposited;
        account.withdrawn += entry.withdrawn;
        if (!entry.status.isEmpty())
            account.status = entry.status;
    }
    if (!batch.lastExchange.isEmpty())
        m_lastExchange = batch.lastExchange;
}

LedgerBook::Waiting LedgerBook::takeWaiting()
{
    // The new decisions are handed over whole; the few not found before go under them.
    Waiting waiting {std::exchange(m_waiting, {}), m_texts, m_settlements, m_version};
    for (const auto &[key, orphan] : std::exchange(m_orphans, {})) {
        const auto [decision, added] = waiting.decisions.try_emplace(key, orphan);
        if (!added) {
            BetDecision earlier = orphan;
            earlier.takeLater(decision->second);
            decision->second = earlier;
        }
    }
    return waiting;
}

void LedgerBook::applyNow(const std::vector<ResolvedDecision> &decisions)
{
    applyAll(decisions, m_settlements);
    ++m_version;
}

void LedgerBook::apply(Resolution &&resolution, SettlementTable &&settled, quint64 version)
{
    if (version == m_version) {
        m_settlements = std::move(settled);
        ++m_version;
    } else {
        applyNow(resolution.resolved);
    }
    // Decisions that came in meanwhile are later: they stay on top of those not found.
    for (const auto &[key, decision] : resolution.unresolved) {
        BetDecision orphan = decision;
        if (const auto later = m_waiting.find(key); later != m_waiting.end()) {
            orphan.takeLater(later->second);
            m_waiting.erase(later);
            waitLater(m_waiting, key, orphan);
        } else {
            m_orphans[key] = orphan;
        }
    }
}

} // namespace history
