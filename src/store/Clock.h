// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RunningTime.h"

#include <QDateTime>

// The current date and time, and a running time for measuring how long things
// last. Injected wherever dates or durations matter, so that tests move a fake
// clock instead of waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds from an arbitrary start, on a clock that only runs forward:
    // setting the date and time does not move it, and it stands still while the
    // machine is suspended, so differences measure time the machine was running.
    virtual qint64 runningMilliseconds() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 runningMilliseconds() const override { return platformRunningMilliseconds(); }
};
