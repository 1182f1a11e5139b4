// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportFigures.h"

#include "metering/DurationText.h"
#include "metering/ResetRule.h"
#include "records/YearFigures.h"
#include "store/SettingsStore.h"

namespace reportfigures {

namespace {

// A figure in seconds and as a duration text; one that does not read as a
// duration keeps its stored text and has no seconds.
QList<QJsonValue> durationCells(const QString &figure)
{
    const auto seconds = duration::toSeconds(figure);
    if (!seconds)
        return {QJsonValue::Null, figure};
    return {*seconds, duration::fromSeconds(*seconds)};
}

void addMonth(ReportTable &table, int year, const yearfigures::Month &month, const QString &period)
{
    const QString name = QDate(year, month.month, 1).toString(QStringLiteral("yyyy-MM"));
    for (const yearfigures::Row &row : month.rows)
        table.rows.append(QList<QJsonValue>{name, period, row.name} + durationCells(row.figure));
}

} // namespace

int runningYear(const SettingsStore &store, const QDate &today)
{
    return resetrule::periodStart(store, today).year();
}

ReportTable months(const SettingsStore &store, int year, const QDate &today)
{
    ReportTable table{{"month", "period", "name", "seconds", "duration"}, {}};
    const yearfigures::Stored stored = yearfigures::read(store);
    for (const yearfigures::Month &month : yearfigures::archivedMonths(stored, QString::number(year)))
        addMonth(table, year, month, QStringLiteral("archived"));

    if (const auto running = yearfigures::storedRunningPeriod(stored, year, resetrule::periodStart(store, today)))
        addMonth(table, year, *running, QStringLiteral("running"));
    return table;
}

ReportTable connections(const journalconnections::Reading &journal)
{
    ReportTable table{{"start", "end", "seconds", "duration", "user"}, {}};
    const auto iso = [](const QDateTime &at) { return at.toString(Qt::ISODate); };
    for (const journalconnections::Connection &connection : journal.connections) {
        table.rows.append({iso(connection.start), connection.end ? iso(*connection.end) : QJsonValue(),
                           connection.seconds ? QJsonValue(*connection.seconds) : QJsonValue(),
                           connection.seconds ? QJsonValue(duration::fromSeconds(*connection.seconds)) : QJsonValue(),
                           connection.user});
    }
    return table;
}

} // namespace reportfigures
