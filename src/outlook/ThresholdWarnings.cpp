// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThresholdWarnings.h"

#include "PeriodOutlook.h"
#include "Thresholds.h"
#include "language/Language.h"
#include "metering/DateText.h"
#include "metering/DurationText.h"
#include "metering/Meter.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

#include <algorithm>

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

ThresholdWarnings::ThresholdWarnings(Meter &meter)
    : meter_(meter)
{
}

QList<int> ThresholdWarnings::thresholds() const
{
    return thresholds::inForce(meter_.services().store.read(HKLM, schema::options::Seuils.path));
}

bool ThresholdWarnings::setThresholds(const QString &typed, QString *error)
{
    const auto list = thresholds::parse(typed);
    if (!list) {
        *error = meter_.services()
                     .language
                     .message(QStringLiteral("ThresholdsRefused"),
                              QStringLiteral("Les seuils sont des nombres entiers de 1 à 99 séparés par des virgules "
                                             "(par exemple 80,90) : « %1 » ne convient pas."))
                     .arg(typed);
        return false;
    }
    meter_.services().store.write(HKLM, schema::options::Seuils.path, thresholds::text(*list));
    recheck();
    return true;
}

void ThresholdWarnings::check()
{
    SettingsStore &store = meter_.services().store;
    // Counters counted from zero while the store could not give them would
    // look like a month that fell below its thresholds.
    if (!meter_.countersRead())
        return;
    const qint64 used = duration::toSeconds(meter_.monthTotal()).value_or(0);
    const qint64 package = duration::toSeconds(meter_.packageTime()).value_or(0);
    const qint64 share = package > 0 ? duration::percentOf(used, package) : 0;
    if (checkedShare_ == share)
        return;
    const SettingsStore::Reading givenText = store.read(HKLM, schema::report::Seuils.path);
    if (givenText.status == SettingsStore::Reading::Unreadable)
        return;

    QList<int> given;
    for (int threshold : thresholds::readLeniently(givenText.text)) {
        if (threshold <= share)
            given << threshold;
    }
    int reached = 0;
    // Below the lowest possible threshold nothing can be reached: the tick
    // spares itself the reading of the option.
    if (share >= thresholds::Lowest) {
        const SettingsStore::Reading wanted = store.read(HKLM, schema::options::Seuils.path);
        if (wanted.status == SettingsStore::Reading::Unreadable)
            return;
        for (int threshold : thresholds::inForce(wanted)) {
            if (threshold <= share && !given.contains(threshold)) {
                given << threshold;
                reached = qMax(reached, threshold);
            }
        }
    }
    std::sort(given.begin(), given.end());
    // Written before the warning is given: a meter stopped in between gives
    // one warning too few rather than the same one twice.
    const QString text = thresholds::text(given);
    if (text != givenText.text) {
        if (text.isEmpty())
            store.remove(HKLM, schema::report::Seuils.path);
        else
            store.write(HKLM, schema::report::Seuils.path, text);
    }
    checkedShare_ = share;
    if (reached > 0)
        warn(reached, used, package);
}

void ThresholdWarnings::warn(int threshold, qint64 used, qint64 package)
{
    const Language &language = meter_.services().language;
    const PeriodOutlook outlook = PeriodOutlook::of(meter_);
    const QString title = language.message(QStringLiteral("ThresholdTitle"), QStringLiteral("%1 % du forfait utilisé"))
                              .arg(threshold);
    const QString text = language
                             .message(QStringLiteral("ThresholdText"),
                                      QStringLiteral("Utilisé : %1 sur %2. Il reste %3 jusqu'au %4, soit %5 par jour."))
                             .arg(duration::fromSeconds(used), duration::fromSeconds(package),
                                  duration::fromSeconds(outlook.remaining),
                                  datetext::date(outlook.period.end.addDays(-1)),
                                  duration::fromSeconds(outlook.dailyAllowance));
    if (notify_)
        notify_(title, text);
    else if (meter_.services().tell)
        meter_.services().tell(title + QStringLiteral(" — ") + text);
}
