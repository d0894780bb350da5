// An operating-system lock on an open file that every program appending to it takes, so that
// appends from several programs at once follow one another whole. Readers are never held up: on
// Linux the lock is advisory, and on Windows it covers a byte far beyond any file's end.
#pragma once

#include <chrono>

#include <QLockFile>
#include <QString>

class QFileDevice;

namespace store::files {

class FileLock
{
public:
    // Appends take milliseconds; a lock kept longer belongs to a program that hangs.
    static constexpr std::chrono::milliseconds longestWait {10'000};

    // Waits until the lock is the caller's; throws FileLocked when another program keeps it for
    // all of `wait`, FileError when the system cannot lock the file.
    FileLock(QFileDevice &file, const QString &path, std::chrono::milliseconds wait = longestWait);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    void *m_handle = nullptr; // Windows: the handle that holds the lock
    int m_descriptor = -1; // elsewhere: the locked file's descriptor
};

// A lock for a file that is read, changed and replaced whole: a lock on the file itself would stay
// with the file replaced, so the lock is a file beside it ("<file>.lock", as Qt's settings files
// take it), never replaced, and one left by a program that was killed is seen through.
class ReplaceLock
{
public:
    // A save takes milliseconds; a lock kept longer belongs to a program that hangs.
    static constexpr std::chrono::milliseconds longestWait {2'000};

    // Throws FileLocked when another program keeps it for all of `wait`, FileError when the lock
    // cannot be made.
    explicit ReplaceLock(const QString &path, std::chrono::milliseconds wait = longestWait);

private:
    QLockFile m_lock;
};

} // namespace store::files
