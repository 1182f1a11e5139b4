// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>

#include <optional>

class SettingsStore;

// When the month's counters are archived and cleared: on the first of each
// month, or on a chosen day (2 to 28) with the date of the next reset kept in
// the store. Every reader of the rule reads it here, so that the date check,
// the Options dialog and the year report agree.
namespace resetrule {

constexpr int FirstOfMonth = 1;

// The chosen day, 2 to 28; anything else (1, missing, damaged) is the first of
// the month.
int dayOf(const QString &text);
int day(const SettingsStore &store);

// Whether the rule's stored values could be read (missing ones count as read):
// a rule the store cannot give now is not taken for the first of the month.
bool readable(const SettingsStore &store);

// The stored date of the next reset on a chosen day; nothing when it is missing
// or does not read as a date.
std::optional<QDate> nextReset(const SettingsStore &store);

// The meter's date: the clock's, or the date of the last check when the clock
// is behind it (the meter's calendar never goes back).
QDate meterDate(const SettingsStore &store, const QDate &clockDate);

// The first date strictly after `date` that falls on `day` of its month.
QDate nextOccurrenceAfter(const QDate &date, int day);

// The year and month (day 1) in which the period that ends at the next reset
// began: the month of the last check on the first of each month, otherwise the
// month before the stored reset date (this month when it does not read).
QDate periodStart(const SettingsStore &store, const QDate &clockDate);

// The billing period the meter is in, on the meter's date: from the day of the
// last reset to the day of the next one, which belongs to the next period.
struct Period {
    QDate start;
    QDate end;
};
Period currentPeriod(const SettingsStore &store, const QDate &clockDate);

} // namespace resetrule
