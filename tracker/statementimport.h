// Importing exchange statements without a window: each file copied into the statements folder and
// reconciled against the bets and the ledger as they stand, with a line of what it held.
#pragma once

#include <functional>

#include <QStringList>

namespace history {

struct ImportOutcome
{
    QStringList reports; // a line per file imported: its format, lines, new, matched and proposed
    QStringList failures; // a line per file that could not be: its name and why
};

// Reads the data folder's records and ledger first, so that its event loop runs; throws
// store::FileError when they cannot be read.
ImportOutcome importStatements(const QString &dataFolder, const QStringList &paths);

} // namespace history
