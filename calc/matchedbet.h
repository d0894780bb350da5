// The matched-bet arithmetic: from the six parsed inputs to the six figures.
// Pure C++ on doubles; no Qt, no windows, no files.
#pragma once

namespace calc {

struct MatchedBetInput
{
    double stake = 0; // S
    double stakeForfeit = 0; // F
    double backOdds = 0; // B
    double layOdds = 0; // L
    double backComm = 0; // BC, percent
    double layComm = 0; // LC, percent
};

struct MatchedBetFigures
{
    double backReturn = 0; // R
    double layStake = 0; // LS
    double layRisk = 0; // LR
    double layReturns = 0; // LT
    double backReturns = 0; // BT
    double closeness = 0; // C, percent of the stake
};

enum class RangeProblem { None, StakeNotPositive, OddsBelowOne };

// The odds problem wins over the stake problem when both apply.
RangeProblem checkRange(const MatchedBetInput &input);

MatchedBetFigures calculateMatchedBet(const MatchedBetInput &input);

// False when a figure is infinite or NaN (lay odds equal to LC / 100, overflow).
bool allFinite(const MatchedBetFigures &figures);

} // namespace calc
