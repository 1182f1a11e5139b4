#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Dates and times as the program writes them: the system's short date form,
// always with a four-digit year so that every stored date reads back, and the
// system's time form with seconds.
namespace datetext {

QString shortDateFormat();
QString timeFormat();

QString date(const QDate &date);
QString time(const QTime &time);

} // namespace datetext
