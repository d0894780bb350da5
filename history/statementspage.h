// The "Statements" tab: a row per line of the exchange statements imported, with the bets it
// matched and what the reconciling found; "Import statement..." takes more, and "Settle as
// proposed" records what the chosen line proves. Below, the settled bets at those exchanges within
// the statements' dates that no line covers.
#pragma once

#include <memory>

#include <QWidget>

#include "tracker/statementswork.h"

class QLabel;
class QPushButton;
class QTableView;

namespace history {

class RowsModel;

class StatementsPage final : public QWidget
{
    Q_OBJECT

public:
    explicit StatementsPage(QWidget *parent = nullptr);

    // The statements reconciled with the bets, and the files of the statements folder that could
    // not be read.
    void showReconciliation(std::shared_ptr<const ReconciledStatements> shown);

signals:
    void importChosen();
    // "Settle as proposed" on a market line, or on a deposit or withdrawal the ledger lacks.
    void settleChosen(const StatementEntry &entry, const MarketMatch &match);
    void transferChosen(const StatementEntry &entry);

private:
    QString cell(int row, int column) const;
    QString uncoveredCell(int row, int column) const;
    const StatementRow *chosenRow() const;
    void enableSettle();
    void settleChosenRow();

    RowsModel *m_model = nullptr;
    RowsModel *m_uncoveredModel = nullptr;
    QTableView *m_table = nullptr;
    QTableView *m_uncovered = nullptr;
    QLabel *m_problems = nullptr;
    QLabel *m_uncoveredLabel = nullptr;
    QPushButton *m_import = nullptr;
    QPushButton *m_settle = nullptr;
    std::shared_ptr<const ReconciledStatements> m_shown;
};

} // namespace history
