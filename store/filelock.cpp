#include "store/filelock.h"

#include <chrono>
#include <thread>

#include <QDir>
#include <QFileDevice>

#include "store/fileerror.h"
#include "store/files.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <sys/file.h>
#endif

namespace store::files {

namespace {

using namespace std::chrono_literals;

constexpr auto pause = 5ms;

[[noreturn]] void keptByAnother(const QString &path)
{
    throw FileLocked(QStringLiteral("%1 is locked by another program").arg(QDir::toNativeSeparators(path)));
}

} // namespace

#ifdef Q_OS_WIN

FileLock::FileLock(QFileDevice &, const QString &path, std::chrono::milliseconds wait)
{
    // A handle of its own: the lock belongs to it, and the file's writes go through the other.
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
        GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw FileError(qt_error_string(int(GetLastError())));
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        OVERLAPPED farBeyondTheEnd {};
        farBeyondTheEnd.OffsetHigh = 0x7FFFFFFF;
        if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &farBeyondTheEnd))
            break;
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            CloseHandle(handle);
            throw FileError(qt_error_string(int(error)));
        }
        if (std::chrono::steady_clock::now() > deadline) {
            CloseHandle(handle);
            keptByAnother(path);
        }
        std::this_thread::sleep_for(pause);
    }
    m_handle = handle;
}

FileLock::~FileLock()
{
    // Closing the handle releases its lock.
    CloseHandle(static_cast<HANDLE>(m_handle));
}

#else

FileLock::FileLock(QFileDevice &file, const QString &path, std::chrono::milliseconds wait)
    : m_descriptor(file.handle())
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(m_descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            // A file system without locks (some network shares) appends as before.
            if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) {
                m_descriptor = -1;
                return;
            }
            throw FileError(QString::fromLocal8Bit(std::strerror(errno)));
        }
        if (std::chrono::steady_clock::now() > deadline)
            keptByAnother(path);
        std::this_thread::sleep_for(pause);
    }
}

FileLock::~FileLock()
{
    if (m_descriptor >= 0)
        ::flock(m_descriptor, LOCK_UN);
}

#endif

ReplaceLock::ReplaceLock(const QString &path, std::chrono::milliseconds wait)
    : m_lock(path + QStringLiteral(".lock"))
{
    requireRegularFileOrNothing(path + QStringLiteral(".lock")); // a folder in its place is never free
    if (m_lock.tryLock(int(wait.count())))
        return;
    if (m_lock.error() == QLockFile::LockFailedError)
        keptByAnother(path);
    throw FileError(QStringLiteral("%1 cannot be locked for saving").arg(QDir::toNativeSeparators(path)));
}

} // namespace store::files
