// SPDX-License-Identifier: GPL-3.0-or-later
#include "DateCheck.h"

#include "DateText.h"
#include "DurationText.h"
#include "Meter.h"
#include "ResetRule.h"
#include "store/Clock.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

DateCheck::DateCheck(Meter &meter)
    : meter_(meter)
{
}

bool DateCheck::dateChanged() const
{
    return meter_.services().clock.now().date() != lastSeen_;
}

void DateCheck::checkDate()
{
    SettingsStore &store = meter_.services().store;
    const QDate today = meter_.services().clock.now().date();
    const SettingsStore::Reading storedText = store.read(HKLM, schema::report::Date.path);
    // A date that could not be read is asked again at the next tick: taking it
    // for missing would start the calendar again from today.
    if (storedText.status == SettingsStore::Reading::Unreadable || !resetrule::readable(store))
        return;
    if (!finishArchiveInProgress())
        return;
    const auto stored = storedText.status == SettingsStore::Reading::Found ? datetext::parse(storedText.text)
                                                                          : std::nullopt;
    lastSeen_ = today;
    // A clock behind the last check changes nothing at all: the stored date
    // never goes back, so putting the clock right is no new day or month.
    if (stored && today < *stored)
        return;

    bool done = true;
    // A first start or an unreadable date: today's date is written, nothing is
    // reset. Otherwise the whole rollover is one step: a kill part-way leaves
    // the store as it was, and the next check does it again from the start.
    // A store too busy to start a transaction: the whole check waits for the
    // next tick rather than being made one change at a time.
    const bool started = store.atomically(
        [&] {
            if (stored) {
                const int day = resetrule::day(store);
                if (day != resetrule::FirstOfMonth)
                    done = resetOnChosenDay(day);
                else if (today.year() != stored->year() || today.month() != stored->month())
                    done = archiveMonth(stored->year(), stored->month());
            }
            // A month that could not be archived leaves everything as it was.
            if (!done)
                return;
            if (stored && today != *stored)
                startNewDay();
            schema::ensureValue(store, {schema::userSlot(0), schema::TotalSlotName});
            store.write(HKLM, schema::report::Date.path, datetext::date(today));
        },
        SettingsStore::IfBusy::Later);
    // A month that could not be archived whole is tried again at the next tick.
    if (!started || !done)
        lastSeen_ = QDate();
}

bool DateCheck::finishArchiveInProgress()
{
    SettingsStore &store = meter_.services().store;
    const SettingsStore::Reading record = store.read(HKLM, schema::report::ArchiveInProgress.path);
    if (record.status == SettingsStore::Reading::Unreadable)
        return false;
    // Each line: the archive, its final text, the counter it came from. The
    // archive's text is written as recorded (a repeat changes nothing) and the
    // counter cleared; the date check that follows finds nothing left to add.
    const QStringList lines = record.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        // Only archives and counters: a record edited by hand reaches nothing else.
        if (fields.size() != 3 || !fields.at(0).startsWith(schema::ReportKey)
            || !fields.at(2).startsWith(schema::VariablesKey))
            continue;
        store.write(HKLM, fields.at(0), fields.at(1));
        store.remove(HKLM, fields.at(2));
    }
    return true;
}

void DateCheck::startNewDay()
{
    meter_.services().store.write(HKLM, schema::variables::Jour.path, duration::Zero);
    meter_.setCounters(meter_.monthTotal(), duration::Zero, meter_.userMonth());
}

bool DateCheck::archiveMonth(int year, int month)
{
    SettingsStore &store = meter_.services().store;
    // Seconds counted while the counters could not be read belong to this month.
    meter_.saveUnreadCounters();
    // Every slot's counter is read before anything is written: a counter the
    // store cannot give now is neither archived as missing nor cleared.
    struct Slot {
        QString counter;
        QString archive;
        QString text;
    };
    QList<Slot> users;
    for (int slot = 0;; ++slot) {
        const SettingsStore::Reading name = store.read(HKLM, schema::userSlot(slot));
        if (name.status == SettingsStore::Reading::Unreadable)
            return false;
        if (name.status == SettingsStore::Reading::Missing)
            break;
        const QString counter = schema::variables::user(name.text).path;
        const QString archive = schema::report::archive(year, month, name.text);
        const SettingsStore::Reading counted = store.read(HKLM, counter);
        const SettingsStore::Reading archived = store.read(HKLM, archive);
        if (counted.status == SettingsStore::Reading::Unreadable || archived.status == SettingsStore::Reading::Unreadable)
            return false;
        // A user without a counter is archived as "Erreur": no record for the readers.
        QString text = counted.status == SettingsStore::Reading::Found ? counted.text : SettingsStore::ErrorText;
        // A month archived already (the reset day was changed to a later day of
        // the same month) keeps what it held: the new seconds are added to it.
        if (duration::isDurationText(archived.text))
            text = duration::sum(archived.text, text).value_or(archived.text);
        users.append({counter, archive, text});
    }
    // Without transactions the archive's final texts are written down first, in
    // one value: a rollover cut short after it is finished from that record,
    // never summed a second time from counters not yet cleared.
    if (!store.hasTransactions()) {
        QStringList record;
        for (const Slot &slot : users)
            record << slot.archive + QLatin1Char('\t') + slot.text + QLatin1Char('\t') + slot.counter;
        store.write(HKLM, schema::report::ArchiveInProgress.path, record.join(QLatin1Char('\n')));
    }
    for (const Slot &slot : users) {
        store.write(HKLM, slot.archive, slot.text);
        store.remove(HKLM, slot.counter);
    }
    store.remove(HKLM, schema::VariablesKey);
    // A new period: each warning threshold may be told again.
    store.remove(HKLM, schema::report::Seuils.path);
    for (const QString &path : {schema::variables::Total.path, schema::variables::Jour.path,
                                schema::variables::user(meter_.userName()).path})
        store.write(HKLM, path, duration::Zero);
    // Once the counters are clear, a repeat of this month's archive adds nothing.
    if (!store.hasTransactions())
        store.remove(HKLM, schema::report::ArchiveInProgress.path);
    meter_.setCounters(duration::Zero, duration::Zero, duration::Zero);
    meter_.decidePackageIndicator();
    return true;
}

bool DateCheck::resetOnChosenDay(int day)
{
    SettingsStore &store = meter_.services().store;
    const QDate today = meter_.services().clock.now().date();
    const auto resetDate = resetrule::nextReset(store);

    if (!resetDate) {
        // No readable reset date: the next occurrence of the day, without a reset.
        store.write(HKLM, schema::options::Anniversaire.path,
                    datetext::date(resetrule::nextOccurrenceAfter(today, day)));
        return true;
    }
    if (today < *resetDate)
        return true;
    // However many periods were missed, one reset archives them all under the
    // month in which the stale period ended; the next reset is the chosen day
    // in the month after today. The date goes last, once the month is archived.
    if (!archiveMonth(resetDate->year(), resetDate->month()))
        return false;
    const QDate nextMonth = today.addMonths(1);
    store.write(HKLM, schema::options::Anniversaire.path,
                datetext::date(QDate(nextMonth.year(), nextMonth.month(), day)));
    return true;
}
