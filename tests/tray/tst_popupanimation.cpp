// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "tray/PopupAnimation.h"
#include "tray/PopupView.h"

#include <QTest>

namespace {

// The pop-up's windows, recorded; the screen is 1024 x 768 pixels.
class RecordingPopup final : public PopupView {
public:
    QSize screenPixels() const override { return {1024, 768}; }
    QRect taskbarPixels() const override { return taskbar; }
    void loadPopup(const QString &total, const QString &since) override { figures = {total, since}; }
    void showPopup() override { ++shown; }
    void unloadPopup() override { ++unloaded; }
    void placePopup(qint64 l, qint64 t) override { place = {l, t}; }
    void setPopupAlpha(int alpha) override { alphas << alpha; }
    void setPopupOnTop(bool on) override { onTop << on; }
    void showNotice(const QString &total, const QString &since) override { notices << QStringList{total, since}; }
    void setTimerRunning(bool r) override { running = r; }
    void sendConsoleToBottom() override { ++consoleSentDown; }

    QRect taskbar{0, 728, 1024, 40};
    int shown = 0;
    int unloaded = 0;
    QStringList figures;
    QPair<qint64, qint64> place;
    QList<int> alphas;
    QList<bool> onTop;
    bool running = false;
    int consoleSentDown = 0;
    QList<QStringList> notices;
};

struct Popup : ConsoleFixture {
    Popup() { run(); }
    // Ticks until the pop-up arrives (or `limit` ticks); returns how many ran.
    int ticksUntil(const std::function<bool()> &done, int limit = 2000)
    {
        int ticks = 0;
        while (!done() && ticks < limit) {
            animation.step();
            ++ticks;
        }
        return ticks;
    }
    // The console's pop-up fade and the pop-up run together, as in the
    // program: the fade-out's end asks for the pop-up. Runs until `done`, or
    // until both are still (or 5000 ticks).
    void runTogether(const std::function<bool()> &done = [] { return false; })
    {
        for (int tick = 0;
             tick < 5000 && !done() && (view.running(ConsoleView::Timer::PopupFade) || animation.running());
             ++tick) {
            if (view.running(ConsoleView::Timer::PopupFade))
                core.hiding().popupFadeStep();
            serveRequests();
            if (animation.running())
                animation.step();
        }
    }
    // The pop-ups the console has asked for since the last call.
    void serveRequests()
    {
        for (; requested < view.popups; ++requested)
            animation.startPopup();
    }
    RecordingPopup popup;
    int requested = 0;
    PopupAnimation animation{core, popup};
};

using Edge = PopupAnimation::Edge;
using Place = QPair<qint64, qint64>;

} // namespace

class TestPopupAnimation : public QObject {
    Q_OBJECT
private slots:
    void edges_data();
    void edges();
    void fullCourse();
    void clickWhileSlidingIn();
    void clickWhileResting();
    void secondRequestWaitsForTheFirstToLeave();
    void trayClickWhileThePopupLeaves();
    void consoleGoesDownOnTheWayOutOnlyWhenNotOnTop_data();
    void consoleGoesDownOnTheWayOutOnlyWhenNotOnTop();
    void oldWindowsNeverFade();
    void whereTheCompositorPlacesWindowsTheFiguresComeAsANotice();
};

void TestPopupAnimation::edges_data()
{
    QTest::addColumn<QRect>("taskbar");
    QTest::addColumn<Edge>("edge");
    QTest::addColumn<Place>("start");
    QTest::addColumn<Place>("rest");

    // Screen 15360 x 11520 twips, pop-up 3525 x 735.
    QTest::addRow("bottom") << QRect(0, 728, 1024, 40) << Edge::Bottom << Place(11643, 11520) << Place(11643, 10185);
    QTest::addRow("left") << QRect(0, 0, 60, 768) << Edge::Left << Place(-3525, 0) << Place(900, 0);
    QTest::addRow("right") << QRect(964, 0, 60, 768) << Edge::Right << Place(15360, 0) << Place(10935, 0);
    QTest::addRow("top") << QRect(0, 0, 1024, 30) << Edge::Top << Place(11643, -735) << Place(11643, 450);
    QTest::addRow("no taskbar") << QRect(0, 768, 1024, 0) << Edge::Bottom << Place(11643, 11520)
                                << Place(11643, 10785);
    QTest::addRow("a taskbar no rule knows") << QRect(100, 300, 200, 100) << Edge::Bottom << Place(11643, 11520)
                                             << Place(11643, 10785);
}

