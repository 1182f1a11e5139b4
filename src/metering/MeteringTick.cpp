// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeteringTick.h"

#include "ConnectionProbe.h"
#include "DurationText.h"
#include "store/Clock.h"
#include "store/Schema.h"
#include "console/ConsoleCore.h"
#include "console/ConsoleView.h"
#include "language/Language.h"
#include "records/Journal.h"

MeteringTick::MeteringTick(ConsoleCore &console)
    : console_(console)
{
}

void MeteringTick::onTick()
{
    ConsoleView &view = console_.services().view;

    // One look at the link per second: every step of the tick works from the
    // same answer, so a link that drops in the middle of a tick cannot be counted
    // as both up and down.
    const int connected = console_.services().probe.connectionState();
    const bool wasConnected = console_.previousLinkState.toInt() == 1;
    if (!wasConnected)
        countedUpTo_.reset();
    const qint64 toCount = connected == 1 ? secondsToCount() : 0;
    qint64 countAfterDateCheck = toCount;
    // The first tick of a new date takes the new day or month, connected or
    // not: the seconds before midnight are counted into the old day and month
    // (saved, then archived), the others into the new ones. A tick counts the
    // second that begins with it and those before it that went uncounted.
    if (console_.dateCheck().dateChanged()) {
        if (wasConnected) {
            if (connected == 1) {
                const qint64 sinceMidnight = console_.services().clock.now().time().msecsSinceStartOfDay() / 1000;
                countAfterDateCheck = qMin(toCount, sinceMidnight + 1);
                countConnectedSeconds(toCount - countAfterDateCheck);
            }
            console_.saveCounters();
        }
        console_.dateCheck().checkDate();
    }
    const bool changed = wasConnected != (connected == 1);
    if (changed) {
        if (connected == 1)
            connectionBegan();
        else
            connectionEnded();
    }

    if (connected != 1) {
        setToolTip(view.holderText(QStringLiteral("PasConnecté")));
        view.setStatus(view.holderText(QStringLiteral("Déconnecté")));
        console_.alertArmed = true;
    } else {
        view.setStatus(view.holderText(QStringLiteral("ConnectéC")));
        setToolTip(view.holderText(QStringLiteral("Depuis")) + QStringLiteral("  ") + duration_);
        countConnectedSeconds(countAfterDateCheck);
        console_.alertArmed = false;
    }

    if (console_.percentBarOption == schema::FlagOn)
        console_.updatePercentBar();
    // The month grows only while connected: only then can it reach a threshold.
    if (connected == 1)
        console_.warnings().check();
    console_.previousLinkState = QString::number(connected);
    console_.connectionDuration = duration_;
}

qint64 MeteringTick::secondsToCount()
{
    const qint64 now = console_.services().clock.runningMilliseconds();
    // The tick that finds the link up counts the second that begins with it;
    // each later one counts up to the second that begins with it, and the tick
    // that finds the link down counts none: so a connection lasts as long as its
    // journal lines are apart.
    if (!countedUpTo_) {
        countedUpTo_ = now;
        return 1;
    }
    // To the nearest second, so that a timer that comes a little early or late
    // (timers may be moved by a few percent to save wake-ups) counts one second,
    // not none then two; what is over or under carries to the next tick.
    const qint64 seconds = qMax<qint64>(0, (now - *countedUpTo_ + 500) / 1000);
    *countedUpTo_ += seconds * 1000;
    return seconds;
}

void MeteringTick::advance(QString &counter, std::optional<QString> (*step)(const QString &))
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
    if (!limitReported_ && console_.services().tell)
        // Told once a run: a counter at the largest duration it can hold.
        console_.services().tell(console_.services()
                                     .language
                                     .message(QStringLiteral("CounterAtLimit"),
                                              QStringLiteral("Un compteur a atteint sa valeur la plus grande (%1) : il y "
                                                             "reste jusqu'à sa remise à zéro."))
                                     .arg(counter));
    limitReported_ = true;
}

void MeteringTick::setToolTip(const QString &text)
{
    console_.surfaceToolTip = text;
    console_.services().view.setSurfaceToolTip(text);
}

void MeteringTick::connectionBegan()
{
    console_.userName = console_.currentUserName();
    duration_ = duration::Zero;
    secondsSinceSave_ = 0;
    // A reset made in the store while disconnected is taken up here.
    console_.reloadCounters();
    if (console_.indivisible == schema::FlagOn) {
        for (QString *counter : {&console_.monthTotal, &console_.userMonth, &console_.dayTotal})
            advance(*counter, duration::addMinute);
    }
    const ConsoleView &view = console_.services().view;
    console_.journalWritten(
        console_.services().journal.appendOpening(console_.userName, view.holderText(QStringLiteral("Connexion"))));
}

void MeteringTick::connectionEnded()
{
    console_.userName = console_.currentUserName();
    console_.saveCounters();
    secondsSinceSave_ = 0;
    const ConsoleView &view = console_.services().view;
    console_.journalWritten(console_.services().journal.appendClosing(
        console_.userName, view.holderText(QStringLiteral("Déconnexion")), duration_));
}

void MeteringTick::countConnectedSeconds(qint64 seconds)
{
    if (seconds <= 0)
        return;
    const QString monthBefore = console_.monthTotal;
    bool markPassed = false;
    for (qint64 i = 0; i < seconds; ++i)
        markPassed = countOneSecond() || markPassed;

    // The pop-up comes once at each ten-minute mark of the connection, when
    // wanted, and once for a tick that passed several marks.
    if (markPassed && console_.popUpWanted)
        console_.hiding().fadeOutForPopup();

    console_.services().view.showCounters(console_.monthTotal, console_.dayTotal, console_.userMonth);
    checkPackage(monthBefore);

    secondsSinceSave_ += seconds;
    if (secondsSinceSave_ >= SaveEverySeconds) {
        secondsSinceSave_ = 0;
        console_.saveCounters();
    }
}

bool MeteringTick::countOneSecond()
{
    const auto minutes = duration::minutesOf(duration_);
    const auto seconds = duration::secondsOf(duration_);
    const bool atMark = minutes && seconds && *minutes % 10 == 0 && *minutes != 0 && *seconds == 0;

    // The first minute of a connection charged in full was counted when it began.
    const bool firstMinutePaid = console_.indivisible == schema::FlagOn && duration::hoursOf(duration_) == 0
        && minutes == 0;
    advance(duration_, duration::addSecond);
    if (!firstMinutePaid) {
        for (QString *counter : {&console_.userMonth, &console_.monthTotal, &console_.dayTotal})
            advance(*counter, duration::addSecond);
    }
    return atMark;
}

void MeteringTick::checkPackage(const QString &monthBefore)
{
    // With no package there is nothing to exceed, whatever the alert option says.
    if (!console_.packageAlarm || console_.packageTime == duration::Zero)
        return;
    // compare gives -1 when the first is longer, 0 when equal, 1 when shorter.
    const auto before = duration::compare(monthBefore, console_.packageTime);
    const auto after = duration::compare(console_.monthTotal, console_.packageTime);
    if (!after)
        return;
    // Reached by this tick, however many seconds it counted: the alert opens.
    // Already past it: the indicator stays, and the alert opens again only
    // after a disconnection.
    if (*after <= 0 && before == 1)
        console_.packageJustReached();
    else if (*after == -1)
        console_.packageExceeded();
}
