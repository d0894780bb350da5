// Helpers shared by the settings reader and writer. Both work on the file's bytes, so that every
// byte outside the line that the writer replaces comes back exactly as it was, whatever it is.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace store::ini {

// Makes the file readable and writable by its owner, creates it empty when it is missing, and
// returns its whole content. Throws FileError on failure.
QByteArray openAndReadAll(const QString &path);

} // namespace store::ini
