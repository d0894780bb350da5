#include "history/sumstable.h"

#include "calc/numbertext.h"
#include "history/chartaxis.h"
#include "history/rowsmodel.h"

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

} // namespace

QString counted(qint64 count, const QString &one, const QString &many)
{
    return QLocale().toString(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

SumsTable::SumsTable(By by, QWidget *parent)
    : QTableView(parent)
    , m_by(by)
{
    m_model
        = new RowsModel({firstCaption(by), QStringLiteral("Bets"), QStringLiteral("Own money staked"),
                            QStringLiteral("Free-bet stakes"), QStringLiteral("Result"), QStringLiteral("Settled"),
                            QStringLiteral("Settled result"), QStringLiteral("Open"), QStringLiteral("Open locks in")},
            this);
    prepareTotalsTable(this, tableName(by), m_model);
}

void SumsTable::showTotals(const Totals &totals, const QStringList &bookmakers)
{
    m_rows.clear();
    switch (m_by) {
    case By::Bookmaker:
        // In name order: the bookmakers are counted by number.
        for (const int index : totals.bookmakerOrder) {
            if (totals.byBookmaker[std::size_t(index)].bets > 0)
                m_rows.emplace_back(bookmakers.at(index), totals.byBookmaker[std::size_t(index)]);
        }
        break;
    case By::Month:
        for (const auto &[month, sums] : totals.byMonth)
            m_rows.emplace_back(monthName(month), sums);
        break;
    case By::Kind:
        for (const auto &[kind, sums] : totals.byKind)
            m_rows.emplace_back(QString::fromUtf8(calc::betKindName(kind)), sums);
        break;
    }
    m_model->setRows(int(m_rows.size()), [this](int row, int column) { return cell(row, column); });
    resizeColumnsToContents();
}

QString SumsTable::cell(int row, int column) const
{
    const QLocale locale;
    const auto &[name, sum] = m_rows[std::size_t(row)];
    switch (column) {
    case 0:
        return name;
    case 1:
        return locale.toString(sum.bets);
    case 2:
        return calc::formatFigure(sum.ownStake, locale);
    case 3:
        return calc::formatFigure(sum.freeStake, locale);
    case 4:
        return calc::formatFigure(sum.result, locale);
    case 5:
        return locale.toString(sum.settled);
    case 6:
        return calc::formatFigure(sum.settledResult, locale);
    case 7:
        return locale.toString(sum.open);
    default:
        return calc::formatFigure(sum.openLocked, locale);
    }
}

} // namespace history
