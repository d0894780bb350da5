#include "history/csvexport.h"

#include <cmath>

#include <QDateTime>

#include "calc/numbertext.h"
#include "history/historymodel.h"
#include "store/csvfield.h"

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
    return QDateTime(store::dayOf(when), QTime(0, 0).addSecs(int(when % store::secondsPerDay)))
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString exportedCell(const HistoryView &view, qsizetype index, int column, const QLocale &plain)
{
    const BetRecord &record = view.records.at(index);
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
        return settlement.settled ? calc::formatMoney(settlement.actual) : QString();
    }
    default:
        return isFigureColumn(column) ? cellText(view, index, column, plain).trimmed()
                                      : store::inert(cellText(view, index, column, plain));
    }
}

} // namespace

QByteArray csvOf(const HistoryModel &rows)
{
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QStringList header;
    for (int column = 0; column < columnCount; ++column)
        header << columnCaption(column);
    QByteArray csv = csvLine(header << QStringLiteral("Stale") << QStringLiteral("Settled on"));
    const HistoryView &view = rows.view();
    for (int row = 0; row < rows.rowCount(); ++row) {
        const qsizetype index = rows.recordAt(row);
        QStringList cells;
        for (int column = 0; column < columnCount; ++column)
            cells << exportedCell(view, index, column, plain);
        const Settlement &settlement = view.settlements.at(index);
        cells << (view.records.at(index).stale ? QStringLiteral("yes") : QStringLiteral("no"))
              << (settlement.settled && settlement.settledOn != noDate ? isoMoment(settlement.settledOn) : QString());
        csv += csvLine(cells);
    }
    return csv;
}

} // namespace history
