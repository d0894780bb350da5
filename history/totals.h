// Sums over the records the filters let through: overall, per bookmaker and per month, and the
// cumulative result over time for the chart.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include <QString>

#include "history/historymodel.h"

namespace history {

struct Sums
{
    int bets = 0;
    double staked = 0;
    double result = 0; // of the records that have one
};

struct Totals
{
    Sums all;
    double averageCloseness = 0; // over the records whose closeness is a number; 0 when none
    std::map<QString, Sums> byBookmaker;
    std::map<std::pair<int, int>, Sums> byMonth; // (year, month); (0, 0) for records without a date
    std::vector<std::pair<qint64, double>> cumulative; // (when, running result), dated records in time order
};

Totals totalsOf(const HistoryFilter &rows);

} // namespace history
