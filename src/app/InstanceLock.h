#pragma once

#include <QLockFile>
#include <QString>

// One meter per data folder: two would count every second twice.
class InstanceLock {
public:
    explicit InstanceLock(const QString &dataFolder);

    // Takes the lock, or returns false with a message naming the process that holds it.
    bool acquire(QString *message);

private:
    QLockFile lock_;
    QString folder_;
};
