// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include <QTest>

namespace {

using Timer = ConsoleView::Timer;

struct Console : ConsoleFixture {
    explicit Console(const QString &oldHideWay = QStringLiteral("True"))
    {
        set("Options\\OldHideWay", oldHideWay);
        run();
    }
    // Runs a timer's ticks until the logic stops it; returns how many ran.
    int runTimer(Timer timer)
    {
        int ticks = 0;
        while (view.running(timer) && ticks < 1000) {
            ++ticks;
            switch (timer) {
            case Timer::Slide:
                core.hiding().slideStep();
                break;
            case Timer::HideFade:
                core.hiding().hideFadeStep();
                break;
            case Timer::PopupFade:
                core.hiding().popupFadeStep();
                break;
            }
        }
        return ticks;
    }
};

QList<int> steps(int from, int to, int step)
{
    QList<int> values;
    for (int v = from; step > 0 ? v <= to : v >= to; v += step)
        values << v;
    return values;
}

} // namespace

class TestConsoleHiding : public QObject {
    Q_OBJECT
private slots:
    void slideAwayAndBackReturnsToTheStart();
    void slidAwayConsoleLeavesAStripOnScreen();
    void secondHideDuringASlideChangesNothing();
    void fadeOutAndIn_data();
    void fadeOutAndIn();
    void popupFade();
    void popupFadeOfAHiddenConsoleGoesStraightToThePopup();
    void noNewPopupFadeWhileThePopupIsShown();
    void hiddenStart_data();
    void hiddenStart();
    void whereTheCompositorPlacesTheConsoleItFadesInsteadOfSliding();
};

void TestConsoleHiding::slideAwayAndBackReturnsToTheStart()
{
    Console c;
    const qint64 start = c.view.left;
    c.core.hiding().toggleHidden();
    QVERIFY(c.view.running(Timer::Slide));
    QCOMPARE(c.runTimer(Timer::Slide), 46);
    QCOMPARE(c.view.left, start + 45 * 75);
    QCOMPARE(c.get("Options\\Caché"), QStringLiteral("True"));
    QCOMPARE(c.view.offersShow, std::optional<bool>(true));

    c.core.hiding().toggleHidden();
    QCOMPARE(c.runTimer(Timer::Slide), 46);
    QCOMPARE(c.view.left, start);
    QCOMPARE(c.get("Options\\Caché"), QStringLiteral("False"));
    QCOMPARE(c.view.offersShow, std::optional<bool>(false));
    QVERIFY(c.view.alphas.isEmpty());
}

void TestConsoleHiding::slidAwayConsoleLeavesAStripOnScreen()
{
    Console c;
    c.core.hiding().toggleHidden();
    c.runTimer(Timer::Slide);
    QCOMPARE(Console::Screen1280 - c.view.left, qint64(225));
}

void TestConsoleHiding::secondHideDuringASlideChangesNothing()
{
    Console c;
    const qint64 start = c.view.left;
    c.core.hiding().toggleHidden();
    for (int i = 0; i < 10; ++i)
        c.core.hiding().slideStep();
    c.core.hiding().toggleHidden();
    QCOMPARE(c.runTimer(Timer::Slide), 36);
    QCOMPARE(c.view.left, start + 3375);
    QCOMPARE(c.get("Options\\Caché"), QStringLiteral("True"));
}

void TestConsoleHiding::fadeOutAndIn_data()
{
    QTest::addColumn<int>("windowsMajorVersion");
    QTest::addColumn<QList<int>>("fadeOut");
    QTest::addColumn<QList<int>>("fadeIn");
    QTest::addRow("layered windows") << 0 << steps(240, 0, -15) << steps(15, 255, 15);
    QTest::addRow("old Windows: no transparency") << 4 << QList<int>() << QList<int>();
}

void TestConsoleHiding::fadeOutAndIn()
{
    QFETCH(int, windowsMajorVersion);
    QFETCH(QList<int>, fadeOut);
    QFETCH(QList<int>, fadeIn);
    Console c(QStringLiteral("False"));
    c.identity.majorVersion = windowsMajorVersion;
    c.run();
    const qint64 start = c.view.left;

    c.core.hiding().toggleHidden();
    for (int i = 0; i < 17; ++i)
        c.core.hiding().hideFadeStep();
    QCOMPARE(c.get("Options\\Caché"), QStringLiteral("False")); // not before the 18th tick
    c.core.hiding().hideFadeStep();
    QVERIFY(!c.view.running(Timer::HideFade));
    QCOMPARE(c.get("Options\\Caché"), QStringLiteral("True"));
    QCOMPARE(c.view.alphas, fadeOut);

    c.view.alphas.clear();
    c.core.hiding().toggleHidden();
    QCOMPARE(c.runTimer(Timer::HideFade), 18);
    QCOMPARE(c.view.alphas, fadeIn);
    QCOMPARE(c.get("Options\\Caché"), QStringLiteral("False"));
    QCOMPARE(c.view.left, start); // a fade never moves the console
}

