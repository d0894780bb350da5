// A small file layer in place of the Windows scripting runtime's file-system object: folders and
// 8-bit text streams with CR LF line ends. Every failing operation throws FileError with the
// system's description of the failure.
#pragma once

#include <memory>

#include <QString>

class QFile;

namespace store {

class TextStream
{
public:
    TextStream(TextStream &&) noexcept;
    TextStream &operator=(TextStream &&) noexcept;
    ~TextStream();

    // Writes the text and CR LF, through to the disk. When the disk takes only part of the line,
    // the part is cut off again, so that the file never ends in half a line, and it throws.
    void writeLine(const QString &text);
    // The next line without its end; CR LF and a lone LF both end a line.
    QString readLine();
    bool atEndOfStream() const;
    void close();

private:
    friend class FileSystem;
    explicit TextStream(std::unique_ptr<QFile> file);

    std::unique_ptr<QFile> m_file;
};

enum class IOMode { ForReading = 1, ForAppending = 8 };

class FileSystem
{
public:
    bool folderExists(const QString &path) const;
    // Throws when the path is not a folder.
    void getFolder(const QString &path) const;
    void createFolder(const QString &path) const;
    bool fileExists(const QString &path) const;
    // Creates the file when missing; an existing file keeps its content.
    TextStream createTextFile(const QString &path) const;
    TextStream openTextFile(const QString &path, IOMode mode, bool create) const;

    // Gets the folder when it exists and creates it otherwise, as every caller does first.
    void makeSureOfFolder(const QString &path) const;
    // Creates the file when missing, then appends the line with CR LF and closes the file.
    void appendLine(const QString &path, const QString &line) const;
};

} // namespace store
