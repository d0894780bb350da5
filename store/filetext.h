// Text as the data files hold it: 8-bit, in the system's encoding.
#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// Bytes that are not valid in the system's encoding are read as Windows-1252, the code page that
// the data files come from.
QString textFromFile(const QByteArray &bytes);

QByteArray textForFile(const QString &text);

} // namespace store
