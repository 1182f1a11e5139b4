// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleCore.h"

#include "ConsoleView.h"

#include <QCoreApplication>
#include "store/LaunchAtStartup.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"
#include "store/SystemIdentity.h"
#include "records/Journal.h"
#include "metering/ConnectionProbe.h"
#include "metering/DurationText.h"
#include "language/Language.h"
#include "language/LanguageTargets.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
constexpr int kPercentBarWidth = 33; // pixels: the frame of the bar
} // namespace

ConsoleCore::ConsoleCore(ConsoleServices services)
    : s_(std::move(services))
{
}

QString ConsoleCore::currentUserName() const
{
    return QString::fromStdString(s_.identity.logOnName());
}

QString ConsoleCore::loadCounter(const QString &path, const QString &current)
{
    // A counter that is missing, or that is not a duration text (a hand edit, a
    // damaged store), counts from zero and the store is repaired. One the store
    // could not give is left alone: the working copy goes on from where it was.
    const SettingsStore::Reading reading = s_.store.read(HKLM, path);
    if (reading.status == SettingsStore::Reading::Unreadable)
        return duration::orZero(current);
    if (reading.status == SettingsStore::Reading::Found && duration::isDurationText(reading.text))
        return reading.text;
    s_.store.write(HKLM, path, duration::Zero);
    return duration::Zero;
}

void ConsoleCore::reloadCounters()
{
    if (countersUnread_) {
        mergeUnreadCounters();
        return;
    }
    monthTotal = loadCounter(schema::variables::Total.path, monthTotal);
    dayTotal = loadCounter(schema::variables::Jour.path, dayTotal);
    userMonth = loadCounter(schema::variables::user(userName).path, userMonth);
}

bool ConsoleCore::mergeUnreadCounters()
{
    const std::pair<QString, QString *> counters[] = {{schema::variables::Total.path, &monthTotal},
                                                      {schema::variables::Jour.path, &dayTotal},
                                                      {schema::variables::user(userName).path, &userMonth}};
    for (const auto &[path, copy] : counters)
        *copy = duration::orZero(*copy);
    QStringList stored;
    for (const auto &[path, copy] : counters) {
        const SettingsStore::Reading reading = s_.store.read(HKLM, path);
        if (reading.status == SettingsStore::Reading::Unreadable)
            return false;
        const bool valid = reading.status == SettingsStore::Reading::Found && duration::isDurationText(reading.text);
        stored << (valid ? reading.text : QString());
    }
    countersUnread_ = false;
    for (int i = 0; i < stored.size(); ++i) {
        const auto &[path, copy] = counters[i];
        // A missing or damaged counter counts from zero and the store is repaired.
        if (stored.at(i).isEmpty()) {
            s_.store.write(HKLM, path, duration::Zero);
            stored[i] = duration::Zero;
        }
        *copy = duration::sum(stored.at(i), *copy).value_or(stored.at(i));
    }
    return true;
}

void ConsoleCore::decidePackageIndicator()
{
    if (packageTime != duration::Zero && duration::compare(monthTotal, packageTime) == -1)
        packageExceeded();
    else
        s_.view.hidePackageIndicator();
}

qint64 ConsoleCore::storedPosition(const QString &path, qint64 fallback) const
{
    bool ok = false;
    const double twips = s_.store.value(HKLM, path).trimmed().toDouble(&ok);
    return ok && qAbs(twips) < 1e9 ? qRound64(twips) : fallback;
}

void ConsoleCore::load(qint64 screenWidthTwips)
{
    screenWidth_ = screenWidthTwips;
    slideToHide = schema::readTruth(s_.store.value(HKLM, schema::options::OldHideWay.path), true);
    const qint64 defaultLeft = schema::defaultConsoleLeft(screenWidthTwips);
    const qint64 defaultTop = schema::options::Y.defaultText.toLongLong();
    const qint64 left = storedPosition(schema::options::X.path, defaultLeft);
    const qint64 top = storedPosition(schema::options::Y.path, defaultTop);
    // A console stored where no screen shows it would be out of reach: it comes
    // up at the default place instead (the stored place stays until the Options
    // dialog is confirmed).
    const bool reachable = s_.view.fitsOnScreen(left, top);
    shownLeft_ = reachable ? left : defaultLeft;
    if (schema::readTruth(s_.store.value(HKLM, schema::options::Cache.path), false)) {
        hidden = true;
        hiding_.hideAtStart();
    } else {
        s_.view.placeLeft(shownLeft_);
    }
    s_.view.placeTop(reachable ? top : defaultTop);

    userName = currentUserName();
    s_.view.setUserHeading(userName + QStringLiteral(" :"));
    packageTime = loadCounter(schema::options::Forfait.path);
    // The counters come from the store, whatever the working copies held.
    monthTotal = dayTotal = userMonth = QString();
    countersUnread_ = true;
    reloadCounters();
    s_.view.showCounters(monthTotal, dayTotal, userMonth);
    previousLinkState = schema::FlagOff;
    loaded_ = true;
    dateCheck_.checkDate();

    applyLanguageAndOptions();
    // Decided on the month as the date check left it, with the options Lancer
    // read. Before the alert is armed only the indicator can show: the alert
    // window waits for a connection.
    decidePackageIndicator();
    alertArmed = true;
}

