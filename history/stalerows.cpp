#include "history/stalerows.h"

#include "tracker/historymodel.h"
#include "ui/windowsupport.h"

namespace history {

void StaleRowsDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(HistoryModel::StaleRole).toBool())
        option->backgroundBrush = ui::attentionPink();
}

} // namespace history
