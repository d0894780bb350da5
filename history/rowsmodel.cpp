#include "history/rowsmodel.h"

#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <QTableView>

namespace history {

RowsModel::RowsModel(const QStringList &captions, QObject *parent, int textColumns)
    : QAbstractTableModel(parent)
    , m_captions(captions)
    , m_textColumns(textColumns)
{ }

void RowsModel::setRows(int count, Cell cell)
{
    beginResetModel();
    m_count = count;
    m_cell = std::move(cell);
    endResetModel();
}

int RowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int RowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant RowsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole)
        return m_cell(index.row(), index.column());
    const bool figure
        = m_figureColumns.isEmpty() ? index.column() >= m_textColumns : m_figureColumns.contains(index.column());
    if (role == Qt::TextAlignmentRole && figure)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::FontRole && m_bold && m_bold(index.row())) {
        QFont font;
        font.setBold(true);
        return font;
    }
    if ((role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) && m_note)
        return m_note(index.row(), index.column());
    if (role == Qt::ForegroundRole && m_warns && m_warns(index.row(), index.column()))
        return QBrush(Qt::red);
    return {};
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_captions.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void prepareTotalsTable(QTableView *table, const QString &name, RowsModel *model)
{
    table->setObjectName(name);
    table->setAccessibleName(name);
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setResizeContentsPrecision(64);
}

} // namespace history
