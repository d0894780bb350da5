#include "history/accountspage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "calc/rounding.h"
#include "history/rowsmodel.h"
#include "tracker/columns.h"
#include "tracker/statementrows.h"
#include "ui/windowsupport.h"

namespace history {

namespace {

using store::LedgerAction;

const QStringList statusWords {"active", "limited", "gubbed", "closed"};
const QStringList typeWords {"bookmaker", "exchange"};

QPushButton *newButton(const QString &caption, QHBoxLayout *row)
{
    auto *button = new QPushButton(caption);
    row->addWidget(button);
    return button;
}

QComboBox *newChoice(const QString &name, const QStringList &words)
{
    auto *box = new QComboBox;
    box->setAccessibleName(name);
    for (const QString &word : words)
        box->addItem(accountStatusCaption(word), word);
    return box;
}

QString entryText(const AccountLine &line)
{
    switch (line.action) {
    case LedgerAction::Deposit:
        return QStringLiteral("Deposit");
    case LedgerAction::Withdraw:
        return QStringLiteral("Withdrawal");
    case LedgerAction::Adjust:
        return QStringLiteral("Adjustment");
    case LedgerAction::AccountType:
        return QStringLiteral("Type: ") + accountStatusCaption(line.word);
    default:
        return QStringLiteral("Status: ") + accountStatusCaption(line.word);
    }
}

// What the account's status or type was before the latest line of it; the first word when none.
QString wordBefore(const AccountLines &newestFirst, const AccountLine &latest, const QStringList &words)
{
    for (std::size_t i = 1; i < newestFirst.size(); ++i) {
        const AccountLine &line = newestFirst[i];
        if (line.account == latest.account && line.action == latest.action)
            return line.word;
    }
    return words.front();
}

QString money(calc::Pennies pennies)
{
    return calc::formatPennies(pennies, QLocale());
}

constexpr int differenceColumn = 10;

} // namespace

AccountsPage::AccountsPage(QWidget *parent)
    : QWidget(parent)
{
    m_table = new QTableView;
    prepareTotalsTable(m_table, QStringLiteral("Accounts"),
        new RowsModel({QStringLiteral("Account"), QStringLiteral("Type"), QStringLiteral("Status"),
                          QStringLiteral("Deposited"), QStringLiteral("Withdrawn"), QStringLiteral("Settled"),
                          QStringLiteral("In open bets"), QStringLiteral("Balance"), QStringLiteral("Available"),
                          QStringLiteral("Statement"), QStringLiteral("Difference")},
            this));
    static_cast<RowsModel *>(m_table->model())
        ->setNotes([this](int row, int column) { return column == differenceColumn ? differenceNote(row) : QString(); },
            [this](int row, int column) {
                const StatementBalance *balance = statementBalance(row);
                return column == differenceColumn && balance && !balance->explains(*difference(row));
            });
    // A click on an account names it in the form.
    connect(m_table, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (m_totals && std::size_t(index.row()) < m_totals->accounts.size())
            m_account->setEditText(m_totals->accounts[std::size_t(index.row())].name);
    });
    QLayout *form = createForm();
    createEntries();
    // The accounts above the entries that made them, the form beside both: the tab is short.
    auto *tables = new QVBoxLayout;
    tables->addWidget(m_table, 2);
    tables->addWidget(m_entries, 1);
    auto *side = new QVBoxLayout;
    side->addLayout(form);
    side->addWidget(m_reverse, 0, Qt::AlignLeft);
    side->addStretch(1);
    side->addWidget(m_import, 0, Qt::AlignLeft);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(tables, 5);
    layout->addLayout(side, 2);
    setTabOrder();
}

