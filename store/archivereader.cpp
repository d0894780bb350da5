#include "store/archivereader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include <QFile>
#include <QFileInfo>

#include "store/archive.h"
#include "store/fileerror.h"
#include "store/filelock.h"
#include "store/files.h"
#include "store/filetext.h"
#include "store/localedatetext.h"
#include "text/lines.h"

namespace store {

namespace {

bool dayBeforeMonth(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    return format.indexOf(QLatin1Char('d')) < format.indexOf(QLatin1Char('M'));
}

// A field never holds a comma: the archive removed those the format wrote.
QString withoutCommas(QString format)
{
    return format.remove(QLatin1Char(','));
}

QList<ArchiveDates::Form> dateForms(const QLocale &locale)
{
    const QLocale c = QLocale::c();
    const QString own = withoutCommas(locale.dateFormat(QLocale::ShortFormat));
    // The locale's own form in its words, then in ASCII digits and the C locale's words, as the
    // archive writes a date that its code page cannot hold.
    QList<ArchiveDates::Form> forms {{locale, own}, {c, own}, {c, c.dateFormat(QLocale::ShortFormat)}};
    // Two-digit years first: a four-digit year never passes for two digits, the other way round may.
    const QStringList dayFirst {"d/M/yy", "d/M/yyyy", "d.M.yy", "d.M.yyyy", "d-M-yyyy"};
    const QStringList monthFirst {"M/d/yy", "M/d/yyyy"};
    const bool byDay = dayBeforeMonth(locale);
    for (const QString &format : (byDay ? dayFirst : monthFirst) + (byDay ? monthFirst : dayFirst))
        forms.append({c, format});
    forms.append({c, QStringLiteral("yyyy-MM-dd")});
    return forms;
}

QList<ArchiveDates::Form> timeForms(const QLocale &locale)
{
    const QLocale c = QLocale::c();
    const QString own = withoutCommas(archiveTimeFormat(locale));
    return {{locale, own}, {locale, withoutCommas(olderArchiveTimeFormat(locale))}, {c, own}, {c, archiveTimeFormat(c)},
        {c, QStringLiteral("H:mm:ss")}, {c, QStringLiteral("h:mm:ss AP")}};
}

// An archive repeats its dates and times, so the texts read are remembered; hostile files with
// endless different texts would make that memory endless, so it starts afresh now and then.
template<typename Value> void remember(QHash<QString, Value> &known, const QString &text, const Value &value)
{
    constexpr qsizetype most = 100'000;
    if (known.size() >= most)
        known.clear();
    known.insert(text, value);
}

} // namespace

std::optional<ArchiveFields> splitArchiveLine(QByteArrayView line)
{
    ArchiveFields fields;
    qsizetype start = 0;
    for (int i = 0; i < archiveFieldCount; ++i) {
        const qsizetype comma = line.indexOf(',', start);
        const bool last = i == archiveFieldCount - 1;
        if (last != (comma < 0))
            return std::nullopt;
        fields[std::size_t(i)] = line.sliced(start, (last ? line.size() : comma) - start);
        start = comma + 1;
    }
    return fields;
}

ArchiveDates::ArchiveDates(const QLocale &locale)
    : m_dateForms(dateForms(locale))
    , m_timeForms(timeForms(locale))
{ }

QDate ArchiveDates::date(const QString &text)
{
    if (const auto known = m_dates.constFind(text); known != m_dates.cend())
        return *known;
    QDate date;
    for (const Form &form : std::as_const(m_dateForms)) {
        if (const std::optional<QDate> read = readLocaleDate(text, form.locale, form.format)) {
            date = *read;
            break;
        }
    }
    remember(m_dates, text, date);
    return date;
}

std::optional<QTime> ArchiveDates::time(const QString &text)
{
    if (const auto known = m_times.constFind(text); known != m_times.cend())
        return *known;
    std::optional<QTime> time;
    for (const Form &form : std::as_const(m_timeForms)) {
        if ((time = readLocaleTime(text, form.locale, form.format)))
            break;
    }
    remember(m_times, text, time);
    return time;
}

std::optional<qint64> ArchiveDates::parse(QByteArrayView text)
{
    return parseText(textFromFile(text.toByteArray()));
}

std::optional<qint64> ArchiveDates::parseText(const QString &text)
{
    // The date, a space and the time, where either may hold spaces of its own ("8 Dec 2026",
    // "11:14:35 AM"): the first split whose two sides read wins. A record made at midnight has the
    // date alone.
    const QString whole = text.trimmed();
    for (qsizetype space = whole.indexOf(QLatin1Char(' ')); space > 0;
         space = whole.indexOf(QLatin1Char(' '), space + 1)) {
        const QDate day = date(whole.left(space));
        if (!day.isValid())
            continue;
        if (const std::optional<QTime> moment = time(whole.mid(space + 1)))
            return text::momentOf(day, *moment);
    }
    if (const QDate day = date(whole); day.isValid())
        return text::momentOf(day);
    return std::nullopt;
}

namespace {

// Passes over a line longer than maxBytes to its end, from the file's position on.
ArchiveChunk passOverLongLine(QFile &file, qint64 from, qint64 maxBytes)
{
    while (!file.atEnd()) {
        const QByteArray more = file.read(maxBytes);
        if (const qsizetype end = text::lineEndFrom(more, 0); end < more.size())
            return ArchiveChunk {{}, file.pos() - more.size() + text::afterLineEnd(more, end), 0, true};
    }
    return ArchiveChunk {{}, from};
}

// Adds the last line, without its end, to the chunk when no program is appending to the file:
// its lock held, nothing can be half written.
void takeLastLineWhenIdle(QFile &file, const QString &path, ArchiveChunk &chunk, qint64 maxBytes)
{
    try {
        const files::FileLock idle(file, path, std::chrono::milliseconds(0));
        if (!file.seek(chunk.end))
            return;
        const QByteArray last = file.read(maxBytes - chunk.bytes.size());
        if (file.atEnd() && text::lineEndFrom(last, 0) == last.size()) {
            chunk.bytes += last;
            chunk.end += last.size();
        }
    } catch (const FileLocked &) {
        // Being appended to: the line is read with its end.
    }
}

} // namespace

std::optional<ArchiveChunk> readArchiveFrom(const QString &path, qint64 from, qint64 maxBytes, LastLine lastLine)
{
    files::requireRegularFileOrNothing(path);
    QFile file(path);
    if (!file.exists()) {
        files::requireFolderOrNothing(QFileInfo(path).path()); // a missing file, or a folder that is none
        return std::nullopt;
    }
    // The byte before tells how the lines read so far ended.
    char before = 0;
    if (!file.open(QIODevice::ReadOnly) || !file.seek(std::max<qint64>(0, from - 1))
        || (from > 0 && !file.getChar(&before)))
        throw FileError(file.errorString());
    ArchiveChunk chunk;
    chunk.end = from;
    chunk.bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        throw FileError(file.errorString());
    const bool lineEndedBefore = from == 0 || text::isLineEnd(before);
    if (!lineEndedBefore && !chunk.bytes.isEmpty() && !text::isLineEnd(chunk.bytes.front()))
        return ArchiveChunk {{}, from}; // the last line read has grown: it was edited, not appended to
    const qsizetype complete = text::completeLinesLength(chunk.bytes, before == '\n');
    const bool whole = chunk.bytes.size() < maxBytes;
    if (complete == 0 && !whole)
        return passOverLongLine(file, from, maxBytes); // no line end in a full read
    const bool lastLineOpen = complete < chunk.bytes.size();
    chunk.bytes.truncate(complete);
    chunk.end = from + complete;
    if (whole && lastLineOpen && lastLine == LastLine::ReadWhenIdle)
        takeLastLineWhenIdle(file, path, chunk, maxBytes);
    if (!lineEndedBefore && !chunk.bytes.isEmpty())
        chunk.linesFrom = text::afterLineEnd(chunk.bytes, 0);
    return chunk;
}

} // namespace store
