// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "metering/DateText.h"
#include "options/OptionsLogic.h"

#include <QTest>

namespace {

// The options every "OK" writes, with their texts.
QMap<QString, QString> options(ConsoleFixture &f)
{
    QMap<QString, QString> values;
    for (const auto &v : f.t.backend.list(SettingsStore::LocalMachine, "SOFTWARE\\Dialmeter\\Options"))
        values[QString::fromStdString(v.name)] = QString::fromStdString(v.text);
    return values;
}

struct Options : ConsoleFixture {
    explicit Options(bool firstRun = false)
    {
        if (firstRun)
            set("Options\\FirstBoot", "1");
        clock.set(QDateTime(QDate(2004, 3, 20), QTime(9, 0)));
        run();
    }
    OptionsLogic logic{core};
};

} // namespace

class TestOptionsLogic : public QObject {
    Q_OBJECT
private slots:
    void firstRunShowsTheDesignAndItsOkWritesEverything();
    void controlsToStoredTexts_data();
    void controlsToStoredTexts();
    void storedTextsBackToControls();
    void okKeepsAResetDateStillAhead_data();
    void okKeepsAResetDateStillAhead();
    void refusals_data();
    void refusals();
    void defaultPosition();
    void movingTogglesAndOkAnchors();
    void totalHidingWithAnUnreadableX();
    void confirmingWhileHiddenBringsTheConsoleBack();
    void whereTheCompositorPlacesTheConsoleOkKeepsItsStoredPlace_data();
    void whereTheCompositorPlacesTheConsoleOkKeepsItsStoredPlace();
};

void TestOptionsLogic::firstRunShowsTheDesignAndItsOkWritesEverything()
{
    Options o(true);
    OptionsForm form;
    o.logic.load(form);
    QVERIFY(!form.laterButtonsEnabled);
    QVERIFY(!form.alarmEnabled); // unlimited package
    QCOMPARE(form.language, QStringLiteral("Français"));
    QVERIFY(form.launchAtStartup && form.percentBar && form.popup && form.alarm);

    QVERIFY(o.logic.ok(form));
    const QMap<QString, QString> written = options(o);
    const QMap<QString, QString> expected{
        {"Langage", "Français"}, {"LaunchAtWinStartup", "1"}, {"Pourcent", "1"}, {"Alarm", "0"}, {"Raz", "1"},
        {"Forfait", "00:00:00"}, {"Forf", "0"}, {"Pop", "1"}, {"indivisible", "0"}, {"Top", "0"},
        {"OldHideWay", "True"}, {"Caché", "False"}, {"X", "15600"}, {"Y", "400"}, {"Ancrage", "1"},
        {"FirstBoot", "0"}};
    QCOMPARE(written, expected);
    QCOMPARE(o.view.consoleShown, 1);
    QVERIFY(o.startupEntry.entry.has_value()); // the options took effect at once
}

void TestOptionsLogic::controlsToStoredTexts_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("written"); // name=text

    QTest::addRow("alarm with the unlimited package") << "alarm" << QStringList{"Alarm=0", "Forfait=00:00:00", "Forf=0"};
    QTest::addRow("one hour") << "hours=1" << QStringList{"Alarm=1", "Forfait=01:00:00", "Forf=1"};
    QTest::addRow("150 hours") << "hours=150" << QStringList{"Forfait=150:00:00", "Forf=150"};
    QTest::addRow("one and a half hours") << "hours=1.5" << QStringList{"Forfait=01:30:00", "Forf=1.5"};
    QTest::addRow("decimal comma") << "hours=2,5" << QStringList{"Forfait=02:30:00", "Forf=2,5"};
    QTest::addRow("rounded to the minute") << "hours=1.9999" << QStringList{"Forfait=02:00:00"};
    // On the 20th, the 7th has passed: the next one is in April.
    QTest::addRow("reset on day 7") << "day=7" << QStringList{"Raz=7", "Anniversaire=" + datetext::date(QDate(2004, 4, 7))};
    QTest::addRow("reset on day 25") << "day=25" << QStringList{"Raz=25", "Anniversaire=" + datetext::date(QDate(2004, 3, 25))};
    QTest::addRow("total hiding") << "hide" << QStringList{"OldHideWay=False"};
    QTest::addRow("first minute in full") << "indivisible" << QStringList{"indivisible=1"};
}

