#include "app/startup.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

namespace {

// The icon as C source, read by QPixmap's own XPM reader: read from a file, an image would look
// through Qt's image format plugins first, and load three of them before the first frame.
#include "app/vantrel.xpm"

} // namespace

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setWindowIcon(QIcon(QPixmap(vantrel)));
}
