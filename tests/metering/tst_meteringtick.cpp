// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include <QDir>
#include <QTest>

namespace {

// A started meter with counters at known values and the words of a language.
struct StartedMeter : ConsoleFixture {
    explicit StartedMeter(const QString &indivisible = QStringLiteral("0"))
    {
        set("Variables\\Total", "01:00:00");
        set("Variables\\Jour", "00:10:00");
        set("Variables\\alice", "00:30:00");
        set("Options\\Indivisible", indivisible);
        view.holders = {{"Connexion", "Connexion"}, {"Déconnexion", "Déconnexion"}, {"ConnectéC", "Connecté"},
                        {"Déconnecté", "Déconnecté"}, {"PasConnecté", "Pas connecté"}, {"Depuis", "Depuis"}};
        run();
    }
    // One disconnected tick, `seconds` connected ticks, then the tick that sees the end.
    void connection(int seconds)
    {
        linkDown();
        ticks(1);
        linkUp();
        ticks(seconds);
        linkDown();
        ticks(1);
    }
};

} // namespace

class TestMeteringTick : public QObject {
    Q_OBJECT
private slots:
    void connection_data();
    void connection();
    void startWhileConnected_data();
    void startWhileConnected();
    void resetInTheStoreIsTakenUpAtTheNextConnection();
    void statusTextsAndToolTip();
    void packageReachedThenExceeded_data();
    void packageReachedThenExceeded();
    void percentBarOnEveryTick();
    void popUpAtTenMinuteMarks_data();
    void popUpAtTenMinuteMarks();
    void countersSavedDuringALongConnection();
    void lateTicksCountEverySecondOnce_data();
    void lateTicksCountEverySecondOnce();
    void unevenTimerCountsOneSecondATick();
    void dateAndTimeChangesAddNothing_data();
    void dateAndTimeChangesAddNothing();
    void popUpMarksPassedByALateTick_data();
    void popUpMarksPassedByALateTick();
    void packageReachedByALateTick_data();
    void packageReachedByALateTick();
    void failingProbeCountsAsDisconnectedAndIsToldOnce();
    void eachTickLooksAtTheLinkOnce();
    void unwritableJournalLosesOnlyItsEntries();
    void connectionAcrossNewYear();
    void quittingWhileConnectedClosesTheJournal();
    void counterAtItsLimitStaysThereAndIsToldOnce();
    void countersTheStoreCannotGiveAreNeverWrittenOver();
};

void TestMeteringTick::connection_data()
{
    QTest::addColumn<QString>("indivisible");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QStringList>("counters"); // month, day, user
    QTest::addColumn<QString>("closedWith");

    QTest::addRow("10 s") << "0" << 10 << QStringList{"01:00:10", "00:10:10", "00:30:10"} << "00:00:10";
    QTest::addRow("61 s") << "0" << 61 << QStringList{"01:01:01", "00:11:01", "00:31:01"} << "00:01:01";
    QTest::addRow("10 s, first minute in full") << "1" << 10 << QStringList{"01:01:00", "00:11:00", "00:31:00"}
                                                << "00:00:10";
    QTest::addRow("60 s, first minute in full") << "1" << 60 << QStringList{"01:01:00", "00:11:00", "00:31:00"}
                                                << "00:01:00";
    QTest::addRow("61 s, first minute in full") << "1" << 61 << QStringList{"01:01:01", "00:11:01", "00:31:01"}
                                                << "00:01:01";
}

void TestMeteringTick::connection()
{
    QFETCH(QString, indivisible);
    QFETCH(int, seconds);
    QFETCH(QStringList, counters);
    QFETCH(QString, closedWith);

    StartedMeter m(indivisible);
    m.connection(seconds);

    QCOMPARE(m.view.counters, counters);
    QCOMPARE(QStringList({m.get("Variables\\Total"), m.get("Variables\\Jour"), m.get("Variables\\alice")}), counters);

    const QStringList lines = m.journalLines(2004);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("15/03/2004    12:00:01      alice         Connexion"));
    QVERIFY2(lines.at(1).endsWith("alice         Déconnexion " + closedWith), qPrintable(lines.at(1)));
    QCOMPARE(lines.at(2), QStringLiteral(" "));
    for (const QString &line : lines)
        QVERIFY(!line.contains(','));
}

void TestMeteringTick::startWhileConnected_data()
{
    QTest::addColumn<QString>("indivisible");
    QTest::addColumn<QString>("month");
    QTest::addRow("second by second") << "0" << "01:00:01";
    QTest::addRow("first minute in full") << "1" << "01:01:00";
}