QLayout *AccountsPage::createForm()
{
    m_account = new QComboBox;
    ui::makeTextBox(m_account, QStringLiteral("Account"));
    m_account->setObjectName(QStringLiteral("account"));
    m_amount = ui::newTextField(QString(), this);
    m_amount->setAccessibleName(QStringLiteral("Amount"));
    m_amount->setObjectName(QStringLiteral("amount"));
    m_note = ui::newTextField(QString(), this);
    m_note->setAccessibleName(QStringLiteral("Note"));
    m_status = newChoice(QStringLiteral("Status"), statusWords);
    m_type = newChoice(QStringLiteral("Type"), typeWords);
    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("accountProblem"));
    m_problem->setTextFormat(Qt::PlainText);
    ui::setBackground(m_problem, QPalette::WindowText, Qt::darkRed);

    auto *money = new QHBoxLayout;
    money->addWidget(m_amount, 1);
    m_deposit = newButton(QStringLiteral("Deposit"), money);
    m_deposit->setObjectName(QStringLiteral("deposit"));
    m_withdraw = newButton(QStringLiteral("Withdraw"), money);
    connect(m_deposit, &QPushButton::clicked, this, [this] { recordMoney(LedgerAction::Deposit); });
    connect(m_withdraw, &QPushButton::clicked, this, [this] { recordMoney(LedgerAction::Withdraw); });
    auto *status = new QHBoxLayout;
    status->addWidget(m_status, 1);
    m_setStatus = newButton(QStringLiteral("Set status"), status);
    connect(m_setStatus, &QPushButton::clicked, this,
        [this] { recordWord(LedgerAction::Status, m_status->currentData().toString()); });
    auto *type = new QHBoxLayout;
    type->addWidget(m_type, 1);
    m_setType = newButton(QStringLiteral("Set type"), type);
    connect(m_setType, &QPushButton::clicked, this,
        [this] { recordWord(LedgerAction::AccountType, m_type->currentData().toString()); });
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Account"), m_account);
    form->addRow(QStringLiteral("Amount"), money);
    form->addRow(QStringLiteral("Note"), m_note);
    form->addRow(QStringLiteral("Status"), status);
    form->addRow(QStringLiteral("Type"), type);
    // The labels of rows that hold a button too name the field of that row.
    static_cast<QLabel *>(form->labelForField(money))->setBuddy(m_amount);
    static_cast<QLabel *>(form->labelForField(status))->setBuddy(m_status);
    static_cast<QLabel *>(form->labelForField(type))->setBuddy(m_type);
    form->addRow(m_problem);
    return form;
}

void AccountsPage::createEntries()
{
    m_entries = new QTableView;
    prepareTotalsTable(m_entries, QStringLiteral("Account entries"),
        new RowsModel({QStringLiteral("Date"), QStringLiteral("Account"), QStringLiteral("Entry"),
                          QStringLiteral("Note"), QStringLiteral("Amount")},
            this, 4));
    m_reverse = new QPushButton(QStringLiteral("Reverse"));
    m_reverse->setToolTip(QStringLiteral("Records the opposite of the latest entry"));
    m_reverse->setEnabled(false);
    connect(m_reverse, &QPushButton::clicked, this, &AccountsPage::reverseLatest);
    connect(m_entries->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &AccountsPage::enableReverse);
    m_import = new QPushButton(QStringLiteral("&Import statement..."));
    m_import->setObjectName(QStringLiteral("importStatementFromAccounts"));
    m_import->setToolTip(QStringLiteral("Imports an exchange's statement and reconciles it with the bets"));
    connect(m_import, &QPushButton::clicked, this, &AccountsPage::importChosen);
}

