// The exchanges' statements against the bets. Each market line is matched to the bets whose lays
// are at its exchange and whose event it names; the outcomes of the open ones that bring its amount
// are proposed, and settled ones that do not are shown. The exchange charges commission on a
// market's net winnings, so bets in one market are taken together, and what that netting saves
// against the bets' own figures is shown apart. Deposits and withdrawals the ledger lacks are
// proposed, and a balance that does not follow from the line before it is shown.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "store/statementfolder.h"
#include "tracker/columns.h"

namespace history {

// A statement line as the history holds it, with the exchange account its statement is for.
struct StatementEntry
{
    QString account;
    store::StatementFormat format = store::StatementFormat::BetfairProfitLoss;
    store::StatementLine line;
};

using AccountOfFormat = std::function<QString(store::StatementFormat)>;

// Every line of the statements once, in time order: a line is known by its account, moment,
// description and amount, so that the same file twice or two that overlap add nothing twice.
std::vector<StatementEntry> distinctEntries(
    const std::vector<store::StatementFile> &files, const AccountOfFormat &accountOf);

// How many of the statement's lines the entries do not hold yet.
qsizetype newLineCount(
    const std::vector<StatementEntry> &known, const store::Statement &statement, const QString &account);

struct ProposedOutcome
{
    qsizetype record = 0;
    QString outcome; // the figure key a settle line writes
    QString caption;
    calc::Pennies exchange = 0; // what the outcome brings at the exchange
};
using OutcomeSet = std::vector<ProposedOutcome>;

enum class MarketState : std::uint8_t {
    NoBet, // no bet matches
    Agrees, // settled bets whose parts come to the amount
    Netting, // settled bets whose parts come to less, by what netting their commission saves (see nettingBooked)
    Disagrees, // settled bets whose parts come to another amount
    Proposed, // one set of outcomes of the open bets brings the amount
    Choose, // several do
    NoFit, // none does
    Repeated, // the same market in another of the exchange's statements
};

struct MarketMatch
{
    std::size_t entry = 0;
    // Lines of the same market settled with it, such as the commission Matchbook writes apart.
    std::vector<std::size_t> parts;
    calc::Pennies amount = 0; // what the market brought: its line's amount and its parts'
    std::vector<qsizetype> records; // the bets matched, settled and open, in the order of the records
    MarketState state = MarketState::NoBet;
    std::vector<OutcomeSet> fits; // for the open bets
    calc::Pennies settledParts = 0; // what the settled bets brought at the exchange
    bool nettingBooked = false; // an adjust line at the exchange, noting the market, books the netting
};

// What netting the commission saved on the market against the bets' own figures: its amount less
// the settled bets' parts and those of the outcomes proposed.
calc::Pennies nettingOf(const MarketMatch &match, const OutcomeSet &outcomes = {});

// A balance that does not follow from the line before it in its statement.
struct BalanceGap
{
    std::size_t entry = 0;
    calc::Pennies expected = 0;
};

// An account's latest balance in its statements, and the lines that the ledger does not hold yet
// (a market no settle accounts for, a deposit it lacks, a netting not booked, a fee), which move
// the statement's balance away from the history's by what they bring.
struct StatementBalance
{
    calc::Pennies balance = 0;
    calc::Pennies unresolved = 0;
    std::vector<std::pair<std::size_t, calc::Pennies>> unresolvedEntries; // each entry, and what it moves

    // True when the lines not in the ledger account for all of a difference.
    bool explains(calc::Pennies difference) const { return difference == unresolved; }
};

struct Reconciliation
{
    std::vector<StatementEntry> entries;
    std::vector<MarketMatch> markets;
    std::vector<std::size_t> transfers; // deposits and withdrawals the ledger lacks
    std::vector<BalanceGap> gaps;
    std::vector<qsizetype> uncovered; // settled bets at a statement's exchange, within its dates, that no line covers
    std::map<QString, StatementBalance> balances; // by the account's name in one letter case (toCaseFolded)
};

// A bet's lays are at the exchange its settle or exchange line names; a bet whose exchange no line
// names yet may be at any.
Reconciliation reconcile(const std::vector<store::StatementFile> &files, const AccountOfFormat &accountOf,
    const HistoryView &view, const AccountLines &accountLines);

} // namespace history
