#include "history/totals.h"

#include <algorithm>
#include <cmath>

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
        sums.settledResult += settlement.actual;
    } else {
        ++sums.open;
        sums.openLocked += result;
    }
}

std::pair<int, int> monthOf(qint64 when)
{
    if (when == noDate)
        return {0, 0};
    const QDate date = store::dayOf(when);
    return {date.year(), date.month()};
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

void runningSums(Totals &totals)
{
    const auto byTime = [](const auto &a, const auto &b) { return std::get<0>(a) < std::get<0>(b); };
    std::stable_sort(totals.cumulative.begin(), totals.cumulative.end(), byTime);
    double running = 0;
    for (auto &[when, value] : totals.cumulative)
        value = running += value;
    std::stable_sort(totals.expectedAndActual.begin(), totals.expectedAndActual.end(), byTime);
    double actual = 0;
    double locked = 0;
    for (auto &[when, came, expected] : totals.expectedAndActual) {
        came = actual += came;
        expected = locked += expected;
    }
    thinOut(totals.cumulative);
    thinOut(totals.expectedAndActual);
}

std::vector<AccountRow> accountsOf(const HistoryView &view, const AccountBook &book, const QString &openExchange)
{
    std::map<std::pair<bool, QString>, AccountRow> rows; // (is an exchange, name)
    const auto row = [&rows](bool exchange, const QString &name) -> AccountRow & {
        AccountRow &account = rows[{exchange, name}];
        account.name = name;
        account.exchange = exchange;
        return account;
    };
    const QStringList &bookmakers = view.records.bookmakers();
    for (qsizetype index = 0; index < view.records.size(); ++index) {
        const BetRecord &bet = view.records.at(index);
        const Settlement &settlement = view.settlements.at(index);
        if (settlement.removed)
            continue;
        AccountRow &bookmaker = row(false, bookmakers.at(bet.bookmaker));
        if (settlement.settled) {
            bookmaker.settled += settlement.atBookmaker;
            row(true, view.settlements.exchanges().value(settlement.exchange)).settled
                += settlement.actual - settlement.atBookmaker;
        } else {
            bookmaker.inOpenBets += bet.ownStake;
            if (bet.openAtExchange > 0)
                row(true, openExchange).inOpenBets += bet.openAtExchange;
        }
    }
    // A name the ledger gives an account is an exchange's where the bets use it so.
    for (const auto &[name, entry] : book) {
        const bool exchange = rows.contains({true, name}) || (!rows.contains({false, name}) && name == openExchange);
        AccountRow &account = row(exchange, name);
        account.deposited += entry.deposited;
        account.withdrawn += entry.withdrawn;
        account.status = accountStatusCaption(entry.status);
    }
    std::vector<AccountRow> accounts;
    for (auto &[key, account] : rows) {
        if (account.status.isEmpty())
            account.status = QStringLiteral("Active");
        accounts.push_back(std::move(account));
    }
    return accounts;
}

} // namespace

QString accountStatusCaption(const QString &word)
{
    if (word.isEmpty())
        return {};
    return word.front().toUpper() + word.mid(1);
}

Totals totalsOf(
    const HistoryView &view, const std::vector<int> &rows, const AccountBook &accounts, const QString &openExchange)
{
    Totals totals;
    double closenessSum = 0;
    int closenessCount = 0;
    for (const int index : rows) {
        const BetRecord &bet = view.records.at(index);
        const Settlement &settlement = view.settlements.at(index);
        count(totals.all, bet, settlement);
        count(totals.byBookmaker[bet.bookmaker], bet, settlement);
        count(totals.byMonth[monthOf(bet.when)], bet, settlement);
        count(totals.byKind[bet.kind], bet, settlement);
        if (!std::isnan(bet.closeness)) {
            closenessSum += bet.closeness;
            ++closenessCount;
        }
        if (bet.when != noDate && !std::isnan(bet.result))
            totals.cumulative.emplace_back(bet.when, bet.result);
        if (bet.when != noDate && settlement.settled)
            totals.expectedAndActual.emplace_back(bet.when, settlement.actual, std::isnan(bet.result) ? 0 : bet.result);
    }
    if (closenessCount > 0)
        totals.averageCloseness = closenessSum / closenessCount;
    runningSums(totals);
    totals.accounts = accountsOf(view, accounts, openExchange);
    totals.bookmakersByName = view.records.bookmakers();
    totals.bookmakersByName.sort(Qt::CaseInsensitive);
    QStringList byLength = view.records.bookmakers();
    constexpr qsizetype measured = 20;
    const auto longer = [](const QString &a, const QString &b) { return a.size() > b.size(); };
    std::partial_sort(byLength.begin(), byLength.begin() + std::min(measured, byLength.size()), byLength.end(), longer);
    totals.longestBookmakers = byLength.mid(0, measured);
    return totals;
}

} // namespace history
