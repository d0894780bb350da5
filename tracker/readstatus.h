// The line above the history's table that says what was read from where: how many records, the
// lines that are none, a file that could not be read, and settlements whose bet is gone.
#pragma once

#include <QString>

#include "tracker/archivefollower.h"

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

// The facts of the follower as it stands.
ReadFacts readFacts(const ArchiveFollower &follower);

} // namespace history
