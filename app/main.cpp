// Starts the program: the main window, with the data folder of this platform.
#include <QApplication>

#include "app/startup.h"
#include "app/vantrel.h"
#include "store/datafolder.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication();
    Vantrel window(store::defaultDataFolder());
    window.show();
    return app.exec();
}
