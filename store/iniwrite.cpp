#include "store/iniwrite.h"

#include <QRegularExpression>

#include "store/files.h"
#include "store/inifile.h"

namespace {

const QString crlf = QStringLiteral("\r\n");

// A file edited on Linux may end its lines in LF alone (or an old Mac one in CR alone); the
// patterns below look for CR LF, so give every line the CR LF ending first.
QString withCrlfLineEnds(const QString &text)
{
    static const QRegularExpression anyLineEnd(QStringLiteral("\r\n|\r|\n"));
    QString result = text;
    return result.replace(anyLineEnd, crlf);
}

QString setKey(QString w, const QString &section, const QString &key, const QString &value)
{
    const QString wl = store::ini::lowerSameLength(w);
    const QString headerPattern
        = crlf + QLatin1Char('[') + store::ini::lowerSameLength(section) + QStringLiteral("]\r");
    const QString keyPattern = QLatin1Char('\n') + store::ini::lowerSameLength(key) + QLatin1Char('=');
    const QString keyLine = key + QLatin1Char('=') + value;

    const qsizetype header = wl.indexOf(headerPattern);
    w.chop(2); // the end marker "[]"
    if (header < 0)
        return w + crlf + crlf + QLatin1Char('[') + section + QLatin1Char(']') + crlf + keyLine;

    const qsizetype headerLineFeed = header + headerPattern.size();
    const qsizetype nextSection = wl.indexOf(QLatin1Char('['), headerLineFeed);
    const qsizetype keyFeed = wl.indexOf(keyPattern, header);
    if (keyFeed >= 0 && keyFeed <= nextSection) {
        // A key line that ends the file without a CR is replaced to the end of the text.
        const qsizetype lineEnd = w.indexOf(QLatin1Char('\r'), keyFeed);
        return w.left(keyFeed + 1) + keyLine + (lineEnd < 0 ? QString() : w.mid(lineEnd));
    }
    return w.left(headerLineFeed + 1) + keyLine + crlf + w.mid(headerLineFeed + 1);
}

// Collapses every run of three or more CR LF pairs to two in one pass; the same result as
// replacing CR LF CR LF CR LF by CR LF CR LF until none is left, without the repeated scans.
QString collapseEmptyLines(const QString &text)
{
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        int pairs = 0;
        while (QStringView(text).mid(i + 2 * pairs).startsWith(crlf))
            ++pairs;
        if (pairs == 0) {
            result += text[i++];
            continue;
        }
        for (int kept = 0; kept < std::min(pairs, 2); ++kept)
            result += crlf;
        i += 2 * pairs;
    }
    return result;
}

QString normalForm(QString w)
{
    w.remove(0, 1); // the CR of the leading CR LF added for the header search
    w = collapseEmptyLines(w);
    while (!w.isEmpty() && w.back().unicode() <= 13)
        w.chop(1);
    qsizetype start = 0;
    while (start < w.size() && w[start].unicode() <= 13)
        ++start;
    return w.mid(start) + crlf;
}

} // namespace

void WriteIniValue(const QString &path, const QString &section, const QString &key, const QString &value)
{
    WriteIniValues(path, section, {{key, value}});
}

void WriteIniValues(const QString &path, const QString &section, const QList<std::pair<QString, QString>> &values)
{
    QString text = store::ini::openAndReadAll(path);
    for (const auto &[key, value] : values) {
        // The leading CR LF lets the header pattern match on the first line; "[]" ends the last section.
        const QString w = crlf + withCrlfLineEnds(text) + QStringLiteral("[]");
        text = normalForm(setKey(w, section, key, value));
    }
    store::files::replaceAtomically(path, store::files::textForFile(text));
}
