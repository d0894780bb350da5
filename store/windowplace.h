// Where the bet history's window was when it was last closed: vantrelHistory.ini in the data
// folder, a [Window] section of "key=value" lines (geometry=x,y,width,height; splitter=a,b; tab=n).
// A file of the history's own, so that the calculator's settings file keeps its bytes. Nothing in
// it is needed: a file missing, unreadable or edited into nonsense places the window as at a first
// start.
#pragma once

#include <optional>

#include <QList>
#include <QRect>
#include <QString>

namespace store {

struct WindowPlace
{
    QRect geometry; // the frame's top left, the size within the frame
    QList<int> splitter; // the sizes of the table and of the totals below it
    int tab = 0; // the totals' tab
};

QString windowPlacePath(const QString &folder);

// Nothing when there is no file, or it holds no geometry.
std::optional<WindowPlace> readWindowPlace(const QString &folder);

// Replaces the file atomically; throws FileError. Writes nothing where the data folder is missing.
void saveWindowPlace(const QString &folder, const WindowPlace &place);

} // namespace store
