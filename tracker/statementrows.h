// The Statements tab's rows: a row per statement line, in time order, with the bets it matched and
// what the reconciling found; and the settled bets that no line covers.
#pragma once

#include <QLocale>

#include "tracker/reconcile.h"

namespace history {

struct StatementRow
{
    std::size_t entry = 0;
    int market = -1; // in the reconciliation's markets; -1: no market line
    bool transfer = false; // a deposit or withdrawal the ledger lacks
    QString bets; // the events of the bets matched; "no bet" for a market line none matches
    QString state;
};

std::vector<StatementRow> statementRows(const Reconciliation &result, const HistoryView &view, const QLocale &locale);

// "Lay won" or "Back won, Lay won": the outcomes in the order of their bets.
QString outcomeSetText(const OutcomeSet &outcomes);

// The lines of an account's statements that the ledger does not hold yet, and the gaps in its
// balances, a text each ("13/12/2026 19:25 Deposit Ref: 2: 40.00"), the first few of them.
QStringList unresolvedTexts(const Reconciliation &result, const QString &foldedAccount, const QLocale &locale);

// Whether the row has something to record: outcomes proposed, a commission netting not booked, or a
// deposit or withdrawal.
bool hasProposal(const StatementRow &row, const Reconciliation &result);

} // namespace history
