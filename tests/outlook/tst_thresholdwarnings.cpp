// SPDX-License-Identifier: GPL-3.0-or-later
#include "metering/DateText.h"
#include "support/TestSupport.h"

#include <QTest>

namespace {

// A meter on 15 March 2004 with a package, a month counter and the warnings it
// gives, as "title | text".
struct WarnedMeter : ConsoleFixture {
    explicit WarnedMeter(const QString &total, const QString &package = QStringLiteral("10:00:00"))
    {
        set("Options\\Forfait", package);
        set("Variables\\Total", total);
        set("Compte Rendu\\Date", datetext::date(clock.now().date()));
        core.warnings().setNotifier(
            [this](const QString &title, const QString &text) { warnings << title + QStringLiteral(" | ") + text; });
    }
    QString given() const { return get("Compte Rendu\\Seuils"); }
    // A new start on the same store.
    void restart()
    {
        linkDown();
        run();
    }

    QStringList warnings;
};

} // namespace

class TestThresholdWarnings : public QObject {
    Q_OBJECT
private slots:
    void eachThresholdOnceAsTheMonthReachesIt();
    void aRestartDoesNotWarnAgain();
    void severalReachedAtOnceGiveOneWarning();
    void theRolloverGivesThemAgain();
    void aMonthBelowAThresholdAgainMayBeWarnedAgain();
    void whichThresholdsWarn_data();
    void whichThresholdsWarn();
    void aStoreThatCannotBeReadWarnsLater();
    void typedThresholds_data();
    void typedThresholds();
    void aNewThresholdAlreadyReachedWarnsAtOnce();
};

void TestThresholdWarnings::eachThresholdOnceAsTheMonthReachesIt()
{
    WarnedMeter m(QStringLiteral("07:59:58"));
    m.run();
    m.linkUp();
    m.ticks(1);
    QVERIFY(m.warnings.isEmpty());
    m.ticks(1);
    // 2 h left over the 17 days from 15 to 31 March.
    QCOMPARE(m.warnings, QStringList{"80 % du forfait utilisé | Utilisé : 08:00:00 sur 10:00:00. Il reste 02:00:00 "
                                     "jusqu'au "
                                     + datetext::date(QDate(2004, 3, 31)) + ", soit 00:07:03 par jour."});
    QCOMPARE(m.given(), QStringLiteral("80"));
    m.ticks(3599);
    QCOMPARE(m.warnings.size(), 1);
    m.ticks(1);
    QCOMPARE(m.warnings.size(), 2);
    QVERIFY(m.warnings.last().startsWith("90 % du forfait utilisé | Utilisé : 09:00:00 sur 10:00:00."));
    QCOMPARE(m.given(), QStringLiteral("80,90"));
    m.ticks(600);
    QCOMPARE(m.warnings.size(), 2);
}

void TestThresholdWarnings::aRestartDoesNotWarnAgain()
{
    WarnedMeter m(QStringLiteral("08:30:00"));
    m.run();
    QCOMPARE(m.warnings.size(), 1);
    m.restart();
    m.restart();
    QCOMPARE(m.warnings.size(), 1);
    QCOMPARE(m.given(), QStringLiteral("80"));
}

void TestThresholdWarnings::severalReachedAtOnceGiveOneWarning()
{
    WarnedMeter m(QStringLiteral("09:30:00"));
    m.run();
    QCOMPARE(m.warnings.size(), 1);
    QVERIFY(m.warnings.first().startsWith("90 %"));
    QCOMPARE(m.given(), QStringLiteral("80,90"));
}

void TestThresholdWarnings::theRolloverGivesThemAgain()
{
    WarnedMeter m(QStringLiteral("08:30:00"));
    m.run();
    QCOMPARE(m.warnings.size(), 1);
    m.clock.set(QDateTime(QDate(2004, 4, 1), QTime(0, 0, 5)));
    m.ticks(1);
    QCOMPARE(m.get("Compte Rendu\\2004\\3\\Total"), QStringLiteral("08:30:00"));
    QCOMPARE(m.given(), SettingsStore::ErrorText);
    QCOMPARE(m.warnings.size(), 1);
    // The new month reaches 80 % in its turn.
    m.set("Variables\\Total", "07:59:59");
    m.linkUp();
    m.ticks(2);
    QCOMPARE(m.warnings.size(), 2);
    QCOMPARE(m.warnings.last(), "80 % du forfait utilisé | Utilisé : 08:00:00 sur 10:00:00. Il reste 02:00:00 jusqu'au "
                                    + datetext::date(QDate(2004, 4, 30)) + ", soit 00:04:00 par jour.");
}

