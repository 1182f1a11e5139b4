// SPDX-License-Identifier: GPL-3.0-or-later
#include "DateText.h"

#include <QLocale>
#include <QRegularExpression>

namespace datetext {

QString shortDateFormat()
{
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    // "yy" (and a lone "y") become "yyyy"; a format that already has four stays.
    static const QRegularExpression year(QStringLiteral("y+"));
    format.replace(year, QStringLiteral("yyyy"));
    return format;
}

QString timeFormat()
{
    // The long form has the seconds; its time zone is no part of a journal time.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

QString date(const QDate &value)
{
    return QLocale::system().toString(value, shortDateFormat());
}

QString time(const QTime &value)
{
    return QLocale::system().toString(value, timeFormat());
}

} // namespace datetext

namespace datetext {

std::optional<QDate> parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    QDate value = QLocale::system().toDate(trimmed, shortDateFormat());
    if (!value.isValid()) {
        // Older versions wrote the day and the month without a leading zero
        // (07/3/2004): one-letter fields read one or two digits.
        static const QRegularExpression twoLetterField(QStringLiteral("(?<![dM])(d|M)\\1(?![dM])"));
        value = QLocale::system().toDate(trimmed, shortDateFormat().replace(twoLetterField, QStringLiteral("\\1")));
    }
    return value.isValid() ? std::optional<QDate>(value) : std::nullopt;
}

} // namespace datetext
