#include "store/archive.h"

#include <QRegularExpression>
#include <QStringList>

#include "store/datafolder.h"
#include "store/files.h"
#include "store/filetext.h"

namespace store {

namespace {

// Only a text that the locale reads as a number is rewritten; any other text, such as "6.4" read
// with the plain decimal point, stands as typed.
QString archivedFigure(QString text, const QLocale &locale)
{
    bool isLocaleNumber = false;
    locale.toDouble(text.trimmed(), &isLocaleNumber);
    if (locale.decimalPoint() != QLatin1String(",") || !isLocaleNumber)
        return text;
    return text.remove(locale.groupSeparator()).replace(QLatin1Char(','), QLatin1Char('.'));
}

} // namespace

QString archiveTimeFormat(const QLocale &locale)
{
    // Qt's long time format ends in the time zone ("t"), which the archive has never held.
    static const QRegularExpression timeZone(QStringLiteral("\\s*\\bt+\\b"));
    return locale.timeFormat(QLocale::LongFormat).remove(timeZone).trimmed();
}

QString archiveDateTime(const QDateTime &moment, const QLocale &locale)
{
    const QString date = locale.toString(moment.date(), QLocale::ShortFormat);
    const QTime time = moment.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + QLatin1Char(' ') + locale.toString(time, archiveTimeFormat(locale));
}

QString archiveLine(const ArchiveEntry &entry, const QLocale &locale)
{
    QStringList fields;
    for (const ArchiveField field : allArchiveFields()) {
        const QString text = isNumberField(field) ? archivedFigure(entry[field], locale) : entry[field];
        fields << QString(text).remove(QLatin1Char(','));
    }
    return fields.join(QLatin1Char(','));
}

void appendToArchive(const QString &folder, const QString &line)
{
    files::makeSureOfFolder(folder);
    files::appendLine(archivePath(folder), textForFile(line));
}

} // namespace store
