#include "store/files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include "store/fileerror.h"
#include "store/filelock.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace store::files {

namespace {

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

QString describe(const std::error_code &error)
{
    return QString::fromLocal8Bit(error.message());
}

void openOrThrow(QFileDevice &file, QIODevice::OpenMode mode)
{
    if (!file.open(mode))
        throw FileError(file.errorString());
}

// Writes on after a short write, so that a disk that filled up midway reports why (no space left
// on the device) instead of a count that falls short without a reason.
bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

// A CR LF, a LF or, in a file of old Mac line ends, a CR alone ends the file's last line.
bool endsInsideALine(QFile &file)
{
    const qint64 size = file.size();
    char last = '\n';
    return size > 0 && file.seek(size - 1) && file.getChar(&last) && last != '\n' && last != '\r';
}

} // namespace

void makeSureOfFolder(const QString &path)
{
    requireFolderOrNothing(path);
    const std::filesystem::path folder = nativePath(path);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        std::filesystem::create_directory(folder, error);
    if (error)
        throw FileError(describe(error));
}

void requireFolderOrNothing(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        throw FileError(QStringLiteral("%1 is a file, not a folder").arg(QDir::toNativeSeparators(path)));
}

void requireRegularFileOrNothing(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return;
    const QString name = QDir::toNativeSeparators(path);
    throw FileError(info.isDir() ? QStringLiteral("%1 is a folder, not a file").arg(name)
                                 : QStringLiteral("%1 is not a regular file").arg(name));
}

void appendLine(const QString &path, const QByteArray &line)
{
    appendLines(path, {line});
}

void appendLines(
    const QString &path, const QList<QByteArray> &lines, const QByteArray &header, std::chrono::milliseconds lockWait)
{
    requireRegularFileOrNothing(path);
    // Unbuffered, so that a line the disk refused is not written again from a buffer on closing.
    QFile file(path);
    openOrThrow(file, QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered);
    const FileLock lock(file, path, lockWait);
    const qint64 sizeBefore = file.size();
    QByteArray bytes;
    if (sizeBefore == 0 && !header.isEmpty())
        bytes = header + "\r\n";
    else if (endsInsideALine(file))
        bytes = "\r\n";
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    if (file.seek(sizeBefore) && writeAll(file, bytes))
        return;
    const QString failure = file.errorString();
    // No other program appends while the lock is held, so the bytes cut off are this call's own.
    file.resize(sizeBefore);
    throw FileError(failure);
}

void createIfMissing(const QString &path, const QByteArray &bytes)
{
    requireRegularFileOrNothing(path);
    if (QFileInfo::exists(path))
        return;
    QTemporaryFile draft(path + QStringLiteral(".XXXXXX"));
    openOrThrow(draft, QIODevice::WriteOnly);
    // Readable by all, as a file the program creates directly would be; a draft is the owner's alone.
    draft.setPermissions(draft.permissions() | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!writeAll(draft, bytes) || !draft.flush())
        throw FileError(draft.errorString());
    draft.close();
    // A new link never replaces an existing file: whoever links first wins, and the others keep
    // the winner's file. The draft removes itself.
    std::error_code error;
    std::filesystem::create_hard_link(nativePath(draft.fileName()), nativePath(path), error);
    if (error && !QFileInfo(path).isFile())
        throw FileError(describe(error));
}

FileStamp stampOf(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    const auto nanoseconds = [](const timespec &time) { return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec; };
    return {true, qint64(status.st_size), nanoseconds(status.st_mtim), nanoseconds(status.st_ctim),
        quint64(status.st_dev), quint64(status.st_ino)};
#elif defined(Q_OS_WIN)
    // A file is its volume and its index there; a file renamed into place is another file. Opening
    // for its attributes alone reads a file that another program holds open, and a folder too.
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
        FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info {};
    FILE_BASIC_INFO times {};
    const bool known = GetFileInformationByHandle(handle, &info)
        && GetFileInformationByHandleEx(handle, FileBasicInfo, &times, sizeof times);
    CloseHandle(handle);
    if (!known)
        return {};
    const auto joined = [](DWORD high, DWORD low) { return (quint64(high) << 32) | low; };
    return {true, qint64(joined(info.nFileSizeHigh, info.nFileSizeLow)), times.LastWriteTime.QuadPart,
        times.ChangeTime.QuadPart, info.dwVolumeSerialNumber, joined(info.nFileIndexHigh, info.nFileIndexLow)};
#endif
}

QByteArray readAll(const QString &path)
{
    requireRegularFileOrNothing(path);
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
    if (!writeAll(file, bytes) || !file.flush() || !file.commit())
        throw FileError(file.errorString());
}

} // namespace store::files
