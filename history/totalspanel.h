// The totals under the history's table: a line of overall sums, and tabs with the rest (sums per
// bookmaker, month and kind, the charts, the accounts, the free bets and the offers that earned them, the exchanges'
// statements), each the whole panel's width. The tabs come from one list: a new one is a page class and a line there.
#pragma once

#include <vector>

#include <QWidget>

#include "history/totalspage.h"
#include "tracker/ledgerbook.h"

class QLabel;
class QTabWidget;

namespace history {

class AccountsPage;
class FreeBetsPage;
class OrphansPage;
class StatementsPage;
struct Totals;

class TotalsPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit TotalsPanel(QWidget *parent = nullptr);

    void showTotals(const SharedTotals &totals, const QStringList &bookmakers);
    // While the totals are being worked out.
    void showCounting();
    // Where Tab enters the panel.
    QWidget *firstFocus() const;
    AccountsPage *accounts() const { return m_accounts; }
    FreeBetsPage *freeBets() const { return m_freeBets; }
    StatementsPage *statements() const { return m_statements; }
    // The settlements without a bet, in a tab of their own while there are any.
    void showOrphans(std::vector<OrphanSettlement> orphans);
    OrphansPage *orphans() const { return m_orphans; }
    QTabWidget *tabs() const { return m_tabs; }

private:
    void addPage(const QString &title, QWidget *widget, TotalsPage *page);

    QLabel *m_summary = nullptr;
    QTabWidget *m_tabs = nullptr;
    std::vector<TotalsPage *> m_pages;
    AccountsPage *m_accounts = nullptr;
    FreeBetsPage *m_freeBets = nullptr;
    StatementsPage *m_statements = nullptr;
    OrphansPage *m_orphans = nullptr;
};

// The summary line: the bets, the money, what they lock in and what came in.
QString summaryText(const Totals &totals);

} // namespace history
