#include "store/iniread.h"

#include "store/filetext.h"
#include "store/inifile.h"
#include "text/lines.h"

QString ReadIniValue(const QString &path, const QString &section, const QString &key)
{
    // Letter case is ignored in the ASCII letters, the only ones a name of ours holds.
    const QByteArray wantedHeader = '[' + store::textForFile(section).toLower() + ']';
    const QByteArray wantedPrefix = store::textForFile(key).toLower() + '=';

    bool inSection = false;
    for (const QByteArray &line : text::splitLines(store::ini::openAndReadAll(path))) {
        const QByteArray lower = line.toLower();
        // Any "[" ends the section, even one inside a value.
        if (lower.contains('['))
            inSection = false;
        if (lower == wantedHeader)
            inSection = true;
        if (inSection && !lower.contains('[') && lower.startsWith(wantedPrefix))
            return store::textFromFile(line.mid(wantedPrefix.size()));
    }
    return {};
}
