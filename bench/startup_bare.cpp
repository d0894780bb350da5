// The yardstick for start-up: a bare Qt window of the same size that quits at its first frame.
#include <QApplication>
#include <QWidget>

#include "firstframe.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(416, 178);
    QuitAfterFirstFrame quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
