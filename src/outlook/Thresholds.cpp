// SPDX-License-Identifier: GPL-3.0-or-later
#include "Thresholds.h"

#include "store/Schema.h"

#include <QStringList>

#include <algorithm>

namespace thresholds {

namespace {

std::optional<int> item(const QString &text)
{
    const QString trimmed = text.trimmed();
    // Digits only: no sign, no decimals, no "0x".
    if (trimmed.isEmpty() || trimmed.size() > 2
        || !std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const int value = trimmed.toInt();
    return value >= Lowest && value <= Highest ? std::optional<int>(value) : std::nullopt;
}

QList<int> sorted(QList<int> list)
{
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

} // namespace

std::optional<QList<int>> parse(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QList<int>();
    QList<int> list;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const auto value = item(part);
        if (!value)
            return std::nullopt;
        list << *value;
    }
    return sorted(list);
}

QList<int> readLeniently(const QString &text)
{
    QList<int> list;
    for (const QString &part : text.split(QLatin1Char(','))) {
        if (const auto value = item(part))
            list << *value;
    }
    return sorted(list);
}

QString text(const QList<int> &list)
{
    QStringList items;
    for (int value : list)
        items << QString::number(value);
    return items.join(QLatin1Char(','));
}

QList<int> inForce(const SettingsStore::Reading &stored)
{
    return readLeniently(stored.status == SettingsStore::Reading::Found ? stored.text
                                                                        : schema::options::Seuils.defaultText);
}

} // namespace thresholds
