#include "DateCheck.h"

#include "DateText.h"
#include "DurationText.h"
#include "app/Clock.h"
#include "app/Schema.h"
#include "app/SettingsStore.h"
#include "console/ConsoleCore.h"
#include "console/ConsoleView.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

DateCheck::DateCheck(ConsoleCore &console)
    : console_(console)
{
}

bool DateCheck::dateChanged() const
{
    return console_.services().clock.now().date() != lastCheck_;
}

int DateCheck::resetDay() const
{
    // "1" is the first of the month; a chosen day is 2 to 28. Anything else
    // (missing, damaged) is taken as the first of the month.
    bool isNumber = false;
    const int day = console_.services().store.Lit(HKLM, schema::options::Raz.path).trimmed().toInt(&isNumber);
    return isNumber && day >= 2 && day <= 28 ? day : 1;
}

void DateCheck::Check_Date()
{
    SettingsStore &store = console_.services().store;
    const QDate today = console_.services().clock.now().date();
    const auto stored = datetext::parse(store.Lit(HKLM, schema::report::Date.path));

    // A first start, an unreadable date, or a clock set back before the last
    // check: nothing is archived and nothing is reset.
    if (stored && today >= *stored) {
        if (today != *stored)
            NouveauJour();
        const int day = resetDay();
        if (day != 1)
            Anniversaire(day);
        else if (today.year() != stored->year() || today.month() != stored->month())
            NouveauMois(stored->year(), stored->month());
    }

    schema::ensureValue(store, {schema::userSlot(0), schema::TotalSlotName});
    store.Ecrit(HKLM, schema::report::Date.path, datetext::date(today));
    lastCheck_ = today;
}

void DateCheck::NouveauJour()
{
    console_.services().store.Ecrit(HKLM, schema::variables::Jour.path, duration::Zero);
    console_.TxtDay = duration::Zero;
    console_.services().view.showCounters(console_.Txtmois, console_.TxtDay, console_.TextId);
}

void DateCheck::NouveauMois(int year, int month)
{
    SettingsStore &store = console_.services().store;
    for (int slot = 0;; ++slot) {
        const QString name = store.Lit(HKLM, schema::userSlot(slot));
        if (name == SettingsStore::Erreur)
            break;
        // A user without a counter is archived as "Erreur": no record for the readers.
        const QString counter = schema::variables::user(name).path;
        const QString archive = schema::report::archive(year, month, name);
        const QString archived = store.Lit(HKLM, archive);
        QString text = store.Lit(HKLM, counter);
        // A month archived already (the clock was set back into it and has come
        // forward again) keeps what it held: the new seconds are added to it.
        if (duration::isDurationText(archived))
            text = duration::sum(archived, text).value_or(archived);
        store.Ecrit(HKLM, archive, text);
        store.Suprime(HKLM, counter);
    }
    store.Suprime(HKLM, schema::VariablesKey);
    for (const QString &path : {schema::variables::Total.path, schema::variables::Jour.path,
                                schema::variables::user(console_.UserId).path})
        store.Ecrit(HKLM, path, duration::Zero);
    console_.Txtmois = console_.TxtDay = console_.TextId = duration::Zero;
    console_.services().view.showCounters(console_.Txtmois, console_.TxtDay, console_.TextId);
}

void DateCheck::Anniversaire(int day)
{
    SettingsStore &store = console_.services().store;
    const QDate today = console_.services().clock.now().date();
    const auto resetDate = datetext::parse(store.Lit(HKLM, schema::options::Anniversaire.path));
    // The chosen day in the month after today.
    const QDate nextMonth = today.addMonths(1);
    const QDate next(nextMonth.year(), nextMonth.month(), day);

    if (!resetDate) {
        // No readable reset date: the next occurrence of the day, without a reset.
        const QDate thisMonth(today.year(), today.month(), day);
        store.Ecrit(HKLM, schema::options::Anniversaire.path, datetext::date(today < thisMonth ? thisMonth : next));
        return;
    }
    if (today < *resetDate)
        return;
    // However many periods were missed, one reset archives them all under the
    // month in which the stale period ended.
    store.Ecrit(HKLM, schema::options::Anniversaire.path, datetext::date(next));
    NouveauMois(resetDate->year(), resetDate->month());
}
