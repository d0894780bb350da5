// Sums over the rows the filters let through: overall, per bookmaker, per month and per kind of
// bet, with what the settled bets brought and what the open ones lock in; the running result over
// time, and the settled bets' actual results beside what they locked in, for the charts; and the
// money at every account; the free bets and the offers that earned them. No widgets, so it runs on any thread.
#pragma once

#include <map>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "tracker/columns.h"
#include "tracker/freebetrows.h"

namespace history {

// Money added up in whole pennies, so that a million bets sum to the penny. An amount beyond any
// anyone stakes (a damaged line) makes the sum say so: infinite, with its sign, which shows as
// "too large".
class MoneySum
{
public:
    MoneySum &operator+=(double amount);
    MoneySum &operator+=(calc::Pennies amount)
    {
        m_pennies += amount;
        return *this;
    }
    double value() const;

private:
    calc::Pennies m_pennies = 0;
    double m_beyond = 0; // the amounts beyond all money, added as they are
};

struct Sums
{
    int bets = 0;
    MoneySum ownStake; // the user's own money staked
    MoneySum freeStake; // free-bet stakes used
    MoneySum result; // what the records lock in, of those that have a result
    int settled = 0;
    MoneySum settledResult; // what came in
    int open = 0;
    MoneySum openLocked; // what the open bets lock in
    MoneySum inOpenBets; // the money they tie up: own stakes at bookmakers, liabilities at exchanges
};

// The money at one bookmaker or exchange.
struct AccountRow
{
    QString name;
    bool exchange = false;
    QString status; // "Active" where the ledger never said
    calc::Pennies deposited = 0;
    calc::Pennies withdrawn = 0;
    calc::Pennies settled = 0; // its part of the settled bets' profits, and its adjustments (commission netted)
    calc::Pennies inOpenBets = 0; // own stakes at a bookmaker, liabilities at an exchange
    calc::Pennies balance() const { return deposited - withdrawn + settled; }
    calc::Pennies available() const { return balance() - inOpenBets; }
};

struct Totals
{
    Sums all;
    std::optional<double> averageCloseness; // over the records whose closeness is a number
    std::vector<Sums> byBookmaker; // by index into the records' bookmakers
    std::map<std::pair<int, int>, Sums> byMonth; // (year, month); (0, 0) for records without a date
    std::map<std::pair<int, int>, double> settledByMonth; // what came in, by the month it was settled
    std::map<calc::BetKind, Sums> byKind;
    // (when, running settled result by settle date, running expected result by the bets' dates), in
    // time order.
    std::vector<std::tuple<qint64, double, double>> running;
    // (settled on, running actual result, running locked-in result, record) of the settled bets, and
    // the events of the records kept.
    std::vector<std::tuple<qint64, double, double, qsizetype>> expectedAndActual;
    QStringList expectedAndActualEvents;
    std::vector<AccountRow> accounts; // bookmakers, then exchanges, each in name order
    AccountRow accountsTotal; // all the money across them
    AccountLines accountLines; // newest first
    SharedFreeBets freeBets = std::make_shared<const FreeBetsShown>(); // whatever the filters
    std::vector<int> bookmakerOrder; // the bookmakers' indexes in name order, any letter case
    QStringList orderedNames; // the names bookmakerOrder orders
    QStringList bookmakersByName; // the same names
    QStringList longestBookmakers; // the few longest names, for the column's width
};

// The totals of one rebuild, shared by the tabs that show them: a million bookmakers' sums are
// kept once.
using SharedTotals = std::shared_ptr<const Totals>;

// The accounts' money counts every bet that is not removed, whatever the filters; lays count at the
// exchange named for their bet, or at openExchange for a bet never given one (nowhere while that is
// empty). An account is an exchange where the ledger says so, or, where it says nothing, where lays
// are.
// The bookmakers' name order is taken from the totals before while no bookmaker has come since: a
// million names take seconds to sort.
struct LedgerAccounts
{
    const AccountBook &book;
    const AccountLines &lines;
    const QString &openExchange;
};
Totals totalsOf(
    const HistoryView &view, const std::vector<int> &rows, const LedgerAccounts &ledger, const Totals &before);

// "Active", "Limited", "Gubbed", "Closed": an account status word of the ledger as the window says it.
QString accountStatusCaption(const QString &word);

} // namespace history
