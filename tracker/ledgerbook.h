// What the ledger says, as far as it has been read and matched to the records: each record's
// settlement, the accounts, the exchange last named, and the decisions whose bets were not found
// in either file. Kept on the user-interface thread; the matching itself runs elsewhere on what
// takeWaiting() hands out, and comes back through apply().
#pragma once

#include "tracker/decisionmatch.h"
#include "tracker/ledgerread.h"
#include "tracker/settlements.h"

namespace history {

// Merged decisions of several reads as one, a later one's on top of an earlier one's.
BetDecisions merged(std::vector<BetDecisions> &&reads);

// The decisions of one read of the ledger, gathered batch by batch on the reading thread with the
// texts they name in one list, and handed over merged.
class DecisionsRead
{
public:
    struct Merged
    {
        BetDecisions decisions;
        QStringList texts;
    };

    // Takes the batch's decisions.
    void add(LedgerBatch &batch);
    Merged take();

private:
    BetDecisions m_decisions;
    QStringList m_texts;
    QHash<QString, int> m_ids;
};

// A settlement whose bet is in neither file any more (its line edited or deleted by hand), as the
// window lists it.
struct OrphanSettlement
{
    BetKey key;
    qint64 settledOn = noDate;
    std::optional<calc::Pennies> amount; // the profit as settled; none for a void
    QString outcome; // a figure key, "void" or an "other" amount's
    QString exchange; // empty: none named
};

class LedgerBook
{
public:
    const SettlementTable &settlements() const { return m_settlements; }
    const AccountBook &accounts() const { return m_accounts; }
    const AccountLines &accountLines() const { return m_accountLines; }
    const FreeBetBook &freeBets() const { return m_freeBets; }
    // The exchange of the latest settle or exchange line; empty before there is one.
    const QString &lastExchange() const { return m_lastExchange; }
    // Decisions that settle a bet found in neither file.
    int settlementsWithoutBet() const;
    std::vector<OrphanSettlement> orphanSettlements() const;
    // True when decisions wait to be matched, or bets not found may be among new records.
    bool hasWaiting() const { return !m_waiting.empty(); }
    bool hasOrphans() const { return !m_orphans.empty(); }

    void clear() { *this = {}; }
    // A batch's accounts and free bets; its decisions come through takeDecisions() once the read
    // has ended. Returns the free-bet lines left out (FreeBetBook::take).
    UnreadLines take(LedgerBatch &&batch);
    void takeDecisions(DecisionsRead::Merged &&read);

    struct Waiting
    {
        std::vector<BetDecisions> decisions; // earliest first; merged() makes them one
        QStringList texts;
        SettlementTable settlements; // as they stand, for the matching to apply the decisions to
    };
    // The decisions to match: those not found before, then the new ones.
    Waiting takeWaiting();
    // The settlements with the decisions found applied, worked out off this thread from what
    // takeWaiting() handed out, and the decisions not found. Decisions made in the window meanwhile
    // are applied again on top.
    void apply(BetDecisions &&unresolved, SettlementTable &&settled);

    // Decisions made in this window, shown at once; reading their lines back changes nothing.
    void applyNow(const ResolvedDecisions &decisions);
    // An exchange named in this window, remembered at once.
    void rememberExchange(const QString &name) { m_lastExchange = name; }

private:
    SettlementTable m_settlements;
    bool m_matching = false; // between takeWaiting() and apply()
    std::vector<ResolvedDecisions> m_madeWhileMatching;
    AccountBook m_accounts;
    AccountLines m_accountLines;
    FreeBetBook m_freeBets;
    QString m_lastExchange;
    QStringList m_texts;
    QHash<QString, int> m_textIds;
    std::vector<BetDecisions> m_waiting; // a read's each; merged off this thread
    BetDecisions m_orphans;
};

} // namespace history
