// The line above the history's table that says what was read from where: how many records, the
// lines that are none, a file that could not be read, and settlements whose bet is gone; before all
// that the free bets held.
#pragma once

#include <QString>

#include "tracker/archivefollower.h"
#include "tracker/freebetrows.h"

namespace history {

struct ReadFacts
{
    ReadReport report;
    QString archive; // the files' paths, in the platform's separators
    QString offers;
    QString ledger;
    qsizetype records = 0;
    bool loading = false;
    bool offersExist = false;
    bool ledgerExists = false;
    int settlementsWithoutBet = 0;
};

QString readStatusText(const ReadFacts &facts);

// What the status line says first where the ledger holds free bets: how many are held and their
// value, how many expire within two days, and the value of those that expired unused, as
// "2 free bets held (25.00), 1 expiring within two days, expired unused: 20.00. "; nothing without any.
QString heldFreeBetsText(const FreeBetTotals &freeBets);

// The facts of the follower as it stands.
ReadFacts readFacts(const ArchiveFollower &follower);

} // namespace history
