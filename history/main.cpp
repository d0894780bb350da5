// Starts the bet history on its own, on the data folder of this platform. With --due it prints the
// free bets that expire within two days, a line each, and opens no window: for a scheduled reminder.
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QIcon>

#include "history/historywindow.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "tracker/freebets.h"

namespace {

int printDueFreeBets()
{
    try {
        history::UnreadLines leftOut;
        const history::FreeBetBook book = history::readFreeBets(store::defaultDataFolder(), leftOut);
        for (const QString &line : history::dueFreeBets(book, QDate::currentDate()))
            std::printf("%s\n", line.toLocal8Bit().constData());
        return 0;
    } catch (const store::FileError &error) {
        std::fprintf(stderr, "%s\n", error.description().toLocal8Bit().constData());
        return 1;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--due") == 0)
        return printDueFreeBets();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel Bet History"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/history/org.vantrel.VantrelHistory.png")));
    history::HistoryWindow window(store::defaultDataFolder());
    window.show();
    return app.exec();
}
