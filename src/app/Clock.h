// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The current date and time. Injected wherever dates matter, so that tests move a
// fake clock instead of waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
