// A child process for the fault tests: it runs one file operation of the program, so that a test
// can limit its file size or kill it in the middle. Exits 3 with the failure's description when
// the operation reports one.
#include <cstdio>

#include <QCoreApplication>
#include <QStringList>

#include "store/archive.h"
#include "store/datafiles.h"
#include "store/fileerror.h"
#include "store/iniwrite.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.value(0) == QLatin1String("settings")) {
            // settings PATH VALUE1 VALUE2 COUNT: writes the two values in turn, COUNT times (0: for ever).
            const int count = args.value(4).toInt();
            for (int i = 0; count == 0 || i < count; ++i)
                WriteIniValue(args[1], QStringLiteral("Default"), QStringLiteral("Stake"), args[2 + i % 2]);
        } else if (args.value(0) == QLatin1String("archive")) {
            store::appendToArchive(args[1], args[2]);
        } else if (args.value(0) == QLatin1String("defaults")) {
            store::ensureDataFiles(args[1]);
        } else {
            return 2;
        }
    } catch (const store::FileError &error) {
        std::fputs(qPrintable(error.description()), stderr);
        return 3;
    }
    return 0;
}
