// The totals tab of accounts: a row per bookmaker and per exchange with the money deposited,
// withdrawn and settled there, what open bets tie up, the balance and what is available; and under
// it the form that records a deposit, a withdrawal or an account's status in the ledger. A mistaken
// entry is undone by its reverse, never by editing the file.
#pragma once

#include <functional>

#include <QWidget>

#include "history/totals.h"
#include "history/totalspage.h"
#include "store/ledger.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace history {

class AccountsPage final : public QWidget, public TotalsPage
{
    Q_OBJECT

public:
    // Records the entry in the ledger, and reports a failure itself; true when it was recorded.
    using Record = std::function<bool(const store::LedgerEntry &entry)>;

    explicit AccountsPage(QWidget *parent = nullptr);
    void setRecord(Record record) { m_record = std::move(record); }
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;

private:
    void recordMoney(store::LedgerAction action);
    void recordStatus();
    std::optional<QString> account();
    void recordEntry(const store::LedgerEntry &entry);

    QString cell(int row, int column) const;

    Record m_record;
    SharedTotals m_totals; // whose accounts the table shows
    QTableView *m_table = nullptr;
    QComboBox *m_account = nullptr;
    QLineEdit *m_amount = nullptr;
    QComboBox *m_status = nullptr;
    QLineEdit *m_note = nullptr;
    QLabel *m_problem = nullptr;
};

} // namespace history