void TestPopupAnimation::edges()
{
    QFETCH(QRect, taskbar);
    QFETCH(Edge, edge);
    QFETCH(Place, start);
    QFETCH(Place, rest);
    Popup p;
    p.popup.taskbar = taskbar;
    p.animation.startPopup();
    QCOMPARE(p.animation.edge(), edge);
    QCOMPARE(p.popup.place, start);
    QVERIFY(p.popup.running);
    const int ticks = p.ticksUntil([&] { return p.animation.arrived(); });
    QVERIFY(ticks < 2000);
    QCOMPARE(p.popup.place, rest);
    QCOMPARE(p.popup.onTop, QList<bool>{true});
    // Then it rests, leaves and is unloaded: every pop-up comes and goes.
    p.ticksUntil([&] { return !p.animation.running(); });
    QVERIFY(!p.popup.running);
    QCOMPARE(p.popup.unloaded, 1);
    // The next one starts from the edge again, not from where this one left.
    p.animation.startPopup();
    QCOMPARE(p.popup.place, start);
}

void TestPopupAnimation::fullCourse()
{
    Popup p;
    p.meter.setCounters("12:34:56", p.meter.dayTotal(), p.meter.userMonth());
    p.meter.setSurfaceToolTip("Depuis  00:10:00");
    p.animation.startPopup();
    QCOMPARE(p.popup.figures, QStringList({"12:34:56", "Depuis  00:10:00"}));
    QCOMPARE(p.popup.alphas, QList<int>{0});

    // 27 steps of 50 twips up; the first pop-up fades in from its 16th tick.
    QCOMPARE(p.ticksUntil([&] { return p.animation.arrived(); }), 27);
    QCOMPARE(p.animation.fadeLevel(), 12 * 15);
    QVERIFY(p.animation.holding());

    // The tick that ends the rest is also the first of the way out.
    p.ticksUntil([&] { return p.animation.leaving(); });
    QCOMPARE(p.animation.fadeLevel(), 240);
    QVERIFY(p.view.running(ConsoleView::Timer::PopupFade)); // the console fades back in
    QCOMPARE(p.popup.onTop, QList<bool>({true, false}));

    // Down and out, fading: 27 steps of 50 twips.
    const int out = p.ticksUntil([&] { return !p.animation.running(); }) + 1;
    QCOMPARE(out, 27);
    QCOMPARE(p.popup.unloaded, 1);
    QCOMPARE(p.animation.fadeLevel(), 0);

    // The next pop-up fades in from its first tick.
    p.popup.alphas.clear();
    p.animation.startPopup();
    p.animation.step();
    QCOMPARE(p.popup.alphas, QList<int>({0, 15}));
}

void TestPopupAnimation::clickWhileSlidingIn()
{
    Popup p;
    p.animation.startPopup();
    p.ticksUntil([&] { return false; }, 5);
    const qint64 top = p.popup.place.second;
    p.animation.withdrawPopup();
    QVERIFY(p.view.running(ConsoleView::Timer::PopupFade));
    p.animation.step();
    // The slide-in stops where it is and the pop-up goes back down.
    QVERIFY(p.popup.place.second >= top);
    p.ticksUntil([&] { return !p.animation.running(); });
    QCOMPARE(p.popup.unloaded, 1);
    QVERIFY(!p.popup.onTop.contains(true));
}

