// SPDX-License-Identifier: GPL-3.0-or-later
#include "metering/DateText.h"
#include "outlook/OutlookWindow.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// A started meter with a package and a month counter on a given day, and its
// outlook window.
struct Outlook : ConsoleFixture {
    Outlook(const QString &total, const QString &package, const QDateTime &now)
    {
        clock.set(now);
        set("Options\\Forfait", package);
        set("Variables\\Total", total);
        set("Compte Rendu\\Date", datetext::date(now.date()));
        run();
    }
    QStringList sentences() const
    {
        QStringList texts;
        for (const char *label : {"Label1", "Label2", "Label3", "Label4", "Label5"})
            texts << window.control<QLabel>(QString::fromLatin1(label))->text();
        return texts;
    }
    QProgressBar *bar() const { return window.control<QProgressBar>(QStringLiteral("Bar1")); }
    QLineEdit *field() const { return window.control<QLineEdit>(QStringLiteral("Text1")); }

    OutlookWindow window{meter, core.warnings()};
};

QString day(int d)
{
    return datetext::date(QDate(2004, 3, d));
}

const QDateTime kMidMarch(QDate(2004, 3, 16), QTime(0, 0));

} // namespace

class TestOutlookWindow : public QObject {
    Q_OBJECT
private slots:
    void sentences_data();
    void sentences();
    void followsTheMeterWhileShown();
    void theLanguageFileGivesTheSentences();
    void thresholdsField();
};

void TestOutlookWindow::sentences_data()
{
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("package");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("bar"); // empty: hidden

    const QString period16 = "Du " + day(1) + " au " + day(31) + " : 16 jour(s) restant(s), aujourd'hui compris.";
    QTest::addRow("within the package")
        << "05:00:00" << "20:00:00" << kMidMarch
        << QStringList{period16, "Utilisé : 05:00:00 sur 20:00:00 (25 %).",
                       "Reste : 15:00:00, soit 00:56:15 par jour jusqu'à la fin de la période.",
                       "Moyenne : 00:20:00 par jour écoulé ; à ce rythme, 10:20:00 sur la période.",
                       "À ce rythme, le forfait suffit : il en resterait 09:40:00."}
        << "25%";
    QTest::addRow("over at this pace")
        << "15:00:00" << "20:00:00" << kMidMarch
        << QStringList{period16, "Utilisé : 15:00:00 sur 20:00:00 (75 %).",
                       "Reste : 05:00:00, soit 00:18:45 par jour jusqu'à la fin de la période.",
                       "Moyenne : 01:00:00 par jour écoulé ; à ce rythme, 31:00:00 sur la période.",
                       "À ce rythme, le forfait sera dépassé de 11:00:00 : il serait épuisé le " + day(21)
                           + " vers 00:00."}
        << "75%";
    QTest::addRow("used up") << "25:00:00" << "20:00:00" << kMidMarch
                             << QStringList{period16, "Utilisé : 25:00:00 sur 20:00:00 (125 %).",
                                            "Le forfait est épuisé : 05:00:00 de plus.",
                                            "Moyenne : 01:40:00 par jour écoulé ; à ce rythme, 51:40:00 sur la période.",
                                            "À ce rythme, la période finira 31:40:00 au-delà du forfait."}
                             << "125%";
    QTest::addRow("no package") << "05:00:00" << "00:00:00" << kMidMarch
                                << QStringList{period16, "Utilisé : 05:00:00, sans forfait.", "",
                                               "Moyenne : 00:20:00 par jour écoulé ; à ce rythme, 10:20:00 sur la "
                                               "période.",
                                               ""}
                                << "";
    QTest::addRow("first minutes of the period")
        << "00:10:00" << "20:00:00" << QDateTime(QDate(2004, 3, 1), QTime(0, 30))
        << QStringList{"Du " + day(1) + " au " + day(31) + " : 31 jour(s) restant(s), aujourd'hui compris.",
                       "Utilisé : 00:10:00 sur 20:00:00 (0 %).",
                       "Reste : 19:50:00, soit 00:38:23 par jour jusqu'à la fin de la période.",
                       "Moins d'une heure de la période est passée : pas encore de moyenne ni de prévision.", ""}
        << "0%";
}

