// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "store/DataFolder.h"
#include "support/StoreBackendRules.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
const QString kOptions = QStringLiteral("SOFTWARE\\Dialmeter\\Options\\");
const QString kVariables = QStringLiteral("SOFTWARE\\Dialmeter\\Variables\\");
} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGivesFallbackAndCreatesNothing();
    void writeCreatesEveryKeyOnThePath();
    void sameValue_data();
    void sameValue();
    void rootsWithoutPrefix_data();
    void rootsWithoutPrefix();
    void failureIsReportedInTheUserLanguage();
    void typesOutOfRangeWriteNothing_data();
    void typesOutOfRangeWriteNothing();
    void deleteKeyTakesItsValuesAndSubkeys();
    void deleteValueAndMissingThings();
    void valuesSurviveReopening();
    void refusedWriteIsKeptReportedOnceAndStoredLater();
    void changesMadeTogetherLandTogether();
    void anUnreadableValueIsNotAMissingOne();
    void aKeyCopyReadsAsTheStoreDid();
    void corruptFileIsSetAsideAndAFreshStoreStarts();
    void aReadOnlyOpenChangesNothing();
    void aReadOnlyOpenReadsWhatARunningMeterCommitted();
    void backendKeepsTheRulesEveryBackendKeeps();
    void newFilesInAGroupSharedFolderAreTheGroups_data();
    void newFilesInAGroupSharedFolderAreTheGroups();
};

void TestSettingsStore::emptyStoreGivesFallbackAndCreatesNothing()
{
    TempStore t;
    QCOMPARE(t.store.value(HKLM, kOptions + "Top", "Erreur"), QStringLiteral("Erreur"));
    QCOMPARE(t.store.value(HKLM, kOptions + "Top", "autre"), QStringLiteral("autre"));
    QVERIFY(!t.backend.keyExists(HKLM, "SOFTWARE"));
    QVERIFY(t.backend.list(HKLM, "").empty());
}

void TestSettingsStore::writeCreatesEveryKeyOnThePath()
{
    TempStore t;
    QVERIFY(t.store.write(HKLM, kVariables + "Total", "00:00:00", 0));
    for (const char *key : {"SOFTWARE", "SOFTWARE\\Dialmeter", "SOFTWARE\\Dialmeter\\Variables"})
        QVERIFY2(t.backend.keyExists(HKLM, key), key);
    QCOMPARE(t.store.value(HKLM, kVariables + "Total"), QStringLiteral("00:00:00"));
    const auto values = t.backend.list(HKLM, "");
    QCOMPARE(values.size(), size_t(1));
    QCOMPARE(values.front().name, std::string("Total"));
}

void TestSettingsStore::sameValue_data()
{
    QTest::addColumn<int>("writeRoot");
    QTest::addColumn<QString>("writePath");
    QTest::addColumn<int>("readRoot");
    QTest::addColumn<QString>("readPath");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");

    QTest::addRow("value name in other case") << HKLM << kOptions + "indivisible" << HKLM << kOptions + "Indivisible"
                                              << "0" << true;
    QTest::addRow("accented names in capitals") << HKLM << kOptions + "Caché" << HKLM << "software\\DIALMETER\\options\\CACHÉ"
                                                << "True" << true;
    QTest::addRow("full folding") << HKLM << kOptions + "Straße" << HKLM << kOptions + "STRASSE" << "x" << true;
    QTest::addRow("decomposed accent") << HKLM << kOptions + "Cach\u00e9" << HKLM << kOptions + "Cache\u0301" << "y"
                                       << true;
    QTest::addRow("trailing backslash names the default value")
        << HKLM << kOptions << HKLM << "SOFTWARE\\Dialmeter\\OPTIONS\\" << "défaut" << true;
    QTest::addRow("default value is not a named value") << HKLM << kOptions << HKLM << kOptions + "X" << "défaut"
                                                        << false;
    QTest::addRow("text kept letter for letter") << HKLM << kVariables + "Ünïcödé user" << HKLM
                                                 << kVariables + "Ünïcödé user" << "  12:34:56 \t«é»\n" << true;
    QTest::addRow("empty text is not missing") << HKLM << kOptions + "Forf" << HKLM << kOptions + "Forf" << "" << true;
    QTest::addRow("roots are separate trees") << 1 << kOptions + "Top" << HKLM << kOptions + "Top" << "1" << false;
    QTest::addRow("other accent is another name") << HKLM << kOptions + "Cache" << HKLM << kOptions + "Caché" << "z"
                                                   << false;
}

