// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionsLogic.h"

#include "console/ConsoleCore.h"
#include "console/ConsoleView.h"
#include "language/Language.h"
#include "metering/DateText.h"
#include "metering/DurationText.h"
#include "metering/Meter.h"
#include "metering/ResetRule.h"
#include "store/Clock.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

#include <QLocale>

#include <cmath>

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;

QString flag(bool on)
{
    return on ? schema::FlagOn : schema::FlagOff;
}

// A whole day of the month from 2 to 28, or nothing.
std::optional<int> resetDayOf(const QString &text)
{
    const int day = resetrule::dayOf(text);
    return day != resetrule::FirstOfMonth ? std::optional<int>(day) : std::nullopt;
}
} // namespace

OptionsLogic::OptionsLogic(ConsoleCore &console)
    : console_(console)
{
}

bool OptionsLogic::firstRun() const
{
    return console_.services().store.value(HKLM, schema::options::FirstBoot.path) == schema::FlagOn;
}

void OptionsLogic::load(OptionsForm &form) const
{
    const SettingsStore &store = console_.services().store;
    const auto read = [&store](const schema::Value &value) { return store.value(HKLM, value.path); };

    form.hideCompletelyEnabled = !console_.oldWindows;
    if (console_.oldWindows)
        form.hideCompletely = false;
    if (!firstRun()) {
        form.laterButtonsEnabled = true;
        form.language = read(schema::options::Langage);
        form.launchAtStartup = read(schema::options::LaunchAtWinStartup) == schema::FlagOn;
        form.percentBar = read(schema::options::Pourcent) == schema::FlagOn;
        form.alarm = read(schema::options::Alarm) == schema::FlagOn;
        const QString package = read(schema::options::Forfait);
        form.customPackage = package != duration::Zero;
        if (form.customPackage) {
            form.packageTime = package;
            form.hours = read(schema::options::Forf);
        }
        const int resetDay = resetrule::day(store);
        form.customResetDay = resetDay != resetrule::FirstOfMonth;
        if (form.customResetDay)
            form.resetDay = QString::number(resetDay);
        form.onTop = read(schema::options::Top) == schema::FlagOn;
        form.popup = read(schema::options::Pop) == schema::FlagOn;
        form.indivisible = read(schema::options::Indivisible) == schema::FlagOn;
        form.hideCompletely = read(schema::options::OldHideWay) == schema::truthText(false);
    }
    form.alarmEnabled = form.customPackage;
}

std::optional<QString> OptionsLogic::packageFor(const QString &hours)
{
    const QString text = hours.trimmed();
    bool isNumber = false;
    double value = QLocale::system().toDouble(text, &isNumber);
    if (!isNumber)
        value = QLocale::c().toDouble(QString(text).replace(QLatin1Char(','), QLatin1Char('.')), &isNumber);
    if (!isNumber || !std::isfinite(value) || value <= 0 || value > 32767)
        return std::nullopt;
    // Rounded to the nearest minute; 1.999 hours are 02:00:00, not 01:60:00.
    const qint64 minutes = std::llround(value * 60);
    const QString package = QStringLiteral("%1:%2:00")
                                .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return duration::isDurationText(package) && package != duration::Zero ? std::optional<QString>(package)
                                                                         : std::nullopt;
}

std::optional<QString> OptionsLogic::refusal(const OptionsForm &form) const
{
    const Language &language = console_.services().language;
    if (form.customPackage && !packageFor(form.hours))
        return language
            .message(QStringLiteral("PackageRefused"),
                     QStringLiteral("Le forfait doit être un nombre d'heures supérieur à zéro (par exemple 20 ou 1,5) : "
                                    "« %1 » ne convient pas."))
            .arg(form.hours);
    if (form.customResetDay && !resetDayOf(form.resetDay))
        return language
            .message(QStringLiteral("ResetDayRefused"),
                     QStringLiteral("Le jour de remise à zéro doit être un nombre entier de 2 à 28 : « %1 » ne "
                                    "convient pas."))
            .arg(form.resetDay);
    return std::nullopt;
}

