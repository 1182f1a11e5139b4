// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The connections a yearly journal records. An opening line reads "date time
// user word", a closing line "date time user word duration", each item padded
// to the next print zone; the words come from the language in force, so a
// closing line is told by the duration text that ends it. An opening pairs with
// the next closing of the same user; a closing without its opening still gives
// a connection, begun its duration before it ended.
namespace journalconnections {

struct Connection {
    QString user;
    QDateTime start;
    // Nothing for an opening no closing followed: the connection is still up,
    // or its meter was stopped without writing one.
    std::optional<QDateTime> end;
    // The connected time the closing line gives, in seconds.
    std::optional<qint64> seconds;
};

struct Reading {
    QList<Connection> connections; // by start, earliest first
    // Lines that hold something but do not read as an entry (spacer lines,
    // which hold one blank, are not counted).
    int unreadLines = 0;
};

// The journal's bytes, line by line in UTF-8 or, for lines written in the older
// 8-bit form, Windows-1252. Dates and times are read in the system's forms.
Reading parse(const QByteArray &bytes);

} // namespace journalconnections
