// The data folder's first-run defaults and the bookmaker list, on the file layer.
#pragma once

#include <QStringList>

namespace store {

// Makes sure of the folder, then writes the default bookmaker list and the default settings file
// where they are missing; an existing file is never opened. Throws FileError on failure.
void ensureDataFiles(const QString &folder);

// Every line of the bookmaker list, whole and in order; none when the list is missing.
// Throws FileError when the folder or the list cannot be read.
QStringList readBookieList(const QString &folder);

} // namespace store
