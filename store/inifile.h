// Helpers shared by the settings reader and writer: the opening step both run first,
// and the per-character lower-casing that keeps positions in step with the original text.
#pragma once

#include <QByteArray>
#include <QString>

namespace store::ini {

// Creates the file empty when it is missing, makes it readable and writable by its owner,
// and returns its whole content as text. Throws FileError on failure.
QString openAndReadAll(const QString &path);

// Lower-cases each UTF-16 unit on its own, so the result has the same length and positions.
QString lowerSameLength(const QString &text);

} // namespace store::ini
