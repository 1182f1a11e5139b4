#include "support/TestSupport.h"

#include "app/DataFolder.h"
#include "app/InstanceLock.h"
#include "records/YearReport.h"

#include <QSysInfo>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// A data folder shared by a group: whatever names a member plants there (links
// to another user's files), nothing is written through them.
namespace {

// A file of another user, outside the data folder.
struct Victim {
    Victim() { write(kContent); }
    void write(const QByteArray &content) const
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray content() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString path() const { return dir.filePath(QStringLiteral("precious.txt")); }

    static constexpr const char *kContent = "someone else's file\n";
    QTemporaryDir dir;
};

bool saysLink(const QStringList &messages)
{
    return std::any_of(messages.cbegin(), messages.cend(),
                       [](const QString &m) { return m.contains(QLatin1String("lien symbolique")); });
}

} // namespace

class TestSharedFolder : public QObject {
    Q_OBJECT
private slots:
    void plantedJournalOrReportLinks_data();
    void plantedJournalOrReportLinks();
    void plantedStoreLinks_data();
    void plantedStoreLinks();
    void storeInAFolderReachedThroughALink();
    void plantedLockLink();
    void anotherMembersJournalIsEmptiedWhenItMayNotBeDeleted();
    void lockLeftByAnotherMembersEndedMeterIsNoObstacle();
    void unprotectedSharedFolderIsTold_data();
    void unprotectedSharedFolderIsTold();
};

void TestSharedFolder::plantedJournalOrReportLinks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("the year's journal") << "2004.txt";
    QTest::addRow("the report file") << "log.txt";
}

void TestSharedFolder::plantedJournalOrReportLinks()
{
    QFETCH(QString, name);
    Victim victim;
    ConsoleFixture f;
    QVERIFY(QFile::link(victim.path(), f.t.dir.filePath(name)));

    // A start, a connection, and the year's report: every writer of the folder.
    f.run();
    f.linkUp();
    f.ticks(3);
    f.linkDown();
    f.ticks(1);
    YearReport report(f.core, f.t.dir.filePath(QStringLiteral("log.txt")));
    report.ChargementDesValeurs(QStringLiteral("2004"), QStringLiteral("Année "));
    f.core.shutdown();

    QCOMPARE(victim.content(), QByteArray(Victim::kContent));
    QVERIFY2(saysLink(f.told), qPrintable(f.told.join('\n')));
}

void TestSharedFolder::plantedStoreLinks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::addRow("the store") << "registry.db" << true;
    QTest::addRow("its write-ahead log") << "registry.db-wal" << false;
    QTest::addRow("its shared memory") << "registry.db-shm" << true;
    QTest::addRow("its rollback journal") << "registry.db-journal" << false;
}

void TestSharedFolder::plantedStoreLinks()
{
    QFETCH(QString, name);
    QFETCH(bool, refused);
    Victim victim;
    QTemporaryDir folder;
    QVERIFY(QFile::link(victim.path(), folder.filePath(name)));
    {
        SqliteStoreBackend backend;
        QString notice, error;
        const bool opened = backend.open(datafolder::storeFile(folder.path()), &notice, &error);
        QCOMPARE(!opened, refused);
        if (refused)
            QVERIFY2(error.contains(QLatin1String("lien symbolique")), qPrintable(error));
        if (opened) {
            std::string writeError;
            backend.write(2, "SOFTWARE\\Dialmeter\\Variables", "Total", "01:00:00", &writeError);
        }
    }
    QCOMPARE(victim.content(), QByteArray(Victim::kContent));
}

void TestSharedFolder::storeInAFolderReachedThroughALink()
{
    QTemporaryDir real, links;
    const QString folder = links.filePath(QStringLiteral("data"));
    QVERIFY(QFile::link(real.path(), folder));
    SqliteStoreBackend backend;
    QString notice, error;
    QVERIFY2(backend.open(datafolder::storeFile(folder), &notice, &error), qPrintable(error));
    std::string writeError;
    QVERIFY(backend.write(2, "SOFTWARE\\Dialmeter\\Variables", "Total", "01:00:00", &writeError));
    QVERIFY(QFileInfo(real.filePath(QStringLiteral("registry.db"))).isFile());
}

void TestSharedFolder::plantedLockLink()
{
    Victim victim;
    QTemporaryDir folder;
    QVERIFY(QFile::link(victim.path(), folder.filePath(QStringLiteral("dialmeter.lock"))));
    {
        InstanceLock lock(folder.path());
        QString message, notice;
        QVERIFY(!lock.acquire(&message, &notice));
        QVERIFY2(message.contains(QLatin1String("lien symbolique")), qPrintable(message));
    }
    QCOMPARE(victim.content(), QByteArray(Victim::kContent));
}

void TestSharedFolder::anotherMembersJournalIsEmptiedWhenItMayNotBeDeleted()
{
    if (::geteuid() != 0)
        QSKIP("acting as two users needs root");
    // A sticky folder that everyone may write, and a journal that root started
    // and everyone may write: another user may empty it, not delete it.
    QTemporaryDir folder;
    QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 03777), 0);
    FakeClock clock;
    Journal journal(folder.path(), clock);
    QVERIFY(journal.appendOpening(QStringLiteral("alice"), QStringLiteral("Connexion")));
    QCOMPARE(::chmod(QFile::encodeName(journal.currentFile()).constData(), 0666), 0);

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        const bool erased = ::setuid(65534) == 0 && journal.erase(journal.currentFile());
        ::_exit(erased ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QVERIFY(QFileInfo::exists(journal.currentFile()));
    QCOMPARE(QFileInfo(journal.currentFile()).size(), 0);
}

void TestSharedFolder::lockLeftByAnotherMembersEndedMeterIsNoObstacle()
{
    if (::geteuid() != 0)
        QSKIP("acting as two users needs root");
    // Root's meter ended without removing its lock (a power cut); another user,
    // who may not remove root's file from the sticky folder, starts a meter.
    const pid_t ended = ::fork();
    QVERIFY(ended >= 0);
    if (ended == 0)
        ::_exit(0);
    QCOMPARE(::waitpid(ended, nullptr, 0), ended);
    QTemporaryDir folder;
    QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 03777), 0);
    const QString lockFile = folder.filePath(QStringLiteral("dialmeter.lock"));
    QFile left(lockFile);
    QVERIFY(left.open(QIODevice::WriteOnly));
    left.write(QByteArray::number(ended) + "\ndialmeter\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    left.close();
    QVERIFY(left.setPermissions(left.permissions() | QFileDevice::WriteGroup | QFileDevice::WriteOther));

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        InstanceLock lock(folder.path());
        QString message, notice;
        const bool taken = ::setuid(65534) == 0 && lock.acquire(&message, &notice) && notice.isEmpty();
        ::_exit(taken ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

void TestSharedFolder::unprotectedSharedFolderIsTold_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("told");
    QTest::addRow("shared and sticky") << 03775 << false;
    QTest::addRow("shared, not sticky") << 02775 << true;
    QTest::addRow("a user's own folder") << 0755 << false;
}

void TestSharedFolder::unprotectedSharedFolderIsTold()
{
    QFETCH(int, mode);
    QFETCH(bool, told);
    QTemporaryDir folder;
    QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), static_cast<mode_t>(mode)), 0);
    const QString warning = datafolder::sharingWarning(folder.path());
    QCOMPARE(!warning.isEmpty(), told);
    if (told)
        QVERIFY(warning.contains(QLatin1String("3775")));
}

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "tst_sharedfolder.moc"
