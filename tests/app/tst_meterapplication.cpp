// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MeterApplication.h"
#include "console/ConsoleWindow.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryFile>
#include <QTimer>

#include <csignal>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

QWidget *topLevel(const QString &name)
{
    const auto windows = QApplication::topLevelWidgets();
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&](const QWidget *window) { return window->objectName() == name; });
    return found == windows.end() ? nullptr : *found;
}

QAction *menuEntry(const char *name)
{
    QWidget *trayForm = topLevel(QStringLiteral("Form2"));
    return trayForm ? trayForm->findChild<QAction *>(QString::fromLatin1(name)) : nullptr;
}

// The whole meter, run in this process on a store of its own, with no real
// screen (the offscreen platform).
struct WholeMeter {
    WholeMeter()
    {
        qputenv("DIALMETER_HOME", t.dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", t.dir.filePath(QStringLiteral("config")).toUtf8());
    }
    // Paths below SOFTWARE\Dialmeter\.
    void set(const QString &path, const QString &text)
    {
        QVERIFY(t.store.write(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path, text));
    }
    QString get(const QString &path) const
    {
        return t.store.value(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path);
    }
    void remove(const QString &path)
    {
        t.store.remove(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path);
    }
    // Runs the event loop until the meter ends, or gives up after a long
    // while (a meter that ignores a stop request): what the loop returned.
    static int runUntilTheEnd()
    {
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        deadline.start(30000);
        return QApplication::exec();
    }

    TempStore t;
    MeterApplication meter;
};

// What is written on the standard error (where the meter tells what it has no
// window for) while `work` runs.
QByteArray standardErrorOf(const std::function<void()> &work)
{
    QTemporaryFile capture;
    if (!capture.open())
        return {};
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(capture.handle(), STDERR_FILENO);
    work();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}

using StopRequest = std::function<void()>;

} // namespace

Q_DECLARE_METATYPE(StopRequest)

class TestMeterApplication : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyStopRequestEndsTheMeter_data();
    void everyStopRequestEndsTheMeter();
    void hiddenStartShowsTheConsoleHidden_data();
    void hiddenStartShowsTheConsoleHidden();
    void noTrayNoticeInTheChosenLanguage();
    void optionsChangedInTheStoreAreTakenUp();
};

void TestMeterApplication::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestMeterApplication::everyStopRequestEndsTheMeter_data()
{
    QTest::addColumn<StopRequest>("request");
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        QTest::addRow("signal %d", number) << StopRequest([number] { ::raise(number); });
    QTest::addRow("Quitter") << StopRequest([] { menuEntry("MnuQuitter")->trigger(); });
    // What the session manager sends at the end of a desktop session.
    QTest::addRow("session end") << StopRequest([] {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
    });
}

void TestMeterApplication::everyStopRequestEndsTheMeter()
{
    QFETCH(StopRequest, request);
    WholeMeter m;
    m.set("Variables\\Jour", "01:02:03");
    QVERIFY(m.meter.start());

    // Every window opened and left open; the console closed, as the window
    // manager's close key does.
    for (const char *entry : {"MnuViewer", "MnuJournal", "MnuOption", "MnuAbout"})
        menuEntry(entry)->trigger();
    auto *console = qobject_cast<ConsoleWindow *>(topLevel(QStringLiteral("reg")));
    QVERIFY(console);
    console->openPackageAlert();
    for (const char *name : {"Form1", "Form2", "Form3", "Form4", "Form5"})
        QVERIFY2(topLevel(QString::fromLatin1(name))->isVisible(), name);
    console->close();

    // The counters in memory go back to the store at the end.
    m.remove("Variables\\Jour");
    QTimer::singleShot(0, request);
    QCOMPARE(WholeMeter::runUntilTheEnd(), 0);
    QCOMPARE(m.get("Variables\\Jour"), QStringLiteral("01:02:03"));
}

void TestMeterApplication::hiddenStartShowsTheConsoleHidden_data()
{
    QTest::addColumn<QString>("oldHideWay");
    QTest::addColumn<QPoint>("hiddenPlace");
    QTest::addColumn<double>("hiddenOpacity");
    QTest::addColumn<QPoint>("shownPlace");
    // X = 9000 twips (600 pixels), Y = 400 (26).
    QTest::addRow("slid away") << "True" << QPoint(825, 26) << 1.0 << QPoint(600, 26);
    // Total hiding leaves the console where it was designed to stand.
    QTest::addRow("transparent") << "False" << QPoint(333, 26) << 0.0 << QPoint(333, 26);
}

void TestMeterApplication::hiddenStartShowsTheConsoleHidden()
{
    QFETCH(QString, oldHideWay);
    QFETCH(QPoint, hiddenPlace);
    QFETCH(double, hiddenOpacity);
    QFETCH(QPoint, shownPlace);
    WholeMeter m;
    m.set("Options\\Caché", "True");
    m.set("Options\\OldHideWay", oldHideWay);
    m.set("Options\\X", "9000");
    m.set("Options\\Y", "400");
    QVERIFY(m.meter.start());

    QWidget *console = topLevel(QStringLiteral("reg"));
    QVERIFY(console && console->isVisible());
    QCOMPARE(console->pos(), hiddenPlace);
    QCOMPARE(console->windowOpacity(), hiddenOpacity);
    QAction *show = menuEntry("MnuMaximize");
    QVERIFY(show->isVisible());

    show->trigger();
    QTRY_COMPARE(m.get("Options\\Caché"), QStringLiteral("False"));
    QCOMPARE(console->pos(), shownPlace);
    QCOMPARE(console->windowOpacity(), 1.0);
    QVERIFY(menuEntry("MnuMinimize")->isVisible());
}

void TestMeterApplication::noTrayNoticeInTheChosenLanguage()
{
    // The offscreen platform has no notification area.
    WholeMeter m;
    writeLanguageFile(m.t.dir.path(), QStringLiteral("English"), "[Messages]\nNoTray=No tray here.\n");
    m.set("Options\\Langage", "English");
    bool started = false;
    const QByteArray told = standardErrorOf([&] { started = m.meter.start(); });
    QVERIFY(started);
    QVERIFY2(told.contains("No tray here."), told.constData());
    QVERIFY2(!told.contains("zone de notification"), told.constData());
}

// The store tool, or another member's meter, changes an option the metering
// works from while this meter runs: it is taken up without a restart.
void TestMeterApplication::optionsChangedInTheStoreAreTakenUp()
{
    WholeMeter m;
    m.set("Options\\Pourcent", "0");
    QVERIFY(m.meter.start());
    QWidget *console = topLevel(QStringLiteral("reg"));
    QVERIFY(console);
    QWidget *bar = console->findChild<QWidget *>(QStringLiteral("Shape2"));
    QVERIFY(bar && !bar->isVisible());
    m.set("Options\\Pourcent", "1");
    QTRY_VERIFY(bar->isVisible());
    m.set("Options\\Pourcent", "0");
    QTRY_VERIFY(!bar->isVisible());
}

QTEST_MAIN(TestMeterApplication)
#include "tst_meterapplication.moc"
