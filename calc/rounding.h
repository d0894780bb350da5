// Rounding money to the penny as a person does it: the value's decimal form of 15 significant
// digits, halves away from zero, so a double a hair below 5.145 gives 5.15 as a spreadsheet gives
// it. Pure C++.
#pragma once

#include <cstdint>

namespace calc {

// Magnitudes of 10^13 and more have no hundredths among their 15 digits and stay as they are;
// infinities and NaN too.
double roundedToPenny(double value);

// The value to eight decimals: what sums and products of typed decimals and pennies come to by
// hand, without the binary noise that a subtraction leaves (2.0416 - 2.5666 is -0.525 exactly,
// not -0.52499999999999991, which rounds the other way).
double decimalCleaned(double value);

// Money as a person writes it down: the cleaned value to the penny, halves away from zero, and
// never -0.
double pennies(double value);

// To the penny at or below, and at or above, the cleaned value: a stake that must keep an outcome
// from falling below zero.
double penniesDown(double value);
double penniesUp(double value);

// Money as whole pennies: what is added up, so that no sum drifts.
using Pennies = std::int64_t;
// The most money a deposit, a withdrawal or a settlement can move: 1,000,000,000.00. Beyond it is a
// slip of the keyboard or a damaged file, and would swamp every sum it went into.
inline constexpr Pennies largestMoney = 100'000'000'000;
// The value to the penny as pennies() rounds it; 0 for what is no finite number.
Pennies toPennies(double value);
double fromPennies(Pennies pennies);

} // namespace calc