void AccountsPage::setTabOrder()
{
    const QList<QWidget *> order {m_account, m_amount, m_note, m_deposit, m_withdraw, m_status, m_setStatus, m_type,
        m_setType, m_entries, m_reverse, m_import};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void AccountsPage::showTotals(const SharedTotals &totals, const QStringList &)
{
    m_totals = totals;
    const std::vector<AccountRow> &accounts = m_totals->accounts;
    showRows();
    static_cast<RowsModel *>(m_entries->model())
        ->setRows(int(m_totals->accountLines.size()), [this](int row, int column) { return entryCell(row, column); });
    m_entries->resizeColumnsToContents();
    enableReverse();
    // The names to choose from; a million are more than a list can offer.
    const QString typed = m_account->currentText();
    QStringList names;
    for (std::size_t row = 0; row < std::min<std::size_t>(accounts.size(), 1000); ++row)
        names << accounts[row].name;
    const QSignalBlocker quiet(m_account);
    m_account->clear();
    m_account->addItems(names);
    m_account->setEditText(typed);
}

void AccountsPage::showStatementBalances(std::shared_ptr<const Reconciliation> result)
{
    m_statements = std::move(result);
    showRows();
}

void AccountsPage::showRows()
{
    const int rows = !m_totals || m_totals->accounts.empty() ? 0 : int(m_totals->accounts.size()) + 1;
    static_cast<RowsModel *>(m_table->model())->setRows(rows, [this](int row, int column) {
        return cell(row, column);
    });
    m_table->resizeColumnsToContents();
}

const StatementBalance *AccountsPage::statementBalance(int row) const
{
    if (!m_statements || std::size_t(row) >= m_totals->accounts.size())
        return nullptr;
    const auto found = m_statements->balances.find(m_totals->accounts[std::size_t(row)].name.toCaseFolded());
    return found == m_statements->balances.end() ? nullptr : &found->second;
}

std::optional<calc::Pennies> AccountsPage::difference(int row) const
{
    const StatementBalance *balance = statementBalance(row);
    if (!balance)
        return std::nullopt;
    return balance->balance - m_totals->accounts[std::size_t(row)].balance();
}

QString AccountsPage::differenceNote(int row) const
{
    const std::optional<calc::Pennies> moved = difference(row);
    if (!moved || *moved == 0)
        return {};
    const QStringList lines
        = unresolvedTexts(*m_statements, m_totals->accounts[std::size_t(row)].name.toCaseFolded(), QLocale());
    const QString lead = statementBalance(row)->explains(*moved)
        ? QStringLiteral("The statement lines not yet in the ledger explain it:")
        : QStringLiteral("Not explained by the statement lines. Lines not in the ledger:");
    return lines.isEmpty() ? QStringLiteral("No statement line explains it.")
                           : lead + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}

QString AccountsPage::cell(int row, int column) const
{
    const bool total = std::size_t(row) == m_totals->accounts.size();
    const AccountRow &account = total ? m_totals->accountsTotal : m_totals->accounts[std::size_t(row)];
    switch (column) {
    case 0:
        return account.name;
    case 1:
        return total ? QString() : account.exchange ? QStringLiteral("Exchange") : QStringLiteral("Bookmaker");
    case 2:
        return account.status;
    case 3:
        return money(account.deposited);
    case 4:
        return money(account.withdrawn);
    case 5:
        return money(account.settled);
    case 6:
        return money(account.inOpenBets);
    case 7:
        return money(account.balance());
    case 8:
        return money(account.available());
    case 9: {
        const StatementBalance *balance = statementBalance(row);
        return balance ? money(balance->balance) : QString();
    }
    default: {
        const std::optional<calc::Pennies> moved = difference(row);
        return moved ? money(*moved) : QString();
    }
    }
}

QString AccountsPage::entryCell(int row, int column) const
{
    const AccountLine &line = m_totals->accountLines[std::size_t(row)];
    const bool moves = line.action == LedgerAction::Deposit || line.action == LedgerAction::Withdraw
        || line.action == LedgerAction::Adjust;
    switch (column) {
    case 0:
        return line.moment == noDate ? QString() : shownMoment(line.moment, QLocale());
    case 1:
        return line.account;
    case 2:
        return entryText(line);
    case 3:
        return line.note;
    default:
        return moves ? money(line.amount) : QString();
    }
}

const AccountRow *AccountsPage::accountNamed(const QString &name) const
{
    if (!m_totals)
        return nullptr;
    const auto found = std::find_if(m_totals->accounts.begin(), m_totals->accounts.end(),
        [&name](const AccountRow &account) { return account.name == name; });
    return found == m_totals->accounts.end() ? nullptr : &*found;
}

std::optional<QString> AccountsPage::account()
{
    const QString name = m_account->currentText().trimmed();
    if (name.isEmpty()) {
        m_problem->setText(QStringLiteral("Account: name the bookmaker or exchange."));
        return std::nullopt;
    }
    return name;
}

std::optional<calc::Pennies> AccountsPage::typedAmount()
{
    if (m_amount->text().trimmed().isEmpty()) {
        m_problem->setText(QStringLiteral("Amount: type an amount."));
        return std::nullopt;
    }
    const calc::TypedMoney typed = calc::parseMoney(m_amount->text(), QLocale());
    switch (typed.problem) {
    case calc::MoneyProblem::NotAnAmount:
        m_problem->setText(QStringLiteral("Amount: is not an amount such as %1.").arg(money(123456)));
        return std::nullopt;
    case calc::MoneyProblem::TooManyDecimals:
        m_problem->setText(QStringLiteral("Amount: has more than two decimals; type it to the penny."));
        return std::nullopt;
    case calc::MoneyProblem::TooLarge:
        m_problem->setText(QStringLiteral("Amount: must be at most %1.").arg(money(calc::largestMoney)));
        return std::nullopt;
    case calc::MoneyProblem::None:
        break;
    }
    if (typed.pennies <= 0) {
        m_problem->setText(QStringLiteral("Amount: must be above 0"));
        return std::nullopt;
    }
    return typed.pennies;
}

void AccountsPage::recordMoney(LedgerAction action)
{
    const std::optional<QString> name = account();
    if (!name)
        return;
    const std::optional<calc::Pennies> pennies = typedAmount();
    if (!pennies)
        return;
    store::LedgerEntry entry;
    entry.action = action;
    entry.account = *name;
    entry.amount = calc::fromPennies(*pennies);
    const AccountRow *known = accountNamed(*name);
    const calc::Pennies balance = known ? known->balance() : 0;
    if (action != LedgerAction::Withdraw || *pennies <= balance)
        return recordEntry(entry);
    ui::openConfirm(this, m_confirm,
        QStringLiteral("%1 is more than the balance at %2 (%3). Record the withdrawal all the same?")
            .arg(money(*pennies), *name, money(balance)),
        [this, entry] { recordEntry(entry); });
}

void AccountsPage::recordWord(LedgerAction action, const QString &word)
{
    const std::optional<QString> name = account();
    if (!name)
        return;
    store::LedgerEntry entry;
    entry.action = action;
    entry.account = *name;
    entry.outcome = word;
    recordEntry(entry);
}

void AccountsPage::recordEntry(const store::LedgerEntry &entry)
{
    store::LedgerEntry noted = entry;
    noted.note = m_note->text();
    m_problem->clear();
    if (m_record && m_record(noted)) {
        m_amount->clear();
        m_note->clear();
    }
}

void AccountsPage::enableReverse()
{
    m_reverse->setEnabled(m_totals && !m_totals->accountLines.empty() && m_entries->currentIndex().row() == 0);
}

void AccountsPage::reverseLatest()
{
    if (!m_totals || m_totals->accountLines.empty())
        return;
    const AccountLine &latest = m_totals->accountLines.front();
    store::LedgerEntry entry;
    entry.account = latest.account;
    entry.note = QStringLiteral("Reverses: ") + entryText(latest);
    switch (latest.action) {
    case LedgerAction::Deposit:
    case LedgerAction::Withdraw:
        entry.action = latest.action == LedgerAction::Deposit ? LedgerAction::Withdraw : LedgerAction::Deposit;
        entry.amount = calc::fromPennies(latest.amount);
        break;
    case LedgerAction::Adjust:
        entry.action = LedgerAction::Adjust;
        entry.amount = calc::fromPennies(-latest.amount);
        break;
    default:
        entry.action = latest.action;
        entry.outcome = wordBefore(
            m_totals->accountLines, latest, latest.action == LedgerAction::AccountType ? typeWords : statusWords);
        break;
    }
    m_problem->clear();
    if (m_record)
        m_record(entry);
}

} // namespace history
