#include "numbertext.h"

#include <cmath>

namespace calc {

std::optional<double> parseNumber(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
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
