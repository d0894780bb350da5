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

QString exportedCell(const RecordsView &records, qsizetype index, int column, const QLocale &plain)
{
    const BetRecord &record = records.at(index);
    switch (Column(column)) {
    case Column::Date:
        if (record.when != noDate)
            return QDateTime(store::dayOf(record.when), QTime(0, 0).addSecs(int(record.when % store::secondsPerDay)))
                .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return store::inert(records.field(index, store::ArchiveField::DateTime));
    case Column::Result:
        return std::isnan(record.result) ? QString() : calc::formatMoney(record.result);
    case Column::Highest:
        return std::isnan(record.highest) ? QString() : calc::formatMoney(record.highest);
    default:
        return isFigureColumn(column) ? cellText(records, index, column, plain).trimmed()
                                      : store::inert(cellText(records, index, column, plain));
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
    QByteArray csv = csvLine(header << QStringLiteral("Stale"));
    const RecordsView records = rows.records().view();
    for (int row = 0; row < rows.rowCount(); ++row) {
        const qsizetype index = rows.recordAt(row);
        QStringList cells;
        for (int column = 0; column < columnCount; ++column)
            cells << exportedCell(records, index, column, plain);
        csv += csvLine(cells << (records.at(index).stale ? QStringLiteral("yes") : QStringLiteral("no")));
    }
    return csv;
}

} // namespace history
