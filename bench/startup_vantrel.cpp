// Starts the program as main.cpp does, on a temporary data folder, and quits at the first frame.
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
    Vantrel window(home.filePath(QStringLiteral("vantrel")));
    QuitAfterFirstFrame quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
