// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "metering/DateText.h"

#include <QLocale>
#include <QTest>

namespace {

// A meter whose last start, options and counters are set before it starts: three
// users, of whom "carol" has no counter.
struct Calendar : ConsoleFixture {
    Calendar()
    {
        set("User\\0", "Total");
        set("User\\1", "alice");
        set("User\\2", "bob");
        set("User\\3", "carol");
        set("Variables\\Total", "05:00:00");
        set("Variables\\Jour", "00:20:00");
        set("Variables\\alice", "03:00:00");
        set("Variables\\bob", "02:00:00");
    }
    void lastStart(const QDate &date) { set("Compte Rendu\\Date", datetext::date(date)); }
    void startOn(const QDateTime &now)
    {
        clock.set(now);
        run();
    }
    QStringList variables() { return valuesIn(QStringLiteral("Variables")); }
    QString archived(int year, int month, const QString &name) const
    {
        return get(QStringLiteral("Compte Rendu\\%1\\%2\\%3").arg(year).arg(month).arg(name));
    }
    // The month archived as it was before the start, and the counters cleared.
    void verifyArchived(int year, int month)
    {
        QCOMPARE(archived(year, month, "Total"), QStringLiteral("05:00:00"));
        QCOMPARE(archived(year, month, "alice"), QStringLiteral("03:00:00"));
        QCOMPARE(archived(year, month, "bob"), QStringLiteral("02:00:00"));
        QCOMPARE(archived(year, month, "carol"), QStringLiteral("Erreur"));
        QCOMPARE(variables(), QStringList({"alice=00:00:00", "Jour=00:00:00", "Total=00:00:00"}));
        QCOMPARE(view.counters, QStringList({"00:00:00", "00:00:00", "00:00:00"}));
    }
};

const QTime kNoon(12, 0);

} // namespace

class TestDateCheck : public QObject {
    Q_OBJECT
private slots:
    void checkDate_data();
    void checkDate();
    void anniversaire_data();
    void anniversaire();
    void datesAreWrittenInTheSystemsShortForm();
    void systemFormsAreRewritten_data();
    void systemFormsAreRewritten();
    void longRunningMeterAcrossMidnightAndAResetDay();
    void heldUpOverTheMonthsEnd_data();
    void heldUpOverTheMonthsEnd();
    void clockSetBackThenPutRight();
    void olderResetDateFormReads();
    void nothingChangesUntilTheStoreCanBeRead_data();
    void nothingChangesUntilTheStoreCanBeRead();
};

void TestDateCheck::checkDate_data()
{
    QTest::addColumn<QString>("lastStart"); // ISO date, empty: none, other text: stored as is
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("resetDay");
    QTest::addColumn<bool>("dayCleared");
    QTest::addColumn<QDate>("archivedMonth"); // invalid: nothing archived

    QTest::addRow("first start") << "" << QDate(2004, 3, 15) << "1" << false << QDate();
    QTest::addRow("same day") << "2004-03-15" << QDate(2004, 3, 15) << "1" << false << QDate();
    QTest::addRow("next day") << "2004-03-15" << QDate(2004, 3, 16) << "1" << true << QDate();
    QTest::addRow("same day number a month later") << "2004-03-15" << QDate(2004, 4, 15) << "1" << true
                                                   << QDate(2004, 3, 1);
    QTest::addRow("same day number a year later") << "2004-03-15" << QDate(2005, 3, 15) << "1" << true
                                                  << QDate(2004, 3, 1);
    QTest::addRow("last day to the first") << "2004-03-31" << QDate(2004, 4, 1) << "1" << true << QDate(2004, 3, 1);
    QTest::addRow("new month, reset on a chosen day") << "2004-03-31" << QDate(2004, 4, 1) << "15" << true << QDate();
    QTest::addRow("reset day out of range counts as the 1st") << "2004-03-20" << QDate(2004, 4, 2) << "31" << true
                                                              << QDate(2004, 3, 1);
    QTest::addRow("reset day missing counts as the 1st") << "2004-03-20" << QDate(2004, 4, 2) << "" << true
                                                         << QDate(2004, 3, 1);
    QTest::addRow("unreadable last start") << "le 15 mars" << QDate(2004, 4, 15) << "1" << false << QDate();
    QTest::addRow("clock set backwards") << "2004-03-15" << QDate(2004, 2, 10) << "1" << false << QDate();
}

