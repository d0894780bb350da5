// What the ledger's lines decide about one bet: the line it names (its file, digest and how many
// identical lines come before) and the latest settling, removal, exchange and mending.
#pragma once

#include <tuple>
#include <vector>

#include "store/ledger.h"
#include "tracker/betrecords.h"
#include "tracker/settlements.h"

namespace history {

struct BetKey
{
    quint64 digest = 0;
    int occurrence = 0;
    RecordSource source = RecordSource::Archive;
    bool operator==(const BetKey &) const = default;
    // The keys of the lines of one file and digest come together, in the order of their occurrence.
    bool operator<(const BetKey &other) const
    {
        return std::tie(digest, source, occurrence) < std::tie(other.digest, other.source, other.occurrence);
    }
    bool sameLine(const BetKey &other) const { return digest == other.digest && source == other.source; }
};

// The key of the bet a ledger line names.
inline BetKey betKeyOf(const store::RecordId &id)
{
    return {digestKey(id.digest), id.occurrence, id.source};
}

// What the latest lines say about a bet: the settle dimension (settled or reopened), the removal
// dimension (removed or restored), the exchange its lays are at (named by a settle or an exchange
// line) and its event, bookmaker and note as mended, each as its latest line says, where one did.
struct BetDecision
{
    enum class Settling : std::uint8_t { Untouched, Settled, Reopened };
    enum class Removal : std::uint8_t { Untouched, Removed, Restored };

    // Largest first: a million of them are held at once.
    qint64 settledOn = noDate;
    calc::Pennies amount = 0;
    int outcome = -1; // in the texts
    int exchange = -1; // in the texts; -1: not named
    int mended = -1; // in the texts, a Mending joined; -1: never amended
    Settling settling = Settling::Untouched;
    Removal removal = Removal::Untouched;
    bool hasAmount = false;

    // The later decision's dimensions replace this one's.
    void takeLater(const BetDecision &later);
};

// The dimension a bet action touches; a settle's amount, outcome and exchange are the caller's.
BetDecision decisionOf(store::LedgerAction action, qint64 moment);

// What a bet action's line says besides the bet, which the reading of the ledger and the writing
// of decisions both go by: a settle its outcome and amount, a settle or an exchange line the
// exchange (Account), an amend the event, bookmaker and note.
struct BetLineFields
{
    bool outcome = false;
    bool exchange = false;
    bool mending = false;
};
BetLineFields fieldsOf(store::LedgerAction action);

struct KeyedDecision
{
    BetKey key;
    BetDecision decision;
};

// Decisions about bets: as read, in the order of their lines; once merged, in the order of their
// keys, the latest decision about each bet alone.
using BetDecisions = std::vector<KeyedDecision>;

} // namespace history
