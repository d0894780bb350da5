#include "store/filetext.h"

#include <QStringDecoder>

namespace store {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; its five unassigned bytes keep their
// Latin-1 control characters, as Windows maps them.
constexpr char16_t windows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
    0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? windows1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

} // namespace

QString textFromFile(const QByteArray &bytes)
{
    QStringDecoder system(QStringConverter::System, QStringConverter::Flag::Stateless);
    QString text = system.decode(bytes);
    return system.hasError() ? fromWindows1252(bytes) : text;
}

QByteArray textForFile(const QString &text)
{
    return text.toLocal8Bit();
}

} // namespace store
