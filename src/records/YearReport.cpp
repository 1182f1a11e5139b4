// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearReport.h"

#include "PrintLine.h"
#include "YearFigures.h"
#include "metering/Meter.h"
#include "metering/ResetRule.h"
#include "store/Clock.h"
#include "store/DataFile.h"
#include "store/Schema.h"

#include <QFile>
#include <QLocale>
#include <QTextStream>

QString monthName(int month)
{
    const QString name = QLocale::system().standaloneMonthName(month, QLocale::LongFormat).toLower();
    return name.isEmpty() ? name : name.left(1).toUpper() + name.mid(1);
}

YearReport::YearReport(const Meter &meter, QString reportFile)
    : meter_(meter)
    , reportFile_(std::move(reportFile))
{
}

namespace {

// The lines of archived months: a month with a total gets its name first (as a
// line of three items in the running year), then one row per figure.
QStringList archivedLines(const QList<yearfigures::Month> &months, const QString &rowLead, bool threeItemMonthLine)
{
    QStringList lines;
    for (const yearfigures::Month &month : months) {
        if (month.titled) {
            const QString title = monthName(month.month) + QStringLiteral(" :");
            lines << QString() << QString()
                  << (threeItemMonthLine ? printline::join({title, QStringLiteral(" "), QStringLiteral(" ")}) : title);
        }
        for (const yearfigures::Row &row : month.rows)
            lines << printline::join({rowLead, row.name, row.figure});
    }
    return lines;
}

} // namespace

QStringList YearReport::pastYearLines(const yearfigures::Stored &stored, const QString &year) const
{
    return archivedLines(yearfigures::archivedMonths(stored, year), QString(), false);
}

QDate YearReport::periodStart() const
{
    return resetrule::periodStart(meter_.services().store, meter_.services().clock.now().date());
}

QStringList YearReport::runningYearLines(const yearfigures::Stored &stored, const QString &year, int period) const
{
    const QString lead = QStringLiteral(" ");
    QStringList lines = archivedLines(yearfigures::archivedMonths(stored, year), lead, true);
    lines << QString() << QString()
          << printline::join({monthName(period) + QStringLiteral(" :"), QStringLiteral(" "), QStringLiteral(" ")});
    const yearfigures::Month running = yearfigures::runningPeriod(
        stored, period, {schema::TotalSlotName, meter_.monthTotal()},
        yearfigures::Row{meter_.currentUserName(), meter_.userMonth()});
    for (const yearfigures::Row &row : running.rows)
        lines << printline::join({lead, row.name, row.figure});
    return lines;
}

QStringList YearReport::refused(const QString &error) const
{
    if (const auto &tell = meter_.services().tell)
        tell(QStringLiteral("Le compte rendu n'a pas pu être préparé (%1).").arg(error));
    return {};
}

QStringList YearReport::reportLines(const QString &yearText, const QString &yearWord)
{
    // The period in progress belongs to the year in which it began, after every
    // month archived that year.
    const QDate period = periodStart();
    const bool currentYear = yearText == QString::number(period.year());
    QStringList report{yearWord + QLatin1Char(' ') + yearText + QStringLiteral(" :")};
    const yearfigures::Stored stored = yearfigures::read(meter_.services().store);
    report << (currentYear ? runningYearLines(stored, yearText, period.month()) : pastYearLines(stored, yearText));

    // Through the report file and back: the list shows exactly the file's lines.
    QString error;
    QFile out(reportFile_);
    if (!datafile::open(out, QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text, &error))
        return refused(error);
    QByteArray bytes;
    for (const QString &line : report)
        bytes += line.toUtf8() + '\n';
    if (out.write(bytes) != bytes.size() || !out.flush())
        return refused(QStringLiteral("%1 : %2").arg(reportFile_, out.errorString()));
    out.close();

    QFile in(reportFile_);
    if (!datafile::open(in, QIODevice::ReadOnly | QIODevice::Text, &error))
        return refused(error);
    QStringList lines;
    QTextStream stream(&in);
    stream.setEncoding(QStringConverter::Utf8);
    while (!stream.atEnd())
        lines << stream.readLine();
    return lines;
}
