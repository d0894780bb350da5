#include "filesystem.h"

#include <filesystem>
#include <system_error>

#include <QFile>
#include <QFileInfo>

#include "fileerror.h"

namespace store {

namespace {

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

QString describe(const std::error_code &error)
{
    return QString::fromLocal8Bit(error.message());
}

std::unique_ptr<QFile> openFile(const QString &path, QIODevice::OpenMode mode)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(mode))
        throw FileError(file->errorString());
    return file;
}

} // namespace

TextStream::TextStream(std::unique_ptr<QFile> file)
    : m_file(std::move(file))
{ }

TextStream::TextStream(TextStream &&) noexcept = default;
TextStream &TextStream::operator=(TextStream &&) noexcept = default;
TextStream::~TextStream() = default;

void TextStream::writeLine(const QString &text)
{
    const qint64 sizeBefore = m_file->size();
    const QByteArray bytes = text.toLocal8Bit() + "\r\n";
    if (m_file->write(bytes) == bytes.size())
        return;
    const QString failure = m_file->errorString();
    m_file->resize(sizeBefore);
    throw FileError(failure);
}

QString TextStream::readLine()
{
    QByteArray line = m_file->readLine();
    if (line.isNull() && m_file->error() != QFileDevice::NoError)
        throw FileError(m_file->errorString());
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

bool TextStream::atEndOfStream() const
{
    return m_file->atEnd();
}

void TextStream::close()
{
    m_file->close();
}

bool FileSystem::folderExists(const QString &path) const
{
    return QFileInfo(path).isDir();
}

void FileSystem::getFolder(const QString &path) const
{
    std::error_code error;
    if (!std::filesystem::is_directory(nativePath(path), error))
        throw FileError(error ? describe(error) : describe(std::make_error_code(std::errc::not_a_directory)));
}

void FileSystem::createFolder(const QString &path) const
{
    std::error_code error;
    std::filesystem::create_directory(nativePath(path), error);
    if (error)
        throw FileError(describe(error));
}

bool FileSystem::fileExists(const QString &path) const
{
    return QFileInfo(path).isFile();
}

TextStream FileSystem::createTextFile(const QString &path) const
{
    return TextStream(openFile(path, QIODevice::WriteOnly | QIODevice::Append));
}

TextStream FileSystem::openTextFile(const QString &path, IOMode mode, bool create) const
{
    if (!create && !QFileInfo::exists(path))
        throw FileError(describe(std::make_error_code(std::errc::no_such_file_or_directory)));
    // Unbuffered, so that a line the disk refused is not written again from a buffer on closing.
    if (mode == IOMode::ForAppending)
        return TextStream(openFile(path, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered));
    if (!QFileInfo::exists(path))
        createTextFile(path).close();
    return TextStream(openFile(path, QIODevice::ReadOnly));
}

void FileSystem::makeSureOfFolder(const QString &path) const
{
    if (folderExists(path))
        getFolder(path);
    else
        createFolder(path);
}

void FileSystem::appendLine(const QString &path, const QString &line) const
{
    if (!fileExists(path))
        createTextFile(path).close();
    TextStream stream = openTextFile(path, IOMode::ForAppending, true);
    stream.writeLine(line);
    stream.close();
}

} // namespace store
