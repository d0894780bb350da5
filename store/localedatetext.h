// Reads back a date or a time that QLocale::toString wrote with a given format, in any locale Qt
// knows: digits of any script (also those beyond the Basic Multilingual Plane, which Qt's own
// parser does not take), month and day names in any of the locale's forms, and AM/PM texts in any
// letter case.
#pragma once

#include <optional>

#include <QDate>
#include <QLocale>
#include <QStringView>
#include <QTime>

namespace store {

// The date, or nothing when the text is not whole in the format. A two-digit year is read as 20xx.
std::optional<QDate> readLocaleDate(QStringView text, const QLocale &locale, QStringView format);

// The time, or nothing when the text is not whole in the format.
std::optional<QTime> readLocaleTime(QStringView text, const QLocale &locale, QStringView format);

} // namespace store
