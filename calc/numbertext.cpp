#include "calc/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace calc {

namespace {

// Hebrew, Arabic, Persian and Urdu put a direction mark before the sign ("\u200e-"), and
// QLocale::toDouble does not take back the sign that QLocale::toString writes: keep the sign alone.
QString withPlainSign(QString text, const QLocale &locale)
{
    for (const QString &sign : {locale.negativeSign(), locale.positiveSign()}) {
        if (sign.size() > 1 && text.startsWith(sign))
            return text.replace(0, sign.size(), sign.back());
    }
    return text;
}

double plainPointValue(const QString &text, bool *ok)
{
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::RejectGroupSeparator);
    return plain.toDouble(text, ok);
}

// The magnitude rounded to hundredths in its decimal form of 15 significant digits, halves away
// from zero. Magnitudes of 10^13 and more have no hundredths among those digits and stay as they are.
double roundedToHundredths(double magnitude)
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

std::optional<double> parseNumber(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = locale.toDouble(withPlainSign(trimmed, locale), &ok);
    if (!ok)
        value = plainPointValue(trimmed, &ok);
    // QLocale accepts "inf" and "nan"; neither is a number a bet can use.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatFigure(double value, const QLocale &locale)
{
    // A sum that overflowed has no digits to show, and must not pass for a plausible figure.
    if (std::isnan(value))
        return QStringLiteral("not a number");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("too large") : QStringLiteral("too large (negative)");
    // The sign goes on separately, so that a negative value that rounds to zero keeps its minus.
    const QString magnitude = locale.toString(roundedToHundredths(std::fabs(value)), 'f', 2);
    return value < 0 ? locale.negativeSign() + magnitude : magnitude;
}

QString formatPlain(double value, const QLocale &locale)
{
    QLocale ungrouped = locale;
    ungrouped.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return ungrouped.toString(value, 'g', 15);
}

} // namespace calc
