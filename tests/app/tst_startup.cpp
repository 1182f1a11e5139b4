// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "app/EntryProcedure.h"
#include "metering/DateText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <map>

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;

std::map<QString, QString> storedValues(StoreBackend &backend)
{
    std::map<QString, QString> values;
    for (const auto &v : backend.list(HKLM, "SOFTWARE\\Dialmeter"))
        values[QString::fromStdString(v.key + "\\" + v.name)] = QString::fromStdString(v.text);
    return values;
}

using Start = ConsoleFixture;

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGetsExactlyTheDefaults();
    void wideScreenKeepsItsWidth();
    void userSlots_data();
    void userSlots();
    void firstStartMarker_data();
    void firstStartMarker();
    void oldWindowsFlag_data();
    void oldWindowsFlag();
    void badCountersCountFromZeroAndAreRepaired_data();
    void badCountersCountFromZeroAndAreRepaired();
    void packageCheckAtLoad_data();
    void packageCheckAtLoad();
    void hiddenStartAndUnreadablePosition();
    void percentBar_data();
    void percentBar();
    void shutdownSavesOnceAndOnlyAfterLoad();
    void languageChosenAtStart_data();
    void languageChosenAtStart();
};

void TestStartup::emptyStoreGetsExactlyTheDefaults()
{
    Start s;
    const auto outcome = s.run();

    const std::map<QString, QString> expected{
        {"SOFTWARE\\Dialmeter\\User\\0", "Total"},
        {"SOFTWARE\\Dialmeter\\User\\1", "alice"},
        {"SOFTWARE\\Dialmeter\\Options\\OldHideWay", "True"},
        {"SOFTWARE\\Dialmeter\\Options\\Caché", "False"},
        {"SOFTWARE\\Dialmeter\\Options\\X", "15600"},
        {"SOFTWARE\\Dialmeter\\Options\\Y", "400"},
        {"SOFTWARE\\Dialmeter\\Options\\Ancrage", "1"},
        {"SOFTWARE\\Dialmeter\\Options\\Forfait", "00:00:00"},
        {"SOFTWARE\\Dialmeter\\Variables\\Total", "00:00:00"},
        {"SOFTWARE\\Dialmeter\\Variables\\Jour", "00:00:00"},
        {"SOFTWARE\\Dialmeter\\Variables\\alice", "00:00:00"},
        {"SOFTWARE\\Dialmeter\\Compte Rendu\\Date", datetext::date(QDate(2004, 3, 15))},
    };
    QCOMPARE(storedValues(s.t.backend), expected);

    QCOMPARE(outcome.userName, QStringLiteral("alice"));
    QVERIFY(!outcome.firstStart);
    QVERIFY(!outcome.oldWindows);
    QCOMPARE(s.view.left, qint64(15600));
    QCOMPARE(s.view.top, qint64(400));
    QCOMPARE(s.view.counters, QStringList({"00:00:00", "00:00:00", "00:00:00"}));
    QCOMPARE(s.view.userHeading, QStringLiteral("alice :"));
    QVERIFY(!s.view.offersShow);
    QVERIFY(!s.view.indicatorShown);
    QCOMPARE(s.meter.previousLinkState(), QStringLiteral("0"));
    QVERIFY(s.meter.alertArmed());
    QCOMPARE(s.meter.packageTime(), QStringLiteral("00:00:00"));

    const QFileInfo journal(s.journal.currentFile());
    QCOMPARE(journal.fileName(), QStringLiteral("2004.txt"));
    QVERIFY(journal.exists());
    QCOMPARE(journal.size(), qint64(0));
}

void TestStartup::wideScreenKeepsItsWidth()
{
    // 3840 pixels are 57600 twips: more than a 16-bit number holds.
    Start s;
    s.run(3840 * 15);
    QCOMPARE(s.get("Options\\X"), QStringLiteral("54000"));
    QCOMPARE(s.view.left, qint64(54000));
}

void TestStartup::userSlots_data()
{
    QTest::addColumn<QStringList>("slotsBefore");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("slotsAfter");

    QTest::addRow("second user takes the next slot") << QStringList{"Total", "alice"} << "bob"
                                                     << QStringList{"Total", "alice", "bob"};
    QTest::addRow("known user in a later slot") << QStringList{"Total", "alice", "bob"} << "bob"
                                                << QStringList{"Total", "alice", "bob"};
    QTest::addRow("a user named Total matches slot 0") << QStringList{"Total", "alice"} << "Total"
                                                       << QStringList{"Total", "alice"};
    QTest::addRow("names compare with their case") << QStringList{"Total", "alice"} << "Alice"
                                                   << QStringList{"Total", "alice", "Alice"};
    QTest::addRow("missing slot 0 is recreated first") << QStringList{} << "alice" << QStringList{"Total", "alice"};
}

