// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ConsoleWindow.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

struct Console : BasicConsoleFixture<ConsoleWindow> {
    explicit Console(const QString &anchoring)
    {
        set("Options\\Ancrage", anchoring);
        set("Options\\X", "3000");
        set("Options\\Y", "1500");
        run();
        view.attach(core);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    QWidget *surface() { return view.control<QWidget>(QStringLiteral("Label8")); }
};

} // namespace

class TestConsoleMouse : public QObject {
    Q_OBJECT
private slots:
    void drag_data();
    void drag();
    void doubleClickHidesAndShows();
    void onTopAndPointerFollowTheOptions();
    void whereTheCompositorPlacesTheConsoleItDoesTheDrag();
};

void TestConsoleMouse::drag_data()
{
    QTest::addColumn<QString>("anchoring");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("moved");
    QTest::addColumn<int>("menus");

    QTest::addRow("anchored") << "1" << Qt::LeftButton << QPoint(0, 0) << 0;
    QTest::addRow("anchored as 1.0") << "1.0" << Qt::LeftButton << QPoint(0, 0) << 0;
    QTest::addRow("anchored when unreadable") << "oui" << Qt::LeftButton << QPoint(0, 0) << 0;
    QTest::addRow("movable, left button") << "0" << Qt::LeftButton << QPoint(30, 12) << 0;
    QTest::addRow("movable, right button") << "0" << Qt::RightButton << QPoint(0, 0) << 1;
}

void TestConsoleMouse::drag()
{
    QFETCH(QString, anchoring);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, moved);
    QFETCH(int, menus);

    Console c(anchoring);
    QSignalSpy menu(&c.view, &ConsoleWindow::menuRequested);
    const QPoint start = c.view.pos();
    QCOMPARE(start, QPoint(200, 100));

    QTest::mousePress(c.surface(), button, {}, QPoint(100, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 62), c.surface()->mapToGlobal(QPointF(130, 62)), Qt::NoButton,
                     button, {});
    QApplication::sendEvent(c.surface(), &move);
    // The point grabbed stays under the pointer.
    QCOMPARE(c.view.pos(), start + moved);
    QTest::mouseRelease(c.surface(), button, {}, QPoint(130, 62) - moved);
    QCOMPARE(menu.count(), menus);

    // Released: moving no longer drags, and nothing was stored.
    QMouseEvent after(QEvent::MouseMove, QPointF(10, 10), c.surface()->mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                      Qt::NoButton, {});
    QApplication::sendEvent(c.surface(), &after);
    QCOMPARE(c.view.pos(), start + moved);
    QCOMPARE(c.get("Options\\X"), QStringLiteral("3000"));
}

void TestConsoleMouse::doubleClickHidesAndShows()
{
    Console c("1");
    QTest::mouseDClick(c.surface(), Qt::LeftButton, {}, QPoint(100, 50));
    QVERIFY(c.view.control<QTimer>("Timer2")->isActive());
    QTRY_COMPARE(c.get("Options\\Caché"), QStringLiteral("True"));
    QCOMPARE(c.view.pos(), QPoint(200 + 225, 100));
    QVERIFY(!c.view.control<QTimer>("Timer2")->isActive());
}

void TestConsoleMouse::onTopAndPointerFollowTheOptions()
{
    Console c("0");
    QVERIFY(!c.view.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(c.surface()->cursor().shape(), Qt::SizeAllCursor);
    c.set("Options\\Top", "1");
    c.set("Options\\Ancrage", "1");
    c.core.applyHidingAndPlacement();
    QVERIFY(c.view.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(c.view.isVisible());
    QCOMPARE(c.surface()->cursor().shape(), Qt::ArrowCursor);
}

void TestConsoleMouse::whereTheCompositorPlacesTheConsoleItDoesTheDrag()
{
    ConsoleFixture c;
    c.core.compositorPlaces = true;
    c.set("Options\\Ancrage", "0");
    c.run();
    const qint64 left = c.view.left;
    c.core.mouse().pressed(ConsoleMouse::Button::Left, QPoint(100, 50));
    QCOMPARE(c.view.systemMoves, 1);
    c.core.mouse().moved(QPoint(160, 80));
    QCOMPARE(c.view.left, left);
    c.core.mouse().released(ConsoleMouse::Button::Left, QPoint(160, 80));
    // Anchored, the console stays where the compositor put it.
    c.set("Options\\Ancrage", "1");
    c.core.mouse().pressed(ConsoleMouse::Button::Left, QPoint(100, 50));
    QCOMPARE(c.view.systemMoves, 1);
}

QTEST_MAIN(TestConsoleMouse)
#include "tst_consolemouse.moc"
