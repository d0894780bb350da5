// Rounding money to the penny as a person does it: the value's decimal form of 15 significant
// digits, halves away from zero, so a double a hair below 5.145 gives 5.15 as a spreadsheet gives
// it. Pure C++.
#pragma once

namespace calc {

// Magnitudes of 10^13 and more have no hundredths among their 15 digits and stay as they are;
// infinities and NaN too.
double roundedToPenny(double value);

} // namespace calc