void TestSettingsStore::sameValue()
{
    QFETCH(int, writeRoot);
    QFETCH(QString, writePath);
    QFETCH(int, readRoot);
    QFETCH(QString, readPath);
    QFETCH(QString, text);
    QFETCH(bool, found);

    TempStore t;
    QVERIFY(t.store.write(writeRoot, writePath, text));
    QCOMPARE(t.store.value(readRoot, readPath), found ? text : QStringLiteral("Erreur"));
}

void TestSettingsStore::rootsWithoutPrefix_data()
{
    QTest::addColumn<int>("root");
    QTest::addRow("5") << 5;
    QTest::addRow("-1") << -1;
}

void TestSettingsStore::rootsWithoutPrefix()
{
    QFETCH(int, root);
    TempStore t;
    QStringList reports;
    t.store.setFailureHandler([&](const QString &message) { reports << message; });
    QVERIFY(t.store.write(HKLM, kOptions + "Top", "1"));

    QCOMPARE(SettingsStore::rootPrefix(root), QString());
    QVERIFY(!t.store.write(root, kOptions + "Top", "0"));
    QCOMPARE(reports.size(), 1);
    QCOMPARE(t.store.value(root, kOptions + "Top"), QStringLiteral("Erreur"));
    t.store.remove(root, kOptions + "Top");
    t.store.remove(root, kOptions);
    QCOMPARE(t.store.value(HKLM, kOptions + "Top"), QStringLiteral("1"));
    QCOMPARE(t.backend.list(HKLM, "").size(), size_t(1));
}

void TestSettingsStore::failureIsReportedInTheUserLanguage()
{
    TempStore t;
    QStringList reports;
    t.store.setFailureHandler([&](const QString &message) { reports << message; });
    t.store.setMessageText([](const QString &key, const QString &builtIn) {
        return key == QLatin1String("StoreNotSaved") && builtIn.contains(QLatin1String("%2"))
            ? QStringLiteral("Not saved: %1 (%2)")
            : builtIn;
    });
    QVERIFY(!t.store.write(5, kOptions + "Top", "0"));
    QCOMPARE(reports, QStringList{QStringLiteral("Not saved: %1Top (chemin sans racine)").arg(kOptions)});
}

void TestSettingsStore::typesOutOfRangeWriteNothing_data()
{
    QTest::addColumn<int>("type");
    QTest::addRow("4") << 4;
    QTest::addRow("-1") << -1;
}

void TestSettingsStore::typesOutOfRangeWriteNothing()
{
    QFETCH(int, type);
    TempStore t;
    QStringList reports;
    t.store.setFailureHandler([&](const QString &message) { reports << message; });
    t.store.write(HKLM, kOptions + "Top", "1", type);
    QCOMPARE(t.store.value(HKLM, kOptions + "Top"), QStringLiteral("Erreur"));
    QVERIFY(!t.backend.keyExists(HKLM, "SOFTWARE"));
    QVERIFY(reports.isEmpty());
    QCOMPARE(SettingsStore::rootPrefix(2), QStringLiteral("HKLM\\"));
    QCOMPARE(SettingsStore::rootPrefix(4), QStringLiteral("HKEY_CURRENT_CONFIG\\"));
}

void TestSettingsStore::deleteKeyTakesItsValuesAndSubkeys()
{
    TempStore t;
    for (const QString &path : {kVariables + "Jour", kVariables + "Total", kVariables + "Sub\\Deep",
                                QStringLiteral("SOFTWARE\\Dialmeter\\Variables2\\Jour"), kOptions + "Raz"})
        QVERIFY(t.store.write(HKLM, path, "00:00:01"));

    t.store.remove(HKLM, "software\\dialmeter\\VARIABLES\\");

    QCOMPARE(t.store.value(HKLM, kVariables + "Jour"), QStringLiteral("Erreur"));
    QCOMPARE(t.store.value(HKLM, kVariables + "Sub\\Deep"), QStringLiteral("Erreur"));
    QVERIFY(!t.backend.keyExists(HKLM, "SOFTWARE\\Dialmeter\\Variables"));
    QVERIFY(!t.backend.keyExists(HKLM, "SOFTWARE\\Dialmeter\\Variables\\Sub"));
    // A sibling whose name merely starts the same way stays.
    QCOMPARE(t.store.value(HKLM, "SOFTWARE\\Dialmeter\\Variables2\\Jour"), QStringLiteral("00:00:01"));
    QCOMPARE(t.store.value(HKLM, kOptions + "Raz"), QStringLiteral("00:00:01"));
}

