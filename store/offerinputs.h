// The offer calculators' remembered inputs, vantrelOffers.ini: a section per offer, a "key=value"
// line per input, the value as typed (quoted, with backslash escapes, where it holds characters
// that need them, as Qt's settings files write it, so files written by either read back alike).
// UTF-8, CR LF. Read and written whole through the file layer: a pipe or a device in its place is
// refused before it is opened, and a save replaces the file atomically, under a lock that makes
// saves from several windows follow one another.
#pragma once

#include <map>

#include <QString>

namespace store {

// The inputs' texts by key, per section.
using InputTexts = std::map<QString, QString>;
using OfferInputSections = std::map<QString, InputTexts>;

struct OfferInputsRead
{
    OfferInputSections sections;
    int ignored = 0; // values too long to be an input, or beyond the number an offer can have
};

// The longest value taken as an input: no number a person types comes near it.
inline constexpr qsizetype longestInputText = 256;

// Nothing at all when there is no file. Throws FileError.
OfferInputsRead readOfferInputs(const QString &folder);

// Sets the given inputs, each on the line that holds it (or a new line in its section), leaving
// every other line of the file byte for byte as it was read now: comments, lines before the first
// section, values too long to be read, sections twice. Throws FileError; the old file is then left
// whole.
void saveOfferInputs(const QString &folder, const OfferInputSections &changed);

} // namespace store