bool OptionsLogic::saveOptions(OptionsForm &form)
{
    if (refusal(form))
        return false;
    SettingsStore &store = console_.services().store;
    ConsoleView &view = console_.services().view;
    const auto write = [&store](const schema::Value &value, const QString &text) {
        store.write(HKLM, value.path, text);
    };

    write(schema::options::Langage, form.language);
    write(schema::options::LaunchAtWinStartup, flag(form.launchAtStartup));
    write(schema::options::Pourcent, flag(form.percentBar));
    write(schema::options::Alarm, flag(form.alarm && form.customPackage));
    if (!form.customResetDay) {
        write(schema::options::Raz, schema::FlagOn);
    } else {
        const int day = *resetDayOf(form.resetDay);
        // A reset date still ahead on the chosen day is kept: writing this
        // month's day again would re-arm a reset already made. A reset made late
        // (the meter off on the day) sets the day of the month after, so that is
        // as far ahead as a kept date may be. A changed day or mode (or a date
        // that does not fit) takes the next occurrence of the day.
        const QDate today = resetrule::meterDate(store, console_.meter().services().clock.now().date());
        const QDate next = resetrule::nextOccurrenceAfter(today, day);
        const QDate monthAfter = today.addMonths(1);
        const auto stored = resetrule::nextReset(store);
        const bool keep = resetrule::day(store) == day && stored && stored->day() == day && *stored >= today
            && *stored <= QDate(monthAfter.year(), monthAfter.month(), day);
        write(schema::options::Raz, QString::number(day));
        if (!keep)
            write(schema::options::Anniversaire, datetext::date(next));
    }
    if (form.customPackage) {
        form.packageTime = *packageFor(form.hours);
        write(schema::options::Forfait, form.packageTime);
        write(schema::options::Forf, form.hours);
    } else {
        form.packageTime = duration::Zero;
        write(schema::options::Forfait, duration::Zero);
        write(schema::options::Forf, schema::FlagOff);
    }
    console_.meter().setPackageTime(form.packageTime);
    write(schema::options::Pop, flag(form.popup));
    // "Indivisible" has always been written under its lower-case name: the
    // store's names match without regard to case.
    store.write(HKLM, schema::OptionsKey + QStringLiteral("indivisible"), flag(form.indivisible));
    write(schema::options::Top, flag(form.onTop));

    // A console put away when the options are confirmed comes back where it
    // is shown, so that its stored place is that one.
    if (console_.hidden) {
        view.placeLeft(console_.shownLeft());
        view.offerShow(false);
    }
    if (!form.hideCompletely) {
        write(schema::options::OldHideWay, schema::truthText(true));
        if (!console_.oldWindows)
            view.setOpacity(255);
    } else {
        write(schema::options::OldHideWay, schema::truthText(false));
        // A stored place that is not a number leaves the console where it is.
        bool isNumber = false;
        const double left = store.value(HKLM, schema::options::X.path).trimmed().toDouble(&isNumber);
        if (isNumber && std::abs(left) < 1e9)
            view.placeLeft(std::llround(left));
    }
    console_.hidden = false;
    write(schema::options::Cache, schema::truthText(false));
    // Where the compositor places the console its place is not known: the
    // stored one is kept for a desktop where the meter places it again.
    if (!console_.compositorPlaces) {
        write(schema::options::X, QString::number(view.leftTwips()));
        write(schema::options::Y, QString::number(view.topTwips()));
    }
    return true;
}

void OptionsLogic::anchor()
{
    console_.services().store.write(HKLM, schema::options::Ancrage.path, schema::FlagOn);
    console_.services().view.setMovableCursor(false);
}

bool OptionsLogic::ok(OptionsForm &form)
{
    if (!saveOptions(form))
        return false;
    anchor();
    if (firstRun()) {
        console_.services().store.write(HKLM, schema::options::FirstBoot.path, schema::FlagOff);
        console_.applyLanguageAndOptions();
        console_.services().view.showConsole();
    } else {
        console_.applyLanguageAndOptions();
    }
    return true;
}

void OptionsLogic::defaultPosition()
{
    ConsoleView &view = console_.services().view;
    view.placeLeft(console_.screenWidthTwips() - 3550);
    view.placeTop(400);
    SettingsStore &store = console_.services().store;
    store.write(HKLM, schema::options::X.path, QString::number(view.leftTwips()));
    store.write(HKLM, schema::options::Y.path, QString::number(view.topTwips()));
    store.write(HKLM, schema::options::Cache.path, schema::truthText(false));
}

bool OptionsLogic::toggleMoving()
{
    SettingsStore &store = console_.services().store;
    if (store.value(HKLM, schema::options::Ancrage.path) == schema::FlagOn) {
        store.write(HKLM, schema::options::Ancrage.path, schema::FlagOff);
        console_.services().view.setMovableCursor(true);
        return true;
    }
    anchor();
    return false;
}
