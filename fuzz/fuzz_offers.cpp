// Feeds arbitrary bytes to what the history reads the offers file with: its lines, their fields,
// the inputs and figures, and each offer worked out again, its outcomes, settlements and export.
// Nothing may crash or hang, whatever the numbers and kinds a hand-edited line holds.
#include <cstdint>

#include <QByteArray>

#include "store/archivereader.h"
#include "text/lines.h"
#include "tracker/recordrow.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    store::ArchiveDates dates(QLocale::c());
    calc::ShapeCache shapes;
    text::Lines lines(input);
    for (QByteArrayView line; lines.next(line);) {
        QByteArrayView bookmaker;
        std::optional<history::BetRecord> record
            = history::recordOf(history::RecordSource::Offers, line, dates, bookmaker);
        if (!record)
            continue;
        history::fillOffer(*record, line, shapes);
        for (const calc::SettleOutcome &outcome : history::outcomesOf(*record, line, shapes))
            history::settledAs(*record, line, QString::fromStdString(outcome.key), std::nullopt, shapes);
        history::settledAs(*record, line, QStringLiteral("other"), calc::Pennies(-1234), shapes);
        history::offerExportOf(*record, line, shapes);
    }
    return 0;
}
