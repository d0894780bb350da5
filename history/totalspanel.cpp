#include "history/totalspanel.h"

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "history/accountspage.h"
#include "history/linechart.h"
#include "history/monthchart.h"
#include "history/sumstable.h"
#include "history/totals.h"

namespace history {

QString summaryText(const Totals &totals)
{
    const QLocale locale;
    const auto money = [&locale](double value) { return calc::formatFigure(value, locale); };
    const auto bets = [](qint64 count) { return counted(count, QStringLiteral("bet"), QStringLiteral("bets")); };
    QString text = QStringLiteral("%1: %2 of your own money staked, %3 in free-bet stakes, result %4")
                       .arg(bets(totals.all.bets), money(totals.all.ownStake), money(totals.all.freeStake),
                           money(totals.all.result));
    if (totals.averageCloseness)
        text += QStringLiteral(", average closeness %1 %").arg(money(*totals.averageCloseness));
    if (totals.all.settled > 0)
        text += QStringLiteral("; %1 settled for %2").arg(bets(totals.all.settled), money(totals.all.settledResult));
    if (totals.all.settled > 0 && totals.all.open > 0)
        text += QStringLiteral(", %1 open locking in %2").arg(bets(totals.all.open), money(totals.all.openLocked));
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

} // namespace history
