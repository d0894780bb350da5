// Starts the program: the main window, with the data folder of this platform.
#include <QApplication>

#include "datafolder.h"
#include "startup.h"
#include "vantrel.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication();
    Vantrel window(store::defaultDataFolder());
    window.show();
    return app.exec();
}
