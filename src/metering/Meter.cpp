// SPDX-License-Identifier: GPL-3.0-or-later
#include "Meter.h"

#include "ConnectionLog.h"
#include "ConnectionProbe.h"
#include "DurationText.h"
#include "MeterView.h"
#include "language/Language.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"
#include "store/SystemIdentity.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

Meter::Meter(MeterServices services)
    : s_(std::move(services))
{
}

QString Meter::currentUserName() const
{
    return QString::fromStdString(s_.identity.logOnName());
}

void Meter::load()
{
    userName_ = currentUserName();
    packageTime_ = loadCounter(schema::options::Forfait.path);
    // The counters come from the store, whatever the working copies held.
    monthTotal_ = dayTotal_ = userMonth_ = QString();
    countersUnread_ = true;
    reloadCounters();
    s_.view.showCounters(monthTotal_, dayTotal_, userMonth_);
    previousLinkState_ = schema::FlagOff;
    loaded_ = true;
    dateCheck_.checkDate();
}

void Meter::readOptions()
{
    const QString links = s_.store.value(HKLM, schema::options::Interfaces.path);
    s_.probe.setLinkPatterns(links == SettingsStore::ErrorText ? QString() : links);
    indivisible_ = s_.store.value(HKLM, schema::options::Indivisible.path);
    // A missing or non-numeric pop-up option means no pop-up; only "0" turns
    // the alert off.
    bool popIsNumber = false;
    popUpWanted_ = s_.store.value(HKLM, schema::options::Pop.path).trimmed().toInt(&popIsNumber) == 1 && popIsNumber;
    packageAlarm_ = s_.store.value(HKLM, schema::options::Alarm.path) != schema::FlagOff;
    percentBarOption_ = s_.store.value(HKLM, schema::options::Pourcent.path);
    const bool barShown = percentBarShown();
    s_.view.setPercentBarVisible(barShown);
    if (barShown)
        updatePercentBar();
    emit optionsRead();
}

bool Meter::percentBarShown() const
{
    return percentBarOption_ == schema::FlagOn;
}

bool Meter::firstMinuteIndivisible() const
{
    return indivisible_ == schema::FlagOn;
}

void Meter::setCounters(const QString &month, const QString &day, const QString &user)
{
    monthTotal_ = month;
    dayTotal_ = day;
    userMonth_ = user;
    s_.view.showCounters(monthTotal_, dayTotal_, userMonth_);
}

void Meter::advance(QString &counter, std::optional<QString> (*step)(const QString &))
{
    if (const auto next = step(counter)) {
        counter = *next;
        return;
    }
    // A text that is somehow no longer a duration text starts again from zero
    // rather than stopping the meter; one at the largest duration stays there.
    if (!duration::isDurationText(counter)) {
        counter = duration::Zero;
        return;
    }
    if (!limitReported_ && s_.tell)
        // Told once a run: a counter at the largest duration it can hold.
        s_.tell(s_.language
                    .message(QStringLiteral("CounterAtLimit"),
                             QStringLiteral("Un compteur a atteint sa valeur la plus grande (%1) : il y "
                                            "reste jusqu'à sa remise à zéro."))
                    .arg(counter));
    limitReported_ = true;
}

bool Meter::countSecond()
{
    const auto minutes = duration::minutesOf(connectionDuration_);
    const auto seconds = duration::secondsOf(connectionDuration_);
    const bool atMark = minutes && seconds && *minutes % 10 == 0 && *minutes != 0 && *seconds == 0;

    // The first minute of a connection charged in full was counted when it began.
    const bool firstMinutePaid = firstMinuteIndivisible() && duration::hoursOf(connectionDuration_) == 0
        && minutes == 0;
    advance(connectionDuration_, duration::addSecond);
    if (!firstMinutePaid) {
        for (QString *counter : {&userMonth_, &monthTotal_, &dayTotal_})
            advance(*counter, duration::addSecond);
    }
    return atMark;
}

