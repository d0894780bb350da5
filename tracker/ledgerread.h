// The ledger's lines as the history reads them: the decisions about the bets they name, the
// accounts' deposits, withdrawals and status, the free bets, and the lines that are no entries.
#pragma once

#include <QStringList>

#include "tracker/betdecision.h"
#include "tracker/freebets.h"
#include "tracker/unreadlines.h"

namespace history {

struct LedgerBatch
{
    BetDecisions bets; // as read
    QStringList texts; // outcome keys and exchange names
    AccountBook accounts; // deposits and withdrawals added up, the latest status
    AccountLines accountLines;
    std::vector<FreeBetLine> freeBets; // in the order of their lines
    QString lastExchange; // of the latest settle line
    UnreadLines unread;
    QByteArray bytes; // the lines read, for the follower's look at what changed
    qint64 end = 0;
    qint64 linesRead = 0;
};

// Reads the ledger from a byte on. Throws store::FileError.
LedgerBatch readLedgerBatch(const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes);

} // namespace history
