// Setting one value in the INI-style settings file by rewriting the whole file.
#pragma once

#include <utility>

#include <QList>
#include <QString>

// Sets key in section to value, adding the key (and the section) when missing, and replaces the
// file atomically in its normal form. Throws store::FileError when the file cannot be read or
// replaced; the old file is then left whole.
void WriteIniValue(const QString &path, const QString &section, const QString &key, const QString &value);

// The same as one WriteIniValue call per key, in order, with the file replaced once at the end:
// the bytes are those the single calls would leave, without six rewrites of the disk.
void WriteIniValues(const QString &path, const QString &section, const QList<std::pair<QString, QString>> &values);
