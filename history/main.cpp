// Starts the bet history on its own, on the data folder of this platform. With --due it prints the
// free bets that expire within two days, a line each, and opens no window: for a scheduled reminder.
// With --import and the files of exchange statements it imports them, a line each, without a window.
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>

#include "history/historywindow.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "tracker/freebets.h"
#include "tracker/statementimport.h"

namespace {

void printLines(std::FILE *stream, const QStringList &lines)
{
    for (const QString &line : lines)
        std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
}

int printDueFreeBets()
{
    try {
        history::UnreadLines leftOut;
        const history::FreeBetBook book = history::readFreeBets(store::defaultDataFolder(), leftOut);
        printLines(stdout, history::dueFreeBets(book, QDate::currentDate()));
        return 0;
    } catch (const store::FileError &error) {
        printLines(stderr, {error.description()});
        return 1;
    }
}

int importFiles(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    const QStringList paths = QCoreApplication::arguments().mid(2);
    if (paths.isEmpty()) {
        std::fprintf(stderr, "Name the statement files to import after --import.\n");
        return 1;
    }
    try {
        const history::ImportOutcome outcome = history::importStatements(store::defaultDataFolder(), paths);
        printLines(stdout, outcome.reports);
        printLines(stderr, outcome.failures);
        return outcome.failures.isEmpty() ? 0 : 1;
    } catch (const store::FileError &error) {
        printLines(stderr, {error.description()});
        return 1;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--due") == 0)
        return printDueFreeBets();
    if (argc >= 2 && std::strcmp(argv[1], "--import") == 0)
        return importFiles(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel Bet History"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/history/org.vantrel.VantrelHistory.png")));
    history::HistoryWindow window(store::defaultDataFolder());
    window.show();
    return app.exec();
}
