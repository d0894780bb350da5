#include "store/inifile.h"

#include <QFile>

#include "store/fileerror.h"
#include "store/files.h"

namespace store::ini {

namespace {

void createAndUnlock(QFile &file)
{
    // ReadWrite without Truncate creates a missing file and leaves an existing one alone.
    if (!file.open(QIODevice::ReadWrite))
        throw FileError(file.errorString());
    file.close();
    // Stands in for resetting the file's attributes to "archive" alone: readable and writable afterwards.
    const auto needed = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if ((file.permissions() & needed) != needed && !file.setPermissions(file.permissions() | needed))
        throw FileError(file.errorString());
}

} // namespace

QString openAndReadAll(const QString &path)
{
    QFile file(path);
    createAndUnlock(file);
    return files::textFromFile(files::readAll(path));
}

QString lowerSameLength(const QString &text)
{
    QString lower = text;
    for (QChar &c : lower)
        c = c.toLower();
    return lower;
}

} // namespace store::ini
