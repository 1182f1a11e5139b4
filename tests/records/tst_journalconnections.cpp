// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "records/JournalConnections.h"
#include "records/PrintLine.h"

#include <QFile>
#include <QTest>

namespace {

// A journal line as the meter prints it, in the test's French locale.
QByteArray line(const QString &date, const QString &time, const QString &user, const QString &word)
{
    return (printline::join({date, time, user, word}) + QStringLiteral("\r\n")).toUtf8();
}
QByteArray opening(const QString &date, const QString &time, const QString &user)
{
    return line(date, time, user, QStringLiteral("Connexion"));
}
QByteArray closing(const QString &date, const QString &time, const QString &user, const QString &duration)
{
    return line(date, time, user, QStringLiteral("Déconnexion ") + duration) + " \r\n";
}

// Each connection as "user start end seconds", "-" for what is not known.
QStringList summary(const journalconnections::Reading &reading)
{
    QStringList lines;
    for (const auto &c : reading.connections) {
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(c.user, c.start.toString(Qt::ISODate),
                          c.end ? c.end->toString(Qt::ISODate) : QStringLiteral("-"),
                          c.seconds ? QString::number(*c.seconds) : QStringLiteral("-"));
    }
    return lines;
}

} // namespace

class TestJournalConnections : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void readsWhatTheMeterWrites();
};

void TestJournalConnections::lines_data()
{
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<QStringList>("connections");
    QTest::addColumn<int>("unread");

    QTest::addRow("an opening and its closing")
        << opening("15/03/2004", "12:00:00", "alice") + closing("15/03/2004", "12:30:05", "alice", "00:30:00")
        << QStringList{"alice 2004-03-15T12:00:00 2004-03-15T12:30:05 1800"} << 0;
    QTest::addRow("a closing without its opening begins its duration before")
        << closing("01/01/2004", "00:10:00", "alice", "100:00:00")
        << QStringList{"alice 2003-12-27T20:10:00 2004-01-01T00:10:00 360000"} << 0;
    QTest::addRow("two users interleaved")
        << opening("15/03/2004", "12:00:00", "alice") + opening("15/03/2004", "12:05:00", "bob")
               + closing("15/03/2004", "12:10:00", "alice", "00:10:00")
               + closing("15/03/2004", "13:05:00", "bob", "01:00:00")
        << QStringList{"alice 2004-03-15T12:00:00 2004-03-15T12:10:00 600",
                       "bob 2004-03-15T12:05:00 2004-03-15T13:05:00 3600"}
        << 0;
    QTest::addRow("an opening without a closing stays open")
        << opening("15/03/2004", "12:00:00", "alice") + opening("16/03/2004", "08:00:00", "alice")
               + closing("16/03/2004", "08:01:00", "alice", "00:01:00") + opening("16/03/2004", "09:00:00", "alice")
        << QStringList{"alice 2004-03-15T12:00:00 - -", "alice 2004-03-16T08:00:00 2004-03-16T08:01:00 60",
                       "alice 2004-03-16T09:00:00 - -"}
        << 0;
    QTest::addRow("names with blanks, words of another language, LF line ends, old one-digit dates")
        << QByteArray(printline::join({"7/3/2004", "09:00:00", "Jean Dupont", "Connected"}).toUtf8() + "\n"
                      + printline::join({"7/3/2004", "09:00:30", "Jean Dupont", "Hung up 00:00:30"}).toUtf8()
                      + "\n \n")
        << QStringList{"Jean Dupont 2004-03-07T09:00:00 2004-03-07T09:00:30 30"} << 0;
    QTest::addRow("blank and spacer lines are no entries")
        << QByteArray("\r\n \r\n\t\r\n") + opening("15/03/2004", "12:00:00", "alice") + "\r\n\r\n"
        << QStringList{"alice 2004-03-15T12:00:00 - -"} << 0;
    QTest::addRow("damaged lines are counted and skipped")
        << QByteArray("garbage\r\n\x01\x02\xff\xfe\r\n") + line("31/02/2004", "12:00:00", "alice", "Connexion")
               + line("15/03/2004", "25:00:00", "alice", "Connexion") + line("15/03/2004", "12:00:00", "", "Connexion")
               + QByteArray("15/03/2004    12:00:00\r\n") + closing("15/03/2004", "12:00:10", "bob", "00:00:10")
               + QByteArray(5000, ',') + "\r\n"
        << QStringList{"bob 2004-03-15T12:00:00 2004-03-15T12:00:10 10"} << 7;
    QTest::addRow("an 8-bit line reads as Windows-1252")
        << QByteArray("15/03/2004    12:00:00      Jos\xe9          Connexion\r\n"
                      "15/03/2004    12:01:00      Jos\xe9          D\xe9" "connexion 00:01:00\r\n")
        << QStringList{"José 2004-03-15T12:00:00 2004-03-15T12:01:00 60"} << 0;
    QTest::addRow("a word that only looks like a number is no duration")
        << line("15/03/2004", "12:00:00", "alice", "Connexion 20040315")
        << QStringList{"alice 2004-03-15T12:00:00 - -"} << 0;
    QTest::addRow("empty") << QByteArray() << QStringList{} << 0;
}

void TestJournalConnections::lines()
{
    QFETCH(QByteArray, journal);
    QFETCH(QStringList, connections);
    QFETCH(int, unread);
    const journalconnections::Reading reading = journalconnections::parse(journal);
    QCOMPARE(summary(reading), connections);
    QCOMPARE(reading.unreadLines, unread);
}

// What the meter's journal writes reads back, over a year's end.
void TestJournalConnections::readsWhatTheMeterWrites()
{
    QTemporaryDir dir;
    FakeClock clock(QDateTime(QDate(2004, 12, 31), QTime(23, 50)));
    const Journal journal(dir.path(), clock);
    QVERIFY(journal.appendOpening("alice", "Connexion"));
    clock.advanceSeconds(65);
    QVERIFY(journal.appendOpening("bob", "Connexion"));
    clock.advanceSeconds(240);
    QVERIFY(journal.appendClosing("alice", "Déconnexion", "00:05:05"));
    clock.advanceSeconds(3600);
    QVERIFY(journal.appendClosing("bob", "Déconnexion", "01:04:00"));

    // Bob's connection runs into the new year: its closing is in the next file.
    QFile last(dir.filePath("2004.txt"));
    QVERIFY(last.open(QIODevice::ReadOnly));
    QCOMPARE(summary(journalconnections::parse(last.readAll())),
             QStringList({"alice 2004-12-31T23:50:00 2004-12-31T23:55:05 305", "bob 2004-12-31T23:51:05 - -"}));
    QFile next(dir.filePath("2005.txt"));
    QVERIFY(next.open(QIODevice::ReadOnly));
    QCOMPARE(summary(journalconnections::parse(next.readAll())),
             QStringList{"bob 2004-12-31T23:51:05 2005-01-01T00:55:05 3840"});
}

QTEST_GUILESS_MAIN(TestJournalConnections)
#include "tst_journalconnections.moc"
