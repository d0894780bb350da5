#include "store/inifile.h"

#include <QFile>

#include "store/fileerror.h"
#include "store/files.h"

namespace store::ini {

namespace {

void unlockAndCreate(const QString &path)
{
    files::requireRegularFileOrNothing(path);
    QFile file(path);
    // Stands in for resetting the file's attributes to "archive" alone: readable and writable
    // afterwards. It comes first, so that a read-only file can be opened at all.
    const auto needed = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (file.exists() && (file.permissions() & needed) != needed && !file.setPermissions(file.permissions() | needed))
        throw FileError(file.errorString());
    // ReadWrite without Truncate creates a missing file and leaves an existing one alone.
    if (!file.open(QIODevice::ReadWrite))
        throw FileError(file.errorString());
}

} // namespace

QByteArray openAndReadAll(const QString &path)
{
    unlockAndCreate(path);
    return files::readAll(path);
}

} // namespace store::ini
