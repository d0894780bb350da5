// Starts the program: the main window, with the data folder of this platform.
#include <QApplication>
#include <QIcon>

#include "datafolder.h"
#include "vantrel.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vantrel/vantrel.xpm")));

    Vantrel window(store::defaultDataFolder());
    window.show();
    return app.exec();
}
