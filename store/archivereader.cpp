#include "store/archivereader.h"

#include <charconv>
#include <cmath>

#include <QFile>
#include <QFileInfo>

#include "store/archive.h"
#include "store/fileerror.h"
#include "store/files.h"
#include "store/filetext.h"

namespace store {

namespace {

// Qt reads a two-digit year as 19xx; an archive is younger than that.
QDate inThisCentury(QDate date, const QString &format)
{
    if (date.isValid() && !format.contains(QLatin1String("yyyy")) && date.year() < 2000)
        return date.addYears(100);
    return date;
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

std::optional<double> archivedNumber(QByteArrayView field)
{
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

ArchiveDates::ArchiveDates(const QLocale &locale)
    : m_locale(locale)
    , m_dateFormats {locale.dateFormat(QLocale::ShortFormat), QStringLiteral("dd/MM/yyyy"), QStringLiteral("M/d/yy"),
          QStringLiteral("M/d/yyyy"), QStringLiteral("yyyy-MM-dd"), QStringLiteral("dd.MM.yyyy"),
          QStringLiteral("dd.MM.yy")}
    , m_timeFormats {archiveTimeFormat(locale), QStringLiteral("HH:mm:ss"), QStringLiteral("h:mm:ss AP"),
          QStringLiteral("h:mm:ss ap")}
{ }

QDate ArchiveDates::date(const QString &text)
{
    if (const auto known = m_dates.constFind(text); known != m_dates.cend())
        return *known;
    QDate date;
    for (const QString &format : m_dateFormats) {
        date = inThisCentury(m_locale.toDate(text, format), format);
        if (date.isValid())
            break;
    }
    m_dates.insert(text, date);
    return date;
}

std::optional<QTime> ArchiveDates::time(const QString &text)
{
    if (const auto known = m_times.constFind(text); known != m_times.cend())
        return *known;
    std::optional<QTime> time;
    for (const QString &format : m_timeFormats) {
        if (const QTime read = m_locale.toTime(text, format); read.isValid()) {
            time = read;
            break;
        }
    }
    m_times.insert(text, time);
    return time;
}

std::optional<qint64> ArchiveDates::parse(QByteArrayView text)
{
    // The date, a space and the time; a record made at midnight has the date alone.
    const QString whole = textFromFile(text.toByteArray());
    const qsizetype space = whole.indexOf(QLatin1Char(' '));
    const QDate day = date(space < 0 ? whole : whole.left(space));
    const std::optional<QTime> moment = space < 0 ? QTime(0, 0) : time(whole.mid(space + 1));
    if (!day.isValid() || !moment)
        return std::nullopt;
    return day.toJulianDay() * 86400 + moment->msecsSinceStartOfDay() / 1000;
}

std::optional<ArchiveChunk> readArchiveFrom(const QString &path, qint64 from, qint64 maxBytes)
{
    files::requireRegularFileOrNothing(path);
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        throw FileError(file.errorString());
    ArchiveChunk chunk;
    chunk.end = from;
    chunk.bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        throw FileError(file.errorString());
    const qsizetype lineEnd = chunk.bytes.lastIndexOf('\n');
    if (lineEnd < 0) {
        // No line end in a full read: a line longer than maxBytes. Pass over it to its end.
        if (chunk.bytes.size() < maxBytes)
            return ArchiveChunk {{}, {}, from};
        while (!file.atEnd()) {
            const QByteArray more = file.read(maxBytes);
            if (const qsizetype newline = more.indexOf('\n'); newline >= 0)
                return ArchiveChunk {{}, {}, file.pos() - more.size() + newline + 1, true};
        }
        return ArchiveChunk {{}, {}, from};
    }
    chunk.bytes.truncate(lineEnd + 1);
    chunk.end = from + chunk.bytes.size();
    chunk.lines = files::lineViews(chunk.bytes);
    return chunk;
}

} // namespace store
