// The archive: one comma-separated record per click, appended to a file that the calculator never
// reads (the bet history reads it back, see archivereader.h).
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include "store/archivefields.h"

namespace store {

// A record's texts: the date and time, the event and the bookmaker, and the number fields as the
// calculator's fields show them.
using ArchiveEntry = ArchiveFieldArray<QString>;

// The locale's long time format without its time zone, as the archive holds times.
QString archiveTimeFormat(const QLocale &locale);

// The locale's short date, a space and its long time without the time zone; midnight gives the date alone.
QString archiveDateTime(const QDateTime &moment, const QLocale &locale);

// The fields without their commas, joined by commas. Where the locale's decimal separator is
// the comma, the number fields lose their grouping and take "." as the decimal point instead, so that
// 24,97 stays 24.97 rather than becoming 2497.
QString archiveLine(const ArchiveEntry &entry, const QLocale &locale);

// Makes sure of the folder and the file, then appends the line with CR LF. Throws FileError.
void appendToArchive(const QString &folder, const QString &line);

} // namespace store
