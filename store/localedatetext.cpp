#include "store/localedatetext.h"

#include <algorithm>

#include <QStringList>

namespace store {

namespace {

struct Parts
{
    int year = -1;
    int month = -1;
    int day = -1;
    int hour = -1;
    int minute = 0;
    int second = 0;
    int afternoon = -1; // 0 for AM, 1 for PM, -1 where the format has no AM/PM
};

class Reader
{
public:
    Reader(QStringView text, const QLocale &locale)
        : m_text(text)
        , m_locale(locale)
    { }

    // Reads the whole text in the format.
    std::optional<Parts> read(QStringView format);

private:
    bool field(QChar letter, qsizetype count, Parts &parts);
    std::optional<int> number(int minDigits, int maxDigits);
    std::optional<int> oneOf(QStringList names);
    bool literal(QStringView expected);

    QStringView m_text;
    const QLocale &m_locale;
    qsizetype m_at = 0;
};

// The value of the decimal digit at the position in any script, and how many code units it takes.
std::pair<int, int> digitAt(QStringView text, qsizetype at)
{
    const QChar first = text[at];
    if (first.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return {QChar::digitValue(QChar::surrogateToUcs4(first, text[at + 1])), 2};
    return {first.digitValue(), 1};
}

std::optional<int> Reader::number(int minDigits, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (digits < maxDigits && m_at < m_text.size()) {
        const auto [digit, width] = digitAt(m_text, m_at);
        if (digit < 0)
            break;
        value = value * 10 + digit;
        m_at += width;
        ++digits;
    }
    return digits >= minDigits ? std::optional(value) : std::nullopt;
}

// The index of the longest name the text goes on with, so that "June" is not read as "Jun".
std::optional<int> Reader::oneOf(QStringList names)
{
    std::optional<int> found;
    qsizetype longest = 0;
    for (int i = 0; i < names.size(); ++i) {
        const QStringView name = names[i];
        if (name.size() > longest && m_text.sliced(m_at).startsWith(name, Qt::CaseInsensitive)) {
            found = i;
            longest = name.size();
        }
    }
    m_at += longest;
    return found;
}

bool Reader::literal(QStringView expected)
{
    if (!m_text.sliced(m_at).startsWith(expected))
        return false;
    m_at += expected.size();
    return true;
}

QStringList monthNames(const QLocale &locale)
{
    QStringList names;
    for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat, QLocale::NarrowFormat}) {
        for (int month = 1; month <= 12; ++month)
            names << locale.monthName(month, type) << locale.standaloneMonthName(month, type);
    }
    return names;
}

QStringList dayNames(const QLocale &locale)
{
    QStringList names;
    for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat, QLocale::NarrowFormat}) {
        for (int day = 1; day <= 7; ++day)
            names << locale.dayName(day, type) << locale.standaloneDayName(day, type);
    }
    return names;
}

bool Reader::field(QChar letter, qsizetype count, Parts &parts)
{
    const auto store = [](std::optional<int> value, int &into) {
        if (value)
            into = *value;
        return value.has_value();
    };
    switch (letter.unicode()) {
    case 'y':
        if (!store(count <= 2 ? number(2, 2) : number(4, 4), parts.year))
            return false;
        if (count <= 2)
            parts.year += 2000; // an archive is younger than this century
        return true;
    case 'M':
        if (count <= 2)
            return store(number(1, 2), parts.month);
        if (const std::optional<int> name = oneOf(monthNames(m_locale))) {
            parts.month = *name / 2 % 12 + 1;
            return true;
        }
        return false;
    case 'd':
        return count <= 2 ? store(number(1, 2), parts.day) : oneOf(dayNames(m_locale)).has_value();
    case 'h':
    case 'H':
        return store(number(1, 2), parts.hour);
    case 'm':
        return store(number(1, 2), parts.minute);
    case 's':
        return store(number(1, 2), parts.second);
    case 'z':
        return number(1, 3).has_value();
    case 'a':
    case 'A':
        return store(oneOf({m_locale.amText(), m_locale.pmText()}), parts.afternoon);
    default:
        return false;
    }
}

std::optional<Parts> Reader::read(QStringView format)
{
    Parts parts;
    for (qsizetype i = 0; i < format.size();) {
        const QChar letter = format[i];
        if (letter == QLatin1Char('\'')) {
            // Quoted text, where '' stands for one quote.
            const qsizetype close = format.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            if (!literal(end == i + 1 ? QStringView(u"'") : format.sliced(i + 1, end - i - 1)))
                return std::nullopt;
            i = end + 1;
            continue;
        }
        qsizetype count = 1;
        if (QStringView(u"yMdhHmsz").contains(letter)) {
            while (i + count < format.size() && format[i + count] == letter)
                ++count;
        } else if (letter == QLatin1Char('a') || letter == QLatin1Char('A')) {
            if (i + 1 < format.size() && format[i + 1].toLower() == QLatin1Char('p'))
                count = 2;
        } else {
            if (!literal(format.sliced(i, 1)))
                return std::nullopt;
            ++i;
            continue;
        }
        if (!field(letter, count, parts))
            return std::nullopt;
        i += count;
    }
    if (m_at != m_text.size())
        return std::nullopt;
    return parts;
}

} // namespace

std::optional<QDate> readLocaleDate(QStringView text, const QLocale &locale, QStringView format)
{
    const std::optional<Parts> parts = Reader(text, locale).read(format);
    if (!parts)
        return std::nullopt;
    const QDate date(parts->year, parts->month, parts->day);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<QTime> readLocaleTime(QStringView text, const QLocale &locale, QStringView format)
{
    std::optional<Parts> parts = Reader(text, locale).read(format);
    if (!parts || parts->hour < 0)
        return std::nullopt;
    if (parts->afternoon >= 0) {
        if (parts->hour < 1 || parts->hour > 12)
            return std::nullopt;
        parts->hour = parts->hour % 12 + 12 * parts->afternoon;
    }
    const QTime time(parts->hour, parts->minute, parts->second);
    return time.isValid() ? std::optional(time) : std::nullopt;
}

} // namespace store
