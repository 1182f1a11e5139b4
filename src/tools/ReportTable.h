// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

// Rows of figures under named columns, written for people (aligned plain
// text), for spreadsheets (CSV) or for scripts (JSON). A cell is a text, a
// whole number or null (nothing known: an empty field, or null in JSON).
struct ReportTable {
    QStringList columns;
    QList<QList<QJsonValue>> rows;

    // Columns padded to their widest cell, numbers to the right, two blanks
    // between columns, a header line first; "-" stands for nothing known, and
    // line breaks in a cell become blanks.
    QString text() const;
    // RFC 4180: a header row, CR LF line ends, and fields that hold commas,
    // quotes or line breaks quoted, their quotes doubled.
    QString csv() const;
    // One array of objects, one a row, keyed by the column names.
    QByteArray json() const;
};
