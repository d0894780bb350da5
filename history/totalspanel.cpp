#include "history/totalspanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "history/chartaxis.h"
#include "history/monthchart.h"
#include "history/resultchart.h"
#include "history/totals.h"

namespace history {

namespace {

QTableWidget *newSumsTable(const QString &name, const QString &first)
{
    auto *table = new QTableWidget(0, 5);
    table->setObjectName(name);
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels({first, QStringLiteral("Bets"), QStringLiteral("Own money staked"),
        QStringLiteral("Free-bet stakes"), QStringLiteral("Result")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

template<typename Key, typename Name> void fillSums(QTableWidget *table, const std::map<Key, Sums> &sums, Name name)
{
    const QLocale locale;
    table->setRowCount(int(sums.size()));
    int row = 0;
    for (const auto &[key, sum] : sums) {
        const QStringList cells {name(key), locale.toString(sum.bets), calc::formatFigure(sum.ownStake, locale),
            calc::formatFigure(sum.freeStake, locale), calc::formatFigure(sum.result, locale)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
        ++row;
    }
}

QString monthName(const std::pair<int, int> &month)
{
    return month.first == 0 ? QStringLiteral("Date not readable") : longMonth(QDate(month.first, month.second, 1));
}

} // namespace

QString counted(qint64 count, const QString &one, const QString &many)
{
    return QLocale().toString(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

TotalsPanel::TotalsPanel(QWidget *parent)
    : QWidget(parent)
{
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_byBookmaker = newSumsTable(QStringLiteral("Per bookmaker"), QStringLiteral("Bookmaker"));
    m_byMonth = newSumsTable(QStringLiteral("Per month"), QStringLiteral("Month"));
    m_byKind = newSumsTable(QStringLiteral("Per kind"), QStringLiteral("Kind"));
    m_running = new ResultChart;
    m_perMonth = new MonthChart;
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("totalsTabs"));
    m_tabs->addTab(m_byBookmaker, QStringLiteral("By bookmaker"));
    m_tabs->addTab(m_byMonth, QStringLiteral("By month"));
    m_tabs->addTab(m_byKind, QStringLiteral("By kind"));
    m_tabs->addTab(m_running, QStringLiteral("Running result"));
    m_tabs->addTab(m_perMonth, QStringLiteral("Result per month"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_summary);
    layout->addWidget(m_tabs, 1);
}

QWidget *TotalsPanel::firstFocus() const
{
    return m_tabs;
}

void TotalsPanel::showCounting()
{
    m_summary->setText(QStringLiteral("Counting..."));
}

void TotalsPanel::showTotals(const Totals &totals, const QStringList &bookmakers)
{
    const QLocale locale;
    m_summary->setText(
        QStringLiteral("%1: %2 of your own money staked, %3 in free-bet stakes, result %4, "
                       "average closeness %5 %")
            .arg(counted(totals.all.bets, QStringLiteral("bet"), QStringLiteral("bets")),
                calc::formatFigure(totals.all.ownStake, locale), calc::formatFigure(totals.all.freeStake, locale),
                calc::formatFigure(totals.all.result, locale), calc::formatFigure(totals.averageCloseness, locale)));
    std::map<QString, Sums> byName;
    for (const auto &[index, sums] : totals.byBookmaker)
        byName[bookmakers.at(index)] = sums;
    fillSums(m_byBookmaker, byName, [](const QString &name) { return name; });
    fillSums(m_byMonth, totals.byMonth, &monthName);
    fillSums(m_byKind, totals.byKind, [](calc::BetKind kind) { return QString::fromUtf8(calc::betKindName(kind)); });
    m_running->setPoints(totals.cumulative);
    std::vector<std::pair<QDate, double>> months;
    for (const auto &[month, sums] : totals.byMonth) {
        if (month.first != 0)
            months.emplace_back(QDate(month.first, month.second, 1), sums.result);
    }
    m_perMonth->setMonths(std::move(months));
}

} // namespace history