void TestOptionsLogic::controlsToStoredTexts()
{
    QFETCH(QString, change);
    QFETCH(QStringList, written);
    Options o;
    OptionsForm form;
    o.logic.load(form);
    if (change == "alarm") {
        form.alarm = true;
        form.customPackage = false;
    } else if (change.startsWith("hours=")) {
        form.customPackage = true;
        form.alarm = true;
        form.hours = change.mid(6);
    } else if (change.startsWith("day=")) {
        form.customResetDay = true;
        form.resetDay = change.mid(4);
    } else if (change == "hide") {
        form.hideCompletely = true;
    } else if (change == "indivisible") {
        form.indivisible = true;
    }
    QVERIFY(o.logic.ok(form));
    const QMap<QString, QString> stored = options(o);
    for (const QString &pair : written)
        QCOMPARE(pair.section('=', 0, 0) + "=" + stored.value(pair.section('=', 0, 0)), pair);
    QCOMPARE(o.meter.packageTime(), stored.value("Forfait"));
}

void TestOptionsLogic::storedTextsBackToControls()
{
    Options o;
    for (const char *pair : {"Langage=English", "LaunchAtWinStartup=0", "Pourcent=1", "Alarm=1", "Forfait=02:30:00",
                             "Forf=2,5", "Raz=12", "Top=1", "Pop=0", "OldHideWay=False"})
        o.set(QStringLiteral("Options\\") + QString::fromLatin1(pair).section('=', 0, 0),
              QString::fromLatin1(pair).section('=', 1));
    // Written under the lower-case name, read back under the capitalised one.
    o.t.store.write(SettingsStore::LocalMachine, "SOFTWARE\\Dialmeter\\Options\\indivisible", "1");
    OptionsForm form;
    o.logic.load(form);
    QVERIFY(form.laterButtonsEnabled);
    QCOMPARE(form.language, QStringLiteral("English"));
    QVERIFY(!form.launchAtStartup);
    QVERIFY(form.percentBar && form.alarm && form.alarmEnabled && form.onTop && form.indivisible);
    QVERIFY(form.customPackage);
    QCOMPARE(form.hours, QStringLiteral("2,5"));
    QCOMPARE(form.packageTime, QStringLiteral("02:30:00"));
    QVERIFY(form.customResetDay);
    QCOMPARE(form.resetDay, QStringLiteral("12"));
    QVERIFY(!form.popup);
    QVERIFY(form.hideCompletely);
}

void TestOptionsLogic::okKeepsAResetDateStillAhead_data()
{
    QTest::addColumn<QString>("resetDay");
    QTest::addColumn<QDate>("stored"); // the stored next reset date
    QTest::addColumn<QString>("day");  // the day chosen in the dialog
    QTest::addColumn<QDate>("next");   // the next reset date after "OK"

    // Today is 20 March 2004.
    QTest::addRow("same day, reset made on the 15th") << "15" << QDate(2004, 4, 15) << "15" << QDate(2004, 4, 15);
    QTest::addRow("same day, still ahead this month") << "25" << QDate(2004, 3, 25) << "25" << QDate(2004, 3, 25);
    QTest::addRow("another day") << "15" << QDate(2004, 4, 15) << "25" << QDate(2004, 3, 25);
    QTest::addRow("from the first of the month") << "1" << QDate(2004, 4, 15) << "15" << QDate(2004, 4, 15);
    QTest::addRow("stored date on another day") << "15" << QDate(2004, 4, 10) << "15" << QDate(2004, 4, 15);
    // A late reset (the meter off on the 25th, started on 3 March) set the
    // 25th of April; the 25th of March would be a second reset in one period.
    QTest::addRow("same day, reset made late") << "25" << QDate(2004, 4, 25) << "25" << QDate(2004, 4, 25);
    QTest::addRow("stored date months ahead") << "15" << QDate(2004, 9, 15) << "15" << QDate(2004, 4, 15);
    QTest::addRow("stored date passed") << "15" << QDate(2004, 3, 15) << "15" << QDate(2004, 4, 15);
}

void TestOptionsLogic::okKeepsAResetDateStillAhead()
{
    QFETCH(QString, resetDay);
    QFETCH(QDate, stored);
    QFETCH(QString, day);
    QFETCH(QDate, next);
    Options o;
    o.set("Options\\Raz", resetDay);
    o.set("Options\\Anniversaire", datetext::date(stored));
    OptionsForm form;
    o.logic.load(form);
    form.customResetDay = true;
    form.resetDay = day;
    QVERIFY(o.logic.ok(form));
    QCOMPARE(o.get("Options\\Anniversaire"), datetext::date(next));
}

void TestOptionsLogic::refusals_data()
{
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("named");
    QTest::addRow("hours not a number") << "beaucoup" << "" << "forfait";
    QTest::addRow("no hours") << "0" << "" << "forfait";
    QTest::addRow("negative hours") << "-3" << "" << "forfait";
    QTest::addRow("day 29") << "" << "29" << "jour";
    QTest::addRow("day 1") << "" << "1" << "jour";
    QTest::addRow("day not whole") << "" << "7.5" << "jour";
}

