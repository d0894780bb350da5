// Reading the archive back: its records split into their fields, its number fields and its dates.
// The archive is only ever opened for reading here, from a given byte on, and never locked.
#pragma once

#include <array>
#include <optional>
#include <utility>

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QTime>

#include "store/archivefields.h"
#include "text/moments.h"

namespace store {

// The fields of a line, as views into it.
using ArchiveFields = ArchiveFieldArray<QByteArrayView>;

// The fields of one line (without its line end), or nothing when it has too few or too many.
std::optional<ArchiveFields> splitArchiveLine(QByteArrayView line);

// Reads the archive's dates, which stand in the short date and long time of the locale they were
// written in: the given locale's forms first, in its own words and in the C locale's, then the C
// locale's forms, then common numeric forms with the given locale's order of day and month before
// the other order. Remembers what it has read,
// since an archive repeats its dates and times.
class ArchiveDates
{
public:
    explicit ArchiveDates(const QLocale &locale);
    // The moment (see text::momentOf); nothing when unreadable.
    std::optional<qint64> parse(QByteArrayView text);
    std::optional<qint64> parseText(const QString &text);

    struct Form
    {
        QLocale locale;
        QString format;
    };

private:
    QDate date(const QString &text);
    std::optional<QTime> time(const QString &text);

    QList<Form> m_dateForms;
    QList<Form> m_timeForms;
    QHash<QString, QDate> m_dates;
    QHash<QString, std::optional<QTime>> m_times;
};

// The new complete lines of the archive from a byte on; end is the byte after the last of them,
// where the next read starts.
struct ArchiveChunk
{
    QByteArray bytes;
    qint64 end = 0;
    // Where the lines start: after the line end of a last line read before its end was written.
    qsizetype linesFrom = 0;
    bool skippedLongLine = false; // a line longer than a read was passed over whole

    QByteArrayView lines() const { return QByteArrayView(bytes).sliced(linesFrom); }
};

// What a read does with a last line that has no line end yet. A program appending writes a line and
// its end at once, so such a line is usually one still being written, and is read with its end. A
// file edited by hand may end without one: ReadWhenIdle reads it at once when no program holds the
// file's lock, and the line end an append then writes first finishes it.
enum class LastLine { AwaitEnd, ReadWhenIdle };

// Reads at most maxBytes from the given byte on. Nothing when the archive is missing. No lines when
// a last line read without its end has since grown: it was edited, and is read afresh. Throws FileError.
std::optional<ArchiveChunk> readArchiveFrom(
    const QString &path, qint64 from, qint64 maxBytes, LastLine lastLine = LastLine::AwaitEnd);

} // namespace store
