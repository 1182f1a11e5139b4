// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ConsoleWindow.h"
#include "language/Language.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class TestConsoleWindow : public QObject {
    Q_OBJECT
private slots:
    void showsWhatTheCoreGivesIt();
    void wordsComeFromTheLanguageFile();
    void figuresLookAsLabelsWould();
};

void TestConsoleWindow::showsWhatTheCoreGivesIt()
{
    ConsoleWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("reg"));
    QCOMPARE(window.size(), QSize(250, 101));

    window.showCounters("12:34:56", "00:10:00", "123:00:01");
    window.setUserHeading("alice :");
    const auto text = [&](const char *name) { return window.control<QLabel>(name)->text(); };
    QCOMPARE(text("Txtmois"), QStringLiteral("12:34:56"));
    QCOMPARE(text("TxtDay"), QStringLiteral("00:10:00"));
    QCOMPARE(text("TextId"), QStringLiteral("123:00:01"));
    QCOMPARE(text("Label4"), QStringLiteral("alice :"));

    window.placeLeft(15600);
    window.placeTop(400);
    QCOMPARE(window.pos(), QPoint(1040, 26));

    window.show();
    auto *fill = window.control<QWidget>("Shape4");
    QVERIFY(!fill->isVisible());
    window.setPercentBarVisible(true);
    window.setPercentBar(8, "25%");
    QVERIFY(fill->isVisible());
    QVERIFY(window.control<QWidget>("Shape2")->isVisible());
    QCOMPARE(fill->width(), 8);
    QCOMPARE(text("Label1"), QStringLiteral("25%"));

    QVERIFY(!window.control<QWidget>("Picture1")->isVisible());
    window.showPackageIndicator();
    QVERIFY(window.control<QWidget>("Picture1")->isVisible());
}

void TestConsoleWindow::wordsComeFromTheLanguageFile()
{
    QTemporaryDir dir;
    writeLanguageFile(dir.path(), "English", "[reg]\nDepuis_Caption=Connected for\nConnexion_Caption=Connection\n");

    ConsoleWindow window;
    QCOMPARE(window.holderText("Depuis"), QStringLiteral("Label16"));
    Language language({dir.path()});
    QVERIFY(language.select("English"));
    language.apply({&window});
    QCOMPARE(window.holderText("Depuis"), QStringLiteral("Connected for"));
    QCOMPARE(window.holderText("Connexion"), QStringLiteral("Connection"));
    QCOMPARE(window.holderText("Déconnexion"), QStringLiteral("Label16"));

    window.setStatus("Connected");
    window.setSurfaceToolTip("Connected for  00:12:34");
    QCOMPARE(window.control<QLabel>("Text1")->text(), QStringLiteral("Connected"));
    QCOMPARE(window.control<QWidget>("Label8")->toolTip(), QStringLiteral("Connected for  00:12:34"));
}

// The figures draw themselves: each must look as a plain label with its text,
// font, colours and alignment would, both on its own and on the console once a
// new second has been shown.
void TestConsoleWindow::figuresLookAsLabelsWould()
{
    ConsoleWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showCounters("12:34:56", "00:10:00", "123:00:01");

    for (const char *name : {"Txtmois", "TxtDay", "TextId"}) {
        auto *figure = window.control<QLabel>(name);
        QLabel reference(figure->text());
        reference.setFont(figure->font());
        reference.setPalette(figure->palette());
        reference.setAutoFillBackground(true);
        reference.setAlignment(figure->alignment());
        reference.resize(figure->size());
        const QImage expected = reference.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(figure->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);

        const QRect onConsole(figure->mapTo(&window, QPoint()), figure->size());
        const auto shown = [&] {
            return window.screen()
                ->grabWindow(window.winId(), onConsole.x(), onConsole.y(), onConsole.width(), onConsole.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        QTRY_COMPARE(shown(), expected);
    }
}

QTEST_MAIN(TestConsoleWindow)
#include "tst_consolewindow.moc"
