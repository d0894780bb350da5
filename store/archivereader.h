// Reading the archive back: its records split into their fields, its number fields and its dates.
// The archive is only ever opened for reading here, from a given byte on, and never locked.
#pragma once

#include <array>
#include <optional>

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QTime>

namespace store {

// The archive's fifteen fields: date and time, event, bookmaker, then the twelve number fields in
// the order of ArchiveEntry::figures.
constexpr int archiveFieldCount = 15;
using ArchiveFields = std::array<QByteArrayView, archiveFieldCount>;

// The fields of one line (without its line end), or nothing when it has too few or too many.
std::optional<ArchiveFields> splitArchiveLine(QByteArrayView line);

// A number field: "." as the decimal mark, no grouping; nothing for any other text.
std::optional<double> archivedNumber(QByteArrayView field);

// Reads the archive's dates, which stand in the short date and long time of the locale they were
// written in: the given locale's forms first, then a few common ones. Remembers what it has read,
// since an archive repeats its dates and times.
class ArchiveDates
{
public:
    explicit ArchiveDates(const QLocale &locale);
    // Seconds from the start of the Julian calendar, in local time; nothing when unreadable.
    std::optional<qint64> parse(QByteArrayView text);

private:
    QDate date(const QString &text);
    std::optional<QTime> time(const QString &text);

    QLocale m_locale;
    QStringList m_dateFormats;
    QStringList m_timeFormats;
    QHash<QString, QDate> m_dates;
    QHash<QString, std::optional<QTime>> m_times;
};

// The new complete lines of the archive from a byte on. lines holds them without line ends, in
// order; end is the byte after the last complete line, where the next read starts.
struct ArchiveChunk
{
    QByteArray bytes;
    QList<QByteArrayView> lines; // views into bytes
    qint64 end = 0;
    bool skippedLongLine = false; // a line longer than a read was passed over whole
};

// Reads at most maxBytes from the given byte on. Nothing when the archive is missing. Throws FileError.
std::optional<ArchiveChunk> readArchiveFrom(const QString &path, qint64 from, qint64 maxBytes);

} // namespace store
