// A totals tab of sums per bookmaker, per month or per kind of bet: the bets, the money staked,
// what they lock in, what the settled ones brought and what the open ones lock in.
#pragma once

#include <functional>

#include <QTableWidget>

#include "history/totalspage.h"

namespace history {

struct Sums;

class SumsTable final : public QTableWidget, public TotalsPage
{
    Q_OBJECT

public:
    enum class By { Bookmaker, Month, Kind };

    explicit SumsTable(By by, QWidget *parent = nullptr);
    void showTotals(const Totals &totals, const QStringList &bookmakers) override;

private:
    void fill(const std::vector<std::pair<QString, Sums>> &rows);

    By m_by;
};

// A table of the totals' look: no row numbers, whole rows selected, Tab leaving it.
void prepareTotalsTable(QTableWidget *table, const QString &name, const QStringList &captions);

// "1 bet", "2 bets": the count in the locale's digits and the noun that goes with it.
QString counted(qint64 count, const QString &one, const QString &many);

} // namespace history