void TestOutlookWindow::sentences()
{
    QFETCH(QString, total);
    QFETCH(QString, package);
    QFETCH(QDateTime, now);
    QFETCH(QString, bar);

    Outlook o(total, package, now);
    o.window.show();
    QTEST(o.sentences(), "expected");
    QCOMPARE(o.bar()->isVisibleTo(&o.window), !bar.isEmpty());
    if (!bar.isEmpty()) {
        QCOMPARE(o.bar()->text(), bar);
        QCOMPARE(o.bar()->value(), qMin(bar.chopped(1).toInt(), 100));
    }
}

void TestOutlookWindow::followsTheMeterWhileShown()
{
    Outlook o(QStringLiteral("05:00:00"), QStringLiteral("20:00:00"), kMidMarch);
    auto *timer = o.window.control<QTimer>(QStringLiteral("Timer1"));
    QVERIFY(!timer->isActive());
    o.window.show();
    QVERIFY(timer->isActive());
    o.meter.setCounters(QStringLiteral("06:00:00"), o.meter.dayTotal(), o.meter.userMonth());
    QTRY_COMPARE(o.sentences().at(1), QStringLiteral("Utilisé : 06:00:00 sur 20:00:00 (30 %)."));
    o.window.control<QPushButton>(QStringLiteral("Command1"))->click();
    QVERIFY(o.window.isHidden());
    QVERIFY(!timer->isActive());
}

void TestOutlookWindow::theLanguageFileGivesTheSentences()
{
    QFile english(QStringLiteral(DIALMETER_LANG_DIR "/English.lang"));
    QVERIFY(english.open(QIODevice::ReadOnly));
    Outlook o(QStringLiteral("15:00:00"), QStringLiteral("20:00:00"), kMidMarch);
    writeLanguageFile(o.t.dir.path(), QStringLiteral("English"), english.readAll());
    QVERIFY(o.language.select(QStringLiteral("English")));
    o.language.apply({&o.window});
    o.window.show();
    QCOMPARE(o.window.windowTitle(), QStringLiteral("  Period outlook"));
    QCOMPARE(o.sentences(),
             QStringList({"From " + day(1) + " to " + day(31) + ": 16 day(s) left, today included.",
                          "Used: 15:00:00 of 20:00:00 (75%).",
                          "Left: 05:00:00, that is 00:18:45 a day until the end of the period.",
                          "Average: 01:00:00 per day gone by; at this pace, 31:00:00 for the period.",
                          "At this pace the package will be exceeded by 11:00:00: it would run out on " + day(21)
                              + " around 00:00."}));
}

void TestOutlookWindow::thresholdsField()
{
    Outlook o(QStringLiteral("05:00:00"), QStringLiteral("20:00:00"), kMidMarch);
    QSignalSpy refused(&o.window, &OutlookWindow::refused);
    o.window.show();
    QCOMPARE(o.field()->text(), QStringLiteral("80,90"));

    o.field()->setText(QStringLiteral(" 95, 70,70"));
    QTest::keyClick(o.field(), Qt::Key_Return);
    QCOMPARE(o.get("Options\\Seuils"), QStringLiteral("70,95"));
    QCOMPARE(o.field()->text(), QStringLiteral("70,95"));

    o.field()->setText(QStringLiteral("70,120"));
    o.window.control<QPushButton>(QStringLiteral("Command2"))->click();
    QCOMPARE(refused.size(), 1);
    QVERIFY(refused.first().first().toString().contains(QStringLiteral("« 70,120 »")));
    QCOMPARE(o.get("Options\\Seuils"), QStringLiteral("70,95"));
    QCOMPARE(o.field()->text(), QStringLiteral("70,120"));
}

QTEST_MAIN(TestOutlookWindow)
#include "tst_outlookwindow.moc"
