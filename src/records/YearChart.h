// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "YearFigures.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class SettingsStore;

// A year's figures as a chart shows them: for each user, the hours of each
// month (one bar per month, stacked by user), the monthly package, and the
// month in which the period in progress began when it belongs to that year.
namespace yearchart {

struct Chart {
    int year = 0;
    // One entry per bar set, in the order of the user slots, for each user
    // with time in the year; "Total" only for months that hold a total and no
    // user's figure.
    QStringList users;
    // hours[set][month - 1]: 0 where the month has no figure for that set.
    QList<QList<double>> hours;
    std::optional<double> packageHours;
    int runningMonth = 0; // 1..12, or 0 when the period in progress is in another year
    // The tallest bar, or the package when it is higher: the top of the axis.
    double largest = 0;

    double monthHours(int month) const;
};

// The chart of `year` from stored figures. The period in progress began on
// `periodStart`; its running counters count when that is in `year`. `package`
// is the stored package ("00:00:00", missing or damaged: none). A figure that
// is not a duration text counts as nothing.
Chart fromFigures(const yearfigures::Stored &stored, int year, const QDate &periodStart, const QString &package);

// The same, read from the store on the clock's date.
Chart read(const SettingsStore &store, int year, const QDate &clockDate);

} // namespace yearchart
