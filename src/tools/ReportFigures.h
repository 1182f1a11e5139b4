// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReportTable.h"
#include "records/JournalConnections.h"

#include <QDate>

class SettingsStore;

// The report tool's tables, made from the store and the journal as the meter
// left them.
namespace reportfigures {

// The year in which the billing period in progress began, on the clock's date.
int runningYear(const SettingsStore &store, const QDate &today);

// Every archived month of the year, a row for its total and one for each
// user's figure, and for the year in which the period in progress began, that
// period with its running counters. Columns: month (yyyy-MM), period
// ("archived" or "running"), name, seconds, duration.
ReportTable months(const SettingsStore &store, int year, const QDate &today);

// One row per connection: start, end, seconds, duration, user. Dates and times
// are ISO 8601; a connection with no closing line has neither end nor duration.
ReportTable connections(const journalconnections::Reading &journal);

} // namespace reportfigures
