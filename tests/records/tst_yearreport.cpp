// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "metering/DateText.h"
#include "records/PrintLine.h"
#include "records/YearReport.h"

#include <QTest>

namespace {

// A meter in 2004 with four users: alice (who runs it), bob, "Alice" (the same
// counter as alice's, since stored names match without regard to case, but a
// slot of its own) and carol.
struct Report : ConsoleFixture {
    explicit Report(const QDate &today = QDate(2004, 1, 20))
    {
        clock.set(QDateTime(today, QTime(10, 0)));
        set("User\\0", "Total");
        set("User\\1", "alice");
        set("User\\2", "bob");
        set("User\\3", "Alice");
        set("User\\4", "carol");
        set("Variables\\Total", "07:00:00");
        set("Variables\\alice", "04:00:00");
        set("Variables\\bob", "02:00:00");
        set("Compte Rendu\\Date", datetext::date(today));
        run();
    }
    void archive(int year, int month, const QString &name, const QString &figure)
    {
        set(QStringLiteral("Compte Rendu\\%1\\%2\\%3").arg(year).arg(month).arg(name), figure);
    }
    QStringList build(const QString &year) { return report.reportLines(year, QStringLiteral("Année ")); }
    YearReport report{meter, t.dir.filePath(QStringLiteral("log.txt"))};
};

QString row(const QString &lead, const QString &name, const QString &figure)
{
    return printline::join({lead, name, figure});
}

QString currentMonthLine(const QString &month)
{
    return printline::join({month + " :", " ", " "});
}

} // namespace

class TestYearReport : public QObject {
    Q_OBJECT
private slots:
    void pastYears_data();
    void pastYears();
    void currentYear_data();
    void currentYear();
    void aSecondBuildReplacesTheFirst();
};

void TestYearReport::pastYears_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QStringList>("expected");

    QTest::addRow("no archive: the heading alone") << "2002" << QStringList{"Année  2002 :"};
    QTest::addRow("any text") << "..." << QStringList{"Année  ... :"};
    QTest::addRow("archived months") << "2003"
                                     << QStringList{"Année  2003 :", "", "", "Mars :", row("", "Total", "10:00:00"),
                                                    row("", "alice", "06:00:00"), row("", "bob", "04:00:00"),
                                                    row("", "Alice", "06:00:00"),
                                                    // No total stored for April: bob's row without a month line.
                                                    row("", "bob", "01:00:00"),
                                                    "", "", "Décembre :", row("", "Total", "00:30:00")};
}

void TestYearReport::pastYears()
{
    QFETCH(QString, year);
    QFETCH(QStringList, expected);
    Report r;
    r.archive(2003, 3, "Total", "10:00:00");
    r.archive(2003, 3, "alice", "06:00:00");
    r.archive(2003, 3, "bob", "04:00:00");
    r.archive(2003, 3, "carol", "Erreur"); // archived without a counter: no record
    r.archive(2003, 4, "bob", "01:00:00");
    r.archive(2003, 12, "Total", "00:30:00");
    QCOMPARE(r.build(year), expected);
}

void TestYearReport::currentYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("resetDay");
    QTest::addColumn<QString>("nextReset"); // ISO date, or a text stored as it is
    QTest::addColumn<QStringList>("months");  // the month lines, in order

    // Every month archived in the year shows, then the period in progress under
    // the month it began in.
    QTest::addRow("first of the month") << QDate(2004, 4, 10) << "1" << "" << QStringList{"Janvier", "Février", "Mars", "Avril"};
    QTest::addRow("reset on the 15th, next in April") << QDate(2004, 4, 10) << "15" << "2004-04-15"
                                                      << QStringList{"Janvier", "Février", "Mars", "Mars"};
    QTest::addRow("late December, after the reset") << QDate(2004, 12, 20) << "15" << "2005-01-15"
                                                    << QStringList{"Janvier", "Février", "Mars", "Décembre"};
    QTest::addRow("early January, the period begun in December")
        << QDate(2005, 1, 5) << "15" << "2005-01-15" << QStringList{"Janvier", "Février", "Mars", "Décembre"};
    QTest::addRow("reset day not a number") << QDate(2004, 4, 10) << "chaque mois" << "2004-04-15"
                                            << QStringList{"Janvier", "Février", "Mars", "Avril"};
    QTest::addRow("reset day 31 is the first of the month") << QDate(2004, 4, 10) << "31" << "2004-06-15"
                                                            << QStringList{"Janvier", "Février", "Mars", "Avril"};
    QTest::addRow("reset date unreadable") << QDate(2004, 4, 10) << "15" << "bientôt"
                                           << QStringList{"Janvier", "Février", "Mars", "Avril"};
}

void TestYearReport::currentYear()
{
    QFETCH(QDate, today);
    QFETCH(QString, resetDay);
    QFETCH(QString, nextReset);
    QFETCH(QStringList, months);
    Report r(today);
    r.set("Options\\Raz", resetDay);
    const QDate reset = QDate::fromString(nextReset, Qt::ISODate);
    r.set("Options\\Anniversaire", reset.isValid() ? datetext::date(reset) : nextReset);
    for (int month = 1; month <= 3; ++month) {
        r.archive(2004, month, "Total", "01:00:00");
        r.archive(2004, month, "bob", "00:15:00");
    }
    r.meter.setCounters("07:30:00", r.meter.dayTotal(), "04:30:00"); // live figures from the console

    const QStringList lines = r.build("2004");
    QCOMPARE(lines.front(), QStringLiteral("Année  2004 :"));
    QStringList shownMonths;
    for (const QString &line : lines) {
        if (line.contains(" :") && line != lines.front())
            shownMonths << line.section(" :", 0, 0);
    }
    QCOMPARE(shownMonths, months);
    // The period in progress: the console's figures, then the other users'
    // running counters: "Alice" is not the current user "alice" and gets a row;
    // carol has no counter and none.
    QCOMPARE(lines.mid(lines.size() - 7),
             QStringList({"", "", currentMonthLine(months.last()), row(" ", "Total", "07:30:00"),
                          row(" ", "alice", "04:30:00"), row(" ", "bob", "02:00:00"),
                          row(" ", "Alice", "04:00:00")}));
    QVERIFY(lines.contains(row(" ", "bob", "00:15:00")));
}

void TestYearReport::aSecondBuildReplacesTheFirst()
{
    Report r;
    const QStringList first = r.build("2004");
    r.meter.setCounters("08:00:00", r.meter.dayTotal(), r.meter.userMonth());
    const QStringList second = r.build("2004");
    QCOMPARE(second.size(), first.size());
    QVERIFY(second.contains(row(" ", "Total", "08:00:00")));
    QFile file(r.t.dir.filePath("log.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts).size(),
             int(second.size() - second.count(QString())));
}

// Month names follow the system's language: the test fixes French.
int main(int argc, char *argv[])
{
    qputenv("LC_ALL", "fr_FR.UTF-8");
    QCoreApplication app(argc, argv);
    TestYearReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_yearreport.moc"
