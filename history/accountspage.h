// The totals tab of accounts: a row per bookmaker and per exchange with the money deposited,
// withdrawn and settled there, what open bets tie up, the balance and what is available, and a
// total row; beside an exchange's balance the latest in its statements and the difference, red
// where the statement lines not yet in the ledger do not explain it; under it the form that records a deposit, a
// withdrawal, an account's status or type in the ledger, and the list of those entries. A mistaken entry is undone by
// its reverse, never by editing the file.
#pragma once

#include <functional>

#include <QWidget>

#include "history/totalspage.h"
#include "store/ledger.h"
#include "tracker/reconcile.h"
#include "tracker/totals.h"
#include "ui/message.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
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
    void setConfirm(ui::ConfirmSink confirm) { m_confirm = std::move(confirm); }
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;
    // The statements' balances to show beside the accounts'.
    void showStatementBalances(std::shared_ptr<const Reconciliation> result);

signals:
    // "Import statement...": exchange statements to import and reconcile.
    void importChosen();

private:
    QLayout *createForm();
    void createEntries();
    void setTabOrder();
    // The amount typed, to the penny; nothing, with the problem shown, for what is no amount.
    std::optional<calc::Pennies> typedAmount();
    void recordMoney(store::LedgerAction action);
    void recordWord(store::LedgerAction action, const QString &word);
    void reverseLatest();
    std::optional<QString> account();
    void recordEntry(const store::LedgerEntry &entry);
    void enableReverse();

    QString cell(int row, int column) const;
    QString entryCell(int row, int column) const;
    const AccountRow *accountNamed(const QString &name) const;
    // The statements' balance of the row's account, and its difference from the history's.
    const StatementBalance *statementBalance(int row) const;
    std::optional<calc::Pennies> difference(int row) const;
    QString differenceNote(int row) const;
    void showRows();

    Record m_record;
    ui::ConfirmSink m_confirm;
    SharedTotals m_totals; // whose accounts the table shows
    std::shared_ptr<const Reconciliation> m_statements;
    QTableView *m_table = nullptr;
    QComboBox *m_account = nullptr;
    QLineEdit *m_amount = nullptr;
    QLineEdit *m_note = nullptr;
    QPushButton *m_deposit = nullptr;
    QPushButton *m_withdraw = nullptr;
    QComboBox *m_status = nullptr;
    QPushButton *m_setStatus = nullptr;
    QComboBox *m_type = nullptr;
    QPushButton *m_setType = nullptr;
    QLabel *m_problem = nullptr;
    QTableView *m_entries = nullptr;
    QPushButton *m_reverse = nullptr;
    QPushButton *m_import = nullptr;
};

} // namespace history
