// The yardsticks for start-up: a bare Qt window of the main window's size that quits at its first
// frame; with --with-text it also shows one line of text, so that it loads the font system as
// every window with text must.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "firstframe.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(416, 178);
    if (QApplication::arguments().contains(QStringLiteral("--with-text")))
        new QLabel(QStringLiteral("Stake"), &window);
    QuitAfterFirstFrame quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
