#include "calc/numbertext.h"

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

} // namespace

std::optional<double> parseNumber(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(withPlainSign(text.trimmed(), locale), &ok);
    // QLocale accepts "inf" and "nan"; neither is a number a bet can use.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatFigure(double value, const QLocale &locale)
{
    return locale.toString(value, 'f', 2);
}

QString formatPlain(double value, const QLocale &locale)
{
    QLocale ungrouped = locale;
    ungrouped.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return ungrouped.toString(value, 'g', 15);
}

} // namespace calc
