// SPDX-License-Identifier: GPL-3.0-or-later
// The meter killed outright (power cut, OOM killer) at a random second of a
// connection, twenty times over on one data folder: the store always opens again,
// and it never holds less than the counted time minus the minute between saves.
// The meter's clock runs ten times faster (faketime), so that a test run covers
// connections of up to two minutes in a few seconds each.
#include "e2e/MeterHome.h"
#include "e2e/TunLink.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {
constexpr int Speed = 10;
const QString Total = QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Total");
const QString LastCheck = QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\Date");

// The bytes of every journal in the folder: an opening entry adds to them.
qint64 journalBytes(const MeterHome &home)
{
    qint64 bytes = 0;
    for (const QFileInfo &journal : QDir(home.path()).entryInfoList({"*.txt"}, QDir::Files))
        bytes += journal.size();
    return bytes;
}
} // namespace

class TestCrash : public QObject {
    Q_OBJECT
private slots:
    void killedMeterLosesAtMostAMinute();
};

void TestCrash::killedMeterLosesAtMostAMinute()
{
    if (MeterHome::fakeTimeLibrary().isEmpty())
        QSKIP("libfaketime is not installed (Debian package faketime)");
    TunLink link;
    if (!link.problem().isEmpty())
        QSKIP(qPrintable("no real link for this test: " + link.problem()));
    MeterHome home;
    QVERIFY(home.set("SOFTWARE\\Dialmeter\\Options\\Interfaces", link.name()));

    QRandomGenerator random(1210);
    int stored = 0;
    for (int run = 0; run < 20; ++run) {
        QProcess meter;
        // The meter has loaded once it has written today's date: it is taken
        // away before each start, so that every run waits for its own meter.
        home.store({"delete", LastCheck});
        QVERIFY(home.get(LastCheck).isEmpty());
        home.startMeter(meter, QStringLiteral("+0 x%1").arg(Speed));
        QTRY_VERIFY_WITH_TIMEOUT(!home.get(LastCheck).isEmpty() && meter.state() == QProcess::Running, 60000);
        const qint64 journalBefore = journalBytes(home);
        QVERIFY(link.setUp(true));
        QElapsedTimer connected;
        connected.start();
        // Counting starts with the opening entry, which a loaded machine may
        // bring a little after the link.
        QTRY_VERIFY_WITH_TIMEOUT(journalBytes(home) > journalBefore, 60000);
        QElapsedTimer counting;
        counting.start();
        QTest::qWait(500 + int(random.bounded(12500)));
        meter.kill();
        const qint64 upTo = connected.elapsed() * Speed / 1000 + 1; // the most it can have counted
        const qint64 atLeast = counting.elapsed() * Speed / 1000;   // the least it has counted
        QVERIFY(meter.waitForFinished(10000));
        QVERIFY(link.setUp(false));

        const auto after = home.store({"get", Total});
        QVERIFY2(after.exitCode == 0, qPrintable(after.err));
        const int now = secondsOf(after.out);
        const int gained = now - stored;
        qInfo("run %d: killed after at most %lld s connected, %d s stored", run, upTo, gained);
        QVERIFY2(gained >= 0 && gained <= upTo, qPrintable(QStringLiteral("%1 s stored").arg(gained)));
        // A tick of the sped-up meter may come late on a loaded machine: a tenth
        // of the time is allowed for that, beyond the minute between saves.
        QVERIFY2(gained >= atLeast - 60 - atLeast / 10,
                 qPrintable(QStringLiteral("%1 s stored of %2 to %3 s").arg(gained).arg(atLeast).arg(upTo)));
        stored = now;
        // The journal's lines are whole: the kill cut none in two.
        for (const QString &name : QDir(home.path()).entryList({"*.txt"}, QDir::Files)) {
            QFile journal(home.filePath(name));
            QVERIFY(journal.open(QIODevice::ReadOnly));
            const QByteArray text = journal.readAll();
            QVERIFY2(text.isEmpty() || text.endsWith("\r\n"), text.right(80).constData());
        }
    }
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
