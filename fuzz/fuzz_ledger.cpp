// Feeds arbitrary bytes to what the history reads the ledger with: its lines, their fields, a bet's
// name and an amended bet's texts. Nothing may crash; a bet's or a free bet's name read from a line,
// written again, reads back as the same, and a mending's three texts part again as they were joined.
#include <cstdint>
#include <cstdlib>

#include <QByteArray>

#include "store/archivereader.h"
#include "store/ledger.h"
#include "text/lines.h"
#include "tracker/settlements.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    text::Lines lines(input);
    for (QByteArrayView line; lines.next(line);) {
        const store::ParsedLedgerLine parsed = store::parseLedgerLine(line);
        if (parsed.kind != store::LedgerLineKind::Entry)
            continue;
        store::outcomeText(parsed.outcome);
        store::nameText(parsed.account);
        store::nameText(parsed.note);
        if (parsed.freeBet) {
            const QByteArray drop
                = "2,2026-12-08T14:05:00,dropfreebet,," + store::freeBetIdText(*parsed.freeBet) + ",,,,";
            if (store::parseLedgerLine(drop).freeBet != parsed.freeBet)
                std::abort();
        }
        if (!parsed.record)
            continue;
        const QByteArray reopen = "1,2026-12-08T14:05:00,reopen," + store::recordIdText(*parsed.record) + ",,,,";
        if (store::parseLedgerLine(reopen).record != parsed.record)
            std::abort();
    }
    const QString text = QString::fromUtf8(input);
    const qsizetype third = text.size() / 3;
    const history::Mending mending {text.first(third), text.sliced(third, third), text.sliced(2 * third), {}};
    const history::Mending parted = history::Mending::parted(mending.joined());
    if (parted.event != mending.event || parted.bookmaker != mending.bookmaker || parted.note != mending.note)
        std::abort();
    history::Mending::parted(text); // a text that was never joined
    return 0;
}
