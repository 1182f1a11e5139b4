// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString cellText(const QJsonValue &cell)
{
    if (cell.isDouble())
        return QString::number(cell.toInteger());
    return cell.toString();
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString ReportTable::text() const
{
    // A line break in a cell (a hand-edited name) would break the columns.
    const auto shown = [](const QJsonValue &cell) {
        return cell.isNull() ? QStringLiteral("-")
                             : cellText(cell).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    };
    // Each column's width, and whether it holds numbers (set to the right).
    QList<qsizetype> widths;
    QList<bool> numbers;
    for (const QString &column : columns) {
        widths << column.size();
        numbers << false;
    }
    for (const auto &row : rows) {
        for (qsizetype c = 0; c < row.size() && c < widths.size(); ++c) {
            widths[c] = qMax(widths[c], shown(row.at(c)).size());
            numbers[c] = numbers[c] || row.at(c).isDouble();
        }
    }
    const auto line = [&](const QStringList &cells) {
        QString text;
        for (qsizetype c = 0; c < cells.size() && c < widths.size(); ++c) {
            if (c > 0)
                text += QStringLiteral("  ");
            text += numbers.at(c) ? cells.at(c).rightJustified(widths.at(c)) : cells.at(c).leftJustified(widths.at(c));
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text + QLatin1Char('\n');
    };
    QString text = line(columns);
    for (const auto &row : rows) {
        QStringList cells;
        for (const QJsonValue &cell : row)
            cells << shown(cell);
        text += line(cells);
    }
    return text;
}

QString ReportTable::csv() const
{
    QStringList fields;
    for (const QString &column : columns)
        fields << csvField(column);
    QString text = fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const auto &row : rows) {
        fields.clear();
        for (const QJsonValue &cell : row)
            fields << csvField(cellText(cell));
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text;
}

QByteArray ReportTable::json() const
{
    QJsonArray array;
    for (const auto &row : rows) {
        QJsonObject object;
        for (qsizetype c = 0; c < row.size() && c < columns.size(); ++c)
            object.insert(columns.at(c), row.at(c));
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}
