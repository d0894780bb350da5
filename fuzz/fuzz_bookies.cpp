// Feeds arbitrary bytes to the bookmaker list reader: one entry per line, whatever the bytes.
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include "store/datafiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(dir.filePath(QStringLiteral("bookieList.txt")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(input);
    }
    const QStringList entries = store::readBookieList(dir.path());
    const qsizetype lines = input.count('\n') + (input.isEmpty() || input.endsWith('\n') ? 0 : 1);
    if (entries.size() != lines)
        std::abort();
    for (const QString &entry : entries) {
        if (entry.contains(QLatin1Char('\n')))
            std::abort();
    }
    return 0;
}
