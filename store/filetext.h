// Text as the data files hold it: 8-bit, in the system's encoding.
#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// The 8-bit code page that a data file is written in: the system's (on Windows its ANSI code page),
// or Windows-1252, the code page the data files come from, which a test can ask for on any system.
enum class CodePage { System, Windows1252 };

// Bytes that are not valid in the system's encoding are read as Windows-1252.
QString textFromFile(const QByteArray &bytes);

// UTF-8 where the bytes are valid UTF-8, Windows-1252 where they are not: a file that comes from
// elsewhere, such as an exchange's statement, whatever the system's encoding.
QString textFromUtf8OrWindows1252(QByteArrayView bytes);

// Characters the code page has no byte for are lost; see codePageHolds.
QByteArray textForFile(const QString &text, CodePage codePage = CodePage::System);

// True when the code page holds every character of the text, so that it reads back as written.
bool codePageHolds(const QString &text, CodePage codePage = CodePage::System);

} // namespace store
