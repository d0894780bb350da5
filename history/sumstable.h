// A totals tab of sums per bookmaker, per month or per kind of bet: the bets, the money staked,
// what they lock in, what the settled ones brought and what the open ones lock in.
#pragma once

#include <QTableView>

#include "history/totalspage.h"
#include "tracker/totals.h"

namespace history {

class RowsModel;

class SumsTable final : public QTableView, public TotalsPage
{
    Q_OBJECT

public:
    enum class By { Bookmaker, Month, Kind };

    explicit SumsTable(By by, QWidget *parent = nullptr);
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;

private:
    QString cell(int row, int column) const;
    std::pair<QString, const Sums &> row(int row) const;

    By m_by;
    RowsModel *m_model = nullptr;
    SharedTotals m_totals;
    QStringList m_bookmakers;
    // Bookmakers by number, in name order, that have bets among the rows shown.
    std::vector<int> m_bookmakerRows;
    std::vector<std::pair<QString, Sums>> m_rows; // months or kinds: a few dozen
};

} // namespace history
