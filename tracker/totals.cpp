#include "tracker/totals.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace history {

namespace {

// The charts show a few thousand points at the most: one per pixel column is all a screen shows.
constexpr std::size_t mostChartPoints = 4096;

void count(Sums &sums, const BetRecord &bet, const Settlement &settlement)
{
    ++sums.bets;
    sums.ownStake += bet.ownStake;
    sums.freeStake += bet.freeStake;
    const double result = std::isnan(bet.result) ? 0 : bet.result;
    sums.result += result;
    if (settlement.settled) {
        ++sums.settled;
        sums.settledResult += settlement.payout.profit();
    } else {
        ++sums.open;
        sums.openLocked += result;
        sums.inOpenBets += bet.ownStake;
        sums.inOpenBets += bet.openAtExchange;
    }
}

std::pair<int, int> monthOf(qint64 when)
{
    if (when == noDate)
        return {0, 0};
    return text::yearMonthOf(when);
}

// Keeps every n-th point and the last, so that a million points draw as fast as a few thousand.
template<typename Point> void thinOut(std::vector<Point> &points)
{
    if (points.size() <= mostChartPoints)
        return;
    const std::size_t step = (points.size() + mostChartPoints - 1) / mostChartPoints;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < points.size(); i += step)
        points[kept++] = points[i];
    if (points[kept - 1] != points.back())
        points[kept++] = points.back();
    points.resize(kept);
}

// Sorts points by time, equal times in the order they came. Rows come newest or oldest first as
// a rule, which takes a pass rather than a sort.
template<typename Point> void sortByTime(std::vector<Point> &points)
{
    const auto byTime = [](const Point &a, const Point &b) { return std::get<0>(a) < std::get<0>(b); };
    if (std::is_sorted(points.begin(), points.end(), byTime))
        return;
    const auto notLater = [](const Point &a, const Point &b) { return std::get<0>(a) <= std::get<0>(b); };
    if (std::adjacent_find(points.begin(), points.end(), notLater) == points.end()) {
        std::reverse(points.begin(), points.end()); // strictly newest first
        return;
    }
    std::stable_sort(points.begin(), points.end(), byTime);
}

void runningSums(Totals &totals, const HistoryView &view)
{
    sortByTime(totals.running);
    double settled = 0;
    double expected = 0;
    for (auto &[when, came, locked] : totals.running) {
        came = settled += came;
        locked = expected += locked;
    }
    sortByTime(totals.expectedAndActual);
    double actual = 0;
    double lockedIn = 0;
    for (auto &[when, came, locked, record] : totals.expectedAndActual) {
        came = actual += came;
        locked = lockedIn += locked;
    }
    thinOut(totals.running);
    thinOut(totals.expectedAndActual);
    // What is kept is a few thousand points; a million were held to work them out.
    totals.running.shrink_to_fit();
    totals.expectedAndActual.shrink_to_fit();
    for (const auto &point : totals.expectedAndActual)
        totals.expectedAndActualEvents << eventOf(view, std::get<3>(point));
}

std::vector<AccountRow> accountsOf(const HistoryView &view, const BetBookmakers &numbers, const std::vector<int> &order,
    const AccountBook &book, const QString &openExchange)
{
    // Bookmakers by number first: a map of a million names would take as long as the rest.
    const QStringList &names = numbers.names();
    std::vector<AccountRow> bookmakers(std::size_t(names.size()));
    std::vector<bool> used(bookmakers.size());
    std::map<QString, AccountRow> exchanges;
    const auto exchange = [&exchanges](const QString &name) -> AccountRow & {
        AccountRow &account = exchanges[name];
        account.name = name;
        account.exchange = true;
        return account;
    };
    for (qsizetype index = 0; index < view.records.size(); ++index) {
        const BetRecord &bet = view.records.at(index);
        const Settlement &settlement = view.settlements.at(index);
        if (settlement.removed)
            continue;
        const auto number = std::size_t(numbers.of(index));
        AccountRow &bookmaker = bookmakers[number];
        used[number] = true;
        // The lays are at the bet's own exchange; a bet never given one is at the window's.
        const QString &layExchange
            = settlement.exchange >= 0 ? view.settlements.exchanges().at(settlement.exchange) : openExchange;
        if (settlement.settled) {
            bookmaker.settled += settlement.payout.bookmaker;
            if (settlement.payout.exchange != 0 && !layExchange.isEmpty())
                exchange(layExchange).settled += settlement.payout.exchange;
        } else {
            bookmaker.inOpenBets += calc::toPennies(bet.ownStake);
            if (bet.openAtExchange > 0 && !layExchange.isEmpty())
                exchange(layExchange).inOpenBets += calc::toPennies(bet.openAtExchange);
        }
    }
    // A name the ledger gives an account is an exchange's where the bets use it so.
    std::map<QString, AccountRow> onlyInTheLedger;
    for (const auto &[name, entry] : book) {
        const qsizetype index = exchanges.contains(name) ? -1 : names.indexOf(name);
        const bool namedExchange = entry.exchange.value_or(exchanges.contains(name) || name == openExchange);
        AccountRow &account = index >= 0 && !namedExchange ? bookmakers[std::size_t(index)]
            : namedExchange                                ? exchange(name)
                                                           : onlyInTheLedger[name];
        if (index >= 0 && !namedExchange)
            used[std::size_t(index)] = true;
        account.deposited += entry.deposited;
        account.withdrawn += entry.withdrawn;
        account.settled += entry.adjusted;
        account.status = accountStatusCaption(entry.status);
    }
    std::vector<AccountRow> accounts;
    const auto take = [&accounts](const QString &name, AccountRow &account) {
        account.name = name;
        if (account.status.isEmpty())
            account.status = QStringLiteral("Active");
        accounts.push_back(std::move(account));
    };
    for (const int index : order) {
        if (used[std::size_t(index)])
            take(names[index], bookmakers[std::size_t(index)]);
    }
    for (auto &[name, account] : onlyInTheLedger)
        take(name, account);
    for (auto &[name, account] : exchanges)
        take(name, account);
    return accounts;
}

