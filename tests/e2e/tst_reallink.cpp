// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeterHome.h"
#include "TunLink.h"
#include "store/SystemIdentity.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

// The built meter, headless, on a real link: a TUN interface that the test
// brings up and down.
class TestRealLink : public QObject {
    Q_OBJECT
private slots:
    void countsAConnectionAndLosesLittleWhenKilled();
    void countsTheSecondsOfAMeterHeldUp();

private:
    QString store(const QStringList &args) { return home_.store(args).out.trimmed(); }
    MeterHome home_;
};

void TestRealLink::countsAConnectionAndLosesLittleWhenKilled()
{
    TunLink link;
    if (!link.problem().isEmpty())
        QSKIP(qPrintable("no real link for this test: " + link.problem()));

    store({"set", "SOFTWARE\\Dialmeter\\Options\\Interfaces", link.name()});
    store({"set", "SOFTWARE\\Dialmeter\\Options\\Langage", "Français"});
    const QString total = QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Total");

    QProcess meter;
    home_.startMeter(meter);
    QTRY_COMPARE_WITH_TIMEOUT(store({"get", total}), QStringLiteral("00:00:00"), 15000);
    QTest::qWait(2000);

    // A connection of 120 s, counted second by second.
    QElapsedTimer connected;
    QVERIFY(link.setUp(true));
    connected.start();
    QTest::qWait(120000);
    QVERIFY(link.setUp(false));
    const qint64 wallSeconds = connected.elapsed() / 1000;
    QTest::qWait(2500);
    const int counted = secondsOf(store({"get", total}));
    QVERIFY2(qAbs(counted - wallSeconds) <= 1, qPrintable(QStringLiteral("counted %1 s of %2 s").arg(counted).arg(wallSeconds)));

    QFile journal(home_.filePath(QString::number(QDate::currentDate().year()) + ".txt"));
    QVERIFY(journal.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(journal.readAll()).split("\r\n", Qt::SkipEmptyParts);
    const QString user = QString::fromStdString(platformIdentity().logOnName());
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.at(0).contains(user) && lines.at(0).endsWith("Connexion"), qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).contains("Déconnexion 00:0"), qPrintable(lines.at(1)));
    QCOMPARE(lines.at(2), QStringLiteral(" "));

    // Killed in the middle of a connection, the meter has lost at most a minute.
    QVERIFY(link.setUp(true));
    QTest::qWait(150000);
    meter.kill();
    QVERIFY(meter.waitForFinished(10000));
    const int afterCrash = secondsOf(store({"get", total}));
    qInfo("counted %d s of a %lld s connection; %d s of a further 150 s stored after the kill", counted, wallSeconds,
          afterCrash - counted);
    QVERIFY2(afterCrash >= counted + 90, qPrintable(QStringLiteral("%1 s stored after the kill").arg(afterCrash)));
}

// Stopped for twelve seconds while connected, as a swap storm, a slow disk or a
// paused virtual machine would hold it up: the meter counts those seconds too.
void TestRealLink::countsTheSecondsOfAMeterHeldUp()
{
    TunLink link;
    if (!link.problem().isEmpty())
        QSKIP(qPrintable("no real link for this test: " + link.problem()));

    MeterHome home;
    QVERIFY(home.set("SOFTWARE\\Dialmeter\\Options\\Interfaces", link.name()));
    QVERIFY(home.set("SOFTWARE\\Dialmeter\\Options\\Langage", "Français"));
    const QString total = QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Total");
    const QString journal = home.filePath(QString::number(QDate::currentDate().year()) + ".txt");

    QProcess meter;
    home.startMeter(meter);
    QTRY_COMPARE_WITH_TIMEOUT(home.get(total), QStringLiteral("00:00:00"), 15000);

    QElapsedTimer connected;
    QVERIFY(link.setUp(true));
    connected.start();
    QTRY_COMPARE_WITH_TIMEOUT(readJournal(journal).size(), 1, 15000);
    QCOMPARE(::kill(pid_t(meter.processId()), SIGSTOP), 0);
    // The stall under test, not a wait for a result: the meter is held for
    // this long, then the link stays up a little longer.
    QTest::qWait(12000);
    QCOMPARE(::kill(pid_t(meter.processId()), SIGCONT), 0);
    // Half a second off the meter's ticks, so that the end is seen half a
    // second after it, as the beginning was on average.
    QTest::qWait(3500);
    QVERIFY(link.setUp(false));
    const qint64 wallMilliseconds = connected.elapsed();
    QTRY_COMPARE_WITH_TIMEOUT(readJournal(journal).size(), 3, 15000);

    const int counted = secondsOf(home.get(total));
    const QString closing = readJournal(journal).at(1);
    QVERIFY2(qAbs(counted * 1000 - wallMilliseconds) <= 1000,
             qPrintable(QStringLiteral("counted %1 s of a %2 ms connection").arg(counted).arg(wallMilliseconds)));
    QVERIFY2(closing.endsWith(QStringLiteral("Déconnexion ") + home.get(total)), qPrintable(closing));
    meter.terminate();
    QVERIFY(meter.waitForFinished(15000));
    qInfo("counted %d s of a %lld ms connection held up for 12 s", counted, wallMilliseconds);
}

QTEST_GUILESS_MAIN(TestRealLink)
#include "tst_reallink.moc"