void TestPopupAnimation::clickWhileResting()
{
    Popup p;
    p.animation.startPopup();
    p.ticksUntil([&] { return p.animation.arrived(); });
    p.ticksUntil([&] { return false; }, 10);
    p.animation.withdrawPopup();
    QVERIFY(p.animation.leaving());
    QVERIFY(p.view.running(ConsoleView::Timer::PopupFade));
    QCOMPARE(p.ticksUntil([&] { return !p.animation.running(); }), 27);
    QCOMPARE(p.popup.unloaded, 1);
}

void TestPopupAnimation::secondRequestWaitsForTheFirstToLeave()
{
    Popup p;
    p.animation.startPopup();
    p.ticksUntil([&] { return false; }, 10);
    const Place place = p.popup.place;
    p.animation.startPopup();
    QCOMPARE(p.popup.shown, 1);
    QCOMPARE(p.popup.place, place);

    p.ticksUntil([&] { return p.popup.unloaded == 1; });
    QCOMPARE(p.popup.shown, 2);
    QVERIFY(p.animation.running());
    p.ticksUntil([&] { return !p.animation.running(); });
    QCOMPARE(p.popup.unloaded, 2);
}

void TestPopupAnimation::trayClickWhileThePopupLeaves()
{
    Popup p;
    p.core.hiding().fadeOutForPopup();
    p.runTogether([&] { return p.animation.leaving(); });
    QVERIFY(p.animation.running());
    // The console fades back in; a click on the tray icon fades it out again
    // and asks for a pop-up before this one is gone.
    p.core.hiding().fadeOutForPopup();
    p.runTogether();
    QCOMPARE(p.popup.shown, 2);
    QVERIFY(!p.core.hiding().popupShown());
    QCOMPARE(p.view.alphas.last(), 255);
    // And the pop-up keeps coming.
    p.core.hiding().fadeOutForPopup();
    p.runTogether();
    QCOMPARE(p.popup.shown, 3);
}

void TestPopupAnimation::consoleGoesDownOnTheWayOutOnlyWhenNotOnTop_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<bool>("sentDown");
    QTest::addRow("not on top") << "0" << true;
    QTest::addRow("on top") << "1" << false;
    QTest::addRow("missing") << QString() << false;
}

void TestPopupAnimation::consoleGoesDownOnTheWayOutOnlyWhenNotOnTop()
{
    QFETCH(QString, top);
    QFETCH(bool, sentDown);
    Popup p;
    if (!top.isNull())
        p.set("Options\\Top", top);
    p.animation.startPopup();
    p.ticksUntil([&] { return p.animation.arrived(); });
    QCOMPARE(p.popup.consoleSentDown, 0);
    p.ticksUntil([&] { return !p.animation.running(); });
    QCOMPARE(p.popup.consoleSentDown > 0, sentDown);
}

void TestPopupAnimation::oldWindowsNeverFade()
{
    Popup p;
    p.core.oldWindows = true;
    p.animation.startPopup();
    p.ticksUntil([&] { return !p.animation.running(); });
    QVERIFY(p.popup.alphas.isEmpty());
    QCOMPARE(p.popup.unloaded, 1);
}

void TestPopupAnimation::whereTheCompositorPlacesWindowsTheFiguresComeAsANotice()
{
    Popup p;
    p.core.compositorPlaces = true;
    p.meter.setCounters("12:34:56", p.meter.dayTotal(), p.meter.userMonth());
    p.meter.setSurfaceToolTip("Depuis  00:10:00");
    // A tray click: no fade of the console, no window sliding in.
    p.core.hiding().fadeOutForPopup();
    p.serveRequests();
    p.runTogether();
    QCOMPARE(p.popup.notices, QList<QStringList>{QStringList({"12:34:56", "Depuis  00:10:00"})});
    QCOMPARE(p.popup.shown, 0);
    QVERIFY(!p.animation.running());
    QVERIFY(p.view.alphas.isEmpty());
    QVERIFY(!p.core.hiding().popupShown());
    // The next one comes as well.
    p.core.hiding().fadeOutForPopup();
    p.serveRequests();
    QCOMPARE(p.popup.notices.size(), 2);
}

QTEST_GUILESS_MAIN(TestPopupAnimation)
#include "tst_popupanimation.moc"
