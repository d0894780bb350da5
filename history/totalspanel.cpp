#include "history/totalspanel.h"

#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "history/accountspage.h"
#include "history/freebetspage.h"
#include "history/linechart.h"
#include "history/monthchart.h"
#include "history/orphanspage.h"
#include "history/statementspage.h"
#include "history/sumstable.h"
#include "text/counted.h"
#include "tracker/totals.h"

namespace history {

QString summaryText(const Totals &totals)
{
    const QLocale locale;
    const auto money = [&locale](double value) { return calc::formatFigure(value, locale); };
    const auto bets = [](qint64 count) { return text::counted(count, QStringLiteral("bet"), QStringLiteral("bets")); };
    // Money that came in and money tied up first; what the figures expect after, and said so.
    const Sums &all = totals.all;
    QString text
        = QStringLiteral("%1: %2 settled (%3), %4 in open bets (%5); expected result %6; %7 of your own "
                         "money staked, %8 in free-bet stakes")
              .arg(bets(all.bets), money(all.settledResult.value()), bets(all.settled), money(all.inOpenBets.value()),
                  bets(all.open), money(all.result.value()), money(all.ownStake.value()), money(all.freeStake.value()));
    if (totals.averageCloseness)
        text += QStringLiteral(", average closeness %1 %").arg(money(*totals.averageCloseness));
    if (!totals.freeBets->list().empty()) {
        text += QStringLiteral("; free bets held %1")
                    .arg(calc::formatPennies(totals.freeBets->totals.heldValue, locale));
        if (totals.freeBets->totals.averageRetention)
            text += QStringLiteral(", average retention %1 %")
                        .arg(locale.toString(*totals.freeBets->totals.averageRetention, 'f', 1));
    }
    return text;
}

TotalsPanel::TotalsPanel(QWidget *parent)
    : QWidget(parent)
{
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("totalsTabs"));
    auto *byBookmaker = new SumsTable(SumsTable::By::Bookmaker);
    auto *byMonth = new SumsTable(SumsTable::By::Month);
    auto *byKind = new SumsTable(SumsTable::By::Kind);
    auto *running = new ResultChart;
    auto *perMonth = new MonthChart;
    auto *expected = new ExpectedChart;
    m_accounts = new AccountsPage;
    addPage(QStringLiteral("By bookmaker"), byBookmaker, byBookmaker);
    addPage(QStringLiteral("By month"), byMonth, byMonth);
    addPage(QStringLiteral("By kind"), byKind, byKind);
    addPage(QStringLiteral("Running result"), running, running);
    addPage(QStringLiteral("Result per month"), perMonth, perMonth);
    addPage(QStringLiteral("Expected and actual"), expected, expected);
    addPage(QStringLiteral("Accounts"), m_accounts, m_accounts);
    m_freeBets = new FreeBetsPage;
    addPage(QStringLiteral("Free bets"), m_freeBets, m_freeBets);
    auto *byOffer = new ByOfferTable;
    addPage(QStringLiteral("By offer"), byOffer, byOffer);
    // The statements are reconciled against the bets, not counted with the totals.
    m_statements = new StatementsPage;
    m_tabs->addTab(m_statements, QStringLiteral("Statements"));
    // Where the tabs overflow, the arrows that scroll them are for the mouse: the keyboard moves
    // between tabs with the arrow keys, and Tab goes on to the page.
    for (QToolButton *scroll : m_tabs->tabBar()->findChildren<QToolButton *>())
        scroll->setFocusPolicy(Qt::NoFocus);
    m_orphans = new OrphansPage(this);
    m_orphans->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_summary);
    layout->addWidget(m_tabs, 1);
}

void TotalsPanel::addPage(const QString &title, QWidget *widget, TotalsPage *page)
{
    m_tabs->addTab(widget, title);
    m_pages.push_back(page);
}

QWidget *TotalsPanel::firstFocus() const
{
    return m_tabs;
}

void TotalsPanel::showCounting()
{
    m_summary->setText(QStringLiteral("Counting..."));
}

void TotalsPanel::showTotals(const SharedTotals &totals, const QStringList &bookmakers)
{
    m_summary->setText(summaryText(*totals));
    for (TotalsPage *page : m_pages)
        page->showTotals(totals, bookmakers);
}

void TotalsPanel::showOrphans(std::vector<OrphanSettlement> orphans)
{
    // The tab shows while there are any: most histories never have one.
    const int at = m_tabs->indexOf(m_orphans);
    if (orphans.empty() && at >= 0)
        m_tabs->removeTab(at);
    else if (!orphans.empty() && at < 0)
        m_tabs->addTab(m_orphans, QStringLiteral("Without a bet"));
    m_orphans->showOrphans(std::move(orphans));
}

} // namespace history
