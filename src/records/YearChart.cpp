// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearChart.h"

#include "metering/DurationText.h"
#include "metering/ResetRule.h"
#include "store/NameFolding.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

#include <algorithm>

namespace yearchart {

namespace {

constexpr double SecondsPerHour = 3600.0;

std::optional<double> hoursOf(const QString &figure)
{
    const auto seconds = duration::toSeconds(figure);
    if (!seconds)
        return std::nullopt;
    return double(*seconds) / SecondsPerHour;
}

// Adds the month's figures to the chart. Stored names match without regard to
// case, so two slots that differ only in case read the same counter: it is
// counted once, under the first spelling.
void addMonth(Chart &chart, const yearfigures::Month &month)
{
    if (month.month < 1 || month.month > 12)
        return;
    std::optional<double> total;
    QList<std::pair<QString, double>> users;
    QStringList seen;
    for (const yearfigures::Row &row : month.rows) {
        const auto hours = hoursOf(row.figure);
        if (!hours)
            continue;
        if (row.name == schema::TotalSlotName) {
            total = hours;
            continue;
        }
        const QString folded = foldName(row.name);
        if (seen.contains(folded))
            continue;
        seen << folded;
        users.append({row.name, *hours});
    }
    // A month known by its total alone shows the total as a set of its own.
    if (users.isEmpty() && total)
        users.append({schema::TotalSlotName, *total});
    for (const auto &[name, hours] : users) {
        const QString folded = foldName(name);
        qsizetype set = 0;
        while (set < chart.users.size() && foldName(chart.users.at(set)) != folded)
            ++set;
        if (set == chart.users.size()) {
            chart.users << name;
            chart.hours.append(QList<double>(12, 0.0));
        }
        chart.hours[set][month.month - 1] += hours;
    }
}

} // namespace

double Chart::monthHours(int month) const
{
    double sum = 0;
    for (const QList<double> &set : hours)
        sum += set.value(month - 1);
    return sum;
}

Chart fromFigures(const yearfigures::Stored &stored, int year, const QDate &periodStart, const QString &package)
{
    Chart chart;
    chart.year = year;
    for (const yearfigures::Month &month : yearfigures::archivedMonths(stored, QString::number(year)))
        addMonth(chart, month);
    if (const auto running = yearfigures::storedRunningPeriod(stored, year, periodStart)) {
        chart.runningMonth = running->month;
        addMonth(chart, *running);
    }
    // A user without time in the year (a slot the meter keeps at zero) would
    // only crowd the legend.
    for (qsizetype set = chart.users.size() - 1; set >= 0; --set) {
        if (std::all_of(chart.hours.at(set).cbegin(), chart.hours.at(set).cend(), [](double h) { return h == 0; })) {
            chart.users.removeAt(set);
            chart.hours.removeAt(set);
        }
    }
    if (const auto hours = hoursOf(package); hours && *hours > 0)
        chart.packageHours = hours;
    for (int month = 1; month <= 12; ++month)
        chart.largest = std::max(chart.largest, chart.monthHours(month));
    chart.largest = std::max(chart.largest, chart.packageHours.value_or(0.0));
    return chart;
}

Chart read(const SettingsStore &store, int year, const QDate &clockDate)
{
    return fromFigures(yearfigures::read(store), year, resetrule::periodStart(store, clockDate),
                       store.value(SettingsStore::LocalMachine, schema::options::Forfait.path));
}

} // namespace yearchart