void TestMeteringTick::startWhileConnected()
{
    QFETCH(QString, indivisible);
    QFETCH(QString, month);
    StartedMeter m(indivisible);
    m.linkUp();
    m.ticks(1);
    QCOMPARE(m.journalLines(2004).size(), 1);
    QVERIFY(m.journalLines(2004).front().endsWith("Connexion"));
    QCOMPARE(m.meter.connectionDuration(), QStringLiteral("00:00:01"));
    QCOMPARE(m.meter.previousLinkState(), QStringLiteral("1"));
    QCOMPARE(m.meter.monthTotal(), month);
}

void TestMeteringTick::resetInTheStoreIsTakenUpAtTheNextConnection()
{
    StartedMeter m;
    m.connection(5);
    m.set("Variables\\Total", "00:00:00");
    m.set("Variables\\alice", "garbage");
    m.connection(3);
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("00:00:03"));
    QCOMPARE(m.get("Variables\\alice"), QStringLiteral("00:00:03"));
    QCOMPARE(m.get("Variables\\Jour"), QStringLiteral("00:10:08"));
}

void TestMeteringTick::statusTextsAndToolTip()
{
    StartedMeter m;
    m.ticks(3);
    QCOMPARE(m.view.status, QStringLiteral("Déconnecté"));
    QCOMPARE(m.view.toolTip, QStringLiteral("Pas connecté"));
    QCOMPARE(m.meter.monthTotal(), QStringLiteral("01:00:00"));
    QVERIFY(m.meter.alertArmed());

    m.linkUp();
    m.ticks(12 * 60 + 35);
    QCOMPARE(m.view.status, QStringLiteral("Connecté"));
    QCOMPARE(m.view.toolTip, QStringLiteral("Depuis  00:12:34"));
    QVERIFY(!m.meter.alertArmed());
}

void TestMeteringTick::packageReachedThenExceeded_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<bool>("indicator");
    QTest::addColumn<QList<int>>("alertsAfterEachTick");

    // Month 09:59:58: the 2nd connected tick reaches the package exactly, the
    // 3rd exceeds it; then a new connection begins with the month already over.
    const QList<int> alerts{0, 1, 1, 1, 2, 2};
    QTest::addRow("alert on") << "10:00:00" << "1" << true << alerts;
    QTest::addRow("alert option missing") << "10:00:00" << QString() << true << alerts;
    QTest::addRow("alert off") << "10:00:00" << "0" << false << QList<int>{0, 0, 0, 0, 0, 0};
    QTest::addRow("no package") << "00:00:00" << QString() << false << QList<int>{0, 0, 0, 0, 0, 0};
}

void TestMeteringTick::packageReachedThenExceeded()
{
    QFETCH(QString, package);
    QFETCH(QString, alarm);
    QFETCH(bool, indicator);
    QFETCH(QList<int>, alertsAfterEachTick);

    StartedMeter m;
    m.set("Options\\Forfait", package);
    m.set("Variables\\Total", "09:59:58");
    if (!alarm.isNull())
        m.set("Options\\Alarm", alarm);
    m.run();
    QCOMPARE(m.view.indicatorShown, false);

    QList<int> alerts;
    m.linkUp();
    for (int i = 0; i < 3; ++i) {
        m.ticks(1);
        alerts << m.view.alertsOpened;
    }
    m.linkDown();
    m.ticks(1);
    alerts << m.view.alertsOpened;
    m.linkUp();
    for (int i = 0; i < 2; ++i) {
        m.ticks(1);
        alerts << m.view.alertsOpened;
    }
    QCOMPARE(alerts, alertsAfterEachTick);
    QCOMPARE(m.view.indicatorShown, indicator);
}

void TestMeteringTick::percentBarOnEveryTick()
{
    StartedMeter m;
    m.set("Options\\Pourcent", "1");
    m.set("Variables\\Total", "00:00:00");
    m.set("Variables\\alice", "00:00:00");
    m.run();
    QCOMPARE(m.view.barWidth, -1); // an empty month leaves the bar as it was
    m.linkUp();
    m.ticks(1);
    QCOMPARE(m.view.barWidth, 33);
    QCOMPARE(m.view.barCaption, QStringLiteral("100%"));
}