void ConsoleCore::applyLanguageAndOptions()
{
    // A meter that never had its language chosen speaks French, the language of
    // its built-in texts and of its journal words.
    QString langage = s_.store.value(HKLM, schema::options::Langage.path);
    if (langage == SettingsStore::ErrorText)
        langage = Language::DefaultName;
    s_.language.select(langage);
    s_.language.apply(s_.windows.windowsForLancer());

    applyHidingAndPlacement();
    QString error;
    if (!registerLaunchAtStartup(s_.store, s_.startupEntry, QCoreApplication::applicationFilePath(), &error) && s_.tell)
        s_.tell(QStringLiteral("Le lancement à l'ouverture de session n'a pas pu être mis en place : %1").arg(error));

    readMeteringOptions();
}

void ConsoleCore::readMeteringOptions()
{
    const QString links = s_.store.value(HKLM, schema::options::Interfaces.path);
    s_.probe.setLinkPatterns(links == SettingsStore::ErrorText ? QString() : links);
    indivisible = s_.store.value(HKLM, schema::options::Indivisible.path);
    // A missing or non-numeric pop-up option means no pop-up; only "0" turns
    // the alert off.
    bool popIsNumber = false;
    popUpWanted = s_.store.value(HKLM, schema::options::Pop.path).trimmed().toInt(&popIsNumber) == 1 && popIsNumber;
    packageAlarm = s_.store.value(HKLM, schema::options::Alarm.path) != schema::FlagOff;
    percentBarOption = s_.store.value(HKLM, schema::options::Pourcent.path);
    const bool barShown = percentBarOption == schema::FlagOn;
    s_.view.setPercentBarVisible(barShown);
    if (barShown)
        updatePercentBar();
    // The package or the thresholds may have changed: a threshold the month
    // has reached meanwhile is told now.
    warnings_.recheck();
}

bool ConsoleCore::anchored() const
{
    bool isNumber = false;
    const double ancrage = s_.store.value(HKLM, schema::options::Ancrage.path).trimmed().toDouble(&isNumber);
    return !isNumber || ancrage != 0;
}

void ConsoleCore::applyHidingAndPlacement()
{
    slideToHide = schema::readTruth(s_.store.value(HKLM, schema::options::OldHideWay.path), true);
    // A missing or unreadable "Top" keeps the console in the normal order.
    bool isNumber = false;
    const double top = s_.store.value(HKLM, schema::options::Top.path).trimmed().toDouble(&isNumber);
    s_.view.setOnTop(isNumber && top == 1);
    s_.view.setMovableCursor(!anchored());
}

void ConsoleCore::packageExceeded()
{
    s_.view.showPackageIndicator();
    if (packageAlarm && alertArmed)
        s_.view.openPackageAlert();
}

void ConsoleCore::packageJustReached()
{
    s_.view.showPackageIndicator();
    if (packageAlarm)
        s_.view.openPackageAlert();
}

void ConsoleCore::updatePercentBar()
{
    const auto monthSeconds = duration::toSeconds(monthTotal);
    const auto userSeconds = duration::toSeconds(userMonth);
    // An empty month has no share: the bar keeps what it showed.
    if (!monthSeconds || !userSeconds || *monthSeconds == 0)
        return;
    // Whole seconds, so that the figures are exact: 72 s of an hour are 2 %.
    // The share is not limited to 100 %; the width's bound only keeps it an int.
    const qint64 percent = duration::percentOf(*userSeconds, *monthSeconds);
    const int width = static_cast<int>(qMin<qint64>(100 * *userSeconds / (3 * *monthSeconds), 1000000));
    s_.view.setPercentBar(width, QString::number(percent) + QLatin1Char('%'));
}

void ConsoleCore::shutdown()
{
    if (shutdownDone_ || !loaded_)
        return;
    shutdownDone_ = true;
    saveState();
    if (s_.probe.connectionState() == 1)
        journalWritten(s_.journal.appendClosing(userName, s_.view.holderText(QStringLiteral("Déconnexion")), connectionDuration));
}

void ConsoleCore::saveCounters()
{
    if (countersUnread_ && !mergeUnreadCounters())
        return;
    // Together: a kill between them would leave a month without its user's share.
    s_.store.atomically([this] {
        s_.store.write(HKLM, schema::variables::user(userName).path, userMonth);
        s_.store.write(HKLM, schema::variables::Total.path, monthTotal);
        s_.store.write(HKLM, schema::variables::Jour.path, dayTotal);
    });
}

void ConsoleCore::journalWritten(bool written)
{
    if (written) {
        journalFailureReported_ = false;
    } else if (!journalFailureReported_) {
        journalFailureReported_ = true;
        if (s_.tell)
            s_.tell(s_.language
                        .message(QStringLiteral("JournalNotWritten"),
                                 QStringLiteral("Le journal des connexions n'a pas pu être écrit (%1) : cette entrée "
                                                "est perdue. Le compteur continue."))
                        .arg(s_.journal.lastError()));
    }
}

void ConsoleCore::saveState()
{
    // A console that never loaded has no counters to save: writing its empty
    // working copies would wipe the stored ones.
    if (!loaded_)
        return;
    s_.store.write(HKLM, schema::options::Cache.path, schema::truthText(hidden));
    userName = currentUserName();
    saveCounters();
}
