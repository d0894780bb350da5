// Reading one value from the INI-style settings file.
#pragma once

#include <QString>

// The value of key in section of the file at path, or an empty text when either is missing.
// Creates an empty file when none is there. Throws store::FileError when the file cannot be read.
QString ReadIniValue(const QString &path, const QString &section, const QString &key);
