// Starts the program as main.cpp does and quits at the first frame: on a new data folder (a first
// start), or on the folder given as its argument (a later start, the files already there).
#include <QApplication>
#include <QTemporaryDir>

#include "app/startup.h"
#include "app/vantrel.h"
#include "firstframe.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir home;
    prepareApplication();
    const QStringList arguments = QApplication::arguments();
    Vantrel window(arguments.size() > 1 ? arguments.at(1) : home.filePath(QStringLiteral("vantrel")));
    QuitAfterFirstFrame quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
