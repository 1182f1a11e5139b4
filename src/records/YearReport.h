// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "YearFigures.h"

#include <QDate>
#include <QString>
#include <QStringList>

class Meter;

// The month-by-month report of one year, as the Connection Viewer lists it: a
// heading, then for each month with figures its name and one row per user. For
// the current year, the period in progress comes last, with the meter's live
// figures and the running counters. The report is written to the report file
// and read back from it, so that the list shows exactly the file's lines.
class YearReport {
public:
    YearReport(const Meter &meter, QString reportFile);

    // The report of the year in the text (as typed or picked); the first word of
    // the heading is `yearWord` ("Année "). Lines up to an error, if one comes.
    QStringList reportLines(const QString &yearText, const QString &yearWord);

    // The first of the month in which the period in progress began.
    QDate periodStart() const;

private:
    QStringList pastYearLines(const yearfigures::Stored &stored, const QString &year) const;
    QStringList runningYearLines(const yearfigures::Stored &stored, const QString &year, int period) const;
    // Tells the user why the report file failed; the report is then empty.
    QStringList refused(const QString &error) const;

    const Meter &meter_;
    QString reportFile_;
};

// The month's full name in the system's language, first letter capitalised.
QString monthName(int month);
