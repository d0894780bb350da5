// The ledger's lines as the history reads them: the latest decision about each bet they name, the
// accounts' deposits, withdrawals and status, and the lines that are no entries. And the matching of
// decisions to the records they name, by file, digest and how many identical lines come before.
#pragma once

#include <atomic>
#include <tuple>
#include <vector>

#include <QHash>
#include <QStringList>

#include "history/betrecords.h"
#include "history/settlements.h"

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

struct KeyedDecision
{
    BetKey key;
    BetDecision decision;
};

// Decisions about bets: as read, in the order of their lines; once merged, in the order of their
// keys, the latest decision about each bet alone.
using BetDecisions = std::vector<KeyedDecision>;

struct LedgerBatch
{
    BetDecisions bets; // as read
    QStringList texts; // outcome keys and exchange names
    AccountBook accounts; // deposits and withdrawals added up, the latest status
    AccountLines accountLines;
    QString lastExchange; // of the latest settle line
    qint64 unreadCount = 0;
    QStringList unreadSamples;
    QByteArray bytes; // the lines read, for the follower's look at what changed
    qint64 end = 0;
    qint64 linesRead = 0;
};

// Reads the ledger from a byte on. Throws store::FileError.
LedgerBatch readLedgerBatch(const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes);

// A decision applied to a record: the dimensions it touched replace the settlement's, with the
// payout and caption of a settle worked out from the record's line.
struct ResolvedDecision
{
    qint64 record = 0;
    BetDecision decision;
    calc::Payout payout;
    int caption = -1; // in the texts of the decisions
    int exchange = -1;
    int mended = -1;
};

// Decisions with the captions and exchange names they name, each text once: a million decisions
// hold a few texts.
struct ResolvedDecisions
{
    std::vector<ResolvedDecision> list;
    QStringList texts;

    int textId(const QString &text);

private:
    QHash<QString, int> m_ids;
};

// Finds the records that the merged decisions name, in one pass over the records counting identical
// lines, and applies each decision found to its record's settlement in the table. Returns the
// decisions whose bets are in neither file, still merged. Once stop is set it ends early, with what
// it found so far: the caller is going.
BetDecisions resolveDecisions(const RecordsView &records, BetDecisions decisions, const QStringList &texts,
    SettlementTable &table, const std::atomic<bool> &stop);

// Every decision applied to its record's settlement in the table: the dimensions it touched
// replace the settlement's.
void applyAll(const ResolvedDecisions &decisions, SettlementTable &table);

} // namespace history
