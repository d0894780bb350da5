// Fractional odds a/b to a decimal price a / b + 1.
#pragma once

#include <optional>

namespace calc {

// True when the denominator rounds to a whole 0, halves going to the even neighbour: so 0.4, 0.5
// and -0.5 count as zero, 0.6 does not. Only the test rounds; the division uses the value as typed.
bool denominatorRoundsToZero(double denominator);

// numerator / denominator + 1; empty when the result is not finite.
std::optional<double> decimalOdds(double numerator, double denominator);

} // namespace calc
