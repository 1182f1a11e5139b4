// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Every amount of connected time is held as a duration text: hours (at least two
// digits, no upper limit), ":", two-digit minutes, ":", two-digit seconds.
// Fields are taken by position from the right: the last two characters are the
// seconds, the two starting five from the right the minutes, everything before
// the last six the hours. Each field is a 16-bit signed number.
//
// The procedures never throw and never guess: a text that is not a duration
// text (too short, a field that is not a number, a field out of range) gives
// std::nullopt, and the caller decides what to do with it.
namespace duration {

inline const QString Zero = QStringLiteral("00:00:00");

struct Fields {
    qint16 hours = 0;
    qint16 minutes = 0;
    qint16 seconds = 0;
};

std::optional<Fields> parse(const QString &text);
bool isDurationText(const QString &text);

std::optional<qint16> hoursOf(const QString &text);
std::optional<qint16> minutesOf(const QString &text);
std::optional<qint16> secondsOf(const QString &text);

// One second (or one minute) later. Only the exact value 60 carries, so a field
// already above 59 is advanced without being put right (00:00:75 -> 00:00:76).
std::optional<QString> addSecond(const QString &text);
std::optional<QString> addMinute(const QString &text);

// -1 when a is longer than b, 0 when equal, 1 when a is shorter. Fields are
// compared as numbers: 9:00:00 equals 09:00:00.
std::optional<int> compare(const QString &a, const QString &b);

// The two durations added up, put right (minutes and seconds below 60); nothing
// when either is not a duration text or the hours would pass 32767.
std::optional<QString> sum(const QString &a, const QString &b);

// The length in seconds (fields taken as they are: 00:00:75 is 75 s); nothing
// when the text is not a duration text.
std::optional<qint64> toSeconds(const QString &text);
// A length in seconds as a duration text, put right, with as many hour digits
// as it needs (at least two); a negative length is shown as zero.
QString fromSeconds(qint64 seconds);

// The share of `part` in `whole` (seconds) in whole percent, rounded down, not
// limited to 100: 72 s of an hour are 2 %. `whole` must not be zero.
inline qint64 percentOf(qint64 part, qint64 whole)
{
    return 100 * part / whole;
}

// The text of a counter that is to be shown and counted: the text itself when it
// is a duration text, "00:00:00" otherwise.
QString orZero(const QString &text);

} // namespace duration