void TestSettingsStore::deleteValueAndMissingThings()
{
    TempStore t;
    QVERIFY(t.store.write(HKLM, kOptions + "Raz", "1"));
    QVERIFY(t.store.write(HKLM, kOptions + "Top", "1"));
    t.store.remove(HKLM, kOptions + "RAZ");
    t.store.remove(HKLM, kOptions + "Missing");
    t.store.remove(HKLM, "SOFTWARE\\Nowhere\\");
    t.store.remove(HKLM, QString()); // the whole root is never deleted
    t.store.remove(HKLM, "\\");
    QCOMPARE(t.store.value(HKLM, kOptions + "Raz"), QStringLiteral("Erreur"));
    QCOMPARE(t.store.value(HKLM, kOptions + "Top"), QStringLiteral("1"));
    QVERIFY(t.backend.keyExists(HKLM, "SOFTWARE\\Dialmeter\\Options"));
}

void TestSettingsStore::valuesSurviveReopening()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("registry.db");
    {
        SqliteStoreBackend backend;
        QString notice, error;
        QVERIFY(backend.open(file, &notice, &error));
        SettingsStore store(backend);
        QVERIFY(store.write(HKLM, kVariables + "Total", "12:34:56"));
    }
    SqliteStoreBackend backend;
    QString notice, error;
    QVERIFY(backend.open(file, &notice, &error));
    QVERIFY(notice.isEmpty());
    QCOMPARE(SettingsStore(backend).value(HKLM, kVariables + "total"), QStringLiteral("12:34:56"));
}

void TestSettingsStore::changesMadeTogetherLandTogether()
{
    TempStore t;
    t.store.write(HKLM, kVariables + "Total", "01:00:00");
    // A process that dies inside the step: nothing of it is in the file.
    {
        SqliteStoreBackend dying;
        QString notice, error;
        QVERIFY(dying.open(t.file(), &notice, &error));
        SettingsStore store(dying);
        QVERIFY(dying.begin());
        store.write(HKLM, kVariables + "Archive", "01:00:00");
        store.remove(HKLM, kVariables + "Total");
    }
    QCOMPARE(t.store.value(HKLM, kVariables + "Total"), QStringLiteral("01:00:00"));
    QCOMPARE(t.store.value(HKLM, kVariables + "Archive"), QStringLiteral("Erreur"));

    t.store.atomically([&] {
        t.store.write(HKLM, kVariables + "Archive", "01:00:00");
        t.store.remove(HKLM, kVariables + "Total");
    });
    QCOMPARE(t.store.value(HKLM, kVariables + "Total"), QStringLiteral("Erreur"));
    QCOMPARE(t.store.value(HKLM, kVariables + "Archive"), QStringLiteral("01:00:00"));

    // A step the store refuses in part is made change by change: what it takes
    // is stored, what it refuses waits in memory, nothing is lost.
    RefusingBackend refusing(t.backend);
    SettingsStore store(refusing);
    store.atomically([&] {
        store.write(HKLM, kVariables + "Jour", "00:10:00");
        refusing.refuse = true;
        store.write(HKLM, kVariables + "Total", "02:00:00");
        refusing.refuse = false;
    });
    QCOMPARE(t.store.value(HKLM, kVariables + "Jour"), QStringLiteral("00:10:00"));
    QCOMPARE(store.value(HKLM, kVariables + "Total"), QStringLiteral("02:00:00"));
}

void TestSettingsStore::anUnreadableValueIsNotAMissingOne()
{
    TempStore t;
    t.store.write(HKLM, kVariables + "Total", "01:00:00");
    RefusingBackend failing(t.backend);
    SettingsStore store(failing);
    QCOMPARE(store.read(HKLM, kVariables + "Total").status, SettingsStore::Reading::Found);
    QCOMPARE(store.read(HKLM, kVariables + "Jour").status, SettingsStore::Reading::Missing);
    failing.failReads = true;
    QCOMPARE(store.read(HKLM, kVariables + "Total").status, SettingsStore::Reading::Unreadable);
    QCOMPARE(store.value(HKLM, kVariables + "Total"), QStringLiteral("Erreur"));
}

