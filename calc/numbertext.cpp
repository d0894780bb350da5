#include "calc/numbertext.h"

#include <algorithm>
#include <cmath>

#include "calc/fractionodds.h"
#include "calc/rounding.h"

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

// The two numbers of "a/b"; nothing when the text has no slash or either side is no number.
std::optional<std::pair<double, double>> fractionParts(const QString &text, const QLocale &locale)
{
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return std::nullopt;
    const std::optional<double> over = parseDecimal(text.left(slash), locale);
    const std::optional<double> under = parseDecimal(text.mid(slash + 1), locale);
    if (!over || !under)
        return std::nullopt;
    return std::pair(*over, *under);
}

// The whole part of an amount: digits, or groups of three after a first of one to three that does
// not start with 0. Its value, held at largestMoney at the most; nothing for any other text.
std::optional<Pennies> wholePart(QStringView text, QChar group)
{
    const QList<QStringView> groups = text.split(group);
    Pennies value = 0;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView part = groups[i];
        const bool sized
            = groups.size() == 1 ? !part.isEmpty() : (i == 0 ? part.size() >= 1 && part.size() <= 3 : part.size() == 3);
        if (!sized || (groups.size() > 1 && i == 0 && part.front().digitValue() == 0))
            return std::nullopt;
        for (const QChar c : part) {
            if (c.digitValue() < 0)
                return std::nullopt;
            value = std::min(value * 10 + c.digitValue(), largestMoney);
        }
    }
    return value;
}

} // namespace

TypedMoney parseMoney(const QString &text, const QLocale &locale)
{
    QString typed = withPlainSign(text.trimmed(), locale);
    const bool negative = typed.startsWith(locale.negativeSign()) || typed.startsWith(QLatin1Char('-'));
    if (negative || typed.startsWith(locale.positiveSign()) || typed.startsWith(QLatin1Char('+')))
        typed.remove(0, 1);
    const QChar group = locale.groupSeparator().size() == 1 ? locale.groupSeparator().front() : QChar();
    qsizetype point = typed.indexOf(locale.decimalPoint());
    if (point < 0 && group != QLatin1Char('.'))
        point = typed.indexOf(QLatin1Char('.'));
    const QStringView whole = QStringView(typed).first(point < 0 ? typed.size() : point);
    const QStringView decimals = point < 0 ? QStringView() : QStringView(typed).mid(point + 1);
    const bool digitsOnly = std::all_of(decimals.begin(), decimals.end(), [](QChar c) { return c.digitValue() >= 0; });
    const std::optional<Pennies> units = wholePart(whole, group);
    if (!units || !digitsOnly || (point >= 0 && decimals.isEmpty()))
        return {0, MoneyProblem::NotAnAmount};
    if (decimals.size() > 2)
        return {0, MoneyProblem::TooManyDecimals};
    Pennies cents = 0;
    for (qsizetype i = 0; i < 2; ++i)
        cents = cents * 10 + (i < decimals.size() ? decimals[i].digitValue() : 0);
    const Pennies pennies = *units * 100 + cents;
    if (pennies > largestMoney)
        return {0, MoneyProblem::TooLarge};
    return {negative ? -pennies : pennies, MoneyProblem::None};
}

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

std::optional<double> parseDecimal(const QString &text, const QLocale &locale)
{
    QLocale ungrouped = locale;
    ungrouped.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = ungrouped.toDouble(withPlainSign(trimmed, locale), &ok);
    if (!ok)
        value = plainPointValue(QString(trimmed).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
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
    const QString magnitude = locale.toString(std::fabs(roundedToPenny(value)), 'f', 2);
    return value < 0 ? locale.negativeSign() + magnitude : magnitude;
}

std::optional<double> parseOdds(const QString &text, const QLocale &locale)
{
    if (!text.contains(QLatin1Char('/')))
        return parseDecimal(text, locale);
    const auto parts = fractionParts(text, locale);
    return parts ? decimalOdds(parts->first, parts->second) : std::nullopt;
}

std::optional<double> parseFraction(const QString &text, const QLocale &locale)
{
    if (!text.contains(QLatin1Char('/')))
        return parseDecimal(text, locale);
    const auto parts = fractionParts(text, locale);
    // The odds of a/b less the stake: a / b, from the same one reading of a fraction.
    const std::optional<double> odds = parts ? decimalOdds(parts->first, parts->second) : std::nullopt;
    return odds ? std::optional(parts->first / parts->second) : std::nullopt;
}

QString formatPennies(Pennies pennies, const QLocale &locale)
{
    return formatFigure(fromPennies(pennies), locale);
}

QString formatMoney(double value)
{
    static const QLocale plain = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::OmitGroupSeparator);
        return c;
    }();
    return formatFigure(value, plain);
}

QString formatPlain(double value, const QLocale &locale)
{
    QLocale ungrouped = locale;
    ungrouped.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return ungrouped.toString(value, 'g', 15);
}

} // namespace calc
