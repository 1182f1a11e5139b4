// SPDX-License-Identifier: GPL-3.0-or-later
#include "metering/DateText.h"
#include "metering/DurationText.h"
#include "metering/ResetRule.h"
#include "outlook/PeriodOutlook.h"
#include "support/TestSupport.h"

#include <QTest>

// The outlook of a billing period: its bounds from the reset rule, and the
// figures at a moment of it.
class TestPeriodOutlook : public QObject {
    Q_OBJECT
private slots:
    void periodBounds_data();
    void periodBounds();
    void figures_data();
    void figures();
    void clockSetBackCountsFromTheMetersDate();
};

namespace {

qint64 seconds(const char *text)
{
    return duration::toSeconds(QString::fromLatin1(text)).value_or(-1);
}

} // namespace

void TestPeriodOutlook::periodBounds_data()
{
    QTest::addColumn<QString>("resetDay");
    QTest::addColumn<QDate>("nextReset"); // invalid: none stored
    QTest::addColumn<QDate>("lastCheck");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");

    const QDate none;
    QTest::addRow("1st, 31-day month") << "1" << none << QDate(2026, 3, 16) << QDate(2026, 3, 16) << QDate(2026, 3, 1)
                                       << QDate(2026, 4, 1);
    QTest::addRow("1st, 30-day month, last day") << "1" << none << QDate(2026, 4, 30) << QDate(2026, 4, 30)
                                                 << QDate(2026, 4, 1) << QDate(2026, 5, 1);
    QTest::addRow("1st, February of 28 days") << "1" << none << QDate(2026, 2, 1) << QDate(2026, 2, 1)
                                              << QDate(2026, 2, 1) << QDate(2026, 3, 1);
    QTest::addRow("1st, February of 29 days") << "1" << none << QDate(2024, 2, 29) << QDate(2024, 2, 29)
                                              << QDate(2024, 2, 1) << QDate(2024, 3, 1);
    QTest::addRow("missing rule is the 1st") << "" << none << QDate(2026, 3, 16) << QDate(2026, 3, 16)
                                             << QDate(2026, 3, 1) << QDate(2026, 4, 1);
    QTest::addRow("15th, reset day later in the month than today")
        << "15" << QDate(2026, 3, 15) << QDate(2026, 3, 10) << QDate(2026, 3, 10) << QDate(2026, 2, 15)
        << QDate(2026, 3, 15);
    QTest::addRow("15th, on the day of the reset") << "15" << QDate(2026, 4, 15) << QDate(2026, 3, 15)
                                                   << QDate(2026, 3, 15) << QDate(2026, 3, 15) << QDate(2026, 4, 15);
    QTest::addRow("15th, last day of the period") << "15" << QDate(2026, 4, 15) << QDate(2026, 4, 14)
                                                  << QDate(2026, 4, 14) << QDate(2026, 3, 15) << QDate(2026, 4, 15);
    QTest::addRow("15th, reset due and not made yet")
        << "15" << QDate(2026, 3, 15) << QDate(2026, 3, 14) << QDate(2026, 3, 20) << QDate(2026, 3, 15)
        << QDate(2026, 4, 15);
    QTest::addRow("15th, no reset date stored") << "15" << none << QDate(2026, 3, 10) << QDate(2026, 3, 10)
                                                << QDate(2026, 2, 15) << QDate(2026, 3, 15);
    QTest::addRow("15th, reset date far ahead") << "15" << QDate(2027, 1, 15) << QDate(2026, 3, 20)
                                                << QDate(2026, 3, 20) << QDate(2026, 3, 15) << QDate(2027, 1, 15);
    QTest::addRow("1st, clock set back a month") << "1" << none << QDate(2026, 4, 2) << QDate(2026, 3, 20)
                                                 << QDate(2026, 4, 1) << QDate(2026, 5, 1);
    QTest::addRow("15th, clock set back before the period")
        << "15" << QDate(2026, 5, 15) << QDate(2026, 4, 20) << QDate(2026, 4, 1) << QDate(2026, 4, 15)
        << QDate(2026, 5, 15);
}

