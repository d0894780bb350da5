// The history's table marks the rows whose figures are not those their inputs give.
#pragma once

#include <QStyledItemDelegate>

namespace history {

class StaleRowsDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

} // namespace history
