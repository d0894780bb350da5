// The free bets the ledger records: each received (by a bet or from no bet), then used by a bet,
// unlinked, or given up, the latest line for it deciding. A free bet is named by its freebet line's
// SHA-256 and how many identical freebet lines come before it.
#pragma once

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QDate>
#include <QString>
#include <QStringList>

#include "tracker/betdecision.h"
#include "tracker/unreadlines.h"

namespace history {

// A freebet, usefreebet or dropfreebet line as read.
struct FreeBetLine
{
    store::LedgerAction action = store::LedgerAction::FreeBet;
    qint64 moment = noDate;
    qint64 number = 0; // of the line in the ledger
    store::Sha256 digest {}; // a freebet line's own; the named free bet's for the others
    int occurrence = 0; // the named free bet's; a freebet line's is counted as the ledger is read
    std::optional<BetKey> bet; // the bet that earned it, or that uses it; none: no bet, or unlinked
    calc::Pennies amount = 0;
    bool stakeReturned = false;
    QString bookmaker;
    QString note;
    QDate expires; // none: no expiry
};

enum class FreeBetStatus { Held, Used, Expired, Dropped };

struct FreeBet
{
    store::FreeBetId id;
    qint64 received = noDate;
    std::optional<BetKey> earnedBy;
    calc::Pennies amount = 0;
    bool stakeReturned = false;
    QString bookmaker;
    QString note;
    QDate expires;
    std::optional<BetKey> usedBy;
    bool dropped = false;
    QString dropNote;

    FreeBetStatus statusOn(QDate today) const;
    // Days from today to its expiry; none when it has no expiry.
    std::optional<qint64> daysLeftOn(QDate today) const;
    // Held on that day and expiring within the days given (0: today).
    bool dueWithin(QDate today, qint64 days) const;
};

// Whether one free bet is to be used before the other: the one expiring first, those without an
// expiry last, then the one received first.
bool toUseFirst(const FreeBet &a, const FreeBet &b);

class FreeBetBook
{
public:
    const std::vector<FreeBet> &freeBets() const { return *m_freeBets; }
    // The free bets as they stand, to be read on another thread while the book takes more.
    std::shared_ptr<const std::vector<FreeBet>> sharedFreeBets() const { return m_freeBets; }
    // Changes each time lines are taken, to a number no book had before.
    int version() const { return m_version; }
    // Bets unlinked from a free bet they were said to use: never linked again but by the user.
    const std::vector<BetKey> &unlinkedBets() const { return m_unlinkedBets; }

    // Takes the ledger's free-bet lines in the order of the file, batch after batch. Returns the
    // lines left out: those that name no free bet held, and uses of a free bet another bet uses.
    UnreadLines take(std::vector<FreeBetLine> &&lines);

private:
    struct DigestHash
    {
        std::size_t operator()(const store::Sha256 &digest) const { return std::size_t(digestKey(digest)); }
    };

    void receive(FreeBetLine &&line);
    // Why the line is left out; nothing when it is not.
    std::optional<QString> change(const FreeBetLine &line);

    // In the order of their lines; copied before a change while another thread may read them.
    std::shared_ptr<std::vector<FreeBet>> m_freeBets = std::make_shared<std::vector<FreeBet>>();
    std::vector<BetKey> m_unlinkedBets;
    int m_version = 0;
    std::unordered_map<store::Sha256, int, DigestHash> m_identical; // freebet lines read of each digest
    std::unordered_map<store::Sha256, std::vector<std::size_t>, DigestHash> m_byDigest; // into m_freeBets
};

// The held free bets that expire within two days of today, soonest first, a line each: bookmaker,
// amount and expiry ("Coral, 20.00, 2026-12-15"), as a scheduled reminder prints them.
QStringList dueFreeBets(const FreeBetBook &book, QDate today);

// The free bets of the ledger in the data folder, read whole, for a look without the window; the
// lines left out are added to leftOut. Throws store::FileError.
FreeBetBook readFreeBets(const QString &folder, UnreadLines &leftOut);

} // namespace history
