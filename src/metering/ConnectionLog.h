// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the meter notes each connection's beginning and end: the yearly journal.
class ConnectionLog {
public:
    virtual ~ConnectionLog() = default;

    // A connection came up.
    virtual bool appendOpening(const QString &user, const QString &word) const = 0;
    // A connection went down (or the program stops while it is up).
    virtual bool appendClosing(const QString &user, const QString &word, const QString &duration) const = 0;
    // Why the last write that failed did so.
    virtual QString lastError() const = 0;
};
