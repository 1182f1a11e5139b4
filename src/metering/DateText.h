// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

// Dates and times as the program writes them: the system's short date form,
// always with a four-digit year so that every stored date reads back, and the
// system's time form with seconds.
namespace datetext {

QString shortDateFormat();
QString timeFormat();

QString date(const QDate &date);
QString time(const QTime &time);

// The rewrites of the system's forms: every run of "y" becomes "yyyy"; the
// time zone ("t", "tt", ...) and the blanks around it become one space, ends
// trimmed; a lone "dd" or "MM" field becomes "d" or "M".
QString fourDigitYears(const QString &format);
QString withoutTimeZone(const QString &format);
QString oneOrTwoDigitFields(const QString &format);

// A stored date read back; nothing when the text is not a date in the short
// date form (a changed locale, a hand edit).
std::optional<QDate> parse(const QString &text);

} // namespace datetext