void TestStartup::userSlots()
{
    QFETCH(QStringList, slotsBefore);
    QFETCH(QString, user);
    QFETCH(QStringList, slotsAfter);

    Start s(user);
    for (int i = 0; i < slotsBefore.size(); ++i)
        s.set("User\\" + QString::number(i), slotsBefore.at(i));
    s.run();

    QStringList stored;
    for (int i = 0; s.get("User\\" + QString::number(i)) != "Erreur"; ++i)
        stored << s.get("User\\" + QString::number(i));
    QCOMPARE(stored, slotsAfter);
}

void TestStartup::firstStartMarker_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<bool>("firstStart");
    QTest::addRow("1") << "1" << true;
    QTest::addRow("0") << "0" << false;
    QTest::addRow("missing") << QString() << false;
    QTest::addRow("other text") << "oui" << false;
}

void TestStartup::firstStartMarker()
{
    QFETCH(QString, marker);
    QFETCH(bool, firstStart);
    Start s;
    if (!marker.isNull())
        s.set("Options\\FirstBoot", marker);
    QCOMPARE(s.run().firstStart, firstStart);
    // Only the Options dialog's confirmation changes the marker.
    QCOMPARE(s.get("Options\\FirstBoot"), marker.isNull() ? QStringLiteral("Erreur") : marker);
}

void TestStartup::oldWindowsFlag_data()
{
    QTest::addColumn<int>("majorVersion");
    QTest::addColumn<bool>("oldWindows");
    QTest::addRow("not Windows") << 0 << false;
    QTest::addRow("major version 4") << 4 << true;
    QTest::addRow("major version 5") << 5 << false;
}

void TestStartup::oldWindowsFlag()
{
    QFETCH(int, majorVersion);
    QFETCH(bool, oldWindows);
    Start s;
    s.identity.majorVersion = majorVersion;
    QCOMPARE(s.run().oldWindows, oldWindows);
}

void TestStartup::badCountersCountFromZeroAndAreRepaired_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("loaded");
    QTest::addRow("fallback word") << "Erreur" << "00:00:00";
    QTest::addRow("empty") << "" << "00:00:00";
    QTest::addRow("hand-written garbage") << "deux heures" << "00:00:00";
    QTest::addRow("hours out of range") << "99999:00:00" << "00:00:00";
    QTest::addRow("a real counter stays") << "123:04:05" << "123:04:05";
}

void TestStartup::badCountersCountFromZeroAndAreRepaired()
{
    QFETCH(QString, stored);
    QFETCH(QString, loaded);
    Start s;
    for (const char *path : {"Variables\\Total", "Variables\\Jour", "Variables\\alice", "Options\\Forfait"})
        s.set(path, stored);
    s.run();
    QCOMPARE(s.view.counters, QStringList({loaded, loaded, loaded}));
    QCOMPARE(s.meter.packageTime(), loaded);
    for (const char *path : {"Variables\\Total", "Variables\\Jour", "Variables\\alice", "Options\\Forfait"})
        QCOMPARE(s.get(path), loaded);
}

void TestStartup::packageCheckAtLoad_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<bool>("newMonth"); // the last start was in the month before
    QTest::addColumn<bool>("indicator");

    QTest::addRow("over the package") << "10:00:00" << "10:00:01" << "1" << false << true;
    QTest::addRow("over, alarm off") << "10:00:00" << "11:00:00" << "0" << false << true;
    QTest::addRow("exactly the package") << "10:00:00" << "10:00:00" << "1" << false << false;
    QTest::addRow("under the package") << "10:00:00" << "09:59:59" << "1" << false << false;
    QTest::addRow("no package") << "00:00:00" << "500:00:00" << "1" << false << false;
    QTest::addRow("over last month, cleared at this start") << "10:00:00" << "11:00:00" << "1" << true << false;
}

void TestStartup::packageCheckAtLoad()
{
    QFETCH(QString, package);
    QFETCH(QString, month);
    QFETCH(QString, alarm);
    QFETCH(bool, newMonth);
    QFETCH(bool, indicator);
    Start s;
    s.set("Options\\Forfait", package);
    s.set("Variables\\Total", month);
    s.set("Options\\Alarm", alarm);
    if (newMonth)
        s.set("Compte Rendu\\Date", datetext::date(s.clock.now().date().addMonths(-1)));
    s.run();
    QCOMPARE(s.view.indicatorShown, indicator);
    // The alert is not armed yet while the console loads: it waits for a connection.
    QCOMPARE(s.view.alertsOpened, 0);
}

