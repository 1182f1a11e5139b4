// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeterHome.h"
#include "TunLink.h"
#include "metering/DateText.h"

#include <QDate>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

// The built meter's early warnings, end to end: through a notification service
// on a session bus of the test's own, once per threshold and period across
// restarts and a rollover, each replacing the meter's previous one; and,
// without that service, as one line on standard error.
class TestNotifications : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void oncePerThresholdAndPeriodThroughTheService();
    void aWarningWhileConnectedReplacesThePreviousOne();
    void withoutTheServiceOneLineOnStandardError_data();
    void withoutTheServiceOneLineOnStandardError();

private:
    // A session bus of its own; false when dbus-daemon is missing.
    bool startBus();
    void startService();
    // What the service was sent, one list of fields a notification.
    QList<QStringList> notifications();
    // The meter, with a package of 20 hours, started with `total` in the month;
    // the session bus it is given is `bus` (none when empty).
    void startMeter(QProcess &meter, const QString &total, const QString &bus);
    static void stop(QProcess &process);

    std::unique_ptr<MeterHome> home_;
    QProcess daemon_;
    QString busAddress_;
    QProcess service_;
    QByteArray serviceOutput_;
};

void TestNotifications::init()
{
    home_ = std::make_unique<MeterHome>();
    serviceOutput_.clear();
}

void TestNotifications::cleanup()
{
    stop(service_);
    stop(daemon_);
    busAddress_.clear();
}

void TestNotifications::stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    process.waitForFinished(15000);
}

bool TestNotifications::startBus()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (program.isEmpty())
        return false;
    daemon_.start(program, {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!daemon_.waitForStarted(15000))
        return false;
    QByteArray line;
    while (!line.contains('\n') && daemon_.waitForReadyRead(15000))
        line += daemon_.readAllStandardOutput();
    busAddress_ = QString::fromUtf8(line).trimmed();
    return !busAddress_.isEmpty();
}

void TestNotifications::startService()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress_);
    service_.setProcessEnvironment(env);
    service_.start(QStringLiteral(NOTIFICATION_SERVICE_BIN), {});
    QVERIFY(service_.waitForStarted(15000));
    QTRY_VERIFY_WITH_TIMEOUT((serviceOutput_ += service_.readAllStandardOutput()).startsWith("ready\n"), 15000);
}

QList<QStringList> TestNotifications::notifications()
{
    serviceOutput_ += service_.readAllStandardOutput();
    QList<QStringList> sent;
    for (const QString &line : QString::fromUtf8(serviceOutput_).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("notify\t")))
            sent << line.split(QLatin1Char('\t'));
    }
    return sent;
}

