#include "app/startup.h"

#include <QApplication>
#include <QIcon>

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vantrel/vantrel.xpm")));
}
