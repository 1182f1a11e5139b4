// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalConnections.h"

#include "PrintLine.h"
#include "language/IniFile.h"
#include "metering/DateText.h"
#include "metering/DurationText.h"

#include <QHash>
#include <QLocale>

#include <algorithm>

namespace journalconnections {

namespace {

// One line read as an entry.
struct Entry {
    QDateTime at;
    QString user;
    std::optional<qint64> seconds; // a closing line's duration
};

// Where the items of a printed line start: at its beginning, then at each print
// zone that begins after a blank (an item is padded with at least one).
QList<qsizetype> itemStarts(const QString &line)
{
    QList<qsizetype> starts{0};
    for (qsizetype at = printline::Zone; at < line.size(); at += printline::Zone) {
        if (line.at(at - 1) == QLatin1Char(' ') && line.at(at) != QLatin1Char(' '))
            starts << at;
    }
    return starts;
}

std::optional<QTime> parseTime(const QString &text)
{
    QTime time = QLocale::system().toTime(text, datetext::timeFormat());
    if (!time.isValid()) // written under another locale's 24-hour form
        time = QTime::fromString(text, QStringLiteral("H:mm:ss"));
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

// The seconds of a duration as the journal writes it, "hh:mm:ss" (the
// duration reader alone would also take a word such as "20040315").
std::optional<qint64> durationSeconds(const QString &text)
{
    const qsizetype size = text.size();
    if (size < 8 || text.at(size - 3) != QLatin1Char(':') || text.at(size - 6) != QLatin1Char(':'))
        return std::nullopt;
    return duration::toSeconds(text);
}

// Dates and times already read: a year of journal repeats its dates line
// after line, and reading one in the locale's form costs far more than a look-up.
struct Calendar {
    QHash<QString, std::optional<QDate>> dates;
    QHash<QString, std::optional<QTime>> times;

    std::optional<QDate> date(const QString &text)
    {
        const auto known = dates.constFind(text);
        return known != dates.constEnd() ? *known : *dates.insert(text, datetext::parse(text));
    }
    std::optional<QTime> time(const QString &text)
    {
        const auto known = times.constFind(text);
        return known != times.constEnd() ? *known : *times.insert(text, parseTime(text));
    }
};

std::optional<Entry> readEntry(QString line, Calendar &calendar)
{
    // A closing line ends with the duration, one blank after its word. Blanks
    // go from the end only: the items' columns count from the beginning.
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    const qsizetype lastBlank = line.lastIndexOf(QLatin1Char(' '));
    const std::optional<qint64> seconds =
        lastBlank > 0 ? durationSeconds(line.mid(lastBlank + 1)) : std::nullopt;
    if (seconds)
        line.truncate(lastBlank);
    // Date, time, user and word: the user's item runs to the word's, so a name
    // with blanks in it stays whole.
    const QList<qsizetype> starts = itemStarts(line);
    if (starts.size() < 4)
        return std::nullopt;
    const auto item = [&](qsizetype from, qsizetype to) { return line.mid(from, to - from).trimmed(); };
    const auto date = calendar.date(item(starts.at(0), starts.at(1)));
    const auto time = calendar.time(item(starts.at(1), starts.at(2)));
    const QString user = item(starts.at(2), starts.last());
    if (!date || !time || user.isEmpty())
        return std::nullopt;
    return Entry{QDateTime(*date, *time), user, seconds};
}

} // namespace

Reading parse(const QByteArray &bytes)
{
    Reading reading;
    QHash<QString, qsizetype> open; // user -> index of the connection awaiting its closing
    Calendar calendar;
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = from;
        while (end < bytes.size() && bytes.at(end) != '\n' && bytes.at(end) != '\r')
            ++end;
        const QString line = decodeLegacyText(bytes.mid(from, end - from));
        from = end + (end + 1 < bytes.size() && bytes.at(end) == '\r' && bytes.at(end + 1) == '\n' ? 2 : 1);
        if (line.trimmed().isEmpty())
            continue;

        const std::optional<Entry> entry = readEntry(line, calendar);
        if (!entry) {
            ++reading.unreadLines;
            continue;
        }
        if (!entry->seconds) {
            // A second opening of the same user leaves the first one unclosed.
            open.insert(entry->user, reading.connections.size());
            reading.connections.append({entry->user, entry->at, std::nullopt, std::nullopt});
            continue;
        }
        const auto opening = open.constFind(entry->user);
        if (opening != open.constEnd()) {
            Connection &connection = reading.connections[*opening];
            connection.end = entry->at;
            connection.seconds = entry->seconds;
            open.erase(opening);
        } else {
            reading.connections.append({entry->user, entry->at.addSecs(-*entry->seconds), entry->at, entry->seconds});
        }
    }
    std::stable_sort(reading.connections.begin(), reading.connections.end(),
                     [](const Connection &a, const Connection &b) { return a.start < b.start; });
    return reading;
}

} // namespace journalconnections
