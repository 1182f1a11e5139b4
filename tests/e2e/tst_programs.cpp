// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeterHome.h"
#include "store/SystemIdentity.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <csignal>


class TestPrograms : public QObject {
    Q_OBJECT
private slots:
    void init();
    void headlessMeterWritesDefaultsRefusesASecondOneAndSavesOnSigterm();
    void everyStopSignalSavesTheCounters_data();
    void everyStopSignalSavesTheCounters();
    void storeTool();
    void newMonthWithAMovedClock();
    void chartRefusesWhatItCannotShow_data();
    void chartRefusesWhatItCannotShow();
    void chartLeavesADamagedStoreAlone();

private:
    MeterHome::ToolResult store(const QStringList &args) { return home_->store(args); }
    std::unique_ptr<MeterHome> home_;
};

void TestPrograms::init()
{
    home_ = std::make_unique<MeterHome>();
}

void TestPrograms::headlessMeterWritesDefaultsRefusesASecondOneAndSavesOnSigterm()
{
    QProcess meter;
    home_->startMeter(meter);
    QVERIFY(meter.waitForStarted());
    const QString total = QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Total");
    QTRY_COMPARE_WITH_TIMEOUT(store({"get", total}).exitCode, 0, 15000);

    const QString user = QString::fromStdString(platformIdentity().logOnName());
    const QString listing = store({"list", "SOFTWARE\\Dialmeter\\"}).out;
    for (const QString &line : {QStringLiteral("SOFTWARE\\Dialmeter\\User\\0\tTotal"),
                                "SOFTWARE\\Dialmeter\\User\\1\t" + user,
                                QStringLiteral("SOFTWARE\\Dialmeter\\Options\\OldHideWay\tTrue"),
                                QStringLiteral("SOFTWARE\\Dialmeter\\Options\\Caché\tFalse"),
                                QStringLiteral("SOFTWARE\\Dialmeter\\Options\\Ancrage\t1"),
                                QStringLiteral("SOFTWARE\\Dialmeter\\Options\\Forfait\t00:00:00"),
                                QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Jour\t00:00:00"),
                                "SOFTWARE\\Dialmeter\\Variables\\" + user + "\t00:00:00", total + "\t00:00:00"})
        QVERIFY2(listing.split('\n').contains(line), qPrintable(line + " not in:\n" + listing));
    // No screen, no position: the next start on a desktop works it out from
    // the real screen.
    QCOMPARE(store({"get", "SOFTWARE\\Dialmeter\\Options\\X"}).exitCode, 1);
    QCOMPARE(store({"get", "SOFTWARE\\Dialmeter\\Options\\Y"}).exitCode, 1);
    QVERIFY(QFileInfo::exists(home_->filePath(QString::number(QDate::currentDate().year()) + ".txt")));

    // A second meter on the same folder would count every second twice.
    QProcess second;
    second.setProcessEnvironment(home_->environment());
    second.start(QStringLiteral(DIALMETER_BIN), {});
    QVERIFY(second.waitForFinished(15000));
    QCOMPARE(second.exitCode(), 1);
    QVERIFY(QString::fromUtf8(second.readAllStandardError()).contains(QString::number(meter.processId())));

    // What the meter holds in memory goes back to the store when it is stopped.
    QCOMPARE(store({"delete", total}).exitCode, 0);
    QCOMPARE(store({"get", total}).exitCode, 1);
    ::kill(static_cast<pid_t>(meter.processId()), SIGTERM);
    QVERIFY(meter.waitForFinished(15000));
    QCOMPARE(meter.exitStatus(), QProcess::NormalExit);
    QCOMPARE(meter.exitCode(), 0);
    QVERIFY(QString::fromUtf8(meter.readAllStandardError()).contains("no display"));
    QCOMPARE(store({"get", total}).out, QStringLiteral("00:00:00\n"));
}

void TestPrograms::everyStopSignalSavesTheCounters_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addRow("SIGINT") << int(SIGINT);
    QTest::addRow("SIGHUP") << int(SIGHUP);
}

void TestPrograms::everyStopSignalSavesTheCounters()
{
    QFETCH(int, signalNumber);
    const QString day = QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Jour");
    QCOMPARE(store({"set", day, "01:02:03"}).exitCode, 0);
    QProcess meter;
    home_->startMeter(meter);
    QTRY_COMPARE_WITH_TIMEOUT(store({"get", "SOFTWARE\\Dialmeter\\Variables\\Total"}).exitCode, 0, 15000);
    QCOMPARE(store({"delete", day}).exitCode, 0);
    ::kill(static_cast<pid_t>(meter.processId()), signalNumber);
    QVERIFY(meter.waitForFinished(15000));
    QCOMPARE(meter.exitCode(), 0);
    QCOMPARE(store({"get", day}).out, QStringLiteral("01:02:03\n"));
}

void TestPrograms::chartRefusesWhatItCannotShow_data()
{
    QTest::addColumn<QString>("platform"); // QT_QPA_PLATFORM; empty for no display at all
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");

    QTest::addRow("no display") << "" << QStringList{} << 1 << "no display";
    QTest::addRow("a year that is no number") << "offscreen" << QStringList{"--year", "abc"} << 2 << "\"abc\"";
    QTest::addRow("a year out of range") << "offscreen" << QStringList{"--year", "10000"} << 2 << "\"10000\"";
}