void TestStartup::hiddenStartAndUnreadablePosition()
{
    Start s;
    s.set("Options\\Caché", "TRUE");
    s.set("Options\\X", "far left");
    s.set("Options\\Y", "1.5e3");
    s.run();
    QCOMPARE(s.view.offersShow, std::optional<bool>(true));
    QVERIFY(s.core.hidden);
    QCOMPARE(s.view.left, qint64(15600 + 3375)); // slid away from the default place
    QCOMPARE(s.view.top, qint64(1500));

    Start shown;
    shown.set("Options\\X", "far left");
    shown.set("Options\\Y", "");
    shown.run();
    QCOMPARE(shown.view.left, qint64(15600));
    QCOMPARE(shown.view.top, qint64(400));
    QCOMPARE(shown.get("Options\\X"), QStringLiteral("far left"));
}

void TestStartup::percentBar_data()
{
    QTest::addColumn<QString>("percentBar");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("caption");

    QTest::addRow("a quarter") << "1" << "10:00:00" << "02:30:00" << true << 8 << "25%";
    QTest::addRow("all of it") << "1" << "10:00:00" << "10:00:00" << true << 33 << "100%";
    QTest::addRow("more than the month") << "1" << "01:00:00" << "02:00:00" << true << 66 << "200%";
    // Whole seconds: no floating-point figure a point low.
    QTest::addRow("72 s of an hour") << "1" << "01:00:00" << "00:01:12" << true << 0 << "2%";
    QTest::addRow("29 s of 100 s") << "1" << "00:01:40" << "00:00:29" << true << 9 << "29%";
    QTest::addRow("a third") << "1" << "00:00:03" << "00:00:01" << true << 11 << "33%";
    QTest::addRow("empty month keeps the bar") << "1" << "00:00:00" << "00:00:00" << true << -1 << "";
    QTest::addRow("bar off") << "0" << "10:00:00" << "02:30:00" << false << -1 << "";
}

void TestStartup::percentBar()
{
    QFETCH(QString, percentBar);
    QFETCH(QString, month);
    QFETCH(QString, user);
    QFETCH(bool, visible);
    QFETCH(int, width);
    QFETCH(QString, caption);
    Start s;
    s.set("Options\\Pourcent", percentBar);
    s.set("Variables\\Total", month);
    s.set("Variables\\alice", user);
    s.run();
    QCOMPARE(s.view.barVisible, visible);
    QCOMPARE(s.view.barWidth, width);
    QCOMPARE(s.view.barCaption, caption);
}

void TestStartup::shutdownSavesOnceAndOnlyAfterLoad()
{
    Start notLoaded;
    notLoaded.set("Variables\\Total", "05:00:00");
    notLoaded.core.shutdown();
    QCOMPARE(notLoaded.get("Variables\\Total"), QStringLiteral("05:00:00"));

    Start s;
    s.set("Variables\\Total", "05:00:00");
    s.run();
    s.meter.setCounters(QStringLiteral("05:10:00"), QStringLiteral("00:10:00"), QStringLiteral("01:10:00"));
    s.core.hidden = true;
    s.core.shutdown();
    QCOMPARE(s.get("Variables\\Total"), QStringLiteral("05:10:00"));
    QCOMPARE(s.get("Variables\\Jour"), QStringLiteral("00:10:00"));
    QCOMPARE(s.get("Variables\\alice"), QStringLiteral("01:10:00"));
    QCOMPARE(s.get("Options\\Caché"), QStringLiteral("True"));

    // Signal, log-out and the end of the event loop may all ask: the first one saves.
    s.set("Variables\\Total", "00:00:00");
    s.core.shutdown();
    QCOMPARE(s.get("Variables\\Total"), QStringLiteral("00:00:00"));
}

void TestStartup::languageChosenAtStart_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("selected");
    QTest::addRow("none stored: French") << QString() << "Français";
    QTest::addRow("English") << "English" << "English";
    QTest::addRow("no such file") << "Klingon" << "";
    QTest::addRow("a path") << "../Français" << "";
}

void TestStartup::languageChosenAtStart()
{
    QFETCH(QString, stored);
    QFETCH(QString, selected);
    Start s;
    QVERIFY(QDir(s.t.dir.path()).mkpath("lang"));
    for (const char *name : {"Français", "English"}) {
        QFile file(s.t.dir.filePath(QStringLiteral("lang/%1.lang").arg(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (!stored.isNull())
        s.set("Options\\Langage", stored);
    s.run();
    QCOMPARE(QFileInfo(s.language.languageFile()).completeBaseName(), selected);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
