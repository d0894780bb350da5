// Sums over the rows the filters let through: overall, per bookmaker, per month and per kind of
// bet, and the running result over time for the chart. No widgets, so it runs on any thread.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "history/betrecords.h"

namespace history {

struct Sums
{
    int bets = 0;
    double ownStake = 0; // the user's own money: stake less stake forfeit
    double freeStake = 0; // free-bet stakes used: the stake forfeit
    double result = 0; // of the records that have one
};

struct Totals
{
    Sums all;
    double averageCloseness = 0; // over the records whose closeness is a number; 0 when none
    std::map<int, Sums> byBookmaker; // index into the records' bookmakers
    std::map<std::pair<int, int>, Sums> byMonth; // (year, month); (0, 0) for records without a date
    std::map<calc::BetKind, Sums> byKind;
    std::vector<std::pair<qint64, double>> cumulative; // (when, running result), dated records in time order
};

Totals totalsOf(const RecordsView &records, const std::vector<int> &rows);

} // namespace history
