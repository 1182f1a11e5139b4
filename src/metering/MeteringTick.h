// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class ConsoleCore;

// The heart of the meter: run once a second by the console's timer. It notices
// when a connection begins and ends (reloading or saving the counters and
// writing the journal then), keeps the status texts up to date and, while
// connected, adds one second to the connection and to the three counters. Time
// is counted, not measured: a tick that does not come is a second not counted.
class MeteringTick {
public:
    // Counters are saved this often while connected, so that a crash or a power
    // cut loses at most this many seconds.
    static constexpr int SaveEveryTicks = 60;

    explicit MeteringTick(ConsoleCore &console);

    void Timer1_Timer();

    // The duration of the connection under way, or of the last one; empty until
    // the first connection of the run.
    const QString &connectionDuration() const { return duration_; }

private:
    void connectionBegan();
    void connectionEnded();
    void countConnectedSecond();
    void setToolTip(const QString &text);
    // The counter one step on; at its limit it stays, and the user is told once.
    void advance(QString &counter, std::optional<QString> (*step)(const QString &));
    QString option(const QString &path) const;

    ConsoleCore &console_;
    QString duration_;
    int ticksSinceSave_ = 0;
    bool limitReported_ = false;
};
