#include "calc/rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace calc {

namespace {

double roundedMagnitude(double magnitude)
{
    char text[32];
    char *end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14).ptr;
    // text is "d.dddddddddddddde±x": 15 significant digits, then the exponent.
    char *e = std::find(text, end, 'e');
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
    const int kept = exponent + 3; // digits down to the hundredths
    if (kept >= 15)
        return magnitude;
    if (kept < 0)
        return 0;
    char digits[15] {};
    digits[0] = text[0];
    std::copy(text + 2, e, digits + 1);
    long long hundredths = 0;
    for (int i = 0; i < kept; ++i)
        hundredths = hundredths * 10 + (digits[i] - '0');
    if (digits[kept] >= '5')
        ++hundredths;
    return double(hundredths) / 100;
}

} // namespace

double roundedToPenny(double value)
{
    // to_chars writes "inf" and "nan" without an exponent: those have no digits to round.
    if (!std::isfinite(value))
        return value;
    return std::copysign(roundedMagnitude(std::fabs(value)), value);
}

namespace {

// Below a million, a value times 10^8 is a double within a 64th of a whole number: its eight
// decimals are those of a whole count of hundred-millionths, worked out without a text.
constexpr double fastBelow = 1e6;

long long hundredMillionths(double value)
{
    return std::llround(value * 1e8);
}

} // namespace

double decimalCleaned(double value)
{
    if (std::fabs(value) < fastBelow)
        return double(hundredMillionths(value)) / 1e8;
    if (!std::isfinite(value))
        return value;
    // Fixed notation to eight decimals rounds the exact binary value; reading it back gives the
    // double nearest that decimal.
    char text[400];
    const char *end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 8).ptr;
    double cleaned = value;
    std::from_chars(text, end, cleaned);
    return cleaned;
}

double pennies(double value)
{
    if (std::fabs(value) < fastBelow) {
        // The eight decimals to the penny, halves away from zero, in whole numbers.
        const long long units = hundredMillionths(value);
        const long long magnitude = (std::llabs(units) + 500'000) / 1'000'000;
        return double(units < 0 ? -magnitude : magnitude) / 100 + 0.0; // + 0.0 turns -0 into 0
    }
    return roundedToPenny(decimalCleaned(value)) + 0.0;
}

double penniesDown(double value)
{
    const double cleaned = decimalCleaned(value);
    const double nearest = pennies(cleaned);
    return nearest > cleaned ? pennies(nearest - 0.01) : nearest;
}

double penniesUp(double value)
{
    const double cleaned = decimalCleaned(value);
    const double nearest = pennies(cleaned);
    return nearest < cleaned ? pennies(nearest + 0.01) : nearest;
}

Pennies toPennies(double value)
{
    const double rounded = pennies(value) * 100;
    // Beyond what a double holds to the penny there is no amount of money anyone stakes.
    constexpr double most = 9e15;
    return std::isfinite(rounded) && std::fabs(rounded) < most ? Pennies(std::llround(rounded)) : 0;
}

double fromPennies(Pennies pennies)
{
    return double(pennies) / 100;
}

} // namespace calc
