#include "text/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace text {

namespace {

constexpr char16_t minusSign = u'\u2212';
constexpr char16_t arabicDecimalSeparator = u'\u066B';

// A figure in other digits, with direction marks or the minus sign, as ASCII; empty when a
// character is none of these and not ASCII.
QByteArray asciiOf(QByteArrayView field)
{
    QByteArray ascii;
    for (const char32_t c : QString::fromUtf8(field).toUcs4()) {
        if (const int digit = QChar::digitValue(c); digit >= 0)
            ascii += char('0' + digit);
        else if (c == minusSign)
            ascii += '-';
        else if (c == arabicDecimalSeparator)
            ascii += '.';
        else if (c < 0x80)
            ascii += char(c);
        else if (QChar::category(c) != QChar::Other_Format) // direction marks go
            return {};
    }
    return ascii;
}

// Whether the locale reads the figure. Some locales do not read their own negative figures (Qt 6.4
// under ar_EG, fa_IR): the part after the sign is read.
bool isLocaleNumber(QStringView figure, const QLocale &locale)
{
    for (const QString &sign : {locale.negativeSign(), locale.positiveSign()}) {
        if (figure.startsWith(sign))
            figure = figure.sliced(sign.size());
    }
    bool read = false;
    locale.toDouble(figure, &read);
    return read;
}

} // namespace

std::optional<double> plainNumber(QByteArrayView field)
{
    field = field.trimmed();
    QByteArray ascii;
    if (std::any_of(field.begin(), field.end(), [](char c) { return c & 0x80; })) {
        ascii = asciiOf(field);
        field = QByteArrayView(ascii).trimmed();
    }
    const char *first = field.data();
    const char *last = first + field.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString asciiFigure(QString figure, const QLocale &locale)
{
    const bool plainLocale = locale.decimalPoint() == QLatin1String(".") && locale.zeroDigit() == QLatin1String("0");
    if (plainLocale || !isLocaleNumber(figure.trimmed(), locale))
        return figure;
    figure.remove(locale.groupSeparator());
    figure.replace(locale.decimalPoint(), QLatin1String("."));
    figure.replace(locale.negativeSign(), QLatin1String("-"));
    figure.replace(locale.positiveSign(), QLatin1String("+"));
    QString plain;
    for (qsizetype i = 0; i < figure.size(); ++i) {
        const bool pair = figure[i].isHighSurrogate() && i + 1 < figure.size() && figure[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(figure[i], figure[i + 1]) : figure[i].unicode();
        const QStringView written = QStringView(figure).sliced(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
        if (const int digit = QChar::digitValue(c); digit >= 0)
            plain += QLatin1Char(char('0' + digit));
        else if (QChar::category(c) != QChar::Other_Format) // direction marks go
            plain += written;
    }
    return plain;
}

QByteArray moneyText(std::int64_t pennies)
{
    const std::uint64_t size = pennies < 0 ? 0 - std::uint64_t(pennies) : std::uint64_t(pennies);
    QByteArray money = QByteArray::number(size / 100) + '.' + QByteArray::number(size % 100).rightJustified(2, '0');
    return pennies < 0 ? '-' + money : money;
}

} // namespace text
