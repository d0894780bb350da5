#include "store/windowplace.h"

#include <QDir>
#include <QFileInfo>

#include "store/fileerror.h"
#include "store/files.h"
#include "store/inifile.h"
#include "text/lines.h"

namespace store {

namespace {

// Far more than the few lines written; a larger file is none of ours.
constexpr qint64 largestFile = 64 * 1024;

// Whole numbers joined by commas; nothing unless there are `count` of them.
std::optional<QList<int>> numbers(const QByteArray &text, qsizetype count)
{
    QList<int> values;
    for (const QByteArray &part : text.split(',')) {
        bool ok = false;
        values << part.trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    return values.size() == count ? std::optional(values) : std::nullopt;
}

QByteArray joined(const QList<int> &values)
{
    QByteArrayList parts;
    for (const int value : values)
        parts << QByteArray::number(value);
    return parts.join(',');
}

} // namespace

QString windowPlacePath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("vantrelHistory.ini"));
}

std::optional<WindowPlace> readWindowPlace(const QString &folder)
{
    const QString path = windowPlacePath(folder);
    try {
        files::requireRegularFileOrNothing(path);
        if (!QFileInfo::exists(path) || QFileInfo(path).size() > largestFile)
            return std::nullopt;
        WindowPlace place;
        for (const QByteArray &line : text::splitLines(files::readAll(path))) {
            const qsizetype equals = line.indexOf('=');
            const QByteArray key = line.left(equals).trimmed();
            const QByteArray value = line.mid(equals + 1);
            if (const auto v = numbers(value, 4); key == "geometry" && v)
                place.geometry = QRect((*v)[0], (*v)[1], (*v)[2], (*v)[3]);
            else if (key == "splitter")
                place.splitter = numbers(value, 2).value_or(QList<int>());
            else if (key == "tab")
                place.tab = numbers(value, 1).value_or(QList<int> {0}).front();
        }
        return place.geometry.isValid() ? std::optional(place) : std::nullopt;
    } catch (const FileError &) {
        return std::nullopt; // placed as at a first start; the next close writes the file again
    }
}

void saveWindowPlace(const QString &folder, const WindowPlace &place)
{
    if (!QFileInfo(folder).isDir())
        return;
    const QRect &g = place.geometry;
    const QByteArray bytes = "[Window]\r\ngeometry=" + joined({g.x(), g.y(), g.width(), g.height()})
        + "\r\nsplitter=" + joined(place.splitter) + "\r\ntab=" + QByteArray::number(place.tab) + "\r\n";
    files::replaceAtomically(windowPlacePath(folder), bytes);
}

} // namespace store
