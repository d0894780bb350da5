#include "tracker/ledgerbook.h"

#include "tracker/textids.h"

#include <algorithm>

namespace history {

int LedgerBook::settlementsWithoutBet() const
{
    return int(std::count_if(m_orphans.begin(), m_orphans.end(),
        [](const KeyedDecision &orphan) { return orphan.decision.settling == BetDecision::Settling::Settled; }));
}

std::vector<OrphanSettlement> LedgerBook::orphanSettlements() const
{
    std::vector<OrphanSettlement> orphans;
    for (const auto &[key, decision] : m_orphans) {
        if (decision.settling != BetDecision::Settling::Settled)
            continue;
        orphans.push_back({key, decision.settledOn, decision.hasAmount ? std::optional(decision.amount) : std::nullopt,
            m_texts.value(decision.outcome), m_texts.value(decision.exchange)});
    }
    return orphans;
}

namespace {

bool byKey(const KeyedDecision &a, const KeyedDecision &b)
{
    return a.key < b.key;
}

// Sorted decisions, those about one bet in the order they came, become the latest about each.
void keepLatest(BetDecisions &decisions)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < decisions.size(); ++i) {
        if (kept > 0 && decisions[kept - 1].key == decisions[i].key)
            decisions[kept - 1].decision.takeLater(decisions[i].decision);
        else
            decisions[kept++] = decisions[i];
    }
    decisions.resize(kept);
}

// The decisions name their texts in from; afterwards in to, which gains the texts it lacked.
void renumberTexts(BetDecisions &decisions, const QStringList &from, QStringList &to, QHash<QString, int> &ids)
{
    std::vector<int> numbers;
    for (const QString &text : from)
        numbers.push_back(internedId(text, to, ids));
    for (KeyedDecision &keyed : decisions) {
        for (int *text : {&keyed.decision.outcome, &keyed.decision.exchange, &keyed.decision.mended}) {
            if (*text >= 0)
                *text = numbers[std::size_t(*text)];
        }
    }
}

} // namespace

BetDecisions merged(std::vector<BetDecisions> &&reads)
{
    BetDecisions all;
    for (BetDecisions &read : reads) {
        if (all.empty()) {
            all = std::move(read);
            continue;
        }
        const auto earlier = qsizetype(all.size());
        all.insert(all.end(), read.begin(), read.end());
        read = {}; // given back as the merging goes
        std::inplace_merge(all.begin(), all.begin() + earlier, all.end(), byKey);
        keepLatest(all);
    }
    return all;
}

void DecisionsRead::add(LedgerBatch &batch)
{
    // The batch's texts become the read's, so that decisions of several batches share them.
    renumberTexts(batch.bets, batch.texts, m_texts, m_ids);
    m_decisions.insert(m_decisions.end(), batch.bets.begin(), batch.bets.end());
    batch.bets = {};
}

DecisionsRead::Merged DecisionsRead::take()
{
    std::stable_sort(m_decisions.begin(), m_decisions.end(), byKey);
    keepLatest(m_decisions);
    m_decisions.shrink_to_fit();
    Merged read {std::exchange(m_decisions, {}), std::exchange(m_texts, {})};
    m_ids.clear();
    return read;
}

UnreadLines LedgerBook::take(LedgerBatch &&batch)
{
    for (const auto &[name, entry] : batch.accounts) {
        AccountEntry &account = m_accounts[name];
        account.deposited += entry.deposited;
        account.withdrawn += entry.withdrawn;
        account.adjusted += entry.adjusted;
        if (!entry.status.isEmpty())
            account.status = entry.status;
        if (entry.exchange)
            account.exchange = entry.exchange;
    }
    m_accountLines.insert(m_accountLines.end(), batch.accountLines.begin(), batch.accountLines.end());
    if (!batch.lastExchange.isEmpty())
        m_lastExchange = batch.lastExchange;
    return m_freeBets.take(std::move(batch.freeBets));
}

void LedgerBook::takeDecisions(DecisionsRead::Merged &&read)
{
    if (read.decisions.empty())
        return;
    // The read's texts become the book's, so that the decisions of several reads share them.
    renumberTexts(read.decisions, read.texts, m_texts, m_textIds);
    m_waiting.push_back(std::move(read.decisions));
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
