// Starts the bet history on its own, on the data folder of this platform.
#include <QApplication>
#include <QIcon>

#include "history/historywindow.h"
#include "store/datafolder.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel Bet History"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/history/org.vantrel.VantrelHistory.png")));
    history::HistoryWindow window(store::defaultDataFolder());
    window.show();
    return app.exec();
}
