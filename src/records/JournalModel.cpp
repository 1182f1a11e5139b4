#include "JournalModel.h"

void JournalModel::setItems(JournalItems items)
{
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

int JournalModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : items_.count();
}

QVariant JournalModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return items_.item(index.row());
}
