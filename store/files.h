// The file layer under the data files: a handful of operations on folders and whole files, each
// throwing FileError with the system's description of the failure. A path where a folder, a pipe
// or a device stands is refused before anything opens it, so nothing waits on a pipe for ever.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "store/filelock.h"

namespace store::files {

// Creates the folder when it is missing; throws when something else stands in its place.
void makeSureOfFolder(const QString &path);

// Throws, naming it, when a file stands where the folder should be.
void requireFolderOrNothing(const QString &path);

// Throws when something other than a regular file (or a link to one) stands at the path.
void requireRegularFileOrNothing(const QString &path);

// Appends the bytes and CR LF to the file, creating it when missing. The line starts on a line of
// its own even when the file ends in a line that a crash cut short. When the disk takes only part
// of the line, the part is cut off again, so that the file never ends in half a line.
void appendLine(const QString &path, const QByteArray &line);

// The same for many lines in one write; a new or empty file gets the header line first. The file
// is locked from the look at its end to the last byte, so that programs appending at once never
// mix their lines, write two headers or cut off each other's lines.
void appendLines(const QString &path, const QList<QByteArray> &lines, const QByteArray &header = {},
    std::chrono::milliseconds lockWait = FileLock::longestWait);

// Writes a file with the bytes when none is there, whole or not at all: a new file is renamed into
// place only if the path is still free, so any number of programs doing this at once leave one
// whole copy. An existing file is left as it is.
void createIfMissing(const QString &path, const QByteArray &bytes);

// What tells one version of a file from another without reading it: its size, the last change of
// its bytes and of its permissions, and which file it is (another file renamed into its place is
// another file).
struct FileStamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0;
    qint64 statusChanged = 0;
    quint64 device = 0;
    quint64 identity = 0;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path);

// The whole content of the file.
QByteArray readAll(const QString &path);

// Replaces the file's content by writing a new file and renaming it over the old one, so that a
// failure at any point leaves the old file whole.
void replaceAtomically(const QString &path, const QByteArray &bytes);

} // namespace store::files