void TestPeriodOutlook::periodBounds()
{
    QFETCH(QString, resetDay);
    QFETCH(QDate, nextReset);
    QFETCH(QDate, lastCheck);
    QFETCH(QDate, today);
    QFETCH(QDate, start);
    QFETCH(QDate, end);

    TempStore t;
    const auto set = [&t](const QString &path, const QString &text) {
        QVERIFY(t.store.write(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path, text));
    };
    if (!resetDay.isEmpty())
        set(QStringLiteral("Options\\Raz"), resetDay);
    if (nextReset.isValid())
        set(QStringLiteral("Options\\Anniversaire"), datetext::date(nextReset));
    set(QStringLiteral("Compte Rendu\\Date"), datetext::date(lastCheck));

    const resetrule::Period period = resetrule::currentPeriod(t.store, today);
    QCOMPARE(period.start, start);
    QCOMPARE(period.end, end);
}

void TestPeriodOutlook::figures_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<qint64>("used");
    QTest::addColumn<qint64>("package");
    // Expected.
    QTest::addColumn<qint64>("daysLeft");
    QTest::addColumn<qint64>("remaining");
    QTest::addColumn<qint64>("share");
    QTest::addColumn<qint64>("allowance");
    QTest::addColumn<bool>("paceKnown");
    QTest::addColumn<qint64>("average");
    QTest::addColumn<qint64>("projection");
    QTest::addColumn<qint64>("excess");
    QTest::addColumn<QDateTime>("runsOut"); // invalid: none

    const QDate march(2026, 3, 1), april(2026, 4, 1), may(2026, 5, 1);
    const QDateTime never;
    const qint64 twentyHours = seconds("20:00:00");

    QTest::addRow("31 days, first minutes: no pace yet")
        << march << april << QDateTime(march, QTime(0, 30)) << seconds("00:20:00") << twentyHours << qint64(31)
        << seconds("19:40:00") << qint64(1) << seconds("19:40:00") / 31 << false << qint64(0) << qint64(0)
        << qint64(0) << never;
    QTest::addRow("31 days, exactly an hour in") << march << april << QDateTime(march, QTime(1, 0)) << qint64(0)
                                                 << twentyHours << qint64(31) << twentyHours << qint64(0)
                                                 << twentyHours / 31 << true << qint64(0) << qint64(0) << qint64(0)
                                                 << never;
    // 10 h in 15 days: 40 min a day, 20:40:00 over 31 days; the 10 h left last
    // 15 days more at that pace.
    QTest::addRow("31 days, middle, over at this pace")
        << march << april << QDateTime(QDate(2026, 3, 16), QTime(0, 0)) << seconds("10:00:00") << twentyHours
        << qint64(16) << seconds("10:00:00") << qint64(50) << seconds("00:37:30") << true << seconds("00:40:00")
        << seconds("20:40:00") << seconds("00:40:00") << QDateTime(QDate(2026, 3, 31), QTime(0, 0));
    // 15 h in 29.5 days: 54915 s over 30 days, within 20 h.
    QTest::addRow("30 days, last day, within") << april << may << QDateTime(QDate(2026, 4, 30), QTime(12, 0))
                                               << seconds("15:00:00") << twentyHours << qint64(1)
                                               << seconds("05:00:00") << qint64(75) << seconds("05:00:00") << true
                                               << qint64(1830) << qint64(54915) << qint64(0) << never;
    QTest::addRow("28 days, over the package") << QDate(2026, 2, 1) << march
                                               << QDateTime(QDate(2026, 2, 10), QTime(0, 0)) << seconds("25:00:00")
                                               << twentyHours << qint64(19) << qint64(0) << qint64(125) << qint64(0)
                                               << true << qint64(10000) << qint64(280000)
                                               << qint64(280000) - twentyHours << never;
    QTest::addRow("share in whole seconds") << march << april << QDateTime(QDate(2026, 3, 2), QTime(0, 0))
                                            << qint64(72) << seconds("01:00:00") << qint64(30)
                                            << qint64(3528) << qint64(2) << qint64(117) << true << qint64(72)
                                            << qint64(2232) << qint64(0) << never;
    QTest::addRow("no package") << march << april << QDateTime(QDate(2026, 3, 11), QTime(0, 0))
                                << seconds("05:00:00") << qint64(0) << qint64(21) << qint64(0) << qint64(0)
                                << qint64(0) << true << seconds("00:30:00") << seconds("15:30:00") << qint64(0)
                                << never;
    // Reset on the 15th: 15 February to 15 March, 28 days.
    QTest::addRow("reset on the 15th, start") << QDate(2026, 2, 15) << QDate(2026, 3, 15)
                                              << QDateTime(QDate(2026, 2, 15), QTime(6, 0)) << seconds("01:00:00")
                                              << seconds("10:00:00") << qint64(28) << seconds("09:00:00")
                                              << qint64(10) << seconds("09:00:00") / 28 << true
                                              << seconds("04:00:00") << seconds("112:00:00")
                                              << seconds("102:00:00")
                                              << QDateTime(QDate(2026, 2, 17), QTime(12, 0));
    QTest::addRow("now after the end is its last second")
        << march << april << QDateTime(QDate(2026, 4, 3), QTime(0, 0)) << seconds("31:00:00") << seconds("40:00:00")
        << qint64(1) << seconds("09:00:00") << qint64(77) << seconds("09:00:00") << true << seconds("01:00:00")
        << qint64(111600) << qint64(0) << never;
}

