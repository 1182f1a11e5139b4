// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "app/InstanceLock.h"
#include "records/YearReport.h"
#include "store/DataFile.h"
#include "store/DataFolder.h"

#include <QSysInfo>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <grp.h>
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

// Runs `work` in a child process acting as `uid`, of group `gid` only, with the
// umask of a shared folder's members.
pid_t startAs(uid_t uid, gid_t gid, const std::function<bool()> &work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::umask(002);
        const bool done = ::setgroups(0, nullptr) == 0 && ::setresgid(gid, gid, gid) == 0
            && ::setresuid(uid, uid, uid) == 0 && work();
        ::_exit(done ? 0 : 1);
    }
    return child;
}

bool endedWell(pid_t child)
{
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The kernel's protection of regular files in sticky folders, at its strictest
// (a group-writable sticky folder included) for as long as the object lives.
class ProtectedRegularFiles {
public:
    ProtectedRegularFiles()
        : previous_(level())
    {
        if (previous_.toInt() < 2 && setLevel("2"))
            restore_ = true;
    }
    ~ProtectedRegularFiles()
    {
        if (restore_)
            setLevel(previous_);
    }
    static int levelNow() { return level().toInt(); }

private:
    static QByteArray level()
    {
        QFile file(kSetting);
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("0");
    }
    static bool setLevel(const QByteArray &value)
    {
        QFile file(kSetting);
        return file.open(QIODevice::WriteOnly) && file.write(value) == value.size() && file.flush();
    }
    static constexpr const char *kSetting = "/proc/sys/fs/protected_regular";
    QByteArray previous_;
    bool restore_ = false;
};

bool reportFailure(const QString &what)
{
    qWarning("%s", qPrintable(what));
    return false;
}

// One member's meter: a journal entry, the lock taken and given back, and a
// value written to the store, every one of them in full.
bool meterAs(const QString &folder, const QString &user, SqliteStoreBackend &store)
{
    FakeClock clock;
    Journal journal(folder, clock);
    if (!journal.appendOpening(user, QStringLiteral("Connexion")))
        return reportFailure(journal.lastError());
    {
        InstanceLock lock(folder);
        QString message, notice;
        if (!lock.acquire(&message, &notice) || !notice.isEmpty())
            return reportFailure(message + notice);
    }
    QString notice, error;
    std::string writeError;
    if (!store.open(datafolder::storeFile(folder), &notice, &error) || !notice.isEmpty())
        return reportFailure(error + notice);
    if (!store.write(2, "SOFTWARE\\Dialmeter\\Variables", user.toStdString(), "01:00:00", &writeError))
        return reportFailure(QString::fromStdString(writeError));
    return true;
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
    void linkToNowhereIsNeverCreatedThrough();
    void plantedLockLink();
    void plantedLockThatTakesNoLock_data();
    void plantedLockThatTakesNoLock();
    void folderThatTakesNoLockFileLocksInTheRuntimeFolder();
    void anotherMembersJournalIsEmptiedWhenItMayNotBeDeleted();
    void anotherMembersDanglingLinkIsNoErasedJournal();
    void lockLeftByAnotherMembersEndedMeterIsNoObstacle();
    void membersWriteFilesAnotherMemberMade();
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
    YearReport report(f.meter, f.t.dir.filePath(QStringLiteral("log.txt")));
    report.reportLines(QStringLiteral("2004"), QStringLiteral("Année "));
    f.core.shutdown();

    QCOMPARE(victim.content(), QByteArray(Victim::kContent));
    QVERIFY2(saysLink(f.told), qPrintable(f.told.join('\n')));
}

void TestSharedFolder::plantedStoreLinks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("dangling");
    // A journal linked to a file leaves the store open, written to without it;
    // one linked to no file at all refuses the store.
    for (const bool dangling : {false, true}) {
        const char *target = dangling ? ", leading nowhere" : "";
        QTest::addRow("the store%s", target) << "registry.db" << true << dangling;
        QTest::addRow("its write-ahead log%s", target) << "registry.db-wal" << dangling << dangling;
        QTest::addRow("its shared memory%s", target) << "registry.db-shm" << true << dangling;
        QTest::addRow("its rollback journal%s", target) << "registry.db-journal" << dangling << dangling;
    }
}

void TestSharedFolder::plantedStoreLinks()
{
    QFETCH(QString, name);
    QFETCH(bool, refused);
    QFETCH(bool, dangling);
    Victim victim;
    const QString nowhere = victim.dir.filePath(QStringLiteral("nowhere"));
    QTemporaryDir folder;
    QVERIFY(QFile::link(dangling ? nowhere : victim.path(), folder.filePath(name)));
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
    QVERIFY(!QFileInfo::exists(nowhere));
}

