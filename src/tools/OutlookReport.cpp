// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutlookReport.h"

#include "metering/DurationText.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace outlookreport {

namespace {

QString durationText(qint64 seconds)
{
    return duration::fromSeconds(seconds);
}

QString isoDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QString days(qint64 count)
{
    return count == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(count);
}

// The last day of the period: the next reset's day belongs to the next one.
QDate lastDay(const PeriodOutlook &o)
{
    return o.period.end.addDays(-1);
}

QString usedLine(const PeriodOutlook &o)
{
    if (!o.hasPackage())
        return QStringLiteral("Used %1 (no package)").arg(durationText(o.used));
    return QStringLiteral("Used %1 of %2 (%3 %)").arg(durationText(o.used), durationText(o.package)).arg(o.sharePercent);
}

QString leftLine(const PeriodOutlook &o)
{
    return QStringLiteral("Left %1, %2 a day for %3")
        .arg(durationText(o.remaining), durationText(o.dailyAllowance), days(o.daysLeft));
}

QString projectionLine(const PeriodOutlook &o)
{
    if (!o.paceKnown)
        return QStringLiteral("No pace yet: it is known after the period's first hour");
    QString line = QStringLiteral("Average %1 a day; at that pace %2 by %3")
                       .arg(durationText(o.averagePerDay), durationText(o.projection), isoDate(lastDay(o)));
    if (!o.hasPackage())
        return line;
    if (o.withinPackage())
        return line + QStringLiteral(", within the package (%1 left)").arg(durationText(o.package - o.projection));
    line += QStringLiteral(", over the package by %1").arg(durationText(o.projectedExcess));
    if (o.runsOut)
        line += QStringLiteral("; it runs out on %1").arg(o.runsOut->toString(QStringLiteral("yyyy-MM-dd 'at' HH:mm")));
    return line;
}

QStringList lines(const PeriodOutlook &o)
{
    QStringList lines{QStringLiteral("Period %1 to %2, %3 left")
                          .arg(isoDate(o.period.start), isoDate(lastDay(o)), days(o.daysLeft)),
                      usedLine(o)};
    if (o.hasPackage())
        lines << leftLine(o);
    lines << projectionLine(o);
    return lines;
}

// Seconds and duration text under two names: "used_seconds" and "used".
void insertDuration(QJsonObject &object, const QString &name, qint64 seconds)
{
    object.insert(name + QStringLiteral("_seconds"), seconds);
    object.insert(name, durationText(seconds));
}

} // namespace

QString state(const PeriodOutlook &o, const QList<int> &thresholds)
{
    if (!o.hasPackage())
        return QStringLiteral("nopackage");
    if (o.usedUp())
        return QStringLiteral("critical");
    if (!thresholds.isEmpty() && o.sharePercent >= *std::max_element(thresholds.begin(), thresholds.end()))
        return QStringLiteral("warning");
    return QStringLiteral("normal");
}

QString text(const PeriodOutlook &o)
{
    return lines(o).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QByteArray json(const PeriodOutlook &o, const QList<int> &thresholds)
{
    QJsonObject object{{"period_start", isoDate(o.period.start)},
                       {"period_end", isoDate(lastDay(o))},
                       {"next_reset", isoDate(o.period.end)},
                       {"days_left", o.daysLeft},
                       {"state", state(o, thresholds)},
                       {"pace_known", o.paceKnown}};
    insertDuration(object, QStringLiteral("used"), o.used);
    if (o.hasPackage()) {
        insertDuration(object, QStringLiteral("package"), o.package);
        insertDuration(object, QStringLiteral("remaining"), o.remaining);
        insertDuration(object, QStringLiteral("daily_allowance"), o.dailyAllowance);
        object.insert(QStringLiteral("share_percent"), o.sharePercent);
    }
    if (o.paceKnown) {
        insertDuration(object, QStringLiteral("average_per_day"), o.averagePerDay);
        insertDuration(object, QStringLiteral("projection"), o.projection);
        if (o.hasPackage())
            insertDuration(object, QStringLiteral("projected_excess"), o.projectedExcess);
    }
    object.insert(QStringLiteral("runs_out"),
                  o.runsOut ? QJsonValue(o.runsOut->toString(Qt::ISODate)) : QJsonValue(QJsonValue::Null));
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QByteArray waybar(const PeriodOutlook &o, const QList<int> &thresholds)
{
    // Hours and minutes: a bar has room for little.
    const QString month = durationText(o.used).chopped(3);
    const QJsonObject object{{"text", month},
                             {"tooltip", lines(o).join(QLatin1Char('\n'))},
                             {"percentage", o.hasPackage() ? o.sharePercent : 0},
                             {"class", state(o, thresholds)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace outlookreport
