// Feeds arbitrary bytes to the bookmaker list reader: one entry per line, whatever the bytes and
// whichever line ends.
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
    // A line ends at LF, CR LF or a CR alone; a last line without an end is a line too.
    const qsizetype lineEnds = input.count('\n') + input.count('\r') - input.count("\r\n");
    const bool lastOpen = !input.isEmpty() && !input.endsWith('\n') && !input.endsWith('\r');
    if (entries.size() != lineEnds + (lastOpen ? 1 : 0))
        std::abort();
    for (const QString &entry : entries) {
        if (entry.contains(QLatin1Char('\n')) || entry.contains(QLatin1Char('\r')))
            std::abort();
    }
    return 0;
}