void TestConsoleHiding::popupFade()
{
    Console c;
    c.core.hiding().fadeOutForPopup();
    QCOMPARE(c.runTimer(Timer::PopupFade), 18);
    QCOMPARE(c.view.alphas, steps(240, 0, -15));
    QCOMPARE(c.view.popups, 1);
    QVERIFY(c.core.hiding().popupShown());

    c.view.alphas.clear();
    c.core.hiding().fadeInAfterPopup();
    QCOMPARE(c.runTimer(Timer::PopupFade), 18);
    QCOMPARE(c.view.alphas, steps(15, 255, 15));
    QVERIFY(!c.core.hiding().popupShown());
    QCOMPARE(c.get("Options\\Caché"), QStringLiteral("False"));
}

void TestConsoleHiding::popupFadeOfAHiddenConsoleGoesStraightToThePopup()
{
    Console c;
    c.core.hiding().toggleHidden();
    c.runTimer(Timer::Slide);
    c.core.hiding().fadeOutForPopup();
    QCOMPARE(c.runTimer(Timer::PopupFade), 1);
    QCOMPARE(c.view.popups, 1);
    QVERIFY(c.view.alphas.isEmpty());
    c.core.hiding().fadeInAfterPopup();
    QCOMPARE(c.runTimer(Timer::PopupFade), 1); // a hidden console stays hidden
    QVERIFY(c.view.alphas.isEmpty());
}

void TestConsoleHiding::noNewPopupFadeWhileThePopupIsShown()
{
    Console c;
    c.core.hiding().fadeOutForPopup();
    c.runTimer(Timer::PopupFade);
    const int started = c.view.popupFadesStarted;
    c.core.hiding().fadeOutForPopup();
    QCOMPARE(c.view.popupFadesStarted, started);
    QVERIFY(!c.view.running(Timer::PopupFade));
}

void TestConsoleHiding::hiddenStart_data()
{
    QTest::addColumn<QString>("oldHideWay");
    QTest::addColumn<QString>("x");
    QTest::addColumn<qint64>("left");
    QTest::addColumn<QList<int>>("alphas");

    QTest::addRow("slid away from X") << "True" << "12000" << qint64(15375) << QList<int>();
    QTest::addRow("X near the 16-bit limit") << "True" << "32000" << qint64(35375) << QList<int>();
    QTest::addRow("X on no screen: the default place") << "True" << "900000" << qint64(15600 + 3375) << QList<int>();
    QTest::addRow("faded out in place") << "False" << "12000" << qint64(-1) << QList<int>{0};
}

void TestConsoleHiding::hiddenStart()
{
    QFETCH(QString, oldHideWay);
    QFETCH(QString, x);
    QFETCH(qint64, left);
    QFETCH(QList<int>, alphas);
    ConsoleFixture c;
    c.view.screen = QRect(0, 0, 3000, 1024);
    c.set("Options\\OldHideWay", oldHideWay);
    c.set("Options\\Caché", "True");
    c.set("Options\\X", x);
    c.set("Options\\Y", "400");
    c.run();
    QCOMPARE(c.view.left, left);
    QCOMPARE(c.view.alphas, alphas);
    QCOMPARE(c.view.offersShow, std::optional<bool>(true));
    QCOMPARE(c.get("Options\\X"), x);
}

void TestConsoleHiding::whereTheCompositorPlacesTheConsoleItFadesInsteadOfSliding()
{
    ConsoleFixture c;
    c.core.compositorPlaces = true;
    c.set("Options\\OldHideWay", "True");
    c.set("Options\\Caché", "True");
    c.run();
    // A hidden start is faded out, not slid away.
    QCOMPARE(c.view.alphas, QList<int>{0});
    const qint64 left = c.view.left;

    c.view.alphas.clear();
    c.core.hiding().toggleHidden();
    QVERIFY(!c.view.running(Timer::Slide));
    while (c.view.running(Timer::HideFade))
        c.core.hiding().hideFadeStep();
    QCOMPARE(c.view.alphas, steps(15, 255, 15));
    QCOMPARE(c.view.left, left);
    QCOMPARE(c.get("Options\\Caché"), QStringLiteral("False"));
    // The chosen style stays stored for a desktop where the console slides.
    QCOMPARE(c.get("Options\\OldHideWay"), QStringLiteral("True"));
}

QTEST_GUILESS_MAIN(TestConsoleHiding)
#include "tst_consolehiding.moc"