void orderBookmakers(Totals &totals, const QStringList &names, const Totals &before)
{
    // The list only ever grows and is shared while it does not: the same data, the same order.
    totals.orderedNames = names;
    if (before.orderedNames.constData() == names.constData() && before.orderedNames.size() == names.size()) {
        totals.bookmakerOrder = before.bookmakerOrder;
        totals.bookmakersByName = before.bookmakersByName;
        totals.longestBookmakers = before.longestBookmakers;
        return;
    }
    totals.bookmakerOrder.resize(std::size_t(names.size()));
    std::iota(totals.bookmakerOrder.begin(), totals.bookmakerOrder.end(), 0);
    std::sort(totals.bookmakerOrder.begin(), totals.bookmakerOrder.end(),
        [&names](int a, int b) { return names[a].compare(names[b], Qt::CaseInsensitive) < 0; });
    totals.bookmakersByName.reserve(names.size());
    for (const int index : totals.bookmakerOrder)
        totals.bookmakersByName << names[index];
    QStringList byLength = names;
    constexpr qsizetype measured = 20;
    const auto longer = [](const QString &a, const QString &b) { return a.size() > b.size(); };
    std::partial_sort(byLength.begin(), byLength.begin() + std::min(measured, byLength.size()), byLength.end(), longer);
    totals.longestBookmakers = byLength.mid(0, measured);
}

} // namespace

MoneySum &MoneySum::operator+=(double amount)
{
    if (std::isfinite(amount) && std::fabs(amount) <= calc::fromPennies(calc::largestMoney))
        m_pennies += calc::toPennies(amount);
    else
        m_beyond += amount;
    return *this;
}

double MoneySum::value() const
{
    if (m_beyond == 0)
        return calc::fromPennies(m_pennies);
    return std::isnan(m_beyond) ? m_beyond : std::copysign(std::numeric_limits<double>::infinity(), m_beyond);
}

QString accountStatusCaption(const QString &word)
{
    if (word.isEmpty())
        return {};
    return word.front().toUpper() + word.mid(1);
}

Totals totalsOf(
    const HistoryView &view, const std::vector<int> &rows, const LedgerAccounts &ledger, const Totals &before)
{
    Totals totals;
    const BetBookmakers bookmakers(view);
    totals.byBookmaker.resize(std::size_t(bookmakers.names().size()));
    double closenessSum = 0;
    int closenessCount = 0;
    totals.running.reserve(rows.size()); // nearly every row has a date and a result
    for (const int index : rows) {
        const BetRecord &bet = view.records.at(index);
        const Settlement &settlement = view.settlements.at(index);
        count(totals.all, bet, settlement);
        count(totals.byBookmaker[std::size_t(bookmakers.of(index))], bet, settlement);
        count(totals.byMonth[monthOf(bet.when)], bet, settlement);
        count(totals.byKind[bet.kind], bet, settlement);
        if (!std::isnan(bet.closeness)) {
            closenessSum += bet.closeness;
            ++closenessCount;
        }
        if (bet.when != noDate && !std::isnan(bet.result))
            totals.running.emplace_back(bet.when, 0, bet.result);
        if (settlement.settled && settlement.settledOn != noDate) {
            totals.settledByMonth[monthOf(settlement.settledOn)] += settlement.actual();
            totals.running.emplace_back(settlement.settledOn, settlement.actual(), 0);
            totals.expectedAndActual.emplace_back(
                settlement.settledOn, settlement.actual(), std::isnan(bet.result) ? 0 : bet.result, index);
        }
    }
    if (closenessCount > 0)
        totals.averageCloseness = closenessSum / closenessCount;
    runningSums(totals, view);
    orderBookmakers(totals, bookmakers.names(), before);
    totals.accounts = accountsOf(view, bookmakers, totals.bookmakerOrder, ledger.book, ledger.openExchange);
    totals.accountsTotal.name = QStringLiteral("Total");
    for (const AccountRow &account : totals.accounts) {
        totals.accountsTotal.deposited += account.deposited;
        totals.accountsTotal.withdrawn += account.withdrawn;
        totals.accountsTotal.settled += account.settled;
        totals.accountsTotal.inOpenBets += account.inOpenBets;
    }
    totals.accountLines.assign(ledger.lines.rbegin(), ledger.lines.rend());
    return totals;
}

} // namespace history
