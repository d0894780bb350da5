// A read-only table whose cells are worked out only when they are shown: a table of a million
// bookmakers costs its rows' sums, not a million times nine items.
#pragma once

#include <functional>

#include <QAbstractTableModel>
#include <QStringList>

class QTableView;

namespace history {

class RowsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    using Cell = std::function<QString(int row, int column)>;

    // Columns after the text columns hold figures, right-aligned.
    RowsModel(const QStringList &captions, QObject *parent, int textColumns = 1);
    void setRows(int count, Cell cell);
    // Which columns hold figures, right-aligned, where they are not all those after the text columns.
    void setFigureColumns(QList<int> columns) { m_figureColumns = std::move(columns); }
    // Rows shown in bold; none unless set.
    void setBold(std::function<bool(int row)> bold) { m_bold = std::move(bold); }
    // A cell's note, shown as its tool tip and told to a screen reader; in red where warns says so.
    void setNotes(Cell note, std::function<bool(int row, int column)> warns)
    {
        m_note = std::move(note);
        m_warns = std::move(warns);
    }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_captions;
    int m_textColumns = 1;
    int m_count = 0;
    Cell m_cell;
    QList<int> m_figureColumns;
    std::function<bool(int row)> m_bold;
    Cell m_note;
    std::function<bool(int row, int column)> m_warns;
};

// A table of the totals' look: no row numbers, whole rows selected, Tab leaving it; its columns
// are measured over a few rows, as a million would stall the window.
void prepareTotalsTable(QTableView *table, const QString &name, RowsModel *model);

} // namespace history