void TestSettingsStore::refusedWriteIsKeptReportedOnceAndStoredLater()
{
    TempStore t;
    RefusingBackend refusing(t.backend);
    SettingsStore store(refusing);
    QStringList reports;
    store.setFailureHandler([&](const QString &message) { reports << message; });

    refusing.refuse = true;
    QVERIFY(!store.write(HKLM, kVariables + "Total", "01:00:00"));
    QVERIFY(!store.write(HKLM, kVariables + "Jour", "00:10:00"));
    QVERIFY(!store.write(HKLM, kVariables + "Gone\\X", "1"));
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.front().contains("readonly"));
    // The program goes on with what it wrote.
    QCOMPARE(store.value(HKLM, kVariables + "TOTAL"), QStringLiteral("01:00:00"));
    QCOMPARE(t.store.value(HKLM, kVariables + "Total"), QStringLiteral("Erreur"));
    store.remove(HKLM, kVariables + "Gone\\");

    refusing.refuse = false;
    QVERIFY(store.write(HKLM, kOptions + "Top", "1"));
    QCOMPARE(t.store.value(HKLM, kVariables + "Total"), QStringLiteral("01:00:00"));
    QCOMPARE(t.store.value(HKLM, kVariables + "Jour"), QStringLiteral("00:10:00"));
    QCOMPARE(t.store.value(HKLM, kVariables + "Gone\\X"), QStringLiteral("Erreur"));
    QCOMPARE(store.pendingWrites(), 0);

    // A new failure after a success is reported again.
    refusing.refuse = true;
    QVERIFY(!store.write(HKLM, kOptions + "Top", "0"));
    QCOMPARE(reports.size(), 2);
}

void TestSettingsStore::aKeyCopyReadsAsTheStoreDid()
{
    TempStore t;
    RefusingBackend refusing(t.backend);
    SettingsStore store(refusing);
    QVERIFY(store.write(HKLM, kVariables + "Total", "01:00:00"));
    QVERIFY(store.write(HKLM, kVariables + "Été\\Août", "02:00:00"));
    QVERIFY(store.write(HKLM, kVariables + "Empty", ""));
    QVERIFY(store.write(HKLM, kOptions + "Top", "1"));
    refusing.refuse = true;
    QVERIFY(!store.write(HKLM, kVariables + "Jour", "00:10:00"));
    QVERIFY(!store.write(HKLM, kVariables + "Total", "01:30:00"));

    const SettingsStore::KeyCopy copy = store.copyOfKey(HKLM, kVariables);
    refusing.refuse = false;
    QVERIFY(store.write(HKLM, kOptions + "Top", "0"));
    QVERIFY(t.store.write(HKLM, kVariables + "Later", "1"));

    // Names without regard to case, values waiting to be written, empty texts.
    QCOMPARE(copy.value(HKLM, kVariables + "total"), QStringLiteral("01:30:00"));
    QCOMPARE(copy.value(HKLM, kVariables + "Jour"), QStringLiteral("00:10:00"));
    QCOMPARE(copy.value(HKLM, kVariables + "ÉTÉ\\août"), QStringLiteral("02:00:00"));
    QCOMPARE(copy.value(HKLM, kVariables + "Empty", "none"), QString());
    QCOMPARE(copy.value(HKLM, kVariables + "Missing", "none"), QStringLiteral("none"));
    // What the copy lacks, the store answers.
    QCOMPARE(copy.value(HKLM, kVariables + "Later"), QStringLiteral("1"));
    // Outside the key, and under another root, the store answers.
    QCOMPARE(copy.value(HKLM, kOptions + "Top"), QStringLiteral("0"));
    QCOMPARE(copy.value(1, kVariables + "Total"), QStringLiteral("Erreur"));
    QCOMPARE(copy.value(9, kVariables + "Total", "none"), QStringLiteral("none"));

    // A key named without a root copies nothing: reads go to the store.
    QCOMPARE(store.copyOfKey(9, kVariables).value(HKLM, kVariables + "Jour"), QStringLiteral("00:10:00"));
    // Nor does a listing that fails: no figure is lost.
    refusing.failLists = true;
    const SettingsStore::KeyCopy cutShort = store.copyOfKey(HKLM, kVariables);
    QCOMPARE(cutShort.value(HKLM, kVariables + "Été\\Août"), QStringLiteral("02:00:00"));
    QCOMPARE(cutShort.value(HKLM, kVariables + "Later"), QStringLiteral("1"));
}

void TestSettingsStore::corruptFileIsSetAsideAndAFreshStoreStarts()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("registry.db");
    QByteArray garbage("this is not a database, but it is somebody's file\n");
    garbage = garbage.repeated(200);
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(garbage);
    }

    SqliteStoreBackend backend;
    QString notice, error;
    QVERIFY2(backend.open(file, &notice, &error), qPrintable(error));
    QVERIFY(!notice.isEmpty());

    const QStringList aside = QDir(dir.path()).entryList({"registry.db.corrupt-*"}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QVERIFY(notice.contains(aside.front()));
    QFile kept(dir.filePath(aside.front()));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), garbage);

    SettingsStore store(backend);
    QVERIFY(store.write(HKLM, kOptions + "Raz", "1"));
    QCOMPARE(store.value(HKLM, kOptions + "Raz"), QStringLiteral("1"));
}

