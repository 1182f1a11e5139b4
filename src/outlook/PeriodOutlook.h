// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "metering/ResetRule.h"

#include <QDateTime>

#include <optional>

class Meter;
class SettingsStore;

// Where the billing period stands: what is used and left of the package, what
// may be used per day from now on, and where the pace so far leads by the
// period's end. Every amount is in whole seconds.
struct PeriodOutlook {
    // The pace needs this much of the period behind it: an average over the
    // first minutes would say nothing.
    static constexpr qint64 MinimumElapsed = 3600;

    resetrule::Period period;
    qint64 used = 0;
    qint64 package = 0; // 0: no package
    // With a package only.
    qint64 remaining = 0;   // never below zero
    qint64 sharePercent = 0; // not limited to 100
    qint64 dailyAllowance = 0;
    // Days left in the period, today included (at least 1).
    qint64 daysLeft = 1;

    // The pace: known once MinimumElapsed of the period has gone.
    bool paceKnown = false;
    qint64 averagePerDay = 0;
    qint64 projection = 0; // the whole period at that pace
    // With a package and a known pace: how far the projection passes the
    // package (0 when within it), and when, at that pace, a package not yet
    // used up would run out.
    qint64 projectedExcess = 0;
    std::optional<QDateTime> runsOut;

    bool hasPackage() const { return package > 0; }
    bool usedUp() const { return hasPackage() && used >= package; }
    bool withinPackage() const { return projectedExcess == 0; }

    // The outlook at `now` of a period, for `used` seconds against `package`.
    // A `now` outside the period is taken at its nearer edge.
    static PeriodOutlook compute(const resetrule::Period &period, const QDateTime &now, qint64 used,
                                 qint64 package);
    // The outlook at the clock's time `clockNow` of a month counter and a
    // package (duration texts), on the store's reset rule.
    static PeriodOutlook of(const SettingsStore &store, const QDateTime &clockNow, const QString &monthTotal,
                            const QString &packageTime);
    // The outlook of the meter's month counter and package, on its clock and
    // reset rule.
    static PeriodOutlook of(const Meter &meter);
};
