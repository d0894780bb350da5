// The one exception of the file layer: a failed file or folder operation, carrying the
// system's description of the failure. Window handlers catch it and show it to the user.
#pragma once

#include <stdexcept>

#include <QString>

namespace store {

class FileError : public std::runtime_error
{
public:
    explicit FileError(const QString &description)
        : std::runtime_error(description.toStdString())
        , m_description(description)
    { }

    QString description() const { return m_description; }

private:
    QString m_description;
};

// Another program kept the lock on the file for all the time the caller would wait.
class FileLocked : public FileError
{
public:
    using FileError::FileError;
};

} // namespace store