void TestDateCheck::checkDate()
{
    QFETCH(QString, lastStart);
    QFETCH(QDate, today);
    QFETCH(QString, resetDay);
    QFETCH(bool, dayCleared);
    QFETCH(QDate, archivedMonth);

    Calendar c;
    const QDate last = QDate::fromString(lastStart, Qt::ISODate);
    if (last.isValid())
        c.lastStart(last);
    else if (!lastStart.isEmpty())
        c.set("Compte Rendu\\Date", lastStart);
    if (!resetDay.isEmpty())
        c.set("Options\\Raz", resetDay);
    c.startOn(QDateTime(today, kNoon));

    // The stored date never goes back.
    QCOMPARE(c.get("Compte Rendu\\Date"), datetext::date(last.isValid() ? std::max(last, today) : today));
    if (archivedMonth.isValid()) {
        c.verifyArchived(archivedMonth.year(), archivedMonth.month());
        return;
    }
    QCOMPARE(c.get("Variables\\Jour"), dayCleared ? QStringLiteral("00:00:00") : QStringLiteral("00:20:00"));
    QCOMPARE(c.meter.dayTotal(), c.get("Variables\\Jour"));
    QCOMPARE(c.get("Variables\\Total"), QStringLiteral("05:00:00"));
    QCOMPARE(c.get("Variables\\bob"), QStringLiteral("02:00:00"));
    QVERIFY(c.t.backend.list(SettingsStore::LocalMachine, "SOFTWARE\\Dialmeter\\Compte Rendu").size() == 1);
}

void TestDateCheck::anniversaire_data()
{
    QTest::addColumn<QString>("resetDay");
    QTest::addColumn<QString>("resetDate"); // ISO date, empty: none, other text: stored as is
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("archivedMonth");
    QTest::addColumn<QDate>("nextReset");

    QTest::addRow("before the reset date") << "15" << "2004-03-15" << QDate(2004, 3, 10) << QDate() << QDate(2004, 3, 15);
    QTest::addRow("on the reset date") << "15" << "2004-03-15" << QDate(2004, 3, 15) << QDate(2004, 3, 1)
                                       << QDate(2004, 4, 15);
    QTest::addRow("a month missed") << "15" << "2004-03-15" << QDate(2004, 5, 2) << QDate(2004, 3, 1)
                                    << QDate(2004, 6, 15);
    QTest::addRow("day already past when chosen") << "15" << "2004-03-15" << QDate(2004, 3, 20) << QDate(2004, 3, 1)
                                                  << QDate(2004, 4, 15);
    QTest::addRow("single-digit day") << "5" << "2004-06-05" << QDate(2004, 6, 5) << QDate(2004, 6, 1)
                                      << QDate(2004, 7, 5);
    QTest::addRow("over the year end") << "5" << "2004-12-05" << QDate(2004, 12, 9) << QDate(2004, 12, 1)
                                       << QDate(2005, 1, 5);
    QTest::addRow("no reset date, day ahead") << "15" << "" << QDate(2004, 3, 10) << QDate() << QDate(2004, 3, 15);
    QTest::addRow("no reset date, day passed") << "15" << "" << QDate(2004, 3, 20) << QDate() << QDate(2004, 4, 15);
    QTest::addRow("no reset date, on the day") << "15" << "" << QDate(2004, 3, 15) << QDate() << QDate(2004, 4, 15);
    QTest::addRow("unreadable reset date") << "15" << "31/31/31" << QDate(2004, 3, 20) << QDate() << QDate(2004, 4, 15);
}

void TestDateCheck::anniversaire()
{
    QFETCH(QString, resetDay);
    QFETCH(QString, resetDate);
    QFETCH(QDate, today);
    QFETCH(QDate, archivedMonth);
    QFETCH(QDate, nextReset);

    Calendar c;
    c.set("Options\\Raz", resetDay);
    const QDate reset = QDate::fromString(resetDate, Qt::ISODate);
    if (reset.isValid())
        c.set("Options\\Anniversaire", datetext::date(reset));
    else if (!resetDate.isEmpty())
        c.set("Options\\Anniversaire", resetDate);
    c.lastStart(today);
    c.startOn(QDateTime(today, QTime(8, 30)));

    QCOMPARE(c.get("Options\\Anniversaire"), datetext::date(nextReset));
    if (archivedMonth.isValid())
        c.verifyArchived(archivedMonth.year(), archivedMonth.month());
    else
        QCOMPARE(c.get("Variables\\Total"), QStringLiteral("05:00:00"));
}

void TestDateCheck::datesAreWrittenInTheSystemsShortForm()
{
    const QString locale = QLocale::system().name();
    const QDate date(2004, 7, 5);
    if (locale == QLatin1String("fr_FR"))
        QCOMPARE(datetext::date(date), QStringLiteral("05/07/2004"));
    else if (locale == QLatin1String("en_US"))
        QCOMPARE(datetext::date(date), QStringLiteral("7/5/2004"));
    else
        qWarning("no expected short form for the locale %s", qPrintable(locale));
    QCOMPARE(datetext::parse(datetext::date(date)), std::optional<QDate>(date));
    QVERIFY(!datetext::parse("Erreur"));
    QVERIFY(!datetext::parse(""));
}