void TestPeriodOutlook::figures()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QDateTime, now);
    QFETCH(qint64, used);
    QFETCH(qint64, package);

    const PeriodOutlook o = PeriodOutlook::compute({start, end}, now, used, package);
    QTEST(o.daysLeft, "daysLeft");
    QTEST(o.remaining, "remaining");
    QTEST(o.sharePercent, "share");
    QTEST(o.dailyAllowance, "allowance");
    QTEST(o.paceKnown, "paceKnown");
    QTEST(o.averagePerDay, "average");
    QTEST(o.projection, "projection");
    QTEST(o.projectedExcess, "excess");
    QTEST(o.runsOut.value_or(QDateTime()), "runsOut");
    QCOMPARE(o.withinPackage(), o.projectedExcess == 0);
}

void TestPeriodOutlook::clockSetBackCountsFromTheMetersDate()
{
    // The meter's calendar says 2 April; the clock was put back to 20 March.
    ConsoleFixture f;
    f.set(QStringLiteral("Compte Rendu\\Date"), datetext::date(QDate(2026, 4, 2)));
    f.set(QStringLiteral("Options\\Forfait"), QStringLiteral("10:00:00"));
    f.set(QStringLiteral("Variables\\Total"), QStringLiteral("02:00:00"));
    f.clock.set(QDateTime(QDate(2026, 3, 20), QTime(15, 0)));
    f.run();

    const PeriodOutlook o = PeriodOutlook::of(f.meter);
    QCOMPARE(o.period.start, QDate(2026, 4, 1));
    QCOMPARE(o.period.end, QDate(2026, 5, 1));
    QCOMPARE(o.daysLeft, qint64(29));
    QCOMPARE(o.used, seconds("02:00:00"));
    // One day of the period behind it, from the meter's date on.
    QVERIFY(o.paceKnown);
    QCOMPARE(o.averagePerDay, seconds("02:00:00"));
    QCOMPARE(o.projection, seconds("60:00:00"));
}

QTEST_GUILESS_MAIN(TestPeriodOutlook)
#include "tst_periodoutlook.moc"
