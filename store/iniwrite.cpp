#include "store/iniwrite.h"

#include <algorithm>

#include "store/files.h"
#include "store/filetext.h"
#include "store/inifile.h"
#include "text/lines.h"

namespace {

const QByteArray crlf = QByteArrayLiteral("\r\n");

// A file edited on Linux may end its lines in LF alone (or an old Mac one in CR alone); the
// patterns below look for CR LF, so give every line the CR LF ending first.
QByteArray withCrlfLineEnds(const QByteArray &text)
{
    return text::splitLines(text).join(crlf);
}

bool isControl(char c)
{
    return static_cast<unsigned char>(c) <= 13;
}

QByteArray setKey(QByteArray w, const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    const QByteArray wl = w.toLower();
    const QByteArray headerPattern = crlf + '[' + section.toLower() + "]\r";
    const QByteArray keyPattern = '\n' + key.toLower() + '=';
    const QByteArray keyLine = key + '=' + value;

    const qsizetype header = wl.indexOf(headerPattern);
    w.chop(2); // the end marker "[]"
    if (header < 0)
        return w + crlf + crlf + '[' + section + ']' + crlf + keyLine;

    const qsizetype headerLineFeed = header + headerPattern.size();
    const qsizetype nextSection = wl.indexOf('[', headerLineFeed);
    const qsizetype keyFeed = wl.indexOf(keyPattern, header);
    if (keyFeed >= 0 && keyFeed <= nextSection) {
        // A key line that ends the file without a CR is replaced to the end of the text.
        const qsizetype lineEnd = w.indexOf('\r', keyFeed);
        return w.left(keyFeed + 1) + keyLine + (lineEnd < 0 ? QByteArray() : w.mid(lineEnd));
    }
    return w.left(headerLineFeed + 1) + keyLine + crlf + w.mid(headerLineFeed + 1);
}

bool crlfAt(const QByteArray &text, qsizetype at)
{
    return at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n';
}

// Collapses every run of three or more CR LF pairs to two in one pass; the same result as
// replacing CR LF CR LF CR LF by CR LF CR LF until none is left, without the repeated scans.
QByteArray collapseEmptyLines(const QByteArray &text)
{
    QByteArray result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        int pairs = 0;
        while (crlfAt(text, i + 2 * pairs))
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

QByteArray normalForm(QByteArray w)
{
    w.remove(0, 1); // the CR of the leading CR LF added for the header search
    w = collapseEmptyLines(w);
    while (!w.isEmpty() && isControl(w.back()))
        w.chop(1);
    const auto start = std::find_if_not(w.cbegin(), w.cend(), isControl);
    return w.mid(start - w.cbegin()) + crlf;
}

} // namespace

void WriteIniValue(const QString &path, const QString &section, const QString &key, const QString &value)
{
    WriteIniValues(path, section, {{key, value}});
}

void WriteIniValues(const QString &path, const QString &section, const QList<std::pair<QString, QString>> &values)
{
    using store::textForFile;
    QByteArray text = store::ini::openAndReadAll(path);
    for (const auto &[key, value] : values) {
        // The leading CR LF lets the header pattern match on the first line; "[]" ends the last section.
        const QByteArray w = crlf + withCrlfLineEnds(text) + "[]";
        text = normalForm(setKey(w, textForFile(section), textForFile(key), textForFile(value)));
    }
    store::files::replaceAtomically(path, text);
}
