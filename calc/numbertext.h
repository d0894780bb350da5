// Number texts in the user's locale, shared by both windows: recognising a typed number,
// parsing it, and formatting figures. Every function takes the locale it works in.
#pragma once

#include <optional>

#include <QLocale>
#include <QString>

namespace calc {

// The value of a text that the locale accepts whole (blanks around it allowed) and that is finite;
// empty otherwise. Recognition and parsing are one operation, so they can never disagree.
std::optional<double> parseNumber(const QString &text, const QLocale &locale);

// Two decimals, halves away from zero, with the locale's grouping and negative form.
QString formatFigure(double value, const QLocale &locale);

// Up to 15 significant digits, no grouping, no trailing zeros.
QString formatPlain(double value, const QLocale &locale);

} // namespace calc
