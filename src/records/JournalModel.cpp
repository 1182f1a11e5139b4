// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalModel.h"

#include <QFont>

void JournalModel::setItems(JournalItems items, QString notice)
{
    beginResetModel();
    items_ = std::move(items);
    notice_ = std::move(notice);
    endResetModel();
}

int JournalModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : items_.count() + (notice_.isEmpty() ? 0 : 1);
}

QVariant JournalModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const bool notice = index.row() == items_.count() && !notice_.isEmpty();
    if (role == Qt::DisplayRole)
        return notice ? notice_ : items_.item(index.row());
    if (role == Qt::FontRole && notice) {
        QFont font;
        font.setItalic(true);
        return font;
    }
    return {};
}