void TestMeteringTick::popUpAtTenMinuteMarks_data()
{
    QTest::addColumn<QString>("pop");
    QTest::addColumn<int>("popups");
    QTest::addRow("wanted") << "1" << 2;
    QTest::addRow("as a number") << " 1 " << 2;
    QTest::addRow("not wanted") << "0" << 0;
    QTest::addRow("missing") << QString() << 0;
    QTest::addRow("not a number") << "oui" << 0;
}

void TestMeteringTick::popUpAtTenMinuteMarks()
{
    QFETCH(QString, pop);
    QFETCH(int, popups);
    StartedMeter m;
    if (!pop.isNull())
        m.set("Options\\Pop", pop);
    m.run();
    m.linkUp();
    m.ticks(10 * 60);
    QCOMPARE(m.view.popupFadesStarted, 0);
    m.ticks(1); // the tick that finds the connection at 00:10:00
    QCOMPARE(m.view.popupFadesStarted, qMin(popups, 1));
    m.ticks(10 * 60 + 30);
    QCOMPARE(m.view.popupFadesStarted, popups);
}

void TestMeteringTick::countersSavedDuringALongConnection()
{
    StartedMeter m;
    m.linkUp();
    m.ticks(59);
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("01:00:00"));
    m.ticks(1);
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("01:01:00"));
    QCOMPARE(m.get("Variables\\Jour"), QStringLiteral("00:11:00"));
    QCOMPARE(m.get("Variables\\alice"), QStringLiteral("00:31:00"));
    m.ticks(150);
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("01:03:00"));
}

void TestMeteringTick::lateTicksCountEverySecondOnce_data()
{
    QTest::addColumn<QString>("indivisible");
    QTest::addColumn<int>("late");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QString>("month");
    QTest::addColumn<bool>("savedAtOnce");

    // A connecting tick, one late by `late` seconds, two on time, then the end.
    QTest::addRow("1 s late") << "0" << 1 << "00:00:05" << "01:00:05" << false;
    QTest::addRow("57 s late") << "0" << 57 << "00:01:01" << "01:01:01" << false;
    QTest::addRow("58 s late, checkpoint") << "0" << 58 << "00:01:02" << "01:01:02" << true;
    QTest::addRow("10 minutes late") << "0" << 600 << "00:10:04" << "01:10:04" << true;
    QTest::addRow("an hour late") << "0" << 3600 << "01:00:04" << "02:00:04" << true;
    QTest::addRow("30 s late, first minute in full") << "1" << 30 << "00:00:34" << "01:01:00" << false;
    QTest::addRow("100 s late, first minute in full") << "1" << 100 << "00:01:44" << "01:01:44" << true;
}

void TestMeteringTick::lateTicksCountEverySecondOnce()
{
    QFETCH(QString, indivisible);
    QFETCH(int, late);
    QFETCH(QString, duration);
    QFETCH(QString, month);
    QFETCH(bool, savedAtOnce);

    StartedMeter m(indivisible);
    m.linkDown();
    m.ticks(1);
    m.linkUp();
    m.ticks(1);
    m.clock.advanceSeconds(late);
    m.ticks(1);
    QCOMPARE(m.get("Variables\\Total") == m.meter.monthTotal(), savedAtOnce);
    m.ticks(2);
    m.linkDown();
    m.ticks(1);

    QCOMPARE(m.get("Variables\\Total"), month);
    QCOMPARE(m.meter.connectionDuration(), duration);
    // The journal's lines are as far apart as the connection lasted.
    const QStringList lines = m.journalLines(2004);
    QCOMPARE(lines.size(), 3);
    const int seconds = secondsOf(duration);
    const QString closedAt = QTime(12, 0, 1).addSecs(seconds).toString(QStringLiteral("HH:mm:ss"));
    QVERIFY2(lines.at(1).startsWith("15/03/2004    " + closedAt) && lines.at(1).endsWith("Déconnexion " + duration),
             qPrintable(lines.at(1)));
}

void TestMeteringTick::unevenTimerCountsOneSecondATick()
{
    // Timers may come a few percent early or late, to save wake-ups: each tick
    // still counts one second, never none then two.
    StartedMeter m;
    m.linkUp();
    m.tick.onTick();
    for (int i = 1; i <= 100; ++i) {
        m.clock.advanceMilliseconds(i % 2 ? 960 : 1040);
        m.tick.onTick();
        QCOMPARE(secondsOf(m.meter.connectionDuration()), i + 1);
    }
}

