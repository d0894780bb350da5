#include "calc/fractionodds.h"

#include <cmath>

namespace calc {

bool denominatorRoundsToZero(double denominator)
{
    // The default floating-point rounding mode rounds to nearest with ties to even.
    return std::nearbyint(denominator) == 0;
}

std::optional<double> decimalOdds(double numerator, double denominator)
{
    const double result = numerator / denominator + 1;
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

} // namespace calc