void TestSettingsStore::aReadOnlyOpenChangesNothing()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("registry.db");
    SqliteStoreBackend reader;
    QString error;
    QVERIFY(!reader.openReadOnly(file, &error));
    QVERIFY(error.contains(file));
    QVERIFY(QDir(dir.path()).isEmpty());

    // Not a store: refused, and left as it was.
    const QByteArray garbage("somebody's notes, not a database\n");
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(garbage);
    }
    QVERIFY(!reader.openReadOnly(file, &error));
    QVERIFY(error.contains(file));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"registry.db"});
    QFile kept(file);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), garbage);
    QVERIFY(QFile::remove(file));

    {
        SqliteStoreBackend writer;
        QString notice;
        QVERIFY(writer.open(file, &notice, &error));
        QVERIFY(SettingsStore(writer).write(HKLM, kVariables + "Total", "12:34:56"));
    }
    const QByteArray before = [&] {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }();
    QVERIFY2(reader.openReadOnly(file, &error), qPrintable(error));
    SettingsStore store(reader);
    QCOMPARE(store.value(HKLM, kVariables + "Total"), QStringLiteral("12:34:56"));
    QVERIFY(!reader.write(HKLM, "SOFTWARE", "X", "1", nullptr));
    // No write-ahead log or shared memory is left beside a store no meter holds.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"registry.db"});
    QFile after(file);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), before);
}

// A meter in the middle of a change holds the store's write lock: the reader
// neither waits for it nor sees the change, only what was committed.
void TestSettingsStore::aReadOnlyOpenReadsWhatARunningMeterCommitted()
{
    TempStore meter;
    QVERIFY(meter.store.write(HKLM, kVariables + "Total", "01:00:00"));
    QVERIFY(QFile::exists(meter.file() + "-wal"));
    QVERIFY(meter.backend.begin());
    QVERIFY(meter.store.write(HKLM, kVariables + "Total", "02:00:00"));

    SqliteStoreBackend reader;
    QString error;
    QVERIFY2(reader.openReadOnly(meter.file(), &error), qPrintable(error));
    QCOMPARE(SettingsStore(reader).read(HKLM, kVariables + "Total").text, QStringLiteral("01:00:00"));
    QVERIFY(meter.backend.commit());
    QCOMPARE(SettingsStore(reader).read(HKLM, kVariables + "Total").text, QStringLiteral("02:00:00"));
}

// The same rows run against the registry in the Windows layer's test.
void TestSettingsStore::backendKeepsTheRulesEveryBackendKeeps()
{
    TempStore t;
    const std::vector<std::string> broken = checkStoreBackendRules(t.backend, "SOFTWARE\\Dialmeter Rules");
    QVERIFY2(broken.empty(), broken.empty() ? "" : broken.front().c_str());
}

void TestSettingsStore::newFilesInAGroupSharedFolderAreTheGroups_data()
{
    QTest::addColumn<bool>("shared");
    QTest::newRow("set-group-id folder") << true;
    QTest::newRow("private folder") << false;
}

// Every member's meter writes the store and the journals of a shared folder,
// whoever created them; a private folder keeps the user's own umask.
void TestSettingsStore::newFilesInAGroupSharedFolderAreTheGroups()
{
    QFETCH(bool, shared);
    QTemporaryDir dir;
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), shared ? 02770 : 0700), 0);
    const mode_t userMask = ::umask(022);
    datafolder::shareNewFilesWithGroup(dir.path());
    SqliteStoreBackend backend;
    QString notice, error;
    const bool opened = backend.open(datafolder::storeFile(dir.path()), &notice, &error);
    QFile journal(dir.filePath("2026.txt"));
    const bool created = journal.open(QIODevice::WriteOnly);
    ::umask(userMask);
    QVERIFY2(opened, qPrintable(error));
    QVERIFY(created);

    const auto groupWrites = QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    for (const QString &file : {datafolder::storeFile(dir.path()), journal.fileName()}) {
        const bool groupCanWrite = (QFile::permissions(file) & groupWrites) == groupWrites;
        QVERIFY2(groupCanWrite == shared, qPrintable(file));
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
