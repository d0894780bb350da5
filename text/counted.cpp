#include "text/counted.h"

#include <QLocale>

namespace text {

QString counted(qint64 count, const QString &one, const QString &many)
{
    return QLocale().toString(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

} // namespace text
