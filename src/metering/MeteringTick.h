// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class ConsoleCore;

// The heart of the meter: run once a second by the console's timer. It notices
// when a connection begins and ends (reloading or saving the counters and
// writing the journal then), keeps the status texts up to date and, while
// connected, adds the seconds that passed to the connection and to the three
// counters. Seconds are measured on the clock's running time, not counted one
// per tick: a tick that comes late, or after the meter was held up, counts every
// second since the last one counted, and a change of the date and time adds or
// removes nothing.
class MeteringTick {
public:
    // Counters are saved this often while connected, so that a crash or a power
    // cut loses at most this many seconds.
    static constexpr int SaveEverySeconds = 60;

    explicit MeteringTick(ConsoleCore &console);

    void onTick();

    // The duration of the connection under way, or of the last one; empty until
    // the first connection of the run.
    const QString &connectionDuration() const { return duration_; }

private:
    void connectionBegan();
    void connectionEnded();
    // The whole seconds of running time since the last second counted; the part
    // of a second left over is counted by a later tick.
    qint64 secondsToCount();
    void countConnectedSeconds(qint64 seconds);
    // One second more on the connection and the counters; true when the
    // connection stood at a ten-minute mark before it.
    bool countOneSecond();
    void checkPackage(const QString &monthBefore);
    void setToolTip(const QString &text);
    // The counter one step on; at its limit it stays, and the user is told once.
    void advance(QString &counter, std::optional<QString> (*step)(const QString &));

    ConsoleCore &console_;
    QString duration_;
    // The running time up to which seconds have been counted; none while
    // disconnected.
    std::optional<qint64> countedUpTo_;
    qint64 secondsSinceSave_ = 0;
    bool limitReported_ = false;
};
