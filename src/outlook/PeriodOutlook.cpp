// SPDX-License-Identifier: GPL-3.0-or-later
#include "PeriodOutlook.h"

#include "metering/DurationText.h"
#include "metering/Meter.h"
#include "store/Clock.h"

namespace {
constexpr qint64 SecondsPerDay = 24 * 3600;
} // namespace

PeriodOutlook PeriodOutlook::compute(const resetrule::Period &period, const QDateTime &now, qint64 used,
                                     qint64 package)
{
    PeriodOutlook o;
    o.period = period;
    o.used = qMax<qint64>(used, 0);
    o.package = qMax<qint64>(package, 0);

    // Real seconds between local midnights: a day of a clock change has 23 or
    // 25 hours, and the pace counts what was really there.
    const QDateTime start = period.start.startOfDay();
    const QDateTime end = period.end.startOfDay();
    const QDateTime at = qBound(start, now, end.addSecs(-1));
    const qint64 elapsed = start.secsTo(at);
    const qint64 length = start.secsTo(end);
    o.daysLeft = qMax<qint64>(at.date().daysTo(period.end), 1);

    if (o.hasPackage()) {
        o.remaining = qMax<qint64>(o.package - o.used, 0);
        o.sharePercent = duration::percentOf(o.used, o.package);
        o.dailyAllowance = o.remaining / o.daysLeft;
    }
    if (elapsed < MinimumElapsed)
        return o;
    o.paceKnown = true;
    o.averagePerDay = o.used * SecondsPerDay / elapsed;
    o.projection = o.used * length / elapsed;
    if (o.hasPackage()) {
        o.projectedExcess = qMax<qint64>(o.projection - o.package, 0);
        // At the pace so far, what is left lasts remaining × elapsed ÷ used.
        if (o.projectedExcess > 0 && !o.usedUp())
            o.runsOut = at.addSecs(o.remaining * elapsed / o.used);
    }
    return o;
}

PeriodOutlook PeriodOutlook::of(const SettingsStore &store, const QDateTime &clockNow, const QString &monthTotal,
                                const QString &packageTime)
{
    const resetrule::Period period = resetrule::currentPeriod(store, clockNow.date());
    // A clock set back behind the meter's date: the meter is at the start of
    // that date, as far as its calendar is concerned.
    const QDate meterDay = resetrule::meterDate(store, clockNow.date());
    const QDateTime now = meterDay > clockNow.date() ? meterDay.startOfDay() : clockNow;
    return compute(period, now, duration::toSeconds(monthTotal).value_or(0),
                   duration::toSeconds(packageTime).value_or(0));
}

PeriodOutlook PeriodOutlook::of(const Meter &meter)
{
    return of(meter.services().store, meter.services().clock.now(), meter.monthTotal(), meter.packageTime());
}
