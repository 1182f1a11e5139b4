// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "app/WindowSet.h"
#include "records/JournalItems.h"
#include "records/JournalViewer.h"
#include "tray/TrayForm.h"

#include <QAction>

#include <QTest>

namespace {

struct Viewer {
    Viewer() { clock.set(QDateTime(QDate(2006, 12, 8), QTime(21, 0))); }
    void write(const QByteArray &content)
    {
        QFile file(journal.currentFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QStringList rows() const
    {
        QStringList list;
        for (int i = 0; i < viewer.rows(); ++i)
            list << viewer.row(i);
        return list;
    }
    QTemporaryDir dir;
    FakeClock clock;
    Journal journal{dir.path(), clock};
    Language language{{dir.path()}};
    JournalViewer viewer{journal, language};
};

} // namespace

class TestJournalViewer : public QObject {
    Q_OBJECT
private slots:
    void items_data();
    void items();
    void showsTheCurrentYearEachTime();
    void effacerDeletesTheShownFile();
    void missingFile();
    void failedClearIsTold();
    void longJournalsAreCutAndSaySo_data();
    void longJournalsAreCutAndSaySo();
    void plantedLinkIsNotRead();
    void theFirstShowingReadsTheJournalOnce();
};

void TestJournalViewer::items_data()
{
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<QStringList>("rows");

    QTest::addRow("one connection") << QByteArray("08/12/2006    21:02:47      ann           Connexion\r\n"
                                                  "08/12/2006    21:12:47      ann           Déconnexion 00:10:00\r\n"
                                                  " \r\n")
                                    << QStringList{"08/12/2006    21:02:47      ann           Connexion",
                                                   "08/12/2006    21:12:47      ann           Déconnexion 00:10:00",
                                                   ""};
    QTest::addRow("empty file") << QByteArray() << QStringList();
    QTest::addRow("older 8-bit lines beside UTF-8 ones")
        << QByteArray("ann D\xe9" "connexion 00:10:00\r\nann Déconnexion 00:20:00\r\n")
        << QStringList{"ann Déconnexion 00:10:00", "ann Déconnexion 00:20:00"};
    QTest::addRow("a comma splits, blanks after it dropped") << QByteArray("a word, and more\r\n")
                                                             << QStringList{"a word", "and more"};
    QTest::addRow("quoted item keeps its comma") << QByteArray("\"one, two\", three\n") << QStringList{"one, two", "three"};
    QTest::addRow("unclosed quote runs to the line's end") << QByteArray("\"open, still\nnext\n")
                                                           << QStringList{"open, still", "next"};
    QTest::addRow("trailing comma") << QByteArray("a,\n") << QStringList{"a", ""};
    QTest::addRow("no final line end") << QByteArray("last") << QStringList{"last"};
}

void TestJournalViewer::items()
{
    QFETCH(QByteArray, journal);
    QFETCH(QStringList, rows);
    const JournalItems items = JournalItems::parse(journal);
    QStringList read;
    for (int i = 0; i < items.count(); ++i)
        read << items.item(i);
    QCOMPARE(read, rows);
}

void TestJournalViewer::showsTheCurrentYearEachTime()
{
    Viewer v;
    v.write("2006 line\r\n");
    v.viewer.reload();
    QCOMPARE(v.viewer.windowTitle(), QStringLiteral("   Journal des connexions -  2006"));
    QCOMPARE(v.rows(), QStringList{"2006 line"});

    // Lines written since, and a new year, are shown when it is shown again.
    v.write("2006 line\r\nlater line\r\n");
    v.viewer.hide();
    v.viewer.reload();
    QCOMPARE(v.rows(), QStringList({"2006 line", "later line"}));
    v.clock.set(QDateTime(QDate(2007, 1, 1), QTime(0, 5)));
    v.write("2007 line\r\n");
    v.viewer.reload();
    QCOMPARE(v.viewer.windowTitle(), QStringLiteral("   Journal des connexions -  2007"));
    QCOMPARE(v.rows(), QStringList{"2007 line"});
}

void TestJournalViewer::effacerDeletesTheShownFile()
{
    Viewer v;
    v.write("a line\r\n");
    v.viewer.reload();
    QTest::mouseClick(v.viewer.control<QWidget>("Command2"), Qt::LeftButton);
    QCOMPARE(v.viewer.rows(), 0);
    QVERIFY(!QFile::exists(v.journal.currentFile()));
    // "OK" and the close box only hide.
    v.viewer.close();
    QVERIFY(!v.viewer.isVisible());
    v.viewer.reload();
    QTest::mouseClick(v.viewer.control<QWidget>("Command1"), Qt::LeftButton);
    QVERIFY(!v.viewer.isVisible());
}

void TestJournalViewer::missingFile()
{
    Viewer v;
    v.viewer.reload();
    QCOMPARE(v.viewer.rows(), 0);
    v.viewer.clearJournal(); // nothing to delete: nothing happens
    QCOMPARE(v.viewer.rows(), 0);
}

void TestJournalViewer::failedClearIsTold()
{
    // A name of the journal that neither goes nor empties.
    Viewer v;
    QVERIFY(QDir(v.dir.path()).mkdir(QFileInfo(v.journal.currentFile()).fileName()));
    v.viewer.reload();
    v.viewer.clearJournal();
    QCOMPARE(v.viewer.rows(), 1);
    QVERIFY2(v.viewer.row(0).contains(QStringLiteral("n'a pas pu être effacé"))
                 && v.viewer.row(0).contains(v.journal.currentFile()),
             qPrintable(v.viewer.row(0)));
}

void TestJournalViewer::longJournalsAreCutAndSaySo_data()
{
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<int>("listed");
    const QByteArray line(99, 'x');
    QTest::addRow("one line of commas") << QByteArray(JournalItems::MaxRows + 10, ',') << JournalItems::MaxRows;
    QTest::addRow("more bytes than are read")
        << (line + "\n").repeated(JournalItems::MaxBytes / 100 + 50)
        << static_cast<int>(JournalItems::MaxBytes / 100);
}

void TestJournalViewer::longJournalsAreCutAndSaySo()
{
    QFETCH(QByteArray, journal);
    QFETCH(int, listed);
    Viewer v;
    v.write(journal);
    journal.clear();
    v.viewer.reload();
    QCOMPARE(v.viewer.rows(), listed + 1);
    QVERIFY(v.viewer.row(listed - 1) != v.viewer.row(listed));
    QVERIFY2(v.viewer.row(listed).contains("trop long"), qPrintable(v.viewer.row(listed)));
}

void TestJournalViewer::plantedLinkIsNotRead()
{
    Viewer v;
    QTemporaryDir elsewhere;
    const QString secret = elsewhere.filePath("secret.txt");
    QFile file(secret);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("someone else's line\r\n");
    file.close();
    QVERIFY(QFile::link(secret, v.journal.currentFile()));
    v.viewer.reload();
    QCOMPARE(v.viewer.rows(), 1);
    QVERIFY2(v.viewer.row(0).contains("lien symbolique"), qPrintable(v.viewer.row(0)));
}

void TestJournalViewer::theFirstShowingReadsTheJournalOnce()
{
    Viewer v;
    v.write("a line\r\n");
    WindowSet windows(v.language);
    windows.setJournal(v.journal);
    // Made, the window has not read the journal: only showing it does.
    JournalViewer &viewer = windows.journalViewer();
    QCOMPARE(viewer.rows(), 0);
    windows.trayForm().control<QAction>("MnuJournal")->trigger();
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.rows(), 1);
    QCOMPARE(viewer.row(0), QStringLiteral("a line"));
}

QTEST_MAIN(TestJournalViewer)
#include "tst_journalviewer.moc"
