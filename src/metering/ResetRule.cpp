// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResetRule.h"

#include "DateText.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

namespace resetrule {

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

int dayOf(const QString &text)
{
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber);
    return isNumber && value >= 2 && value <= 28 ? value : FirstOfMonth;
}

int day(const SettingsStore &store)
{
    return dayOf(store.value(HKLM, schema::options::Raz.path));
}

bool readable(const SettingsStore &store)
{
    return store.read(HKLM, schema::options::Raz.path).status != SettingsStore::Reading::Unreadable
        && store.read(HKLM, schema::options::Anniversaire.path).status != SettingsStore::Reading::Unreadable;
}

std::optional<QDate> nextReset(const SettingsStore &store)
{
    return datetext::parse(store.value(HKLM, schema::options::Anniversaire.path));
}

QDate meterDate(const SettingsStore &store, const QDate &clockDate)
{
    const auto checked = datetext::parse(store.value(HKLM, schema::report::Date.path));
    return checked && *checked > clockDate ? *checked : clockDate;
}

QDate nextOccurrenceAfter(const QDate &date, int day)
{
    const QDate thisMonth(date.year(), date.month(), day);
    if (thisMonth > date)
        return thisMonth;
    const QDate nextMonth = date.addMonths(1);
    return QDate(nextMonth.year(), nextMonth.month(), day);
}

QDate periodStart(const SettingsStore &store, const QDate &clockDate)
{
    QDate start = meterDate(store, clockDate);
    if (day(store) != FirstOfMonth) {
        if (const auto reset = nextReset(store))
            start = reset->addMonths(-1);
    }
    return QDate(start.year(), start.month(), 1);
}

Period currentPeriod(const SettingsStore &store, const QDate &clockDate)
{
    const QDate today = meterDate(store, clockDate);
    const int resetDay = day(store);
    if (resetDay == FirstOfMonth) {
        const QDate start(today.year(), today.month(), 1);
        return {start, start.addMonths(1)};
    }
    // The stored date of the next reset while it is ahead; one that has passed
    // (its reset not made yet) or that does not read gives the period of the
    // chosen day around today.
    const QDate following = nextOccurrenceAfter(today, resetDay);
    const auto stored = nextReset(store);
    const QDate end = stored && *stored > today ? *stored : following;
    // A reset date set further ahead than a month: the period still began on
    // the last chosen day, not after today.
    return {qMin(end.addMonths(-1), following.addMonths(-1)), end};
}

} // namespace resetrule
