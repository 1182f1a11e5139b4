// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

// One meter per data folder: two would count every second twice.
//
// The lock is the system's lock on an open file (released however the process
// ends, so a lock is never stale), and the file is never removed: in a shared
// folder where each member may remove only their own files, the file a member's
// meter made still serves the others. It holds the holder's process number.
class InstanceLock {
public:
    explicit InstanceLock(const QString &dataFolder);
    ~InstanceLock();

    // Takes the lock, or returns false with a message naming the process that
    // holds it, or naming a lock file that is there but takes no lock. A folder
    // that takes no lock file (read-only, full disk) has its lock in the user's
    // runtime folder instead; when no lock can be taken at all the meter still
    // runs, and *notice says so.
    bool acquire(QString *message, QString *notice);

private:
    enum class Outcome { Taken, Held, Failed };
    Outcome tryLockAt(const QString &file, QString *error);
    QString holderMessage();

    QFile file_;
    QString folder_;
};
