// SPDX-License-Identifier: GPL-3.0-or-later
#include "metering/DateText.h"
#include "records/YearChart.h"
#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// The figures of a chart as "user@month=hours", one per month with a figure.
QStringList bars(const yearchart::Chart &chart)
{
    QStringList found;
    for (qsizetype set = 0; set < chart.users.size(); ++set) {
        for (int month = 1; month <= 12; ++month) {
            if (const double hours = chart.hours.at(set).at(month - 1); hours != 0)
                found << QStringLiteral("%1@%2=%3").arg(chart.users.at(set)).arg(month).arg(hours);
        }
    }
    return found;
}

} // namespace

class TestYearChart : public QObject {
    Q_OBJECT
private slots:
    void chartOfAYear_data();
    void chartOfAYear();
};

void TestYearChart::chartOfAYear_data()
{
    QTest::addColumn<QStringList>("stored"); // "path=text" below SOFTWARE\Dialmeter\ (slots alice, bob)
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("runningMonth");
    QTest::addColumn<double>("package"); // 0: none
    QTest::addColumn<double>("largest");

    QTest::addRow("users stacked, their total left out")
        << QStringList{"Compte Rendu\\2003\\3\\Total=10:00:00", "Compte Rendu\\2003\\3\\alice=06:00:00",
                       "Compte Rendu\\2003\\3\\bob=04:00:00", "Compte Rendu\\2003\\4\\bob=01:30:00"}
        << 2003 << QStringList{"alice@3=6", "bob@3=4", "bob@4=1.5"} << 0 << 0.0 << 10.0;
    QTest::addRow("a month known by its total alone")
        << QStringList{"Compte Rendu\\2003\\12\\Total=00:30:00", "Compte Rendu\\2003\\3\\alice=02:00:00"} << 2003
        << QStringList{"alice@3=2", "Total@12=0.5"} << 0 << 0.0 << 2.0;
    QTest::addRow("the running period with its stored counters")
        << QStringList{"Variables\\Total=07:00:00", "Variables\\alice=04:00:00", "Variables\\bob=02:00:00",
                       "Compte Rendu\\2003\\3\\alice=09:00:00"}
        << 2004 << QStringList{"alice@1=4", "bob@1=2"} << 1 << 0.0 << 6.0;
    QTest::addRow("a past year has no running month")
        << QStringList{"Variables\\alice=04:00:00", "Compte Rendu\\2003\\3\\alice=09:00:00"} << 2003
        << QStringList{"alice@3=9"} << 0 << 0.0 << 9.0;
    QTest::addRow("a reset day puts the running period in the year before")
        << QStringList{"Options\\Raz=15", "Options\\Anniversaire=" + datetext::date(QDate(2004, 1, 15)),
                       "Variables\\alice=03:00:00"}
        << 2003 << QStringList{"alice@12=3"} << 12 << 0.0 << 3.0;
    QTest::addRow("damaged figures count as nothing")
        << QStringList{"Compte Rendu\\2003\\5\\Total=12:xx:00", "Compte Rendu\\2003\\5\\alice=Erreur",
                       "Compte Rendu\\2003\\5\\bob=abc", "Compte Rendu\\2003\\6\\bob=",
                       "Options\\Forfait=vingt heures"}
        << 2003 << QStringList{} << 0 << 0.0 << 0.0;
    QTest::addRow("a user without time in the year has no set")
        << QStringList{"Compte Rendu\\2003\\3\\alice=01:00:00", "Compte Rendu\\2003\\3\\bob=00:00:00",
                       "Variables\\bob=00:00:00"}
        << 2003 << QStringList{"alice@3=1"} << 0 << 0.0 << 1.0;
    QTest::addRow("a package above every month")
        << QStringList{"Options\\Forfait=20:00:00", "Compte Rendu\\2003\\2\\alice=05:15:00"} << 2003
        << QStringList{"alice@2=5.25"} << 0 << 20.0 << 20.0;
    QTest::addRow("no package")
        << QStringList{"Options\\Forfait=00:00:00", "Compte Rendu\\2003\\2\\alice=05:00:00"} << 2003
        << QStringList{"alice@2=5"} << 0 << 0.0 << 5.0;
    // Stored names match without regard to case: "Alice" reads alice's
    // figure, which must not be stacked twice.
    QTest::addRow("a slot differing only in case counted once")
        << QStringList{"User\\3=Alice", "Compte Rendu\\2003\\3\\alice=06:00:00"} << 2003
        << QStringList{"alice@3=6"} << 0 << 0.0 << 6.0;
}

void TestYearChart::chartOfAYear()
{
    QFETCH(QStringList, stored);
    QFETCH(int, year);
    QFETCH(QStringList, expected);
    QFETCH(int, runningMonth);
    QFETCH(double, package);
    QFETCH(double, largest);

    TempStore t;
    const QString product = QStringLiteral("SOFTWARE\\Dialmeter\\");
    for (const QString &value : QStringList{"User\\0=Total", "User\\1=alice", "User\\2=bob"} + stored) {
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        QVERIFY(t.store.write(SettingsStore::LocalMachine, product + value.left(equals), value.mid(equals + 1)));
    }
    const yearchart::Chart chart = yearchart::read(t.store, year, QDate(2004, 1, 20));
    QCOMPARE(chart.year, year);
    QCOMPARE(bars(chart), expected);
    QCOMPARE(chart.runningMonth, runningMonth);
    QCOMPARE(chart.packageHours.value_or(0.0), package);
    QCOMPARE(chart.largest, largest);
    QCOMPARE(chart.hours.size(), chart.users.size());
    // Every set has a bar.
    for (const QString &user : chart.users)
        QVERIFY2(!expected.filter(QRegularExpression("^" + QRegularExpression::escape(user) + "@")).isEmpty(),
                 qPrintable(user));
    for (const QList<double> &set : chart.hours)
        QCOMPARE(set.size(), 12);
}

QTEST_GUILESS_MAIN(TestYearChart)
#include "tst_yearchart.moc"
