// The file layer under the data files: a handful of operations on folders and whole files, each
// throwing FileError with the system's description of the failure.
#pragma once

#include <QByteArray>
#include <QString>

namespace store::files {

// Creates the folder when it is missing; throws when something else stands in its place.
void makeSureOfFolder(const QString &path);

// Appends the bytes and CR LF to the file, creating it when missing. When the disk takes only
// part of the line, the part is cut off again, so that the file never ends in half a line.
void appendLine(const QString &path, const QByteArray &line);

// The whole content of the file.
QByteArray readAll(const QString &path);

// Replaces the file's content by writing a new file and renaming it over the old one, so that a
// failure at any point leaves the old file whole.
void replaceAtomically(const QString &path, const QByteArray &bytes);

// Text as the data files hold it: the system's 8-bit encoding.
QString textFromFile(const QByteArray &bytes);
QByteArray textForFile(const QString &text);

} // namespace store::files
