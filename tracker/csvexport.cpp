#include "tracker/csvexport.h"

#include <cmath>
#include <unordered_map>

#include <QDateTime>

#include "calc/numbertext.h"
#include "store/csvfield.h"
#include "tracker/historymodel.h"

namespace history {

namespace {

QByteArray csvLine(const QStringList &fields)
{
    QByteArrayList cells;
    for (const QString &field : fields)
        cells << store::csvField(field);
    return cells.join(',') + "\r\n";
}

QString isoMoment(qint64 when)
{
    return QDateTime(text::dayOf(when), QTime(0, 0).addSecs(int(when % text::secondsPerDay)))
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// An offer's one back bet and lay in the calculator's columns, where it is one of each.
std::optional<QString> backAndLayCell(const calc::BackAndLay &bet, int column, const QLocale &plain)
{
    switch (fieldOf(column).value_or(store::ArchiveField::DateTime)) {
    case store::ArchiveField::BackOdds:
        return calc::formatPlain(bet.backOdds, plain);
    case store::ArchiveField::LayOdds:
        return calc::formatPlain(bet.layOdds, plain);
    case store::ArchiveField::LayStake:
        return calc::formatMoney(bet.layStake);
    case store::ArchiveField::LayRisk:
        return calc::formatMoney(bet.layRisk);
    default:
        return std::nullopt;
    }
}

QString exportedCell(const HistoryView &view, qsizetype index, int column, const QLocale &plain,
    const std::optional<calc::BackAndLay> &backAndLay)
{
    const BetRecord &record = view.records.at(index);
    if (backAndLay) {
        if (std::optional<QString> cell = backAndLayCell(*backAndLay, column, plain))
            return *cell;
    }
    switch (Column(column)) {
    case Column::Date:
        if (record.when != noDate)
            return isoMoment(record.when);
        return store::inert(view.records.field(index, store::ArchiveField::DateTime));
    case Column::Result:
        return std::isnan(record.result) ? QString() : calc::formatMoney(record.result);
    case Column::Highest:
        return std::isnan(record.highest) ? QString() : calc::formatMoney(record.highest);
    case Column::Actual: {
        const Settlement &settlement = view.settlements.at(index);
        return settlement.settled ? calc::formatMoney(settlement.actual()) : QString();
    }
    default: {
        // A figure as written when it is a number; anything else a hand edit may have put there is
        // text, which must not run as a formula.
        const QString text = cellText(view, index, column, plain);
        const bool number = isFigureColumn(column) && calc::parseNumber(text, plain).has_value();
        return number ? text.trimmed() : store::inert(text);
    }
    }
}

// What each record did with free bets: "earned 20.00", "used 20.00", or both, by record.
std::unordered_map<qsizetype, QStringList> freeBetCells(const Totals &totals)
{
    std::unordered_map<qsizetype, QStringList> cells;
    for (const FreeBetRow &row : totals.freeBets->totals.rows) {
        const QString amount = calc::formatMoney(calc::fromPennies(totals.freeBets->list()[row.freeBet].amount));
        if (row.earnedBy >= 0)
            cells[row.earnedBy] << QStringLiteral("earned ") + amount;
        if (row.usedBy >= 0 && row.status == FreeBetStatus::Used)
            cells[row.usedBy] << QStringLiteral("used ") + amount;
    }
    return cells;
}

} // namespace

QByteArray csvOf(const HistoryModel &rows)
{
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QStringList header;
    for (int column = 0; column < columnCount; ++column)
        header << columnCaption(column);
    header << QStringLiteral("Stale") << QStringLiteral("Settled on") << QStringLiteral("Offer inputs and figures")
           << QStringLiteral("Free bet");
    const std::unordered_map<qsizetype, QStringList> freeBets = freeBetCells(rows.totals());
    // A byte-order mark first: spreadsheets take a CSV file without one to be in the system's code
    // page, and garble the pound sign and accented names.
    QByteArray csv = "\xEF\xBB\xBF" + csvLine(header);
    const HistoryView &view = rows.view();
    calc::ShapeCache shapes;
    for (int row = 0; row < rows.rowCount(); ++row) {
        const qsizetype index = rows.recordAt(row);
        const OfferExport offer = offerExportOf(view.records.at(index), view.records.line(index), shapes);
        QStringList cells;
        for (int column = 0; column < columnCount; ++column)
            cells << exportedCell(view, index, column, plain, offer.backAndLay);
        const Settlement &settlement = view.settlements.at(index);
        cells << (view.records.at(index).stale ? QStringLiteral("yes") : QStringLiteral("no"))
              << (settlement.settled && settlement.settledOn != noDate ? isoMoment(settlement.settledOn) : QString())
              << store::inert(offer.inputsAndFigures);
        const auto freeBet = freeBets.find(index);
        cells << (freeBet == freeBets.end() ? QString() : freeBet->second.join(QStringLiteral("; ")));
        csv += csvLine(cells);
    }
    return csv;
}

} // namespace history
