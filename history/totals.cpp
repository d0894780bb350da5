#include "history/totals.h"

#include <algorithm>
#include <cmath>

namespace history {

namespace {

void count(Sums &sums, const BetRecord &bet)
{
    ++sums.bets;
    sums.ownStake += bet.ownStake;
    sums.freeStake += bet.freeStake;
    if (!std::isnan(bet.result))
        sums.result += bet.result;
}

std::pair<int, int> monthOf(qint64 when)
{
    if (when == noDate)
        return {0, 0};
    const QDate date = store::dayOf(when);
    return {date.year(), date.month()};
}

} // namespace

Totals totalsOf(const RecordsView &records, const std::vector<int> &rows)
{
    Totals totals;
    double closenessSum = 0;
    int closenessCount = 0;
    for (const int index : rows) {
        const BetRecord &bet = records.at(index);
        count(totals.all, bet);
        count(totals.byBookmaker[bet.bookmaker], bet);
        count(totals.byMonth[monthOf(bet.when)], bet);
        count(totals.byKind[bet.kind], bet);
        if (!std::isnan(bet.closeness)) {
            closenessSum += bet.closeness;
            ++closenessCount;
        }
        if (bet.when != noDate && !std::isnan(bet.result))
            totals.cumulative.emplace_back(bet.when, bet.result);
    }
    totals.averageCloseness = closenessCount ? closenessSum / closenessCount : 0;
    std::stable_sort(totals.cumulative.begin(), totals.cumulative.end(),
        [](const auto &a, const auto &b) { return a.first < b.first; });
    double running = 0;
    for (auto &[when, value] : totals.cumulative)
        value = running += value;
    return totals;
}

} // namespace history
