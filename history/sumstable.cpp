#include "history/sumstable.h"

#include <QHeaderView>

#include "calc/numbertext.h"
#include "history/chartaxis.h"
#include "history/totals.h"

namespace history {

namespace {

QString monthName(const std::pair<int, int> &month)
{
    return month.first == 0 ? QStringLiteral("Date not readable") : longMonth(QDate(month.first, month.second, 1));
}

QString firstCaption(SumsTable::By by)
{
    switch (by) {
    case SumsTable::By::Bookmaker:
        return QStringLiteral("Bookmaker");
    case SumsTable::By::Month:
        return QStringLiteral("Month");
    case SumsTable::By::Kind:
        return QStringLiteral("Kind");
    }
    return {};
}

QString tableName(SumsTable::By by)
{
    switch (by) {
    case SumsTable::By::Bookmaker:
        return QStringLiteral("Per bookmaker");
    case SumsTable::By::Month:
        return QStringLiteral("Per month");
    case SumsTable::By::Kind:
        return QStringLiteral("Per kind");
    }
    return {};
}

template<typename Key, typename Name>
std::vector<std::pair<QString, Sums>> named(const std::map<Key, Sums> &sums, Name name)
{
    std::vector<std::pair<QString, Sums>> rows;
    for (const auto &[key, sum] : sums)
        rows.emplace_back(name(key), sum);
    return rows;
}

} // namespace

QString counted(qint64 count, const QString &one, const QString &many)
{
    return QLocale().toString(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

void prepareTotalsTable(QTableWidget *table, const QString &name, const QStringList &captions)
{
    table->setObjectName(name);
    table->setAccessibleName(name);
    table->setColumnCount(int(captions.size()));
    table->setHorizontalHeaderLabels(captions);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
}

SumsTable::SumsTable(By by, QWidget *parent)
    : QTableWidget(parent)
    , m_by(by)
{
    prepareTotalsTable(this, tableName(by),
        {firstCaption(by), QStringLiteral("Bets"), QStringLiteral("Own money staked"),
            QStringLiteral("Free-bet stakes"), QStringLiteral("Result"), QStringLiteral("Settled"),
            QStringLiteral("Settled result"), QStringLiteral("Open"), QStringLiteral("Open locks in")});
}

void SumsTable::showTotals(const Totals &totals, const QStringList &bookmakers)
{
    switch (m_by) {
    case By::Bookmaker: {
        std::map<QString, Sums> byName;
        for (const auto &[index, sums] : totals.byBookmaker)
            byName[bookmakers.at(index)] = sums;
        fill(named(byName, [](const QString &name) { return name; }));
        break;
    }
    case By::Month:
        fill(named(totals.byMonth, &monthName));
        break;
    case By::Kind:
        fill(named(totals.byKind, [](calc::BetKind kind) { return QString::fromUtf8(calc::betKindName(kind)); }));
        break;
    }
}

void SumsTable::fill(const std::vector<std::pair<QString, Sums>> &rows)
{
    const QLocale locale;
    setRowCount(int(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const auto &[name, sum] = rows[row];
        const QStringList cells {name, locale.toString(sum.bets), calc::formatFigure(sum.ownStake, locale),
            calc::formatFigure(sum.freeStake, locale), calc::formatFigure(sum.result, locale),
            locale.toString(sum.settled), calc::formatFigure(sum.settledResult, locale), locale.toString(sum.open),
            calc::formatFigure(sum.openLocked, locale)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(int(row), column, item);
        }
    }
}

} // namespace history
