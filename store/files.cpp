#include "store/files.h"

#include <filesystem>
#include <system_error>

#include <QFile>
#include <QSaveFile>

#include "store/fileerror.h"

namespace store::files {

namespace {

void openOrThrow(QFileDevice &file, QIODevice::OpenMode mode)
{
    if (!file.open(mode))
        throw FileError(file.errorString());
}

} // namespace

void makeSureOfFolder(const QString &path)
{
    const std::filesystem::path folder(path.toStdU16String());
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        std::filesystem::create_directory(folder, error);
    if (error)
        throw FileError(QString::fromLocal8Bit(error.message()));
}

void appendLine(const QString &path, const QByteArray &line)
{
    // Unbuffered, so that a line the disk refused is not written again from a buffer on closing.
    QFile file(path);
    openOrThrow(file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    const qint64 sizeBefore = file.size();
    const QByteArray bytes = line + "\r\n";
    if (file.write(bytes) == bytes.size())
        return;
    const QString failure = file.errorString();
    file.resize(sizeBefore);
    throw FileError(failure);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    openOrThrow(file, QIODevice::ReadOnly);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(file.errorString());
    return bytes;
}

void replaceAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    openOrThrow(file, QIODevice::WriteOnly);
    // An explicit flush: a failure to write out the last buffered bytes must stop the commit.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        throw FileError(file.errorString());
}

QString textFromFile(const QByteArray &bytes)
{
    return QString::fromLocal8Bit(bytes);
}

QByteArray textForFile(const QString &text)
{
    return text.toLocal8Bit();
}

} // namespace store::files