void TestMeteringTick::dateAndTimeChangesAddNothing_data()
{
    QTest::addColumn<qint64>("step");
    QTest::addRow("three hours on, or a suspend") << qint64(3 * 3600);
    QTest::addRow("three hours back") << qint64(-3 * 3600);
    QTest::addRow("a minute back") << qint64(-60);
}

void TestMeteringTick::dateAndTimeChangesAddNothing()
{
    QFETCH(qint64, step);
    StartedMeter m;
    m.linkUp();
    m.ticks(5);
    m.clock.set(m.clock.now().addSecs(step));
    m.ticks(5);
    m.linkDown();
    m.ticks(1);
    QCOMPARE(m.meter.connectionDuration(), QStringLiteral("00:00:10"));
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("01:00:10"));
}

void TestMeteringTick::popUpMarksPassedByALateTick_data()
{
    QTest::addColumn<int>("onTime"); // connected seconds counted tick by tick first
    QTest::addColumn<int>("late");
    QTest::addColumn<int>("afterLateTick"); // pop-ups since the late tick
    QTest::addColumn<int>("afterNextTick");
    QTest::addRow("over 00:10:00") << 590 << 30 << 1 << 1;
    QTest::addRow("over 00:10:00 and 00:20:00, once") << 590 << 700 << 1 << 1;
    QTest::addRow("up to 00:10:00, the next tick passes it") << 580 << 19 << 0 << 1;
    QTest::addRow("over the hour, no mark") << 3300 << 359 << 0 << 0;
}

void TestMeteringTick::popUpMarksPassedByALateTick()
{
    QFETCH(int, onTime);
    QFETCH(int, late);
    QFETCH(int, afterLateTick);
    QFETCH(int, afterNextTick);
    StartedMeter m;
    m.set("Options\\Pop", "1");
    m.run();
    m.linkUp();
    m.ticks(onTime);
    const int before = m.view.popupFadesStarted;
    m.clock.advanceSeconds(late);
    m.ticks(1);
    QCOMPARE(m.view.popupFadesStarted - before, afterLateTick);
    m.ticks(1);
    QCOMPARE(m.view.popupFadesStarted - before, afterNextTick);
}

void TestMeteringTick::packageReachedByALateTick_data()
{
    QTest::addColumn<int>("late");
    QTest::addColumn<int>("alerts");
    QTest::addColumn<bool>("indicator");
    // The month stands at 09:59:01 after the connecting tick; the package is 10:00:00.
    QTest::addRow("short of it") << 30 << 0 << false;
    QTest::addRow("onto it") << 58 << 1 << true;
    QTest::addRow("past it") << 120 << 1 << true;
    QTest::addRow("far past it") << 3600 << 1 << true;
}

void TestMeteringTick::packageReachedByALateTick()
{
    QFETCH(int, late);
    QFETCH(int, alerts);
    QFETCH(bool, indicator);
    StartedMeter m;
    m.set("Options\\Forfait", "10:00:00");
    m.set("Options\\Alarm", "1");
    m.set("Variables\\Total", "09:59:00");
    m.run();
    m.linkUp();
    m.ticks(1);
    m.clock.advanceSeconds(late);
    m.ticks(3);
    QCOMPARE(m.view.alertsOpened, alerts);
    QCOMPARE(m.view.indicatorShown, indicator);
}

void TestMeteringTick::failingProbeCountsAsDisconnectedAndIsToldOnce()
{
    StartedMeter m;
    m.link.state = LinkProbe::State::Failed;
    m.ticks(5);
    QCOMPARE(m.told, QStringList{"ERREUR"});
    QCOMPARE(m.meter.monthTotal(), QStringLiteral("01:00:00"));
    QCOMPARE(m.view.status, QStringLiteral("Déconnecté"));

    m.linkDown();
    m.ticks(1);
    m.link.state = LinkProbe::State::Failed;
    m.ticks(3);
    QCOMPARE(m.told, QStringList({"ERREUR", "ERREUR"}));
}

// A link that drops between two looks within one tick would be counted as both
// up and down; the tick works from a single look.
void TestMeteringTick::eachTickLooksAtTheLinkOnce()
{
    StartedMeter m;
    for (const bool up : {true, true, false, true}) {
        m.link.state = up ? LinkProbe::State::Connected : LinkProbe::State::NotConnected;
        const int before = m.link.asked;
        m.ticks(1);
        QCOMPARE(m.link.asked - before, 1);
    }
}