void TestNotifications::startMeter(QProcess &meter, const QString &total, const QString &bus)
{
    QVERIFY(home_->set(QStringLiteral("SOFTWARE\\Dialmeter\\Options\\Forfait"), QStringLiteral("20:00:00")));
    QVERIFY(home_->set(QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Total"), total));
    QProcessEnvironment env = home_->environment();
    // Without an address the bus is not looked for elsewhere either.
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    if (!bus.isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus);
    meter.setProcessEnvironment(env);
    meter.start(QStringLiteral(DIALMETER_BIN), {});
    QVERIFY(meter.waitForStarted(15000));
}

void TestNotifications::oncePerThresholdAndPeriodThroughTheService()
{
    if (!startBus())
        QSKIP("dbus-daemon is not installed (Debian package dbus-daemon)");
    startService();
    const QString date = QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\Date");
    const QString given = QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\Seuils");
    QVERIFY(home_->set(date, datetext::date(QDate::currentDate())));

    // 17 of 20 hours: 85 %, past the first default threshold.
    QProcess meter;
    startMeter(meter, QStringLiteral("17:00:00"), busAddress_);
    QTRY_COMPARE_WITH_TIMEOUT(notifications().size(), 1, 20000);
    const QStringList first = notifications().first();
    QCOMPARE(first.size(), 9);
    QCOMPARE(first.at(1), QStringLiteral("Dialmeter"));
    QCOMPARE(first.at(2), QStringLiteral("0"));
    QCOMPARE(first.at(3), QStringLiteral("dialmeter"));
    QCOMPARE(first.at(4), QStringLiteral("80 % du forfait utilisé"));
    QVERIFY2(first.at(5).startsWith(QStringLiteral("Utilisé : 17:00:00 sur 20:00:00. Il reste 03:00:00 jusqu'au ")),
             qPrintable(first.at(5)));
    QCOMPARE(first.at(6), QStringLiteral("48x48"));
    QCOMPARE(first.at(7), QStringLiteral("org.example.Dialmeter"));
    QTRY_COMPARE_WITH_TIMEOUT(home_->get(given), QStringLiteral("80"), 15000);
    stop(meter);

    // Started again past 90 %: only the threshold not given yet.
    startMeter(meter, QStringLiteral("18:30:00"), busAddress_);
    QTRY_COMPARE_WITH_TIMEOUT(notifications().size(), 2, 20000);
    QCOMPARE(notifications().at(1).at(4), QStringLiteral("90 % du forfait utilisé"));
    QTRY_COMPARE_WITH_TIMEOUT(home_->get(given), QStringLiteral("80,90"), 15000);
    stop(meter);

    // A new month: archived, cleared, and the thresholds may be given again.
    QVERIFY(home_->set(date, datetext::date(QDate::currentDate().addMonths(-1))));
    startMeter(meter, QStringLiteral("18:30:00"), busAddress_);
    const QDate last = QDate::currentDate().addMonths(-1);
    const QString archive = QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\%1\\%2\\Total")
                                .arg(last.year())
                                .arg(last.month());
    QTRY_COMPARE_WITH_TIMEOUT(home_->get(archive), QStringLiteral("18:30:00"), 15000);
    QCOMPARE(home_->get(given), QString());
    stop(meter);
    startMeter(meter, QStringLiteral("16:00:00"), busAddress_);
    QTRY_COMPARE_WITH_TIMEOUT(notifications().size(), 3, 20000);
    QCOMPARE(notifications().at(2).at(4), QStringLiteral("80 % du forfait utilisé"));
    stop(meter);
    QCOMPARE(meter.exitCode(), 0);
    QCOMPARE(notifications().size(), 3);
}

void TestNotifications::aWarningWhileConnectedReplacesThePreviousOne()
{
    TunLink link;
    if (!link.problem().isEmpty())
        QSKIP(qPrintable("no real link for this test: " + link.problem()));
    if (!startBus())
        QSKIP("dbus-daemon is not installed (Debian package dbus-daemon)");
    startService();
    QVERIFY(home_->set(QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\Date"), datetext::date(QDate::currentDate())));
    QVERIFY(home_->set(QStringLiteral("SOFTWARE\\Dialmeter\\Options\\Interfaces"), link.name()));
    QVERIFY(link.setUp(true));

    // 80 % is told at the start, 90 % two connected seconds later.
    QProcess meter;
    startMeter(meter, QStringLiteral("17:59:58"), busAddress_);
    QTRY_COMPARE_WITH_TIMEOUT(notifications().size(), 2, 30000);
    const QList<QStringList> sent = notifications();
    QCOMPARE(sent.at(0).at(4), QStringLiteral("80 % du forfait utilisé"));
    QCOMPARE(sent.at(0).at(2), QStringLiteral("0"));
    QCOMPARE(sent.at(1).at(4), QStringLiteral("90 % du forfait utilisé"));
    QVERIFY2(sent.at(1).at(5).startsWith(QStringLiteral("Utilisé : 18:00:00 sur 20:00:00.")), qPrintable(sent.at(1).at(5)));
    // The second takes the place of the first.
    QCOMPARE(sent.at(1).at(2), sent.at(0).at(8));
    stop(meter);
    QCOMPARE(meter.exitCode(), 0);
}

void TestNotifications::withoutTheServiceOneLineOnStandardError_data()
{
    QTest::addColumn<bool>("bus");
    QTest::addRow("no session bus") << false;
    QTest::addRow("a bus without the service") << true;
}

void TestNotifications::withoutTheServiceOneLineOnStandardError()
{
    QFETCH(bool, bus);
    if (bus && !startBus())
        QSKIP("dbus-daemon is not installed (Debian package dbus-daemon)");
    QVERIFY(home_->set(QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\Date"), datetext::date(QDate::currentDate())));
    QProcess meter;
    startMeter(meter, QStringLiteral("19:00:00"), busAddress_);
    const QString line = QStringLiteral("dialmeter: 90 % du forfait utilisé — Utilisé : 19:00:00 sur 20:00:00. ");
    QString err;
    QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromUtf8(meter.readAllStandardError())).contains(line), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(home_->get(QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\Seuils")),
                              QStringLiteral("80,90"), 15000);
    stop(meter);
    err += QString::fromUtf8(meter.readAllStandardError());
    QCOMPARE(err.count(QStringLiteral("du forfait utilisé")), 1);
}

QTEST_GUILESS_MAIN(TestNotifications)
#include "tst_notifications.moc"