void TestPrograms::chartRefusesWhatItCannotShow()
{
    QFETCH(QString, platform);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QProcess chart;
    QProcessEnvironment env = home_->environment();
    if (!platform.isEmpty())
        env.insert("QT_QPA_PLATFORM", platform);
    chart.setProcessEnvironment(env);
    chart.start(QStringLiteral(DIALMETER_CHART_BIN), arguments);
    QVERIFY(chart.waitForFinished(60000));
    QCOMPARE(chart.exitCode(), exitCode);
    const QString err = QString::fromUtf8(chart.readAllStandardError());
    QVERIFY2(err.contains(said), qPrintable(err));
    QVERIFY(!QFileInfo::exists(home_->filePath("registry.db")));
}

void TestPrograms::chartLeavesADamagedStoreAlone()
{
    // The meter sets a damaged store aside and starts afresh; the chart, which
    // only reads, says so and leaves it to the meter.
    const QByteArray damaged("not a database, only text");
    QFile file(home_->filePath("registry.db"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(damaged);
    file.close();

    QProcess chart;
    QProcessEnvironment env = home_->environment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    chart.setProcessEnvironment(env);
    chart.start(QStringLiteral(DIALMETER_CHART_BIN), {"--year", "2004"});
    QString err;
    QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromUtf8(chart.readAllStandardError())).contains("registry.db"), 60000);
    chart.kill();
    chart.waitForFinished();

    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), damaged);
    QCOMPARE(QDir(home_->path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"registry.db"});
}

void TestPrograms::storeTool()
{
    const QString resetDay = QStringLiteral("SOFTWARE\\Dialmeter\\Options\\Raz");
    QCOMPARE(store({"get", resetDay}).exitCode, 1);
    QCOMPARE(store({"list"}).out, QString());

    QCOMPARE(store({"set", resetDay, "15"}).exitCode, 0);
    QCOMPARE(store({"set", "HKCU\\Software\\Other\\Clé", "é ü"}).exitCode, 0);
    QCOMPARE(store({"get", "software\\DIALMETER\\options\\RAZ"}).out, QStringLiteral("15\n"));
    QCOMPARE(store({"get", "HKCU\\Software\\Other\\CLÉ"}).out, QStringLiteral("é ü\n"));
    QCOMPARE(store({"list"}).out,
             QStringLiteral("HKCU\\Software\\Other\\Clé\té ü\nSOFTWARE\\Dialmeter\\Options\\Raz\t15\n"));
    QCOMPARE(store({"list", "SOFTWARE\\Dialmeter"}).out, QStringLiteral("SOFTWARE\\Dialmeter\\Options\\Raz\t15\n"));

    QCOMPARE(store({"delete", "SOFTWARE\\Dialmeter\\Options\\Missing"}).exitCode, 1);
    QCOMPARE(store({"delete", "SOFTWARE\\Dialmeter\\"}).exitCode, 0);
    QCOMPARE(store({"get", resetDay}).exitCode, 1);
    QCOMPARE(store({"delete", "SOFTWARE\\Dialmeter\\"}).exitCode, 1);

    const auto wrong = store({"set", resetDay});
    QCOMPARE(wrong.exitCode, 2);
    QVERIFY(wrong.err.contains("usage"));
}

void TestPrograms::newMonthWithAMovedClock()
{
    if (MeterHome::fakeTimeLibrary().isEmpty())
        QSKIP("libfaketime is not installed (Debian package faketime)");

    const QString product = QStringLiteral("SOFTWARE\\Dialmeter\\");
    const QString user = QString::fromStdString(platformIdentity().logOnName());
    QCOMPARE(store({"set", product + "Compte Rendu\\Date", "31/03/2004"}).exitCode, 0);
    QCOMPARE(store({"set", product + "Options\\Raz", "1"}).exitCode, 0);
    QCOMPARE(store({"set", product + "Variables\\Total", "05:00:00"}).exitCode, 0);
    QCOMPARE(store({"set", product + "Variables\\" + user, "03:00:00"}).exitCode, 0);

    QProcess meter;
    QProcessEnvironment env = home_->environment(QStringLiteral("@2004-04-01 10:00:00"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
    meter.setProcessEnvironment(env);
    meter.start(QStringLiteral(DIALMETER_BIN), {});
    QTRY_COMPARE_WITH_TIMEOUT(store({"get", product + "Compte Rendu\\Date"}).out, QStringLiteral("01/04/2004\n"),
                              15000);
    QCOMPARE(store({"get", product + "Compte Rendu\\2004\\3\\Total"}).out, QStringLiteral("05:00:00\n"));
    QCOMPARE(store({"get", product + "Compte Rendu\\2004\\3\\" + user}).out, QStringLiteral("03:00:00\n"));
    QStringList variables = store({"list", product + "Variables"}).out.split('\n', Qt::SkipEmptyParts);
    variables.sort();
    QStringList expected{product + "Variables\\Jour\t00:00:00", product + "Variables\\Total\t00:00:00",
                         product + "Variables\\" + user + "\t00:00:00"};
    expected.sort();
    QCOMPARE(variables, expected);
    meter.terminate();
    QVERIFY(meter.waitForFinished(15000));
}

QTEST_GUILESS_MAIN(TestPrograms)
#include "tst_programs.moc"
