// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "store/LaunchAtStartup.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {
const QString kOption = QStringLiteral("SOFTWARE\\Dialmeter\\Options\\LaunchAtWinStartup");
} // namespace

// The rule, over the XDG autostart entry in a temporary configuration folder.
class TestLaunchAtStartup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void rule_data();
    void rule();
    void execLineQuotesThePath_data();
    void execLineQuotesThePath();

private:
    QString entryFile() const { return config_->filePath("autostart/dialmeter.desktop"); }
    QString execLine() const;
    std::unique_ptr<QTemporaryDir> config_;
};

void TestLaunchAtStartup::init()
{
    config_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_->path()));
}

QString TestLaunchAtStartup::execLine() const
{
    QFile file(entryFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5));
    }
    return {};
}

void TestLaunchAtStartup::rule_data()
{
    QTest::addColumn<QString>("option"); // null: missing
    QTest::addColumn<QString>("existing"); // the program an entry starts; null: no entry
    QTest::addColumn<QString>("after");    // null: no entry afterwards

    QTest::addRow("wanted, none: made") << "1" << QString() << "/usr/bin/dialmeter";
    QTest::addRow("wanted, one for another path: kept") << "1" << "/opt/old/dialmeter" << "/opt/old/dialmeter";
    QTest::addRow("not wanted, one: removed") << "0" << "/usr/bin/dialmeter" << QString();
    QTest::addRow("missing option, one: removed") << QString() << "/usr/bin/dialmeter" << QString();
    QTest::addRow("other text, one: removed") << "oui" << "/usr/bin/dialmeter" << QString();
    QTest::addRow("not wanted, none: nothing") << "0" << QString() << QString();
}

void TestLaunchAtStartup::rule()
{
    QFETCH(QString, option);
    QFETCH(QString, existing);
    QFETCH(QString, after);
    TempStore t;
    if (!option.isNull())
        QVERIFY(t.store.write(SettingsStore::LocalMachine, kOption, option));
    StartupEntry &entry = platformStartupEntry();
    std::string error;
    if (!existing.isNull())
        QVERIFY(entry.write(existing.toStdString(), &error));

    QString problem;
    for (int run = 0; run < 2; ++run) { // a second run changes nothing
        QVERIFY(registerLaunchAtStartup(t.store, entry, "/usr/bin/dialmeter", &problem));
        QCOMPARE(QFile::exists(entryFile()), !after.isNull());
        if (!after.isNull())
            QCOMPARE(execLine(), after);
    }
}

void TestLaunchAtStartup::execLineQuotesThePath_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::addRow("plain") << "/usr/bin/dialmeter" << "/usr/bin/dialmeter";
    QTest::addRow("blanks") << "/home/ann/Mes programmes/dialmeter" << "\"/home/ann/Mes programmes/dialmeter\"";
    QTest::addRow("quote and dollar") << "/opt/a\"b$c/dialmeter" << "\"/opt/a\\\\\"b\\\\$c/dialmeter\"";
    QTest::addRow("percent") << "/opt/100%/dialmeter" << "/opt/100%%/dialmeter";
    QTest::addRow("backslash") << "/opt/a\\b/dialmeter" << "\"/opt/a\\\\\\\\b/dialmeter\"";
}

void TestLaunchAtStartup::execLineQuotesThePath()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    TempStore t;
    QVERIFY(t.store.write(SettingsStore::LocalMachine, kOption, "1"));
    QString problem;
    QVERIFY(registerLaunchAtStartup(t.store, platformStartupEntry(), program, &problem));
    QCOMPARE(execLine(), exec);
    QFile file(entryFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    QVERIFY(text.contains("\nType=Application\n"));
    // Started by every desktop's session, GNOME's included.
    QVERIFY(text.contains("\nX-GNOME-Autostart-enabled=true\n"));
    QVERIFY(!text.contains("OnlyShowIn") && !text.contains("NotShowIn"));
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (!validator.isEmpty()) {
        QProcess validate;
        validate.start(validator, {entryFile()});
        QVERIFY(validate.waitForFinished(30000));
        QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());
    }
}

QTEST_GUILESS_MAIN(TestLaunchAtStartup)
#include "tst_launchatstartup.moc"
