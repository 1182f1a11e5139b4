// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "JournalItems.h"

#include <QAbstractListModel>

// The journal's rows for a list view: the view asks only for the rows it shows.
// A notice (why the journal is not shown whole) comes after them, as a last row.
class JournalModel final : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setItems(JournalItems items, QString notice = {});

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    JournalItems items_;
    QString notice_;
};
