// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "metering/ConnectionLog.h"

#include <QString>

class Clock;

// The yearly connection journal: one text file per calendar year, named after the
// year (2006.txt), in the data folder. Each write picks the file of the clock's
// year anew, so entries after midnight on 31 December go to the new year's file.
// The file is opened and closed around every entry.
//
// An entry is one line of items (date, time, user, word and, when closing, the
// duration), each padded to the next print zone of 14 columns, ended by CR LF.
// No entry holds a comma: the journal viewer splits lines there.
class Journal final : public ConnectionLog {
public:
    Journal(QString folder, const Clock &clock);

    QString currentFile() const;

    // Makes sure the current year's file exists: when it cannot be opened for
    // reading, it is created empty. Returns false when that failed.
    bool ensureCurrentFile() const;

    // A connection came up.
    bool appendOpening(const QString &user, const QString &word) const override;
    // A connection went down (or the program stops while it is up): the entry,
    // then a spacer line holding one blank.
    bool appendClosing(const QString &user, const QString &word, const QString &duration) const override;

    // Deletes a journal file; one that may not be deleted (another member's, in a
    // shared folder where each member removes only their own files) is emptied.
    // Returns false when neither could be done.
    bool erase(const QString &file) const;

    // Why the last write or creation that failed did so.
    QString lastError() const override { return lastError_; }

private:
    bool append(const QStringList &items, bool spacer) const;

    QString folder_;
    const Clock &clock_;
    mutable QString lastError_;
};