void TestOptionsLogic::refusals()
{
    QFETCH(QString, hours);
    QFETCH(QString, day);
    QFETCH(QString, named);
    Options o;
    const QMap<QString, QString> before = options(o);
    OptionsForm form;
    o.logic.load(form);
    form.customPackage = !hours.isEmpty();
    form.hours = hours;
    form.customResetDay = !day.isEmpty();
    form.resetDay = day;
    const auto message = o.logic.refusal(form);
    QVERIFY(message);
    QVERIFY2(message->contains(named), qPrintable(*message));
    QVERIFY(!o.logic.ok(form));
    QCOMPARE(options(o), before);

    // In the user's language.
    writeLanguageFile(o.t.dir.path(), "English",
                      "[Messages]\nPackageRefused=Not a package: %1\nResetDayRefused=Not a day: %1\n");
    QVERIFY(o.language.select("English"));
    QCOMPARE(*o.logic.refusal(form), QStringLiteral("Not a %1: %2").arg(named == "jour" ? "day" : "package",
                                                                     hours.isEmpty() ? day : hours));
}

void TestOptionsLogic::defaultPosition()
{
    Options o;
    o.core.load(15360);
    o.logic.defaultPosition();
    QCOMPARE(o.get("Options\\X"), QStringLiteral("11810"));
    QCOMPARE(o.get("Options\\Y"), QStringLiteral("400"));
    QCOMPARE(o.view.left, qint64(11810));
    QCOMPARE(o.get("Options\\Caché"), QStringLiteral("False"));
}

void TestOptionsLogic::movingTogglesAndOkAnchors()
{
    Options o;
    QVERIFY(o.logic.toggleMoving());
    QCOMPARE(o.get("Options\\Ancrage"), QStringLiteral("0"));
    QVERIFY(o.view.movableCursor);
    QVERIFY(!o.logic.toggleMoving());
    QCOMPARE(o.get("Options\\Ancrage"), QStringLiteral("1"));
    QVERIFY(!o.view.movableCursor);

    QVERIFY(o.logic.toggleMoving());
    OptionsForm form;
    o.logic.load(form);
    QVERIFY(o.logic.ok(form));
    QCOMPARE(o.get("Options\\Ancrage"), QStringLiteral("1"));
}

void TestOptionsLogic::totalHidingWithAnUnreadableX()
{
    Options o;
    const qint64 left = o.view.left;
    o.set("Options\\X", "quelque part");
    OptionsForm form;
    o.logic.load(form);
    form.hideCompletely = true;
    QVERIFY(o.logic.ok(form));
    QCOMPARE(o.view.left, left);
    QCOMPARE(o.get("Options\\X"), QString::number(left));
}

void TestOptionsLogic::confirmingWhileHiddenBringsTheConsoleBack()
{
    Options o;
    const qint64 shown = o.view.left;
    o.core.hiding().toggleHidden();
    while (o.view.running(ConsoleView::Timer::Slide))
        o.core.hiding().slideStep();
    QCOMPARE(o.view.left, shown + 3375);
    OptionsForm form;
    o.logic.load(form);
    QVERIFY(o.logic.ok(form));
    QCOMPARE(o.get("Options\\X"), QString::number(shown));
    QCOMPARE(o.get("Options\\Caché"), QStringLiteral("False"));
    QCOMPARE(o.view.offersShow, std::optional<bool>(false));
}

void TestOptionsLogic::whereTheCompositorPlacesTheConsoleOkKeepsItsStoredPlace_data()
{
    QTest::addColumn<QString>("x");
    QTest::addRow("a place stored on an X11 desktop") << "3000";
    QTest::addRow("no place stored") << QString();
}

void TestOptionsLogic::whereTheCompositorPlacesTheConsoleOkKeepsItsStoredPlace()
{
    QFETCH(QString, x);
    ConsoleFixture o;
    o.core.compositorPlaces = true;
    if (!x.isNull()) {
        o.set("Options\\X", x);
        o.set("Options\\Y", "1500");
    }
    o.core.load(ConsoleFixture::Screen1280);
    OptionsLogic logic{o.core};
    OptionsForm form;
    logic.load(form);
    form.hideCompletely = true;
    QVERIFY(logic.ok(form));
    const QString missing = SettingsStore::ErrorText;
    QCOMPARE(o.get("Options\\X"), x.isNull() ? missing : x);
    QCOMPARE(o.get("Options\\Y"), x.isNull() ? missing : QStringLiteral("1500"));
    QCOMPARE(o.get("Options\\OldHideWay"), QStringLiteral("False"));
}

QTEST_GUILESS_MAIN(TestOptionsLogic)
#include "tst_optionslogic.moc"