void TestThresholdWarnings::aMonthBelowAThresholdAgainMayBeWarnedAgain()
{
    // A larger package (the Options dialog's "OK") takes the month below 80 %;
    // back to the smaller one, the threshold is reached anew.
    WarnedMeter m(QStringLiteral("08:30:00"));
    m.run();
    m.meter.setPackageTime(QStringLiteral("20:00:00"));
    m.core.applyLanguageAndOptions();
    QCOMPARE(m.given(), SettingsStore::ErrorText);
    m.meter.setPackageTime(QStringLiteral("10:00:00"));
    m.core.applyLanguageAndOptions();
    QCOMPARE(m.warnings.size(), 2);
    QCOMPARE(m.given(), QStringLiteral("80"));
}

void TestThresholdWarnings::whichThresholdsWarn_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("thresholds"); // "-": none stored
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("warned"); // the title's start, or empty
    QTest::addColumn<QString>("given");

    QTest::addRow("default, below") << "10:00:00" << "-" << "07:59:59" << "" << SettingsStore::ErrorText;
    QTest::addRow("default, reached") << "10:00:00" << "-" << "08:00:00" << "80 %" << "80";
    QTest::addRow("no package") << "00:00:00" << "-" << "50:00:00" << "" << SettingsStore::ErrorText;
    QTest::addRow("none wanted") << "10:00:00" << "" << "09:30:00" << "" << SettingsStore::ErrorText;
    QTest::addRow("one of the user's") << "10:00:00" << "95" << "09:29:59" << "" << SettingsStore::ErrorText;
    QTest::addRow("a spoilt item is passed over") << "10:00:00" << "abc,85" << "08:40:00" << "85 %" << "85";
    QTest::addRow("100 is the alert's") << "10:00:00" << "100" << "10:00:00" << "" << SettingsStore::ErrorText;
    QTest::addRow("share in whole seconds") << "01:00:00" << "2" << "00:01:12" << "2 %" << "2";
}

void TestThresholdWarnings::whichThresholdsWarn()
{
    QFETCH(QString, package);
    QFETCH(QString, thresholds);
    QFETCH(QString, total);
    QFETCH(QString, warned);

    WarnedMeter m(total, package);
    if (thresholds != QLatin1String("-"))
        m.set("Options\\Seuils", thresholds);
    m.run();
    if (warned.isEmpty()) {
        QCOMPARE(m.warnings, QStringList());
    } else {
        QCOMPARE(m.warnings.size(), 1);
        QVERIFY2(m.warnings.first().startsWith(warned), qPrintable(m.warnings.first()));
    }
    QTEST(m.given(), "given");
}

void TestThresholdWarnings::aStoreThatCannotBeReadWarnsLater()
{
    WarnedMeter m(QStringLiteral("08:30:00"));
    m.gate.unreadableName = "Seuils";
    m.run();
    QVERIFY(m.warnings.isEmpty());
    m.gate.unreadableName.clear();
    m.linkUp();
    m.ticks(1);
    QCOMPARE(m.warnings.size(), 1);
    QCOMPARE(m.given(), QStringLiteral("80"));
}

void TestThresholdWarnings::typedThresholds_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty with `refused`
    QTest::addColumn<bool>("refused");

    QTest::addRow("two") << "80,90" << "80,90" << false;
    QTest::addRow("blanks, order and repeats") << " 90 , 80,80 " << "80,90" << false;
    QTest::addRow("the lowest and highest") << "1,99" << "1,99" << false;
    QTest::addRow("none") << "" << "" << false;
    for (const char *text : {"0", "100", "80,,90", "8.5", "-5", "+5", "80;90", "80%", "abc", "0x10", ","})
        QTest::addRow("refused %s", text) << text << "" << true;
}

void TestThresholdWarnings::typedThresholds()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(bool, refused);

    WarnedMeter m(QStringLiteral("00:00:00"));
    m.run();
    QString error;
    QCOMPARE(m.core.warnings().setThresholds(typed, &error), !refused);
    if (refused) {
        QVERIFY2(error.contains(QStringLiteral("« ") + typed + QStringLiteral(" »")), qPrintable(error));
        QCOMPARE(m.get("Options\\Seuils"), SettingsStore::ErrorText);
        QCOMPARE(m.core.warnings().thresholds(), QList<int>({80, 90}));
    } else {
        QCOMPARE(m.get("Options\\Seuils"), stored);
    }
}

void TestThresholdWarnings::aNewThresholdAlreadyReachedWarnsAtOnce()
{
    WarnedMeter m(QStringLiteral("06:00:00"));
    m.run();
    QVERIFY(m.warnings.isEmpty());
    QString error;
    QVERIFY(m.core.warnings().setThresholds(QStringLiteral("50,75"), &error));
    QCOMPARE(m.warnings.size(), 1);
    QVERIFY(m.warnings.first().startsWith("50 %"));
}

QTEST_GUILESS_MAIN(TestThresholdWarnings)
#include "tst_thresholdwarnings.moc"
