#include "store/iniread.h"

#include <QRegularExpression>

#include "store/inifile.h"

QString ReadIniValue(const QString &path, const QString &section, const QString &key)
{
    const QString wantedHeader = QLatin1Char('[') + store::ini::lowerSameLength(section) + QLatin1Char(']');
    const QString wantedPrefix = store::ini::lowerSameLength(key) + QLatin1Char('=');

    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    bool inSection = false;
    for (const QString &line : store::ini::openAndReadAll(path).split(lineEnd)) {
        const QString lower = store::ini::lowerSameLength(line);
        // Any "[" ends the section, even one inside a value.
        if (lower.contains(QLatin1Char('[')))
            inSection = false;
        if (lower == wantedHeader)
            inSection = true;
        if (inSection && !lower.contains(QLatin1Char('[')) && lower.startsWith(wantedPrefix))
            return line.mid(wantedPrefix.size());
    }
    return {};
}