void TestDateCheck::systemFormsAreRewritten_data()
{
    QTest::addColumn<QString>("rewrite");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two-digit year") << "year" << "dd/MM/yy" << "dd/MM/yyyy";
    QTest::newRow("four-digit year stays") << "year" << "M/d/yyyy" << "M/d/yyyy";
    QTest::newRow("lone y, several fields") << "year" << "y-M-d, yy" << "yyyy-M-d, yyyy";
    QTest::newRow("zone at the end") << "zone" << "HH:mm:ss t" << "HH:mm:ss";
    QTest::newRow("narrow space, long zone") << "zone" << "h:mm:ss\u202fAP tttt" << "h:mm:ss\u202fAP";
    QTest::newRow("zone inside") << "zone" << "HH 'h' mm  tt  ss" << "HH 'h' mm ss";
    QTest::newRow("zones side by side") << "zone" << "a t t b" << "a  b";
    QTest::newRow("zone only") << "zone" << " t " << "";
    QTest::newRow("no zone") << "zone" << "HH:mm:ss" << "HH:mm:ss";
    QTest::newRow("day and month") << "fields" << "dd/MM/yyyy" << "d/M/yyyy";
    QTest::newRow("one-letter fields stay") << "fields" << "d/M/yyyy" << "d/M/yyyy";
    QTest::newRow("day names stay") << "fields" << "ddd dd MMMM" << "ddd d MMMM";
    QTest::newRow("fields side by side stay") << "fields" << "ddMM.dd" << "ddMM.d";
}

// The rewrites run on every journal line and stored date; these are the forms
// the locales give, and their corners.
void TestDateCheck::systemFormsAreRewritten()
{
    QFETCH(QString, rewrite);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    const QString result = rewrite == "year" ? datetext::fourDigitYears(format)
        : rewrite == "zone"                  ? datetext::withoutTimeZone(format)
                                             : datetext::oneOrTwoDigitFields(format);
    QCOMPARE(result, expected);
}

void TestDateCheck::longRunningMeterAcrossMidnightAndAResetDay()
{
    Calendar c;
    c.set("Options\\Raz", "1");
    c.lastStart(QDate(2004, 3, 31));
    c.startOn(QDateTime(QDate(2004, 3, 31), QTime(23, 59, 50)));

    // Connected over midnight and the month's end: the ten seconds before
    // midnight are March's, archived at the first tick of April; the rest are
    // April's, in the day and the month.
    c.linkUp();
    c.ticks(20);
    QCOMPARE(c.archived(2004, 3, "Total"), QStringLiteral("05:00:10"));
    QCOMPARE(c.archived(2004, 3, "alice"), QStringLiteral("03:00:10"));
    QCOMPARE(c.meter.dayTotal(), QStringLiteral("00:00:10"));
    QCOMPARE(c.meter.monthTotal(), QStringLiteral("00:00:10"));
    QCOMPARE(c.get("Compte Rendu\\Date"), datetext::date(QDate(2004, 4, 1)));
    c.linkDown();
    c.ticks(1);
    QCOMPARE(c.get("Variables\\Total"), QStringLiteral("00:00:10"));

    // Then the reset moves to the 15th; a meter left connected over it resets there.
    c.set("Options\\Raz", "15");
    c.set("Options\\Anniversaire", datetext::date(QDate(2004, 4, 15)));
    c.clock.set(QDateTime(QDate(2004, 4, 14), QTime(23, 59, 58)));
    c.linkUp();
    c.ticks(5);
    QCOMPARE(c.archived(2004, 4, "Total"), QStringLiteral("00:00:12"));
    QCOMPARE(c.meter.monthTotal(), QStringLiteral("00:00:03"));
    QCOMPARE(c.get("Options\\Anniversaire"), datetext::date(QDate(2004, 5, 15)));
    // The connection is one in the journal, with its whole duration.
    c.linkDown();
    c.ticks(1);
    const QStringList journal = c.journalLines(2004);
    QCOMPARE(journal.filter(QStringLiteral("00:00:05")).size(), 1);
}

void TestDateCheck::heldUpOverTheMonthsEnd_data()
{
    QTest::addColumn<int>("late");
    QTest::addColumn<QString>("march"); // the month archived, for Total and alice
    QTest::addColumn<QString>("april");
    // Connected at 23:59:00 on 31 March; the next tick comes `late` seconds late.
    QTest::addRow("to midnight") << 59 << "01:00" << "00:00:01";
    QTest::addRow("a minute past midnight") << 119 << "01:00" << "00:01:01";
    QTest::addRow("an hour past midnight") << 3659 << "01:00" << "01:00:01";
}

