// What the user decides about bets in the history: settling them as an outcome, void or an amount
// typed, reopening, removing, restoring and mending them. Works out the ledger's lines that record the
// decision for the chosen records (their identity, the profit as archived) and the settlements to
// show at once; and which outcomes a selection of records offers.
#pragma once

#include <QDateTime>
#include <QList>

#include "calc/settle.h"
#include "store/ledger.h"
#include "tracker/columns.h"
#include "tracker/decisionmatch.h"
#include "tracker/ledgerread.h"

namespace history {

struct BetRequest
{
    store::LedgerAction action = store::LedgerAction::Settle;
    QString outcome; // a settle's figure key, "void" or "other"
    std::optional<calc::Pennies> amount; // what an "other" settle brought
    QString exchange; // where the lays are: named by an exchange line; for a bet with none, its settle's
    QString note;
    Mending mending; // an amend's, its note included
    QDate freeBetExpires; // a refund settled as a free bet: the free bet's expiry; none: never
};

// The parts to start "Other amount..." from, those of an outcome of the bet, so that a deduction is
// one edit; a bet with nothing at an exchange (a casino bonus) asks for the bookmaker's part alone.
struct OtherAmountForm
{
    calc::Payout initial;
    bool exchangeToo = true;
    int bets = 1; // each settled at the parts typed
};

struct DecisionLines
{
    QList<store::LedgerEntry> entries;
    ResolvedDecisions decisions; // to show before the lines are read back
    int refused = 0; // records whose figures do not pay the outcome
    bool needsExchange = false; // money moves at an exchange, and none is named for it
};

// The records' names in the ledger are ids, one each, in the same order. A refund settled as a free
// bet records the free bet too, at the bet's bookmaker.
DecisionLines decisionLines(const HistoryView &view, const std::vector<qsizetype> &records,
    const std::vector<store::RecordId> &ids, const BetRequest &request, const QDateTime &now);

// The ledger's names of the records, which outlive a read of the files afresh.
std::vector<store::RecordId> recordIds(const RecordsView &records, const std::vector<qsizetype> &chosen);
// The records of those names as the files stand now, in order; nothing when one of them is gone.
std::optional<std::vector<qsizetype>> recordsNamed(const RecordsView &records, const std::vector<store::RecordId> &ids);

// What the context menu offers for the selected records.
struct SettleChoices
{
    std::vector<calc::SettleOutcome> outcomes; // shared by all of them, in the order of their figures
    bool anySettled = false;
    bool anyRemoved = false; // a removed bet is restored before it is settled
    bool allRemoved = false;
};

SettleChoices settleChoices(const HistoryView &view, const std::vector<qsizetype> &records);

// What "Other amount..." starts from: for one bet the parts of its first outcome; a casino bonus's
// at the casino alone.
OtherAmountForm otherAmountForm(const HistoryView &view, const std::vector<qsizetype> &records);

} // namespace history
