// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearFigures.h"

#include "store/Schema.h"

namespace yearfigures {

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

Stored read(const SettingsStore &store)
{
    Stored stored{store.copyOfKey(HKLM, schema::Product), {}};
    for (int slot = 0;; ++slot) {
        const QString name = stored.values.value(HKLM, schema::userSlot(slot));
        if (name == SettingsStore::ErrorText)
            return stored;
        stored.userSlots << name;
    }
}

QList<Month> archivedMonths(const Stored &stored, const QString &year)
{
    QList<Month> months;
    for (int month = 1; month <= 12; ++month) {
        const QString monthKey = schema::ReportKey + year + QLatin1Char('\\') + QString::number(month) + QLatin1Char('\\');
        Month figures{month, stored.values.value(HKLM, monthKey + schema::TotalSlotName) != SettingsStore::ErrorText,
                      {}};
        // A user's figure shows even in a month without a stored total.
        for (const QString &name : stored.userSlots) {
            const QString figure = stored.values.value(HKLM, monthKey + name);
            if (figure != SettingsStore::ErrorText)
                figures.rows.append({name, figure});
        }
        if (figures.titled || !figures.rows.isEmpty())
            months.append(figures);
    }
    return months;
}

Month runningPeriod(const Stored &stored, int month, const Row &total, const std::optional<Row> &current)
{
    Month period{month, true, {total}};
    if (current)
        period.rows.append(*current);
    const QStringList &names = stored.userSlots;
    for (int slot = 1; slot < names.size(); ++slot) {
        if (current && names.at(slot) == current->name)
            continue;
        const QString counter = stored.values.value(HKLM, schema::variables::user(names.at(slot)).path);
        if (counter != SettingsStore::ErrorText)
            period.rows.append({names.at(slot), counter});
    }
    return period;
}

std::optional<Month> storedRunningPeriod(const Stored &stored, int year, const QDate &periodStart)
{
    if (!periodStart.isValid() || periodStart.year() != year)
        return std::nullopt;
    const Row total{schema::TotalSlotName, stored.values.value(HKLM, schema::variables::Total.path,
                                                                schema::variables::Total.defaultText)};
    return runningPeriod(stored, periodStart.month(), total, std::nullopt);
}

} // namespace yearfigures
