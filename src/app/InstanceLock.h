#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One meter per data folder: two would count every second twice.
class InstanceLock {
public:
    explicit InstanceLock(const QString &dataFolder);
    ~InstanceLock();

    // Takes the lock, or returns false with a message naming the process that
    // holds it. A folder that takes no lock file (read-only, full disk) has its
    // lock in the user's runtime folder instead; when no lock can be taken at all
    // the meter still runs, and *notice says so.
    bool acquire(QString *message, QString *notice);

private:
    bool tryLockAt(const QString &file);
    QString holderMessage() const;

    std::unique_ptr<QLockFile> lock_;
    QString folder_;
};
