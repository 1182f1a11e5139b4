// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/SettingsStore.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The figures of one year as the store holds them: each archived month's total
// and users' figures, and for the year in which the period in progress began,
// that period's running counters. The Connection Viewer's report and the report
// tool both show these.
namespace yearfigures {

// The stored values the figures come from, taken at once, and the user names
// in their slots (slot 0 holds "Total").
struct Stored {
    SettingsStore::KeyCopy values;
    QStringList userSlots;
};
Stored read(const SettingsStore &store);

// One line of a month: a user (or "Total") and the figure stored for them, as
// stored (normally a duration text; "Erreur" for a user that had no counter).
struct Row {
    QString name;
    QString figure;
};

struct Month {
    int month = 0; // 1..12
    // Whether the month has a stored total: only then does its name head it.
    bool titled = false;
    QList<Row> rows;
};

// The months of a year that hold any figure, January first. The year is the
// text of its key in the store, as typed ("2004").
QList<Month> archivedMonths(const Stored &stored, const QString &year);

// The period in progress, named after the month in which it began: the month's
// total, then the current user's figure, then every other user's running
// counter. Figures the meter counts live are given here (`total`, `current`);
// without a current user, every user's stored counter is listed.
Month runningPeriod(const Stored &stored, int month, const Row &total, const std::optional<Row> &current);
// The period in progress as the store holds it (its total and every user's
// counter), when it began in `year`: the period began on `periodStart`.
std::optional<Month> storedRunningPeriod(const Stored &stored, int year, const QDate &periodStart);

} // namespace yearfigures
