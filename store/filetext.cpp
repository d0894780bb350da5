#include "store/filetext.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include <QStringDecoder>

namespace store {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; its five unassigned bytes keep their
// Latin-1 control characters, as Windows maps them.
constexpr char16_t windows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
    0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? windows1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

// The byte for the character; nothing when Windows-1252 has none.
std::optional<char> windows1252Byte(QChar c)
{
    const char16_t code = c.unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return char(code);
    const auto *found = std::find(std::begin(windows1252High), std::end(windows1252High), code);
    if (found == std::end(windows1252High))
        return std::nullopt;
    return char(0x80 + (found - std::begin(windows1252High)));
}

QByteArray toWindows1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text)
        bytes += windows1252Byte(c).value_or('?');
    return bytes;
}

} // namespace

QString textFromFile(const QByteArray &bytes)
{
    QStringDecoder system(QStringConverter::System, QStringConverter::Flag::Stateless);
    QString text = system.decode(bytes);
    return system.hasError() ? fromWindows1252(bytes) : text;
}

QString textFromUtf8OrWindows1252(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

QByteArray textForFile(const QString &text, CodePage codePage)
{
    return codePage == CodePage::System ? text.toLocal8Bit() : toWindows1252(text);
}

bool codePageHolds(const QString &text, CodePage codePage)
{
    if (codePage == CodePage::Windows1252)
        return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return windows1252Byte(c).has_value(); });
    // A code page without a byte for a character writes another in its place, or a near look-alike.
    return QString::fromLocal8Bit(text.toLocal8Bit()) == text;
}

} // namespace store
