#include "calc/betcheck.h"

#include <cmath>

#include "calc/rounding.h"

namespace calc {

namespace {

bool sameCents(double computed, double archived)
{
    // The archive holds two decimals; a hair more allows for halves rounded either way.
    return std::fabs(computed - archived) <= 0.005 + 1e-9;
}

} // namespace

double betResult(double stake, double stakeForfeit, double backReturns)
{
    // The difference of decimals as a person works it out: 23.78 - 25.005 is -1.225 exactly.
    return decimalCleaned(backReturns - (stake - stakeForfeit));
}

bool figuresMatchInputs(const MatchedBetInput &input, const MatchedBetFigures &archived)
{
    if (checkRange(input) != RangeProblem::None)
        return false;
    const MatchedBetFigures computed = calculateMatchedBet(input);
    return allFinite(computed) && sameCents(computed.backReturn, archived.backReturn)
        && sameCents(computed.layStake, archived.layStake) && sameCents(computed.layRisk, archived.layRisk)
        && sameCents(computed.layReturns, archived.layReturns) && sameCents(computed.backReturns, archived.backReturns)
        && sameCents(computed.closeness, archived.closeness);
}

} // namespace calc
