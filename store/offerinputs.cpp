#include "store/offerinputs.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/files.h"
#include "store/inifile.h"

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
    for (const QByteArray &bytesOfLine : ini::splitLines(bytes)) {
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

QByteArray bytesOf(const OfferInputSections &sections)
{
    QByteArray bytes;
    for (const auto &[name, inputs] : sections) {
        if (!bytes.isEmpty())
            bytes += "\r\n";
        bytes += '[' + name.toUtf8() + "]\r\n";
        for (const auto &[key, value] : inputs)
            bytes += lineOf(key, value) + "\r\n";
    }
    return bytes;
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
    OfferInputSections sections = parse(readIfThere(path)).sections;
    for (const auto &[name, inputs] : changed) {
        for (const auto &[key, value] : inputs)
            sections[name][key] = value;
    }
    files::makeSureOfFolder(folder);
    files::replaceAtomically(path, bytesOf(sections));
}

} // namespace store