void TestSharedFolder::linkToNowhereIsNeverCreatedThrough()
{
    // Even when the caller would follow links.
    QTemporaryDir folder;
    const QString nowhere = folder.filePath(QStringLiteral("nowhere"));
    const QByteArray link = QFile::encodeName(folder.filePath(QStringLiteral("registry.db-journal")));
    QVERIFY(QFile::link(nowhere, QFile::decodeName(link)));
    errno = 0;
    QCOMPARE(datafile::openShared(link.constData(), O_RDWR | O_CREAT, 0644), -1);
    QCOMPARE(errno, ELOOP);
    QVERIFY(!QFileInfo::exists(nowhere));
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

void TestSharedFolder::plantedLockThatTakesNoLock_data()
{
    QTest::addColumn<int>("type");
    QTest::addRow("a folder") << int(S_IFDIR);
    QTest::addRow("a pipe") << int(S_IFIFO);
    QTest::addRow("a file this user may not read") << int(S_IFREG);
}

void TestSharedFolder::plantedLockThatTakesNoLock()
{
    QFETCH(int, type);
    if (::geteuid() != 0)
        QSKIP("acting as another member needs root");
    QTemporaryDir folder;
    QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 03777), 0);
    const QString lockFile = folder.filePath(QStringLiteral("dialmeter.lock"));
    const QByteArray lockName = QFile::encodeName(lockFile);
    QCOMPARE(type == S_IFDIR ? ::mkdir(lockName.constData(), 0755)
                             : ::mknod(lockName.constData(), static_cast<mode_t>(type) | 0600, 0),
             0);

    // Another member's meter is refused, naming the lock, rather than locking
    // in its own runtime folder where no other member's meter would look.
    const pid_t member = startAs(65534, 65534, [&] {
        qunsetenv("XDG_RUNTIME_DIR");
        InstanceLock lock(folder.path());
        QString message, notice;
        const bool refused = !lock.acquire(&message, &notice) && message.contains(lockFile);
        return refused || reportFailure(message + notice);
    });
    QVERIFY(endedWell(member));
}

void TestSharedFolder::folderThatTakesNoLockFileLocksInTheRuntimeFolder()
{
    if (::geteuid() != 0)
        QSKIP("a folder read-only to its user needs another user than root");
    QTemporaryDir folder;
    QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    const pid_t member = startAs(65534, 65534, [&] {
        qunsetenv("XDG_RUNTIME_DIR");
        InstanceLock first(folder.path()), second(folder.path());
        QString message, notice;
        if (!first.acquire(&message, &notice) || !notice.isEmpty())
            return reportFailure(message + notice);
        return !second.acquire(&message, &notice) && message.contains(folder.path());
    });
    QVERIFY(endedWell(member));
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

    const pid_t member = startAs(65534, 65534, [&] { return journal.erase(journal.currentFile()); });
    QVERIFY(endedWell(member));
    QVERIFY(QFileInfo::exists(journal.currentFile()));
    QCOMPARE(QFileInfo(journal.currentFile()).size(), 0);
}

void TestSharedFolder::anotherMembersDanglingLinkIsNoErasedJournal()
{
    if (::geteuid() != 0)
        QSKIP("acting as two users needs root");
    // Root planted a link to nowhere as the journal, in a sticky folder where
    // another user may not remove it.
    QTemporaryDir folder;
    QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 03777), 0);
    FakeClock clock;
    Journal journal(folder.path(), clock);
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("nowhere")), journal.currentFile()));

    const pid_t member = startAs(65534, 65534, [&] {
        return !journal.erase(journal.currentFile()) && saysLink({journal.lastError()});
    });
    QVERIFY(endedWell(member));
    QVERIFY(QFileInfo(journal.currentFile()).isSymLink());
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("nowhere"))));
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

    const pid_t member = startAs(65534, 65534, [&] {
        InstanceLock lock(folder.path());
        QString message, notice;
        return lock.acquire(&message, &notice) && notice.isEmpty();
    });
    QVERIFY(endedWell(member));
}

void TestSharedFolder::membersWriteFilesAnotherMemberMade()
{
    if (::geteuid() != 0)
        QSKIP("acting as two users needs root");
    const ProtectedRegularFiles protection;
    if (ProtectedRegularFiles::levelNow() < 2)
        QSKIP("fs.protected_regular is below 2 and cannot be raised here: the kernel would let any member open "
              "another's file");
    constexpr gid_t kGroup = 4242;
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QByteArray folderName = QFile::encodeName(folder);
    QCOMPARE(::chown(folderName.constData(), 0, kGroup), 0);
    QCOMPARE(::chmod(folderName.constData(), 03775), 0);

    // The first member makes the journal, the lock and the store, and keeps the
    // store open (its write-ahead log and shared memory with it) while the second
    // member's meter writes to all of them.
    int ready[2], go[2];
    QVERIFY(::pipe(ready) == 0 && ::pipe(go) == 0);
    const pid_t first = startAs(65534, kGroup, [&] {
        SqliteStoreBackend store;
        char byte = 0;
        return meterAs(folder, QStringLiteral("first"), store) && ::write(ready[1], "r", 1) == 1
            && ::read(go[0], &byte, 1) == 1;
    });
    ::close(ready[1]);
    char byte = 0;
    const bool firstReady = ::read(ready[0], &byte, 1) == 1;
    const pid_t second = startAs(65533, kGroup, [&] {
        SqliteStoreBackend store;
        return meterAs(folder, QStringLiteral("second"), store);
    });
    const bool secondWell = endedWell(second);
    QCOMPARE(::write(go[1], "g", 1), 1);
    for (int fd : {ready[0], go[0], go[1]})
        ::close(fd);
    QVERIFY(endedWell(first));
    QVERIFY(firstReady);
    QVERIFY(secondWell);

    QFile journal(folder + QStringLiteral("/2004.txt"));
    QVERIFY(journal.open(QIODevice::ReadOnly));
    const QByteArray entries = journal.readAll();
    QVERIFY2(entries.contains("first") && entries.contains("second"), entries.constData());
    SqliteStoreBackend store;
    QString notice, error;
    QVERIFY2(store.open(datafolder::storeFile(folder), &notice, &error), qPrintable(error));
    QCOMPARE(store.read(2, "SOFTWARE\\Dialmeter\\Variables", "second"), std::optional<std::string>("01:00:00"));
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
