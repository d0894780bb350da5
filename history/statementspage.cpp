#include "history/statementspage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "history/rowsmodel.h"

namespace history {

namespace {

enum StatementColumn { Date, Exchange, Line, Amount, Balance, Bets, State };
// The widest the texts' columns start, in characters, so that what was found stays in sight.
constexpr int lineWidth = 48;
constexpr int betsWidth = 28;

} // namespace

StatementsPage::StatementsPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("statements"));
    m_model = new RowsModel(
        {QStringLiteral("Date"), QStringLiteral("Exchange"), QStringLiteral("Statement line"), QStringLiteral("Amount"),
            QStringLiteral("Balance"), QStringLiteral("Bets"), QStringLiteral("Reconciled")},
        this, 3);
    m_model->setFigureColumns({Amount, Balance});
    m_table = new QTableView;
    prepareTotalsTable(m_table, QStringLiteral("Statement lines"), m_model);
    m_uncoveredModel = new RowsModel(
        {QStringLiteral("Date"), QStringLiteral("Event"), QStringLiteral("Exchange"), QStringLiteral("Profit")}, this,
        3);
    m_uncovered = new QTableView;
    prepareTotalsTable(m_uncovered, QStringLiteral("Settled bets no statement line covers"), m_uncoveredModel);
    m_problems = new QLabel;
    m_problems->setObjectName(QStringLiteral("statementProblems"));
    m_problems->setWordWrap(true);
    m_problems->hide();
    m_import = new QPushButton(QStringLiteral("&Import statement..."));
    m_import->setObjectName(QStringLiteral("importStatement"));
    connect(m_import, &QPushButton::clicked, this, &StatementsPage::importChosen);
    m_settle = new QPushButton(QStringLiteral("Settle as &proposed"));
    m_settle->setObjectName(QStringLiteral("settleAsProposed"));
    connect(m_settle, &QPushButton::clicked, this, &StatementsPage::settleChosenRow);
    connect(m_model, &QAbstractItemModel::modelReset, this, &StatementsPage::enableSettle);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &StatementsPage::enableSettle);
    enableSettle();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_import);
    buttons->addWidget(m_settle);
    buttons->addStretch();
    m_uncoveredLabel = new QLabel;
    m_uncoveredLabel->setBuddy(m_uncovered);
    m_uncovered->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_problems);
    layout->addWidget(m_table, 3);
    layout->addLayout(buttons);
    layout->addWidget(m_uncoveredLabel);
    layout->addWidget(m_uncovered, 1);
}

void StatementsPage::showReconciliation(std::shared_ptr<const ReconciledStatements> shown)
{
    m_shown = std::move(shown);
    const QStringList &problems = m_shown->files->problems;
    m_problems->setText(problems.join(QLatin1Char('\n')));
    m_problems->setVisible(!problems.isEmpty());
    m_model->setRows(int(m_shown->rows.size()), [this](int row, int column) { return cell(row, column); });
    m_uncoveredModel->setRows(int(m_shown->uncovered.size() / StatementsWork::uncoveredColumns),
        [this](int row, int column) { return uncoveredCell(row, column); });
    m_table->resizeColumnsToContents();
    const int character = m_table->fontMetrics().averageCharWidth();
    QHeaderView *header = m_table->horizontalHeader();
    header->resizeSection(Line, std::min(header->sectionSize(Line), lineWidth * character));
    header->resizeSection(Bets, std::min(header->sectionSize(Bets), betsWidth * character));
    const bool anyUncovered = !m_shown->uncovered.isEmpty();
    m_uncovered->setVisible(anyUncovered);
    m_uncoveredLabel->setText(anyUncovered ? QStringLiteral("Settled bets at these exchanges, within the "
                                                            "statements' dates, that no line covers:")
                                           : QStringLiteral("Every settled bet at these exchanges within the "
                                                            "statements' dates has its line."));
}

QString StatementsPage::cell(int row, int column) const
{
    const QLocale locale;
    const StatementRow &shown = m_shown->rows[std::size_t(row)];
    const StatementEntry &entry = m_shown->result->entries[shown.entry];
    switch (column) {
    case Date:
        return shownMoment(entry.line.moment, locale);
    case Exchange:
        return entry.account;
    case Line:
        return entry.line.description;
    case Amount:
        return calc::formatPennies(entry.line.amount, locale);
    case Balance:
        return entry.line.balance ? calc::formatPennies(*entry.line.balance, locale) : QString();
    case Bets:
        return shown.bets;
    default:
        return shown.state;
    }
}

QString StatementsPage::uncoveredCell(int row, int column) const
{
    return m_shown->uncovered.at(row * StatementsWork::uncoveredColumns + column);
}

const StatementRow *StatementsPage::chosenRow() const
{
    const int row = m_table->currentIndex().row();
    if (!m_shown || row < 0 || std::size_t(row) >= m_shown->rows.size())
        return nullptr;
    return &m_shown->rows[std::size_t(row)];
}

void StatementsPage::enableSettle()
{
    const StatementRow *row = chosenRow();
    m_settle->setEnabled(row && hasProposal(*row, *m_shown->result));
}

void StatementsPage::settleChosenRow()
{
    const StatementRow *row = chosenRow();
    if (!row || !hasProposal(*row, *m_shown->result))
        return;
    const Reconciliation &result = *m_shown->result;
    if (row->transfer)
        emit transferChosen(result.entries[row->entry]);
    else
        emit settleChosen(result.entries[row->entry], result.markets[std::size_t(row->market)]);
}

} // namespace history
