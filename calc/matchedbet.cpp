#include "calc/matchedbet.h"

#include <cmath>
#include <initializer_list>

namespace calc {

RangeProblem checkRange(const MatchedBetInput &input)
{
    if (input.backOdds < 1 || input.layOdds < 1)
        return RangeProblem::OddsBelowOne;
    if (!(input.stake > 0))
        return RangeProblem::StakeNotPositive;
    return RangeProblem::None;
}

MatchedBetFigures calculateMatchedBet(const MatchedBetInput &in)
{
    // The order and grouping of every operation is fixed: the last bits decide how halves round on screen.
    MatchedBetFigures out;
    out.backReturn = in.stake * in.backOdds - (in.backOdds - 1) * in.stake * in.backComm / 100 - in.stakeForfeit;
    out.layStake = out.backReturn / (in.layOdds - in.layComm / 100);
    out.layRisk = (in.layOdds - 1) * out.layStake;
    out.layReturns = (100 - in.layComm) * out.layStake / 100;
    out.backReturns = out.backReturn - out.layRisk;
    out.closeness = out.backReturns / in.stake * 100;
    return out;
}

bool allFinite(const MatchedBetFigures &f)
{
    for (double value : {f.backReturn, f.layStake, f.layRisk, f.layReturns, f.backReturns, f.closeness}) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

} // namespace calc
