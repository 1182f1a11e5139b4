// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class Meter;

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

    explicit MeteringTick(Meter &meter);

    void onTick();

private:
    void connectionBegan();
    void connectionEnded();
    // The whole seconds of running time since the last second counted; the part
    // of a second left over is counted by a later tick.
    qint64 secondsToCount();
    void countConnectedSeconds(qint64 seconds);
    void checkPackage(const QString &monthBefore);

    Meter &meter_;
    // The running time up to which seconds have been counted; none while
    // disconnected.
    std::optional<qint64> countedUpTo_;
    qint64 secondsSinceSave_ = 0;
};
