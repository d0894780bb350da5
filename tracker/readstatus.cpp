#include "tracker/readstatus.h"

#include <QDir>
#include <QStringList>

#include "calc/numbertext.h"
#include "text/counted.h"

namespace history {

namespace {

QString filesRead(const ReadFacts &facts)
{
    QStringList files {facts.archive};
    if (facts.offersExist)
        files << facts.offers;
    if (facts.ledgerExists)
        files << facts.ledger;
    if (files.size() == 1)
        return files.first();
    const QString last = files.takeLast();
    return files.join(QLatin1String(", ")) + QLatin1String(" and ") + last;
}

} // namespace

QString heldFreeBetsText(const FreeBetTotals &freeBets)
{
    if (freeBets.rows.empty())
        return {};
    const QLocale locale;
    QString text = QStringLiteral("%1 held (%2)")
                       .arg(text::counted(freeBets.held, QStringLiteral("free bet"), QStringLiteral("free bets")),
                           calc::formatPennies(freeBets.heldValue, locale));
    if (freeBets.dueSoon > 0)
        text += QStringLiteral(", %1 expiring within two days").arg(freeBets.dueSoon);
    if (freeBets.expiredUnused > 0)
        text += QStringLiteral(", expired unused: %1").arg(calc::formatPennies(freeBets.expiredUnused, locale));
    return text + QStringLiteral(". ");
}

QString readStatusText(const ReadFacts &facts)
{
    const ReadReport &report = facts.report;
    QString status;
    if (!report.failure.isEmpty())
        status = QStringLiteral("Could not read %1.").arg(report.failure);
    else if (facts.loading && facts.records == 0)
        status = QStringLiteral("Reading %1...").arg(facts.archive);
    else if (facts.records == 0 && report.unread.count == 0)
        status = QStringLiteral("No bets archived yet: press Archive in the calculator after each bet, and they "
                                "appear here (%1).")
                     .arg(facts.archive);
    else
        status = QStringLiteral("%1 from %2.")
                     .arg(text::counted(facts.records, QStringLiteral("record"), QStringLiteral("records")),
                         filesRead(facts));
    if (report.unread.count > 0)
        status += QStringLiteral(" %1 could not be read as records and %2 left out: %3")
                      .arg(text::counted(report.unread.count, QStringLiteral("line"), QStringLiteral("lines")),
                          report.unread.count == 1 ? "is" : "are", report.unread.samples.join(QStringLiteral("; ")));
    if (facts.settlementsWithoutBet > 0)
        status += QStringLiteral(" %1 no longer archived; the ledger keeps %2.")
                      .arg(text::counted(facts.settlementsWithoutBet, QStringLiteral("settlement whose bet is"),
                               QStringLiteral("settlements whose bets are")),
                          facts.settlementsWithoutBet == 1 ? QStringLiteral("it") : QStringLiteral("them"));
    return status;
}

ReadFacts readFacts(const ArchiveFollower &follower)
{
    return {follower.report(), QDir::toNativeSeparators(follower.archivePath()),
        QDir::toNativeSeparators(follower.offersPath()), QDir::toNativeSeparators(follower.ledgerPath()),
        follower.records().size(), follower.isLoading(), follower.offersFileExists(), follower.ledgerExists(),
        follower.ledger().settlementsWithoutBet()};
}

} // namespace history
