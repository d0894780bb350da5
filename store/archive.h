// The archive: one comma-separated record per click, appended to a file that the calculator never
// reads (the bet history reads it back, see archivereader.h).
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include "store/archivefields.h"
#include "store/filetext.h"

namespace store {

// A record's texts: the date and time, the event and the bookmaker, and the number fields as the
// calculator's fields show them.
using ArchiveEntry = ArchiveFieldArray<QString>;

// The locale's long time format without its time zone, as the archive holds times.
QString archiveTimeFormat(const QLocale &locale);
// The same as archives written before the brackets around a time zone were dropped hold it
// ("11:18:30 ()" in es_ES).
QString olderArchiveTimeFormat(const QLocale &locale);

// The locale's short date, a space and its long time without the time zone; midnight gives the date
// alone. Where the archive's code page cannot hold that text (Arabic or Amharic digits and words in
// Windows-1252), the same forms in ASCII digits and the C locale's words; where it cannot hold even
// those, the date and time as 2026-12-08 14:05:00. The history reads all three back.
QString archiveDateTime(const QDateTime &moment, const QLocale &locale, CodePage codePage = CodePage::System);

// The fields without their commas, joined by commas. Where the locale writes numbers in other
// digits or with another decimal mark than ASCII and ".", the number fields that it reads are
// archived in ASCII digits with "." and no grouping.
QString archiveLine(const ArchiveEntry &entry, const QLocale &locale);

// Makes sure of the folder and the file, then appends the line with CR LF. Throws FileError.
void appendToArchive(const QString &folder, const QString &line);

} // namespace store