void Meter::chargeFirstMinute()
{
    for (QString *counter : {&monthTotal_, &userMonth_, &dayTotal_})
        advance(*counter, duration::addMinute);
}

void Meter::startConnectionDuration()
{
    connectionDuration_ = duration::Zero;
}

void Meter::setSurfaceToolTip(const QString &text)
{
    surfaceToolTip_ = text;
    s_.view.setSurfaceToolTip(text);
}

void Meter::endTick(int linkState)
{
    // The month grows only while connected: only then can it reach a threshold.
    if (linkState == 1)
        emit connectedTickDone();
    previousLinkState_ = QString::number(linkState);
}

void Meter::tenMinuteMarkPassed()
{
    if (popUpWanted_)
        emit popupDue();
}

QString Meter::loadCounter(const QString &path, const QString &current)
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

void Meter::reloadCounters()
{
    if (countersUnread_) {
        mergeUnreadCounters();
        return;
    }
    monthTotal_ = loadCounter(schema::variables::Total.path, monthTotal_);
    dayTotal_ = loadCounter(schema::variables::Jour.path, dayTotal_);
    userMonth_ = loadCounter(schema::variables::user(userName_).path, userMonth_);
}

bool Meter::mergeUnreadCounters()
{
    const std::pair<QString, QString *> counters[] = {{schema::variables::Total.path, &monthTotal_},
                                                      {schema::variables::Jour.path, &dayTotal_},
                                                      {schema::variables::user(userName_).path, &userMonth_}};
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

void Meter::saveCounters()
{
    if (countersUnread_ && !mergeUnreadCounters())
        return;
    // Together: a kill between them would leave a month without its user's share.
    s_.store.atomically([this] {
        s_.store.write(HKLM, schema::variables::user(userName_).path, userMonth_);
        s_.store.write(HKLM, schema::variables::Total.path, monthTotal_);
        s_.store.write(HKLM, schema::variables::Jour.path, dayTotal_);
    });
}

void Meter::save()
{
    // A meter that never loaded has no counters to save: writing its empty
    // working copies would wipe the stored ones.
    if (!loaded_)
        return;
    takeCurrentUser();
    saveCounters();
}

void Meter::decidePackageIndicator()
{
    if (packageTime_ != duration::Zero && duration::compare(monthTotal_, packageTime_) == -1)
        packageExceeded();
    else
        s_.view.hidePackageIndicator();
}

void Meter::packageExceeded()
{
    s_.view.showPackageIndicator();
    if (packageAlarm_ && alertArmed_)
        s_.view.openPackageAlert();
}

void Meter::packageJustReached()
{
    s_.view.showPackageIndicator();
    if (packageAlarm_)
        s_.view.openPackageAlert();
}

void Meter::updatePercentBar()
{
    const auto monthSeconds = duration::toSeconds(monthTotal_);
    const auto userSeconds = duration::toSeconds(userMonth_);
    // An empty month has no share: the bar keeps what it showed.
    if (!monthSeconds || !userSeconds || *monthSeconds == 0)
        return;
    // Whole seconds, so that the figures are exact: 72 s of an hour are 2 %.
    // The share is not limited to 100 %; the width's bound only keeps it an int.
    const qint64 percent = duration::percentOf(*userSeconds, *monthSeconds);
    const int width = static_cast<int>(qMin<qint64>(100 * *userSeconds / (3 * *monthSeconds), 1000000));
    s_.view.setPercentBar(width, QString::number(percent) + QLatin1Char('%'));
}

void Meter::journalOpening()
{
    journalWritten(s_.journal.appendOpening(userName_, s_.view.holderText(QStringLiteral("Connexion"))));
}

void Meter::journalClosing()
{
    journalWritten(
        s_.journal.appendClosing(userName_, s_.view.holderText(QStringLiteral("Déconnexion")), connectionDuration_));
}

void Meter::closeConnectionAtExit()
{
    if (loaded_ && s_.probe.connectionState() == 1)
        journalClosing();
}

void Meter::journalWritten(bool written)
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
