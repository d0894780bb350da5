// The matching of the ledger's decisions to the records they name, by file, digest and how many
// identical lines come before.
#pragma once

#include <atomic>

#include "tracker/decisionapply.h"

namespace history {

// Finds the records that the merged decisions name, in one pass over the records counting identical
// lines, and applies each decision found to its record's settlement in the table. Returns the
// decisions whose bets are in neither file, still merged. Once stop is set it ends early, with what
// it found so far: the caller is going.
BetDecisions resolveDecisions(const RecordsView &records, BetDecisions decisions, const QStringList &texts,
    SettlementTable &table, const std::atomic<bool> &stop);

} // namespace history
