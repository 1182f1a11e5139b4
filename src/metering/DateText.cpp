// SPDX-License-Identifier: GPL-3.0-or-later
#include "DateText.h"

#include <QLocale>

namespace {

// The end of the run of `letter` that starts at `from`.
qsizetype runEnd(const QString &text, qsizetype from, QChar letter)
{
    while (from < text.size() && text.at(from) == letter)
        ++from;
    return from;
}

bool isDayOrMonth(const QString &text, qsizetype at)
{
    return at >= 0 && at < text.size() && (text.at(at) == QLatin1Char('d') || text.at(at) == QLatin1Char('M'));
}

} // namespace

// These rewrites scan the format by hand: a regular expression would bring the
// whole PCRE2 library and its compiled patterns into a meter that runs all day.
namespace datetext {

QString fourDigitYears(const QString &format)
{
    QString result;
    for (qsizetype at = 0; at < format.size();) {
        if (format.at(at) == QLatin1Char('y')) {
            result += QLatin1String("yyyy");
            at = runEnd(format, at, QLatin1Char('y'));
        } else {
            result += format.at(at++);
        }
    }
    return result;
}

QString withoutTimeZone(const QString &format)
{
    QString result;
    // The blanks before this point were taken with the zone before.
    qsizetype taken = 0;
    for (qsizetype at = 0; at < format.size();) {
        if (format.at(at) != QLatin1Char('t')) {
            result += format.at(at++);
            continue;
        }
        // The zone goes with the blanks around it, which become one space.
        while (result.size() > taken && result.back().isSpace())
            result.chop(1);
        at = runEnd(format, at, QLatin1Char('t'));
        while (at < format.size() && format.at(at).isSpace())
            ++at;
        result += QLatin1Char(' ');
        taken = result.size();
    }
    return result.trimmed();
}

QString oneOrTwoDigitFields(const QString &format)
{
    QString result;
    for (qsizetype at = 0; at < format.size();) {
        const QChar letter = format.at(at);
        const qsizetype end = runEnd(format, at, letter);
        const bool twoLetterField =
            isDayOrMonth(format, at) && end - at == 2 && !isDayOrMonth(format, at - 1) && !isDayOrMonth(format, end);
        result += twoLetterField ? QString(letter) : format.mid(at, end - at);
        at = end;
    }
    return result;
}

QString shortDateFormat()
{
    // "yy" (and a lone "y") become "yyyy"; a format that already has four stays.
    return fourDigitYears(QLocale::system().dateFormat(QLocale::ShortFormat));
}

QString timeFormat()
{
    // The long form has the seconds; its time zone is no part of a journal time.
    return withoutTimeZone(QLocale::system().timeFormat(QLocale::LongFormat));
}

QString date(const QDate &value)
{
    return QLocale::system().toString(value, shortDateFormat());
}

QString time(const QTime &value)
{
    return QLocale::system().toString(value, timeFormat());
}

std::optional<QDate> parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    QDate value = QLocale::system().toDate(trimmed, shortDateFormat());
    if (!value.isValid()) {
        // Older versions wrote the day and the month without a leading zero
        // (07/3/2004): one-letter fields read one or two digits.
        value = QLocale::system().toDate(trimmed, oneOrTwoDigitFields(shortDateFormat()));
    }
    return value.isValid() ? std::optional<QDate>(value) : std::nullopt;
}

} // namespace datetext
