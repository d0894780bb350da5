// Moments as the history counts them, and the ISO form in which the offers file and the ledger
// write them.
#pragma once

#include <optional>
#include <utility>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTime>

namespace text {

// A moment as the history counts it: seconds from the start of the Julian calendar, local time.
constexpr qint64 secondsPerDay = 86400;
inline qint64 momentOf(QDate day, QTime time = QTime(0, 0))
{
    return day.toJulianDay() * secondsPerDay + time.msecsSinceStartOfDay() / 1000;
}
inline QDate dayOf(qint64 moment)
{
    return QDate::fromJulianDay(moment / secondsPerDay);
}
// The year and month of a moment, as dayOf() gives them, without QDate's calendar: a million
// records are counted by month at every change of the filters.
constexpr std::pair<int, int> yearMonthOf(qint64 moment)
{
    // Days from 1 March of the year 0 in the proleptic Gregorian calendar, in eras of 400 years.
    const qint64 days = moment / secondsPerDay - 1721120;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shiftedMonth = (5 * dayOfYear + 2) / 153; // March is 0
    const int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month};
}

// A moment written as 2026-12-08T14:05:00, as the offers file and the ledger write them; nothing for
// any other text. Read without the system's time zone, which a million records would look up a
// million times.
std::optional<qint64> isoMoment(QByteArrayView text);

// A date written as 2026-12-15, as the ledger writes an expiry; nothing for any other text.
std::optional<QDate> isoDate(QByteArrayView text);
QByteArray isoDateText(QDate day);

// The moment's local date and time as 2026-12-08T14:05:00.
QByteArray isoDateTime(const QDateTime &moment);

} // namespace text
