// Number texts in the user's locale, shared by both windows: recognising a typed number,
// parsing it, and formatting figures. Every function takes the locale it works in.
#pragma once

#include <optional>

#include <QLocale>
#include <QString>

#include "calc/rounding.h"

namespace calc {

// The value of a text that the locale accepts whole (blanks around it allowed) and that is finite;
// empty otherwise. A text the locale rejects is read with "." as its decimal mark and no grouping,
// as the first-run defaults are stored. Recognition and parsing are one operation, so they can
// never disagree.
std::optional<double> parseNumber(const QString &text, const QLocale &locale);

// A number whose only mark is a decimal one, as odds are: "." and "," both stand for it in any
// locale, and a group separator makes the text no number. So "1.125" is 1.125 under de_DE and
// "1,125" under en_GB, never 1125. Empty for anything else.
std::optional<double> parseDecimal(const QString &text, const QLocale &locale);

// Odds, which never reach a thousand: a decimal as parseDecimal reads it, or a fraction "a/b" of
// such decimals (5/4 is 2.25).
std::optional<double> parseOdds(const QString &text, const QLocale &locale);

// A fraction of the odds: "a/b" (1/4 is 0.25), or a decimal as parseDecimal reads it.
std::optional<double> parseFraction(const QString &text, const QLocale &locale);

// An amount of money as a person types it in the locale: digits, grouped by the locale's separator
// in threes or not at all, then at most two decimals after the locale's decimal mark (or after "."
// where "." is not the locale's group separator), an optional sign in front. A mark is never taken
// for the other: in de_DE "12.345" is twelve thousand, "1.5" and "0.001" are no amount.
enum class MoneyProblem { None, NotAnAmount, TooManyDecimals, TooLarge };
struct TypedMoney
{
    Pennies pennies = 0;
    MoneyProblem problem = MoneyProblem::None;
};
// TooLarge above largestMoney either way.
TypedMoney parseMoney(const QString &text, const QLocale &locale);

// Two decimals with the locale's grouping and negative form. The value's 15-significant-digit
// decimal form is rounded, halves away from zero, so a double a hair below 5.145 shows 5.15 as a
// spreadsheet shows it. Infinities say "too large" and NaN "not a number".
QString formatFigure(double value, const QLocale &locale);

// Whole pennies as formatFigure shows their amount.
QString formatPennies(Pennies pennies, const QLocale &locale);

// Money as files and exports hold it: formatFigure's two decimals and rounding, with "." and no
// grouping, so the file says what the window shows.
QString formatMoney(double value);

// Up to 15 significant digits, no grouping, no trailing zeros.
QString formatPlain(double value, const QLocale &locale);

} // namespace calc
