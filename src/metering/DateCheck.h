#pragma once

#include <QDate>

class ConsoleCore;

// The day and month rollover: a new day clears the day counter; a new month (or
// the chosen reset day) archives every user's month into the report and clears
// the month's counters. Run at start-up, and by the tick when the date has
// changed since the last check while no connection is up. The store and the
// console's working copies are written together.
class DateCheck {
public:
    explicit DateCheck(ConsoleCore &console);

    void Check_Date();
    void NouveauJour();
    // Archives every user slot's counter under that year and month, then clears
    // the counters.
    void NouveauMois(int year, int month);
    // The reset on a chosen day of the month (2..28).
    void Anniversaire(int day);

    // Whether the clock's date differs from the date of the last check.
    bool dateChanged() const;

private:
    int resetDay() const;

    ConsoleCore &console_;
    QDate lastCheck_;
};