void TestDateCheck::heldUpOverTheMonthsEnd()
{
    QFETCH(int, late);
    QFETCH(QString, march);
    QFETCH(QString, april);
    Calendar c;
    c.set("Options\\Raz", "1");
    c.lastStart(QDate(2004, 3, 31));
    c.startOn(QDateTime(QDate(2004, 3, 31), QTime(23, 59)));
    c.linkUp();
    c.ticks(1);
    c.clock.advanceSeconds(late);
    c.ticks(1);
    // The seconds before midnight are March's, the others April's: none lost,
    // none counted twice.
    QCOMPARE(c.archived(2004, 3, "Total"), "05:" + march);
    QCOMPARE(c.archived(2004, 3, "alice"), "03:" + march);
    QCOMPARE(c.meter.monthTotal(), april);
    QCOMPARE(c.meter.dayTotal(), april);
    QCOMPARE(c.meter.userMonth(), april);
}

void TestDateCheck::clockSetBackThenPutRight()
{
    Calendar c;
    c.set("Options\\Raz", "1");
    c.lastStart(QDate(2004, 3, 15));
    c.startOn(QDateTime(QDate(2004, 3, 15), kNoon));
    // Back into February, a start and ticks there, then put right.
    c.clock.set(QDateTime(QDate(2004, 2, 10), kNoon));
    c.ticks(2);
    c.run();
    c.clock.set(QDateTime(QDate(2004, 3, 15), kNoon));
    c.ticks(2);
    QCOMPARE(c.get("Compte Rendu\\Date"), datetext::date(QDate(2004, 3, 15)));
    QCOMPARE(c.get("Variables\\Jour"), QStringLiteral("00:20:00"));
    QCOMPARE(c.get("Variables\\Total"), QStringLiteral("05:00:00"));
    QCOMPARE(c.valuesIn("Compte Rendu").size(), 1);
}

void TestDateCheck::olderResetDateFormReads()
{
    if (QLocale::system().name() != QLatin1String("fr_FR"))
        QSKIP("the older form is the day-first one");
    Calendar c;
    c.set("Options\\Raz", "7");
    c.set("Options\\Anniversaire", "07/3/2004");
    c.lastStart(QDate(2004, 3, 8));
    c.startOn(QDateTime(QDate(2004, 3, 8), kNoon));
    c.verifyArchived(2004, 3);
    QCOMPARE(c.get("Options\\Anniversaire"), QStringLiteral("07/04/2004"));
}

void TestDateCheck::nothingChangesUntilTheStoreCanBeRead_data()
{
    QTest::addColumn<QString>("unreadable"); // a value the store cannot give
    QTest::addColumn<bool>("busy");          // no transaction can be started

    QTest::addRow("reset day") << "Raz" << false;
    QTest::addRow("next reset date") << "Anniversaire" << false;
    QTest::addRow("store too busy for a transaction") << "" << true;
}

// A reset on the 15th is due; while the store cannot give the rule, or cannot
// make the rollover one step, nothing is archived, cleared or moved. Once it
// can, the month is archived once.
void TestDateCheck::nothingChangesUntilTheStoreCanBeRead()
{
    QFETCH(QString, unreadable);
    QFETCH(bool, busy);
    Calendar c;
    c.set("Options\\Raz", "15");
    c.set("Options\\Anniversaire", datetext::date(QDate(2004, 3, 15)));
    c.lastStart(QDate(2004, 3, 10));
    c.gate.unreadableName = unreadable.toStdString();
    c.gate.busy = busy;
    c.startOn(QDateTime(QDate(2004, 3, 16), kNoon));
    c.ticks(2);
    QCOMPARE(c.get("Options\\Anniversaire"), datetext::date(QDate(2004, 3, 15)));
    QCOMPARE(c.get("Compte Rendu\\Date"), datetext::date(QDate(2004, 3, 10)));
    QCOMPARE(c.get("Variables\\Total"), QStringLiteral("05:00:00"));
    QCOMPARE(c.archived(2004, 3, "Total"), SettingsStore::ErrorText);

    c.gate.unreadableName.clear();
    c.gate.busy = false;
    c.ticks(1);
    c.verifyArchived(2004, 3);
    QCOMPARE(c.get("Options\\Anniversaire"), datetext::date(QDate(2004, 4, 15)));
}

QTEST_GUILESS_MAIN(TestDateCheck)
#include "tst_datecheck.moc"