void TestMeteringTick::unwritableJournalLosesOnlyItsEntries()
{
    StartedMeter m;
    // A folder where the file should be: no one can append to it, root included.
    QVERIFY(QDir(m.t.dir.path()).mkpath("2004.txt.tmp"));
    QFile::remove(m.journal.currentFile());
    QVERIFY(QDir(m.t.dir.path()).rename("2004.txt.tmp", "2004.txt"));

    m.connection(10);
    m.connection(10);
    QCOMPARE(m.told.size(), 1);
    QVERIFY(m.told.front().contains("2004.txt"));
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("01:00:20"));
}

void TestMeteringTick::connectionAcrossNewYear()
{
    StartedMeter m;
    m.clock.set(QDateTime(QDate(2004, 12, 31), QTime(23, 59, 55)));
    m.linkUp();
    m.ticks(10);
    m.linkDown();
    m.ticks(1);
    const QStringList old = m.journalLines(2004);
    const QStringList fresh = m.journalLines(2005);
    QCOMPARE(old.size(), 1);
    QVERIFY(old.front().startsWith("31/12/2004    23:59:55"));
    QCOMPARE(fresh.size(), 2);
    QVERIFY(fresh.front().startsWith("01/01/2005    00:00:05"));
    QVERIFY(fresh.front().endsWith("Déconnexion 00:00:10"));
    QCOMPARE(fresh.back(), QStringLiteral(" "));
}

void TestMeteringTick::quittingWhileConnectedClosesTheJournal()
{
    StartedMeter m;
    m.linkUp();
    m.ticks(42);
    m.core.shutdown();
    m.core.shutdown();
    const QStringList lines = m.journalLines(2004);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(1).endsWith("Déconnexion 00:00:42"));
    QCOMPARE(lines.at(2), QStringLiteral(" "));
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("01:00:42"));

    StartedMeter disconnected;
    disconnected.ticks(3);
    disconnected.core.shutdown();
    QVERIFY(disconnected.journalLines(2004).isEmpty());
}

// Journal dates and times follow the system's forms: the test fixes French ones.
void TestMeteringTick::counterAtItsLimitStaysThereAndIsToldOnce()
{
    StartedMeter m;
    m.set("Variables\\Total", "32767:59:58");
    m.linkUp();
    m.ticks(4);
    QCOMPARE(m.meter.monthTotal(), QStringLiteral("32767:59:59"));
    QCOMPARE(m.meter.dayTotal(), QStringLiteral("00:10:04"));
    QCOMPARE(m.told.filter(QStringLiteral("32767:59:59")).size(), 1);
    m.linkDown();
    m.ticks(1);
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("32767:59:59"));
}

void TestMeteringTick::countersTheStoreCannotGiveAreNeverWrittenOver()
{
    // A store that cannot be read at start-up: the counters it holds are neither
    // repaired nor saved over at the end of the run.
    StartedMeter unreadAtStart;
    unreadAtStart.set("Variables\\Total", "02:00:00");
    unreadAtStart.gate.failReads = true;
    unreadAtStart.run();
    unreadAtStart.core.shutdown();
    QCOMPARE(unreadAtStart.get("Variables\\Total"), QStringLiteral("02:00:00"));
    QCOMPARE(unreadAtStart.get("Variables\\Jour"), QStringLiteral("00:10:00"));

    // Unreadable when a connection begins: the working copies go on and are
    // saved at its end, with every second counted.
    StartedMeter m;
    m.gate.failReads = true;
    m.linkUp();
    m.ticks(5);
    m.gate.failReads = false;
    m.linkDown();
    m.ticks(1);
    QCOMPARE(m.get("Variables\\Total"), QStringLiteral("01:00:05"));
    QCOMPARE(m.get("Variables\\alice"), QStringLiteral("00:30:05"));

    // Unreadable from the start to past the connection's end: its seconds are
    // added to the stored counters when the next connection finds them.
    StartedMeter late;
    late.gate.failReads = true;
    late.run();
    late.connection(7);
    QCOMPARE(late.get("Variables\\Total"), QStringLiteral("01:00:00"));
    late.gate.failReads = false;
    late.connection(3);
    QCOMPARE(late.get("Variables\\Total"), QStringLiteral("01:00:10"));
    QCOMPARE(late.get("Variables\\Jour"), QStringLiteral("00:10:10"));
    QCOMPARE(late.get("Variables\\alice"), QStringLiteral("00:30:10"));
}

int main(int argc, char *argv[])
{
    qputenv("LC_ALL", "fr_FR.UTF-8");
    QCoreApplication app(argc, argv);
    TestMeteringTick test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_meteringtick.moc"
