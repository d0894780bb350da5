#include "history/accountspage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "calc/rounding.h"
#include "history/rowsmodel.h"
#include "ui/windowsupport.h"

namespace history {

namespace {

const QStringList statusWords {"active", "limited", "gubbed", "closed"};

QPushButton *newButton(const QString &caption, QHBoxLayout *row)
{
    auto *button = new QPushButton(caption);
    row->addWidget(button);
    return button;
}

} // namespace

AccountsPage::AccountsPage(QWidget *parent)
    : QWidget(parent)
{
    m_table = new QTableView;
    prepareTotalsTable(m_table, QStringLiteral("Accounts"),
        new RowsModel({QStringLiteral("Account"), QStringLiteral("Type"), QStringLiteral("Status"),
                          QStringLiteral("Deposited"), QStringLiteral("Withdrawn"), QStringLiteral("Settled"),
                          QStringLiteral("In open bets"), QStringLiteral("Balance"), QStringLiteral("Available")},
            this));
    m_account = new QComboBox;
    ui::makeTextBox(m_account, QStringLiteral("Account"));
    m_amount = ui::newTextField(QString(), this);
    m_amount->setAccessibleName(QStringLiteral("Amount"));
    m_status = new QComboBox;
    m_status->setAccessibleName(QStringLiteral("Status"));
    for (const QString &word : statusWords)
        m_status->addItem(accountStatusCaption(word), word);
    m_note = ui::newTextField(QString(), this);
    m_note->setAccessibleName(QStringLiteral("Note"));
    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("accountProblem"));
    m_problem->setTextFormat(Qt::PlainText);
    ui::setBackground(m_problem, QPalette::WindowText, Qt::darkRed);

    auto *money = new QHBoxLayout;
    money->addWidget(m_amount, 1);
    connect(newButton(QStringLiteral("Deposit"), money), &QPushButton::clicked, this,
        [this] { recordMoney(store::LedgerAction::Deposit); });
    connect(newButton(QStringLiteral("Withdraw"), money), &QPushButton::clicked, this,
        [this] { recordMoney(store::LedgerAction::Withdraw); });
    auto *status = new QHBoxLayout;
    status->addWidget(m_status, 1);
    connect(newButton(QStringLiteral("Set status"), status), &QPushButton::clicked, this, &AccountsPage::recordStatus);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Account"), m_account);
    form->addRow(QStringLiteral("Amount"), money);
    form->addRow(QStringLiteral("Status"), status);
    form->addRow(QStringLiteral("Note"), m_note);
    // The labels of rows that hold a button too name the field of that row.
    static_cast<QLabel *>(form->labelForField(money))->setBuddy(m_amount);
    static_cast<QLabel *>(form->labelForField(status))->setBuddy(m_status);
    form->addRow(m_problem);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table, 1);
    layout->addLayout(form);
}

void AccountsPage::showTotals(const SharedTotals &totals, const QStringList &)
{
    m_totals = totals;
    const std::vector<AccountRow> &accounts = m_totals->accounts;
    static_cast<RowsModel *>(m_table->model())->setRows(int(accounts.size()), [this](int row, int column) {
        return cell(row, column);
    });
    m_table->resizeColumnsToContents();
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

QString AccountsPage::cell(int row, int column) const
{
    const QLocale locale;
    const AccountRow &account = m_totals->accounts[std::size_t(row)];
    switch (column) {
    case 0:
        return account.name;
    case 1:
        return account.exchange ? QStringLiteral("Exchange") : QStringLiteral("Bookmaker");
    case 2:
        return account.status;
    case 3:
        return calc::formatFigure(account.deposited, locale);
    case 4:
        return calc::formatFigure(account.withdrawn, locale);
    case 5:
        return calc::formatFigure(account.settled, locale);
    case 6:
        return calc::formatFigure(account.inOpenBets, locale);
    case 7:
        return calc::formatFigure(account.balance(), locale);
    default:
        return calc::formatFigure(account.available(), locale);
    }
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

void AccountsPage::recordMoney(store::LedgerAction action)
{
    const std::optional<QString> name = account();
    if (!name)
        return;
    const std::optional<double> amount = calc::parseNumber(m_amount->text(), QLocale());
    if (!amount || *amount <= 0) {
        m_problem->setText(
            amount ? QStringLiteral("Amount: must be above 0") : QStringLiteral("Amount: is not a number"));
        return;
    }
    store::LedgerEntry entry;
    entry.action = action;
    entry.account = *name;
    entry.amount = calc::pennies(*amount);
    recordEntry(entry);
}

void AccountsPage::recordStatus()
{
    const std::optional<QString> name = account();
    if (!name)
        return;
    store::LedgerEntry entry;
    entry.action = store::LedgerAction::Status;
    entry.account = *name;
    entry.outcome = m_status->currentData().toString();
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

} // namespace history
