#include "store/archive.h"

#include <QRegularExpression>
#include <QStringList>

#include "store/datafolder.h"
#include "store/files.h"
#include "store/filetext.h"

namespace store {

namespace {

// Where the locale writes numbers in other digits or with another decimal mark than ASCII and ".",
// a number field is archived in ASCII digits with "." and no grouping, so that 24,97 stays 24.97
// rather than becoming 2497. Only a text that the locale reads as a number is rewritten; any other
// text, such as "6.4" read with the plain decimal point, stands as typed.
QString archivedFigure(QString text, const QLocale &locale)
{
    const bool plainLocale = locale.decimalPoint() == QLatin1String(".") && locale.zeroDigit() == QLatin1String("0");
    bool isLocaleNumber = false;
    locale.toDouble(text.trimmed(), &isLocaleNumber);
    if (plainLocale || !isLocaleNumber)
        return text;
    text.remove(locale.groupSeparator());
    text.replace(locale.decimalPoint(), QLatin1String("."));
    text.replace(locale.negativeSign(), QLatin1String("-"));
    text.replace(locale.positiveSign(), QLatin1String("+"));
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const QStringView written = QStringView(text).sliced(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
        if (const int digit = QChar::digitValue(c); digit >= 0)
            plain += QLatin1Char(char('0' + digit));
        else if (QChar::category(c) != QChar::Other_Format) // direction marks go
            plain += written;
    }
    return plain;
}

} // namespace

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
