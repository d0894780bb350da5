// The free bets as the history shows them on a day: a row per free bet with the bets that earned
// and used it and what it kept, a row per offer (a bet that earned a free bet) with what the offer
// made once its qualifying result and its free bet's profit are put together, and their sums. No
// widgets, so it runs on any thread.
#pragma once

#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tracker/columns.h"
#include "tracker/freebets.h"

namespace history {

struct FreeBetRow
{
    std::size_t freeBet = 0; // in the book
    FreeBetStatus status = FreeBetStatus::Held;
    std::optional<qint64> daysLeft;
    qsizetype earnedBy = -1; // the record; -1: none, or in neither file
    qsizetype usedBy = -1;
    QString earnedByEvent;
    QString usedByEvent;
    std::optional<calc::Pennies> kept; // a used one's record's actual, or expected while open; 0 unused
    std::optional<double> retention; // kept against the amount, in per cent
};

struct OfferRow
{
    std::size_t freeBet = 0;
    qsizetype qualifier = -1;
    QString event; // the qualifier's
    std::optional<calc::Pennies> qualifying; // its actual, or expected while open
    std::optional<calc::Pennies> freeBetProfit; // kept, or what the offer expects of a held one
    std::optional<calc::Pennies> offerProfit; // the two together
    std::optional<double> retention;
    FreeBetStatus status = FreeBetStatus::Held;
    bool awaiting = false; // held while the bet that earned it is still open: it is credited once settled
};

// A free-bet record not yet linked, and the held free bet it used: the only one of its amount at its
// bookmaker, or of several such the one expiring first.
struct FoundLink
{
    qsizetype record = -1;
    std::size_t freeBet = 0;
};

struct FreeBetTotals
{
    std::vector<FreeBetRow> rows; // held first, soonest expiry first
    std::vector<OfferRow> offers; // in the order of the free bets
    int held = 0;
    calc::Pennies heldValue = 0;
    int dueSoon = 0; // held and expiring within two days
    bool dueTodayOrTomorrow = false;
    calc::Pennies expiredUnused = 0;
    calc::Pennies qualifyingLosses = 0; // the offers' qualifying results added up
    calc::Pennies freeBetProfits = 0;
    calc::Pennies offerProfits = 0;
    std::optional<double> averageRetention; // over the free bets used
    std::vector<FoundLink> links;
};

inline constexpr qint64 freeBetDueDays = 2;

// The free bets as the ledger holds them and their rows on a day: worked out again only when the
// records, the settlements, the free bets or the day change, not at every sort or filter.
struct FreeBetsShown
{
    std::shared_ptr<const std::vector<FreeBet>> freeBets = std::make_shared<const std::vector<FreeBet>>();
    FreeBetTotals totals;

    const std::vector<FreeBet> &list() const { return *freeBets; }
};
using SharedFreeBets = std::shared_ptr<const FreeBetsShown>;

// "Held", "Used", "Expired", "Dropped".
QString freeBetStatusText(FreeBetStatus status);
// An offer's: "Awaiting free bet" while its bet is open and the free bet held, else its free bet's.
QString offerStatusText(const OfferRow &offer);

// The bets whose records the free bets' rows need: each free bet's earning and using bet, then the
// bets unlinked.
std::vector<BetKey> freeBetKeys(const std::vector<FreeBet> &freeBets, const std::vector<BetKey> &unlinked);

// The records that bets are, found as records arrive: each look counts the identical lines of the
// records that came since the last, so that a million records are passed over once, not at every
// change of the settlements.
class KeyedRecords
{
public:
    // Keeps the keys; the first look sorts them.
    explicit KeyedRecords(std::vector<BetKey> keys);
    void lookAt(const RecordsView &records);
    // The record of each key, in the keys' order; -1 for a bet in neither file so far.
    const std::vector<qsizetype> &found() const { return m_found; }

private:
    std::vector<BetKey> m_keys;
    std::vector<std::pair<BetKey, std::size_t>> m_wanted; // the keys and their places, in key order
    // A bit for each digest wanted, by its low bits: most records are passed over by one bit.
    std::vector<quint64> m_maybe;
    std::unordered_set<quint64> m_digests;
    std::unordered_map<quint64, int> m_seen[2]; // identical lines so far, in each file
    std::vector<qsizetype> m_found;
    qsizetype m_looked = 0; // the records looked at
};

// The rows of the free bets on the day, from the records of their freeBetKeys() and the bets
// unlinked; a free-bet record is linked to a free bet it may have used unless it was unlinked.
FreeBetTotals freeBetTotalsOf(
    const HistoryView &view, const std::vector<FreeBet> &freeBets, const std::vector<qsizetype> &records, QDate today);

} // namespace history
