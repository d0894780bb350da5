#include "store/archive.h"

#include <QRegularExpression>
#include <QStringList>

#include "store/datafolder.h"
#include "store/files.h"
#include "store/filetext.h"
#include "text/numbers.h"

namespace store {

QString archiveTimeFormat(const QLocale &locale)
{
    // Qt's long time format holds the time zone ("t"), which the archive has never held; some
    // locales put it in brackets, which go with it.
    static const QRegularExpression timeZone(QStringLiteral("\\s*([(\\[]\\s*)?\\bt+\\b(\\s*[)\\]])?"));
    return locale.timeFormat(QLocale::LongFormat).remove(timeZone).trimmed();
}

QString olderArchiveTimeFormat(const QLocale &locale)
{
    static const QRegularExpression timeZone(QStringLiteral("\\s*\\bt+\\b"));
    return locale.timeFormat(QLocale::LongFormat).remove(timeZone).trimmed();
}

QString archiveDateTime(const QDateTime &moment, const QLocale &locale, CodePage codePage)
{
    const QTime time = moment.time();
    const bool midnight = time.hour() == 0 && time.minute() == 0 && time.second() == 0;
    const QString timeFormat = archiveTimeFormat(locale);
    const auto withTime = [&](const QString &date, const QLocale &words, const QString &format) {
        return midnight ? date : date + QLatin1Char(' ') + words.toString(time, format);
    };
    if (const QString text = withTime(locale.toString(moment.date(), QLocale::ShortFormat), locale, timeFormat);
        codePageHolds(text, codePage))
        return text;
    const QLocale c = QLocale::c();
    const QString sameForms
        = withTime(c.toString(moment.date(), locale.dateFormat(QLocale::ShortFormat)), c, timeFormat);
    if (codePageHolds(sameForms, codePage))
        return sameForms;
    return withTime(c.toString(moment.date(), QStringLiteral("yyyy-MM-dd")), c, QStringLiteral("HH:mm:ss"));
}

QString archiveLine(const ArchiveEntry &entry, const QLocale &locale)
{
    QStringList fields;
    for (const ArchiveField field : allArchiveFields()) {
        const QString text = isNumberField(field) ? text::asciiFigure(entry[field], locale) : entry[field];
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
