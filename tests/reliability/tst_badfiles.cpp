// SPDX-License-Identifier: GPL-3.0-or-later
// The built meter with damaged or unwritable files around it: a read-only store,
// a read-only data folder, a store that is not a database, a mangled language
// file, a journal holding binary data and 100,000-character lines, a full disk.
// Each time the meter keeps running, says each thing once, ends normally on
// SIGTERM and loses nothing that was stored.
#include "e2e/MeterHome.h"
#include "e2e/TunLink.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Damage { ReadOnlyStore, ReadOnlyFolder, NotADatabase, MangledLanguage, DamagedJournal, FullDisk };
const QString Total = QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Total");
const QString Day = QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\Jour");
constexpr uid_t Nobody = 65534;

QByteArray junk(int size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(size);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Root may write anywhere: the meter then runs as nobody, so that permissions hold.
void giveToNobody(const QString &folder)
{
    if (::geteuid() != 0)
        return;
    QVERIFY(::chown(QFile::encodeName(folder).constData(), Nobody, Nobody) == 0);
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        QVERIFY(::chown(QFile::encodeName(QDir(folder).filePath(name)).constData(), Nobody, Nobody) == 0);
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestBadFiles : public QObject {
    Q_OBJECT
private slots:
    void meterKeepsRunningAndLosesNothing_data();
    void meterKeepsRunningAndLosesNothing();
};

void TestBadFiles::meterKeepsRunningAndLosesNothing_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::newRow("read-only store") << Damage::ReadOnlyStore;
    QTest::newRow("read-only data folder") << Damage::ReadOnlyFolder;
    QTest::newRow("store that is not a database") << Damage::NotADatabase;
    QTest::newRow("mangled language file") << Damage::MangledLanguage;
    QTest::newRow("journal with binary data and long lines") << Damage::DamagedJournal;
    QTest::newRow("full disk") << Damage::FullDisk;
}

void TestBadFiles::meterKeepsRunningAndLosesNothing()
{
    QFETCH(Damage, damage);
    MeterHome home;
    bool mounted = false;
    const auto unmount = qScopeGuard([&] {
        if (mounted)
            ::umount2(QFile::encodeName(home.path()).constData(), MNT_DETACH);
    });
    if (damage == Damage::FullDisk) {
        if (::mount("tmpfs", QFile::encodeName(home.path()).constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP("cannot mount a small tmpfs here (needs root)");
        mounted = true;
    }
    std::unique_ptr<TunLink> link;
    if (damage == Damage::DamagedJournal) {
        link = std::make_unique<TunLink>();
        if (!link->problem().isEmpty())
            QSKIP(qPrintable("no real link for this test: " + link->problem()));
        QVERIFY(home.set("SOFTWARE\\Dialmeter\\Options\\Interfaces", link->name()));
    }
    QVERIFY(home.set(Total, "05:00:00"));
    QVERIFY(home.set(Day, "01:00:00"));
    const QString store = home.filePath("registry.db");
    const QString journal = home.filePath(QString::number(QDate::currentDate().year()) + ".txt");
    QByteArray before;

    QStringList runAs;
    switch (damage) {
    case Damage::ReadOnlyStore:
        giveToNobody(home.path());
        QVERIFY(QFile::setPermissions(store, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        break;
    case Damage::ReadOnlyFolder:
        giveToNobody(home.path());
        QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), 0555) == 0);
        break;
    case Damage::NotADatabase:
        before = junk(20000);
        QVERIFY(writeFile(store, before));
        break;
    case Damage::MangledLanguage: {
        QVERIFY(QDir(home.path()).mkpath("lang"));
        QByteArray text = "[Form1]\r\nCaption=" + QByteArray(100000, 'x') + "\r\n[reg\r\n=\r\nLabel1_Caption=\"\r\n";
        QVERIFY(writeFile(home.filePath("lang/Français.lang"), text + junk(5000) + QByteArray(10, '\0')));
        break;
    }
    case Damage::DamagedJournal:
        before = junk(3000) + "\r\n" + QByteArray(100000, 'y') + "\r\n" + junk(100);
        QVERIFY(writeFile(journal, before));
        break;
    case Damage::FullDisk: {
        QFile filler(home.filePath("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        break;
    }
    }
    if (::geteuid() == 0 && (damage == Damage::ReadOnlyStore || damage == Damage::ReadOnlyFolder))
        runAs = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};

    QProcess meter;
    meter.setProcessEnvironment(home.environment());
    if (runAs.isEmpty())
        meter.start(QStringLiteral(DIALMETER_BIN), {});
    else
        meter.start(runAs.front(), runAs.mid(1) << QStringLiteral(DIALMETER_BIN));
    QVERIFY(meter.waitForStarted());
    if (link) {
        QTest::qWait(1500);
        QVERIFY(link->setUp(true));
        QTest::qWait(3000);
        QVERIFY(link->setUp(false));
    }
    QTest::qWait(2500);
    const bool running = meter.state() == QProcess::Running;
    if (running)
        ::kill(pid_t(meter.processId()), SIGTERM);
    meter.waitForFinished(15000);
    const QString said = QString::fromUtf8(meter.readAllStandardError());
    QVERIFY2(running, qPrintable(said));
    QCOMPARE(meter.exitStatus(), QProcess::NormalExit);
    QVERIFY2(meter.exitCode() == 0, qPrintable(said));

    // Each thing is said once.
    QStringList messages;
    for (const QString &line : said.split('\n'))
        if (line.startsWith("dialmeter: ")) {
            QVERIFY2(!messages.contains(line), qPrintable("said twice: " + line));
            messages << line;
        }

    QFile::remove(home.filePath("filler"));
    switch (damage) {
    case Damage::NotADatabase: {
        const QStringList aside = QDir(home.path()).entryList({"registry.db.corrupt-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(readFile(home.filePath(aside.front())), before);
        QVERIFY2(said.contains(aside.front()), qPrintable(said));
        break;
    }
    case Damage::DamagedJournal: {
        const QByteArray after = readFile(journal);
        QVERIFY(after.startsWith(before));
        QVERIFY2(after.mid(before.size()).contains("Connexion"), after.right(200).constData());
        QCOMPARE(home.get(Total), QStringLiteral("05:00:0%1").arg(home.get(Total).right(1)));
        break;
    }
    default:
        QCOMPARE(home.get(Total), QStringLiteral("05:00:00"));
        QCOMPARE(home.get(Day), QStringLiteral("01:00:00"));
    }
    if (damage == Damage::ReadOnlyStore || damage == Damage::ReadOnlyFolder || damage == Damage::FullDisk)
        QVERIFY2(said.contains("pas pu"), qPrintable("the refused writes were not reported: " + said));
}

QTEST_GUILESS_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
