// Feeds arbitrary bytes to the settings reader and writer as a settings file. After a write the
// file must be in its normal form, and a plain value written must read back unchanged.
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "store/iniread.h"
#include "store/iniwrite.h"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// A value the file format can hold whole: no "[", no line end, and no control character at its end,
// which the normal form trims when the key line is the file's last.
QString plainValue(const QByteArray &bytes)
{
    QString value = QString::fromUtf8(bytes);
    value.remove(QLatin1Char('[')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    while (!value.isEmpty() && value.back().unicode() <= 13)
        value.chop(1);
    return value;
}

bool inNormalForm(const QByteArray &file)
{
    return file.endsWith("\r\n") && !file.endsWith("\r\n\r\n") && quint8(file.front()) > 13
        && quint8(file.at(file.size() - 3)) > 13 && !file.contains("\r\n\r\n\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vantrel.ini"));
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    // The first 16 bytes, when there are that many, give the value; the rest is the file.
    const qsizetype split = std::min<qsizetype>(16, input.size());
    const QString value = plainValue(input.left(split));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(input.mid(split));
    }

    ReadIniValue(path, QStringLiteral("Default"), QStringLiteral("LayOdds"));
    WriteIniValue(path, QStringLiteral("Default"), QStringLiteral("Stake"), value);

    QFile written(path);
    check(written.open(QIODevice::ReadOnly));
    check(inNormalForm(written.readAll()));
    check(ReadIniValue(path, QStringLiteral("Default"), QStringLiteral("Stake")) == value);
    return 0;
}
