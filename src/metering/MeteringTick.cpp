// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeteringTick.h"

#include "ConnectionProbe.h"
#include "DurationText.h"
#include "Meter.h"
#include "MeterView.h"
#include "store/Clock.h"

MeteringTick::MeteringTick(Meter &meter)
    : meter_(meter)
{
}

void MeteringTick::onTick()
{
    MeterView &view = meter_.services().view;

    // One look at the link per second: every step of the tick works from the
    // same answer, so a link that drops in the middle of a tick cannot be counted
    // as both up and down.
    const int connected = meter_.services().probe.connectionState();
    const bool wasConnected = meter_.previousLinkState().toInt() == 1;
    if (!wasConnected)
        countedUpTo_.reset();
    const qint64 toCount = connected == 1 ? secondsToCount() : 0;
    qint64 countAfterDateCheck = toCount;
    // The first tick of a new date takes the new day or month, connected or
    // not: the seconds before midnight are counted into the old day and month
    // (saved, then archived), the others into the new ones. A tick counts the
    // second that begins with it and those before it that went uncounted.
    if (meter_.dateCheck().dateChanged()) {
        if (wasConnected) {
            if (connected == 1) {
                const qint64 sinceMidnight = meter_.services().clock.now().time().msecsSinceStartOfDay() / 1000;
                countAfterDateCheck = qMin(toCount, sinceMidnight + 1);
                countConnectedSeconds(toCount - countAfterDateCheck);
            }
            meter_.saveCounters();
        }
        meter_.dateCheck().checkDate();
    }
    const bool changed = wasConnected != (connected == 1);
    if (changed) {
        if (connected == 1)
            connectionBegan();
        else
            connectionEnded();
    }

    if (connected != 1) {
        meter_.setSurfaceToolTip(view.holderText(QStringLiteral("PasConnecté")));
        view.setStatus(view.holderText(QStringLiteral("Déconnecté")));
        meter_.setAlertArmed(true);
    } else {
        view.setStatus(view.holderText(QStringLiteral("ConnectéC")));
        meter_.setSurfaceToolTip(view.holderText(QStringLiteral("Depuis")) + QStringLiteral("  ")
                                 + meter_.connectionDuration());
        countConnectedSeconds(countAfterDateCheck);
        meter_.setAlertArmed(false);
    }

    if (meter_.percentBarShown())
        meter_.updatePercentBar();
    meter_.endTick(connected);
}

qint64 MeteringTick::secondsToCount()
{
    const qint64 now = meter_.services().clock.runningMilliseconds();
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

void MeteringTick::connectionBegan()
{
    meter_.takeCurrentUser();
    meter_.startConnectionDuration();
    secondsSinceSave_ = 0;
    // A reset made in the store while disconnected is taken up here.
    meter_.reloadCounters();
    if (meter_.firstMinuteIndivisible())
        meter_.chargeFirstMinute();
    meter_.journalOpening();
}

void MeteringTick::connectionEnded()
{
    meter_.takeCurrentUser();
    meter_.saveCounters();
    secondsSinceSave_ = 0;
    meter_.journalClosing();
}

void MeteringTick::countConnectedSeconds(qint64 seconds)
{
    if (seconds <= 0)
        return;
    const QString monthBefore = meter_.monthTotal();
    bool markPassed = false;
    for (qint64 i = 0; i < seconds; ++i)
        markPassed = meter_.countSecond() || markPassed;

    // The pop-up comes once at each ten-minute mark of the connection, when
    // wanted, and once for a tick that passed several marks.
    if (markPassed)
        meter_.tenMinuteMarkPassed();

    meter_.services().view.showCounters(meter_.monthTotal(), meter_.dayTotal(), meter_.userMonth());
    checkPackage(monthBefore);

    secondsSinceSave_ += seconds;
    if (secondsSinceSave_ >= SaveEverySeconds) {
        secondsSinceSave_ = 0;
        meter_.saveCounters();
    }
}

void MeteringTick::checkPackage(const QString &monthBefore)
{
    // With no package there is nothing to exceed, whatever the alert option says.
    if (!meter_.packageAlarm() || meter_.packageTime() == duration::Zero)
        return;
    // compare gives -1 when the first is longer, 0 when equal, 1 when shorter.
    const auto before = duration::compare(monthBefore, meter_.packageTime());
    const auto after = duration::compare(meter_.monthTotal(), meter_.packageTime());
    if (!after)
        return;
    // Reached by this tick, however many seconds it counted: the alert opens.
    // Already past it: the indicator stays, and the alert opens again only
    // after a disconnection.
    if (*after <= 0 && before == 1)
        meter_.packageJustReached();
    else if (*after == -1)
        meter_.packageExceeded();
}
