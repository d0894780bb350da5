// Feeds arbitrary bytes to what the history reads with: the line splitter, the archive's and the
// offers file's field splitters, their numbers and the date reader. Nothing may crash; every line
// lies within the bytes, and what counts as complete lines never runs past them.
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QLocale>

#include "store/archivereader.h"
#include "store/csvfield.h"
#include "store/offerfile.h"
#include "text/lines.h"
#include "text/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static store::ArchiveDates english(QLocale(QLocale::English, QLocale::UnitedKingdom));
    static store::ArchiveDates arabic(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const bool lineFeedBefore : {false, true}) {
        const qsizetype complete = text::completeLinesLength(input, lineFeedBefore);
        if (complete < 0 || complete > input.size())
            std::abort();
    }
    text::Lines lines(input);
    for (QByteArrayView line; lines.next(line);) {
        if (line.data() < input.constData() || line.data() + line.size() > input.constData() + input.size())
            std::abort();
        if (const auto fields = store::splitArchiveLine(line)) {
            english.parse((*fields)[store::ArchiveField::DateTime]);
            arabic.parse((*fields)[store::ArchiveField::DateTime]);
            text::plainNumber((*fields)[store::ArchiveField::Stake]);
        }
        if (const auto fields = store::splitOfferLine(line)) {
            for (const QByteArrayView field : *fields)
                store::csvText(field);
            store::offerNumbers((*fields)[std::size_t(store::OfferField::Inputs)]);
        }
    }
    return 0;
}
