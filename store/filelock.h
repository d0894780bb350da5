// An operating-system lock on an open file that every program appending to it takes, so that
// appends from several programs at once follow one another whole. Readers are never held up: on
// Linux the lock is advisory, and on Windows it covers a byte far beyond any file's end.
#pragma once

#include <QString>

class QFileDevice;

namespace store::files {

class FileLock
{
public:
    // Waits until the lock is the caller's; throws FileError when another program keeps it for
    // seconds on end, or the system cannot lock the file.
    FileLock(QFileDevice &file, const QString &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    void *m_handle = nullptr; // Windows: the handle that holds the lock
    int m_descriptor = -1; // elsewhere: the locked file's descriptor
};

} // namespace store::files
