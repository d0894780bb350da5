#include "history/csvexport.h"

#include <cmath>

#include "history/historymodel.h"

namespace history {

namespace {

QString quoted(QString field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) && !field.contains(QLatin1Char('\n'))
        && !field.contains(QLatin1Char('\r')))
        return field;
    return QLatin1Char('"') + field.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QByteArray csvLine(const QStringList &fields)
{
    QStringList cells;
    for (const QString &field : fields)
        cells << quoted(field);
    return cells.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

} // namespace

QByteArray csvOf(const HistoryFilter &rows)
{
    const HistoryModel &model = rows.history();
    QStringList header;
    for (int column = 0; column < model.columnCount(); ++column)
        header << model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    QByteArray csv = csvLine(header);
    for (int row = 0; row < rows.rowCount(); ++row) {
        const qsizetype record = model.recordIndex(rows.mapToSource(rows.index(row, 0)).row());
        const double result = model.records().at(record).result;
        csv += csvLine(
            model.records().fields(record) << (std::isnan(result) ? QString() : QString::number(result, 'f', 2)));
    }
    return csv;
}

} // namespace history
