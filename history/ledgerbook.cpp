#include "history/ledgerbook.h"

#include <algorithm>

namespace history {

int LedgerBook::settlementsWithoutBet() const
{
    return int(std::count_if(m_orphans.begin(), m_orphans.end(),
        [](const auto &orphan) { return orphan.second.settling == BetDecision::Settling::Settled; }));
}

BetDecisions merged(std::vector<BetDecisions> &&batches)
{
    BetDecisions all;
    for (BetDecisions &batch : batches) {
        if (all.empty()) {
            all = std::move(batch);
            continue;
        }
        for (const auto &[key, decision] : batch)
            all[key].takeLater(decision);
        batch = {}; // given back as the merging goes
    }
    return all;
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
    }
    if (!batch.bets.empty())
        m_waiting.push_back(std::move(batch.bets));
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
    // The decisions not found before go under the new ones, which are handed over as read.
    Waiting waiting {std::exchange(m_waiting, {}), m_texts, m_settlements};
    if (!m_orphans.empty())
        waiting.decisions.insert(waiting.decisions.begin(), std::exchange(m_orphans, {}));
    m_matching = true;
    return waiting;
}

void LedgerBook::applyNow(const ResolvedDecisions &decisions)
{
    applyAll(decisions, m_settlements);
    if (m_matching)
        m_madeWhileMatching.push_back(decisions);
}

void LedgerBook::apply(BetDecisions &&unresolved, SettlementTable &&settled)
{
    m_settlements = std::move(settled);
    for (const ResolvedDecisions &decisions : std::exchange(m_madeWhileMatching, {}))
        applyAll(decisions, m_settlements);
    m_matching = false;
    // Decisions that came in meanwhile are later, and go on top of these when next matched.
    m_orphans = std::move(unresolved);
}

} // namespace history
