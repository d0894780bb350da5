// Numbers and money as the files hold them: "." as the decimal mark, ASCII digits, no grouping.
#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace text {

// A number as a file holds it, blanks around it allowed; nothing for any other text. A figure that a
// Hebrew, Arabic or Persian locale wrote is read too: its direction marks (LRM, RLM, ALM) left out,
// its digits and its decimal mark U+066B as ASCII ones, its minus sign U+2212 as "-".
std::optional<double> plainNumber(QByteArrayView field);

// A figure typed or shown in the locale, in ASCII digits with "." and no grouping where the locale
// writes other digits or another decimal mark, so that 24,97 stays 24.97 rather than becoming 2497.
// Only a text that the locale reads as a number is rewritten; any other text, such as "6.4" read
// with the plain decimal point, stands as it is.
QString asciiFigure(QString figure, const QLocale &locale);

// Whole pennies as money: "12.34", "-0.05", "0.00".
QByteArray moneyText(std::int64_t pennies);

} // namespace text
