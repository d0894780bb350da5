#include "calc/numbertext.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

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
    const auto end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14).ptr;
    // text is "d.dddddddddddddde±x": 15 digits, then the exponent.
    const std::string_view form(text, std::size_t(end - text));
    const std::size_t e = form.find('e');
    const int exponent = std::stoi(std::string(form.substr(e + 1)));
    const int kept = exponent + 3; // digits down to the hundredths
    if (kept >= 15)
        return magnitude;
    if (kept < 0)
        return 0;
    const std::string digits = std::string(form.substr(0, 1)) + std::string(form.substr(2, e - 2));
    long long hundredths = kept == 0 ? 0 : std::stoll(digits.substr(0, std::size_t(kept)));
    if (digits[std::size_t(kept)] >= '5')
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
