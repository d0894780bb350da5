// The ledger, vantrelLedger.csv: what the user decided about bets (their outcomes, their removal,
// the exchange of their lays) and about accounts (deposits, withdrawals, status, type), one CSV line each, UTF-8, after
// a header row, only ever appended to with the archive's safety. Free bets (received, used, given up)
// are lines of version 2, which carry an expiry date after the note; every other line stays of
// version 1, which a program that knows no free bets still reads. The latest line for a bet or an account decides; a
// mistake is undone by a new line. A bet is named by its file, the SHA-256 of its line's bytes and how many identical
// lines come before it in that file, which appends, trims elsewhere and restores from a backup all leave as it was.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "store/filelock.h"
#include "store/sha256.h"

namespace store {

// The two files whose lines are bets.
enum class RecordSource : std::uint8_t { Archive, Offers };

// Exchange names the exchange a bet's lays are at (Account); AccountType says whether an account is
// a bookmaker's or an exchange's (Outcome "bookmaker" or "exchange"); Amend mends a bet's event
// (Outcome), bookmaker (Account) and note, shown over its archived line, which stays as written.
// FreeBet records a free bet received (Record: the bet that earned it, if any; Outcome "snr" or
// "sr"; Amount; Account the bookmaker; Expires); UseFreeBet links a bet (Record; none: unlinked) to
// a free bet (Outcome its name); DropFreeBet gives one up (Outcome its name; Note why). Adjust
// corrects an account's balance by an amount no bet or transfer explains (Amount; Account; Note
// why, such as the market whose commission the exchange netted).
enum class LedgerAction {
    Settle,
    Reopen,
    Remove,
    Restore,
    Deposit,
    Withdraw,
    Status,
    Exchange,
    AccountType,
    Amend,
    FreeBet,
    UseFreeBet,
    DropFreeBet,
    Adjust
};

bool isFreeBetAction(LedgerAction action);
// The version of the lines of an action: 2 for the free bets' and adjustments, 1 for those any
// version reads.
int versionOf(LedgerAction action);

enum class LedgerField { Version, Date, Action, Record, Outcome, Amount, Account, Note, Expires };
inline constexpr int ledgerFormatVersion = 2;

struct RecordId
{
    RecordSource source = RecordSource::Archive;
    Sha256 digest {};
    int occurrence = 0; // identical lines before it in its file
    bool operator==(const RecordId &) const = default;
};

// "log:" or "offers:", the digest in lower-case hex, ":" and the occurrence.
QByteArray recordIdText(const RecordId &id);

// A free bet is named by its freebet line: the SHA-256 of the line without its line end, and how
// many identical freebet lines come before it in the ledger.
struct FreeBetId
{
    Sha256 digest {};
    int occurrence = 0;
    bool operator==(const FreeBetId &) const = default;
};

// "free:", the digest in lower-case hex, ":" and the occurrence.
QByteArray freeBetIdText(const FreeBetId &id);
std::optional<FreeBetId> freeBetIdOf(QByteArrayView text);

struct LedgerEntry
{
    QDateTime when;
    LedgerAction action = LedgerAction::Settle;
    std::optional<RecordId> record; // bet actions only; a free bet's, when a bet earned it
    QString outcome; // a settle's figure key, "void" or "other"; a status's word; an amend's event; a free bet's kind,
                     // or the name of the one used or given up
    std::optional<double> amount; // a settle's profit, a deposit's or withdrawal's money, a free bet's value
    QString account; // a settle's exchange; the account of the others
    QString note;
    QDate expires; // a free bet's; none: no expiry
};

QByteArray ledgerHeader();
// The entry's line, without a line end; money to the penny with "." and no grouping.
QByteArray ledgerLine(const LedgerEntry &entry);

// Appends the entries in one write, after the header when the file is new or empty. Throws FileError.
void appendToLedger(const QString &folder, const QList<LedgerEntry> &entries,
    std::chrono::milliseconds lockWait = files::FileLock::longestWait);

// What a line of the file is.
enum class LedgerLineKind { Entry, Header, Unreadable, LaterVersion };

// A line of the file as read, its fields checked; the texts as the file writes them, which the
// functions below make the user's again.
struct ParsedLedgerLine
{
    LedgerLineKind kind = LedgerLineKind::Unreadable;
    qint64 moment = 0; // see text::momentOf; the time as written, local to whoever wrote it
    LedgerAction action = LedgerAction::Settle;
    std::optional<RecordId> record; // bet actions only
    QByteArrayView outcome;
    std::optional<FreeBetId> freeBet; // usefreebet and dropfreebet
    std::optional<double> amount;
    QByteArrayView account;
    QByteArrayView note;
    QDate expires;
};

ParsedLedgerLine parseLedgerLine(QByteArrayView line);

// The first record a bet line of the ledger names that passes the test: the whole name of a bet
// known by part of it. Nothing when none does, or there is no ledger. Throws FileError.
std::optional<RecordId> recordNamedInLedger(const QString &folder, const std::function<bool(const RecordId &)> &wanted);
// A settle's figure key, "void" or "other"; a status's word.
QString outcomeText(QByteArrayView outcome);
// An account's name or a note, as the user typed it.
QString nameText(QByteArrayView written);

} // namespace store
