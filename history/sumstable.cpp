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

void SumsTable::showTotals(const SharedTotals &totals, const QStringList &bookmakers)
{
    m_totals = totals;
    m_bookmakers = bookmakers;
    m_rows.clear();
    m_bookmakerRows.clear();
    switch (m_by) {
    case By::Bookmaker:
        for (const int index : totals->bookmakerOrder) {
            if (totals->byBookmaker[std::size_t(index)].bets > 0)
                m_bookmakerRows.push_back(index);
        }
        break;
    case By::Month:
        for (const auto &[month, sums] : totals->byMonth)
            m_rows.emplace_back(monthName(month), sums);
        break;
    case By::Kind:
        for (const auto &[kind, sums] : totals->byKind)
            m_rows.emplace_back(QString::fromUtf8(calc::betKindName(kind)), sums);
        break;
    }
    const int count = int(m_by == By::Bookmaker ? m_bookmakerRows.size() : m_rows.size());
    m_model->setRows(count, [this](int row, int column) { return cell(row, column); });
    resizeColumnsToContents();
}

std::pair<QString, const Sums &> SumsTable::row(int row) const
{
    if (m_by != By::Bookmaker)
        return {m_rows[std::size_t(row)].first, m_rows[std::size_t(row)].second};
    const int bookmaker = m_bookmakerRows[std::size_t(row)];
    return {m_bookmakers.at(bookmaker), m_totals->byBookmaker[std::size_t(bookmaker)]};
}

QString SumsTable::cell(int row, int column) const
{
    const QLocale locale;
    const auto [name, sum] = this->row(row);
    switch (column) {
    case 0:
        return name;
    case 1:
        return locale.toString(sum.bets);
    case 2:
        return calc::formatFigure(sum.ownStake.value(), locale);
    case 3:
        return calc::formatFigure(sum.freeStake.value(), locale);
    case 4:
        return calc::formatFigure(sum.result.value(), locale);
    case 5:
        return locale.toString(sum.settled);
    case 6:
        return calc::formatFigure(sum.settledResult.value(), locale);
    case 7:
        return locale.toString(sum.open);
    default:
        return calc::formatFigure(sum.openLocked.value(), locale);
    }
}

} // namespace history
