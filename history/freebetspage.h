// The "Free bets" tab: a row per free bet the ledger holds, held ones first and the soonest expiry
// first, those expiring within two days in bold; "Add free bet..." records one that no bet earned
// (a sign-up offer, a loyalty reward), "Give up..." one taken back or not wanted. And the "By offer" tab: a row per bet
// that earned a free bet, with what the offer made once the free bet's profit is added, and a totals row.
#pragma once

#include <QTableView>
#include <QWidget>

#include "history/totalspage.h"
#include "store/ledger.h"

class QPushButton;

namespace history {

class RowsModel;

class FreeBetsPage final : public QWidget, public TotalsPage
{
    Q_OBJECT

public:
    explicit FreeBetsPage(QWidget *parent = nullptr);
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;

signals:
    void addChosen();
    // "Give up..." on a held free bet chosen in the table.
    void giveUpChosen(const store::FreeBetId &freeBet);

private:
    QString cell(int row, int column) const;
    // The held free bet chosen; nothing when none is.
    const FreeBet *chosenHeld() const;
    void enableGiveUp();

    RowsModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_giveUp = nullptr;
    SharedTotals m_totals;
};

class ByOfferTable final : public QTableView, public TotalsPage
{
    Q_OBJECT

public:
    explicit ByOfferTable(QWidget *parent = nullptr);
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;

private:
    QString cell(int row, int column) const;
    QString totalsCell(int column) const;

    RowsModel *m_model = nullptr;
    SharedTotals m_totals;
};

} // namespace history
