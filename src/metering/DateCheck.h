// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>

class Meter;

// The day and month rollover: a new day clears the day counter; a new month (or
// the chosen reset day) archives every user's month into the report and clears
// the month's counters. Run at start-up, and by the tick at the first tick of a
// new date, connected or not. The store and the meter's working copies are
// written together; the store's part is one atomic step.
class DateCheck {
public:
    explicit DateCheck(Meter &meter);

    void checkDate();
    void startNewDay();
    // Archives every user slot's counter under that year and month, then clears
    // the counters. False, with nothing changed, when a counter could not be read.
    bool archiveMonth(int year, int month);
    // The reset on a chosen day of the month (2..28). False when it was due but
    // could not be made.
    bool resetOnChosenDay(int day);

    // Whether the clock's date differs from the date the last check saw.
    bool dateChanged() const;

private:
    // Finishes a month's archive that a store without transactions was writing
    // when the meter stopped. False when the store could not be read.
    bool finishArchiveInProgress();

    Meter &meter_;
    QDate lastSeen_;
};
