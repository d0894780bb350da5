#include "store/offerinputs.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <QDir>
#include <QFileInfo>

#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/filelock.h"
#include "store/files.h"
#include "store/inifile.h"
#include "text/lines.h"

namespace store {

namespace {

// A hand-edited file may hold anything; no offer has more inputs or sections than these.
constexpr std::size_t mostSections = 100;
constexpr std::size_t mostKeys = 1000;
constexpr qint64 largestFile = 256 * 1024 * 1024;

QChar escaped(QChar c)
{
    switch (c.unicode()) {
    case 'a':
        return QChar(0x07);
    case 'b':
        return QChar(0x08);
    case 'f':
        return QChar(0x0C);
    case 'n':
        return QChar(0x0A);
    case 'r':
        return QChar(0x0D);
    case 't':
        return QChar(0x09);
    case 'v':
        return QChar(0x0B);
    default:
        return c; // \" \' \? \\ and anything else stand for themselves
    }
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

// A value as Qt's settings files write one: quoted parts, backslash escapes, "@@" for a leading "@".
QString valueOf(QStringView text)
{
    QString value;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('"'))
            continue;
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            value += text[i];
            continue;
        }
        const QChar next = text[++i];
        if (next != QLatin1Char('x')) {
            value += escaped(next);
            continue;
        }
        qsizetype end = i + 1;
        while (end < text.size() && end - i <= 4 && isHexDigit(text[end]))
            ++end;
        value += QChar(char16_t(text.sliced(i + 1, end - i - 1).toUInt(nullptr, 16)));
        i = end - 1;
    }
    return value.startsWith(QLatin1String("@@")) ? value.mid(1) : value;
}

// Characters that Qt's settings files read otherwise than as text unless the value is quoted.
bool needsQuotes(const QString &value)
{
    if (value.isEmpty())
        return false;
    if (value.front().isSpace() || value.back().isSpace())
        return true;
    return std::any_of(value.cbegin(), value.cend(),
        [](QChar c) { return c.unicode() < 0x20 || QStringView(u"\",;=\\").contains(c); });
}

QByteArray lineOf(const QString &key, QString value)
{
    if (value.startsWith(QLatin1Char('@')))
        value.prepend(QLatin1Char('@'));
    if (needsQuotes(value)) {
        QString quoted;
        for (const QChar c : std::as_const(value)) {
            if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\') + c;
            else if (c.unicode() < 0x20)
                quoted += QStringLiteral("\\x%1").arg(c.unicode(), 0, 16);
            else
                quoted += c;
        }
        value = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return (key + QLatin1Char('=') + value).toUtf8();
}

// Takes the line's key and value into the section; false when the value is ignored.
bool take(InputTexts &section, QStringView line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    const QString key = line.first(equals).trimmed().toString();
    const QStringView text = line.sliced(equals + 1).trimmed();
    // Escapes take up to six characters for one.
    if (key.size() > longestInputText || text.size() > 6 * longestInputText)
        return false;
    QString value = valueOf(text);
    if (value.size() > longestInputText || (!section.contains(key) && section.size() >= mostKeys))
        return false;
    section[key] = std::move(value);
    return true;
}

OfferInputsRead parse(const QByteArray &bytes)
{
    OfferInputsRead read;
    InputTexts *section = nullptr;
    for (const QByteArray &bytesOfLine : text::splitLines(bytes)) {
        const QString line = QString::fromUtf8(bytesOfLine).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.sliced(1, line.size() - 2).trimmed();
            const bool room = read.sections.contains(name) || read.sections.size() < mostSections;
            section = room ? &read.sections[name] : nullptr;
            read.ignored += room ? 0 : 1;
        } else if (line.contains(QLatin1Char('=')) && !line.startsWith(QLatin1Char(';'))) {
            // Lines before the first section are no offer's.
            if (section && !take(*section, line))
                ++read.ignored;
        }
    }
    return read;
}

// A line of the file as it stands: its text, and the line end it had (none for a last line
// without one). The lines are those text::splitLines reads.
struct FileLine
{
    QByteArray text;
    QByteArray end;
};

std::vector<FileLine> linesOf(const QByteArray &bytes)
{
    std::vector<FileLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        const qsizetype endSize = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        lines.push_back({bytes.mid(start, i - start), bytes.mid(i, endSize)});
        i += endSize - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back({bytes.mid(start), {}});
    return lines;
}

// The section a line opens, or nothing.
std::optional<QString> sectionOf(const QString &trimmed)
{
    if (!trimmed.startsWith(QLatin1Char('[')) || !trimmed.endsWith(QLatin1Char(']')))
        return std::nullopt;
    return trimmed.sliced(1, trimmed.size() - 2).trimmed();
}

// Sets the key's line in the section: the last line that holds it, as reading takes the last;
// else a new line after the section's last, or a new section at the end. Every other line stays.
void setLine(std::vector<FileLine> &lines, const QString &section, const QString &key, const QByteArray &line)
{
    std::optional<std::size_t> keyAt;
    std::optional<std::size_t> sectionEnd;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString trimmed = QString::fromUtf8(lines[i].text).trimmed();
        if (const std::optional<QString> name = sectionOf(trimmed)) {
            inSection = *name == section;
            if (inSection)
                sectionEnd = i;
            continue;
        }
        if (!inSection || trimmed.isEmpty())
            continue;
        sectionEnd = i;
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        if (equals > 0 && !trimmed.startsWith(QLatin1Char(';')) && trimmed.first(equals).trimmed() == key)
            keyAt = i;
    }
    if (keyAt) {
        lines[*keyAt].text = line;
        return;
    }
    std::size_t at = lines.size();
    std::vector<FileLine> added {{line, "\r\n"}};
    if (sectionEnd) {
        at = *sectionEnd + 1;
    } else {
        added.insert(added.begin(), {'[' + section.toUtf8() + ']', "\r\n"});
        if (!lines.empty())
            added.insert(added.begin(), {{}, "\r\n"});
    }
    if (at > 0 && lines[at - 1].end.isEmpty())
        lines[at - 1].end = "\r\n";
    lines.insert(lines.begin() + qsizetype(at), added.begin(), added.end());
}

QByteArray withChanges(const QByteArray &bytes, const OfferInputSections &changed)
{
    std::vector<FileLine> lines = linesOf(bytes);
    for (const auto &[name, inputs] : changed) {
        for (const auto &[key, value] : inputs)
            setLine(lines, name, key, lineOf(key, value));
    }
    QByteArray joined;
    for (const FileLine &line : lines)
        joined += line.text + line.end;
    return joined;
}

QByteArray readIfThere(const QString &path)
{
    files::requireRegularFileOrNothing(path);
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.size() > largestFile)
        throw FileError(QStringLiteral("%1 is too large to hold the offer calculators' inputs")
                            .arg(QDir::toNativeSeparators(path)));
    return files::readAll(path);
}

} // namespace

OfferInputsRead readOfferInputs(const QString &folder)
{
    return parse(readIfThere(offerInputsPath(folder)));
}

void saveOfferInputs(const QString &folder, const OfferInputSections &changed)
{
    const QString path = offerInputsPath(folder);
    files::makeSureOfFolder(folder);
    // Two windows saving at once would each write the file as it read it, losing the other's change.
    const files::ReplaceLock lock(path);
    files::replaceAtomically(path, withChanges(readIfThere(path), changed));
}

} // namespace store
