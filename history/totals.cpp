#include "history/totals.h"

#include <algorithm>
#include <cmath>

#include <QDate>

namespace history {

namespace {

void count(Sums &sums, const BetRecord &bet)
{
    ++sums.bets;
    sums.staked += bet.stake;
    if (!std::isnan(bet.result))
        sums.result += bet.result;
}

std::pair<int, int> monthOf(qint64 when)
{
    if (when == noDate)
        return {0, 0};
    const QDate date = QDate::fromJulianDay(when / 86400);
    return {date.year(), date.month()};
}

} // namespace

Totals totalsOf(const HistoryFilter &rows)
{
    Totals totals;
    double closenessSum = 0;
    int closenessCount = 0;
    const BetRecords &records = rows.history().records();
    for (int row = 0; row < rows.rowCount(); ++row) {
        const int sourceRow = rows.mapToSource(rows.index(row, 0)).row();
        const BetRecord &bet = records.at(rows.history().recordIndex(sourceRow));
        count(totals.all, bet);
        count(totals.byBookmaker[records.bookmakers().at(bet.bookmaker)], bet);
        count(totals.byMonth[monthOf(bet.when)], bet);
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
