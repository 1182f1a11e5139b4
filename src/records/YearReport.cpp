// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearReport.h"

#include "PrintLine.h"
#include "metering/Meter.h"
#include "metering/ResetRule.h"
#include "store/Clock.h"
#include "store/DataFile.h"
#include "store/Schema.h"

#include <QFile>
#include <QLocale>
#include <QTextStream>

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

QString monthName(int month)
{
    const QString name = QLocale::system().standaloneMonthName(month, QLocale::LongFormat).toLower();
    return name.isEmpty() ? name : name.left(1).toUpper() + name.mid(1);
}

YearReport::YearReport(const Meter &meter, QString reportFile)
    : meter_(meter)
    , reportFile_(std::move(reportFile))
{
}

YearReport::Figures YearReport::figures() const
{
    Figures figures{meter_.services().store.copyOfKey(HKLM, schema::Product), {}};
    for (int slot = 0;; ++slot) {
        const QString name = figures.values.value(HKLM, schema::userSlot(slot));
        if (name == SettingsStore::ErrorText)
            return figures;
        figures.userSlots << name;
    }
}

QStringList YearReport::archivedMonth(const Figures &figures, const QString &year, int month,
                                      const QString &rowLead, bool threeItemMonthLine) const
{
    const QString monthKey = schema::ReportKey + year + QLatin1Char('\\') + QString::number(month) + QLatin1Char('\\');
    QStringList lines;
    if (figures.values.value(HKLM, monthKey + schema::TotalSlotName) != SettingsStore::ErrorText) {
        const QString title = monthName(month) + QStringLiteral(" :");
        lines << QString() << QString()
              << (threeItemMonthLine ? printline::join({title, QStringLiteral(" "), QStringLiteral(" ")}) : title);
    }
    // A user's figure shows even in a month without a stored total.
    for (const QString &name : figures.userSlots) {
        const QString figure = figures.values.value(HKLM, monthKey + name);
        if (figure != SettingsStore::ErrorText)
            lines << printline::join({rowLead, name, figure});
    }
    return lines;
}

QStringList YearReport::archivedYear(const Figures &figures, const QString &year, const QString &rowLead,
                                     bool threeItemMonthLine) const
{
    QStringList lines;
    for (int month = 1; month <= 12; ++month)
        lines << archivedMonth(figures, year, month, rowLead, threeItemMonthLine);
    return lines;
}

QStringList YearReport::pastYearLines(const Figures &figures, const QString &year) const
{
    return archivedYear(figures, year, QString(), false);
}

QDate YearReport::periodStart() const
{
    return resetrule::periodStart(meter_.services().store, meter_.services().clock.now().date());
}

QStringList YearReport::runningYearLines(const Figures &figures, const QString &year, int period) const
{
    const QString user = meter_.currentUserName();
    const QString lead = QStringLiteral(" ");
    QStringList lines = archivedYear(figures, year, lead, true);
    lines << QString() << QString()
          << printline::join({monthName(period) + QStringLiteral(" :"), QStringLiteral(" "), QStringLiteral(" ")});
    lines << printline::join({lead, schema::TotalSlotName, meter_.monthTotal()});
    lines << printline::join({lead, user, meter_.userMonth()});
    const QStringList &names = figures.userSlots;
    for (int slot = 1; slot < names.size(); ++slot) {
        if (names.at(slot) == user)
            continue;
        const QString counter = figures.values.value(HKLM, schema::variables::user(names.at(slot)).path);
        if (counter != SettingsStore::ErrorText)
            lines << printline::join({lead, names.at(slot), counter});
    }
    return lines;
}

QStringList YearReport::refused(const QString &error) const
{
    if (const auto &tell = meter_.services().tell)
        tell(QStringLiteral("Le compte rendu n'a pas pu être préparé (%1).").arg(error));
    return {};
}

QStringList YearReport::reportLines(const QString &yearText, const QString &yearWord)
{
    // The period in progress belongs to the year in which it began, after every
    // month archived that year.
    const QDate period = periodStart();
    const bool currentYear = yearText == QString::number(period.year());
    QStringList report{yearWord + QLatin1Char(' ') + yearText + QStringLiteral(" :")};
    const Figures stored = figures();
    report << (currentYear ? runningYearLines(stored, yearText, period.month()) : pastYearLines(stored, yearText));

    // Through the report file and back: the list shows exactly the file's lines.
    QString error;
    QFile out(reportFile_);
    if (!datafile::open(out, QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text, &error))
        return refused(error);
    QByteArray bytes;
    for (const QString &line : report)
        bytes += line.toUtf8() + '\n';
    if (out.write(bytes) != bytes.size() || !out.flush())
        return refused(QStringLiteral("%1 : %2").arg(reportFile_, out.errorString()));
    out.close();

    QFile in(reportFile_);
    if (!datafile::open(in, QIODevice::ReadOnly | QIODevice::Text, &error))
        return refused(error);
    QStringList lines;
    QTextStream stream(&in);
    stream.setEncoding(QStringConverter::Utf8);
    while (!stream.atEnd())
        lines << stream.readLine();
    return lines;
}
