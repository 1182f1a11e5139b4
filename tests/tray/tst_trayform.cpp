// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ConsoleWindow.h"
#include "records/YearReport.h"
#include "support/TestSupport.h"
#include "tray/PopupAnimation.h"
#include "tray/TrayCommands.h"
#include "tray/TrayForm.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QGuiApplication>
#include <QListView>
#include <QScreen>
#include <QWindow>

namespace {

// What the window of that name looked like each time it was shown, and how
// often it was hidden.
class ShowWatcher final : public QObject {
public:
    struct Look {
        qreal opacity = -1;
        QRect place;
    };

    explicit ShowWatcher(const QString &window)
        : window_(window)
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->isWindow() && widget->objectName() == window_) {
            if (event->type() == QEvent::Show)
                shown.append({widget->windowOpacity(), widget->geometry()});
            else if (event->type() == QEvent::Hide)
                ++hidden;
        }
        return false;
    }

    QList<Look> shown;
    int hidden = 0;

private:
    QString window_;
};

// The real windows of the console and the tray form, with the tray's logic.
struct Windows : BasicConsoleFixture<ConsoleWindow> {
    Windows()
    {
        run();
        tray.attach(commands, animation, report);
    }
    int ticksUntil(const std::function<bool()> &done)
    {
        int ticks = 0;
        for (; !done() && ticks < 2000; ++ticks)
            animation.step();
        return ticks;
    }
    TrayForm tray{language, view};
    PopupAnimation animation{core, tray};
    TrayCommands commands{core, tray};
    YearReport report{meter, t.dir.filePath(QStringLiteral("log.txt"))};
};

} // namespace

class TestTrayForm : public QObject {
    Q_OBJECT
private slots:
    void popupIsOneWindowReadyBeforeItIsSeen();
    void consoleStaysTheSameWindowWhenItGoesOnTop();
    void typedYearIsTakenAsTyped();
};

void TestTrayForm::popupIsOneWindowReadyBeforeItIsSeen()
{
    Windows w;
    ShowWatcher watcher(QStringLiteral("Form6"));
    w.animation.startPopup();
    CatalogueWindow *popup = w.tray.popupWindow();
    QVERIFY(popup);

    // Transparent, and below the screen, where it slides in from.
    QCOMPARE(watcher.shown.size(), 1);
    QCOMPARE(watcher.shown.first().opacity, 0.0);
    QVERIFY(!QGuiApplication::primaryScreen()->geometry().intersects(watcher.shown.first().place));

    const WId id = popup->winId();
    w.ticksUntil([&] { return w.animation.arrived(); });
    QVERIFY(popup->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    w.ticksUntil([&] { return w.animation.leaving(); });
    QVERIFY(!popup->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    w.ticksUntil([&] { return !w.animation.running(); });
    QVERIFY(!popup->isVisible());
    // Going on top and back changed the window, not made a new one.
    QCOMPARE(popup->winId(), id);
    QCOMPARE(watcher.shown.size(), 1);
    QCOMPARE(watcher.hidden, 1);

    // The next pop-up is the same window again.
    w.animation.startPopup();
    QCOMPARE(w.tray.popupWindow(), popup);
    QCOMPARE(popup->winId(), id);
}

void TestTrayForm::consoleStaysTheSameWindowWhenItGoesOnTop()
{
    ConsoleWindow console;
    console.placeLeft(1500);
    console.show();
    const WId id = console.winId();
    ShowWatcher watcher(QStringLiteral("reg"));
    for (const bool onTop : {true, false}) {
        console.setOnTop(onTop);
        QCOMPARE(console.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        QCOMPARE(console.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    }
    QCOMPARE(console.winId(), id);
    QVERIFY(console.isVisible());
    QCOMPARE(console.pos(), QPoint(100, 351));
    QCOMPARE(watcher.hidden, 0);
}

void TestTrayForm::typedYearIsTakenAsTyped()
{
    Windows w;
    w.tray.show();
    w.tray.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.tray));
    auto *years = w.tray.control<QComboBox>(QStringLiteral("Combo1"));
    years->setFocus();
    years->clearEditText();
    // "2003" in the list begins with "200": nothing completes the typed text.
    QTest::keyClicks(years, QStringLiteral("200"));
    QTest::keyClick(years, Qt::Key_Return);
    QCOMPARE(years->currentText(), QStringLiteral("200"));
    QCOMPARE(years->count(), 4);
    const QAbstractItemModel *lines = w.tray.control<QListView>(QStringLiteral("List1"))->model();
    QVERIFY(lines->rowCount() > 0);
    QVERIFY(lines->index(0, 0).data().toString().endsWith(QStringLiteral(" 200 :")));
}

QTEST_MAIN(TestTrayForm)
#include "tst_trayform.moc"
