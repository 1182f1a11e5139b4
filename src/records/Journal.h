#pragma once

#include <QString>

class Clock;

// The yearly connection journal: one text file per calendar year, named after the
// year (2006.txt), in the data folder. Each write picks the file of the clock's
// year anew, so entries after midnight on 31 December go to the new year's file.
class Journal {
public:
    Journal(QString folder, const Clock &clock);

    QString currentFile() const;

    // Makes sure the current year's file exists: when it cannot be opened for
    // reading, it is created empty. Returns false when that failed.
    bool ensureCurrentFile() const;

private:
    QString folder_;
    const Clock &clock_;
};
