// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeterHome.h"
#include "TunLink.h"
#include "support/TestSupport.h"
#include "tray/TrayCommands.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDate>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The built meter in a Wayland session: weston, headless, with XWayland; and a
// panel's StatusNotifierWatcher and a notification service of the test's own,
// on the private session bus the test runs in (dbus-run-session).

namespace {

constexpr int Patience = 30000; // milliseconds: the deadline of every wait

// A StatusNotifierWatcher, as a panel that hosts the items runs it.
class FakeWatcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    QStringList items() const { return items_; }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString &service) { items_ << service; }
    void RegisterStatusNotifierHost(const QString &) {}

private:
    QStringList items_;
};

// The desktop's notification service: records what it is asked to show.
class FakeNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notice {
        QString summary;
        QString body;
    };
    QList<Notice> notices;

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        notices << Notice{summary, body};
        return notices.size();
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
};

QString output(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(Patience))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The labels of a dbusmenu layout, (ia{sv}av), with their item ids.
void readLayout(const QDBusArgument &layout, QMap<QString, int> &labels)
{
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        readLayout(child.variant().value<QDBusArgument>(), labels);
    }
    layout.endArray();
    layout.endStructure();
    if (properties.contains(QStringLiteral("label")))
        labels.insert(properties.value(QStringLiteral("label")).toString(), id);
}

// The title of a StatusNotifierItem's tool tip, (sa(iiay)ss).
QString toolTipTitle(const QDBusArgument &tip)
{
    QString icon, title, text;
    tip.beginStructure();
    tip >> icon;
    tip.beginArray();
    while (!tip.atEnd()) {
        int width = 0, height = 0;
        QByteArray pixels;
        tip.beginStructure();
        tip >> width >> height >> pixels;
        tip.endStructure();
    }
    tip.endArray();
    tip >> title >> text;
    tip.endStructure();
    return title;
}

} // namespace

class TestWayland : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void xwaylandWhenTheSessionOffersIt();
    void waylandAlone();
    void statusNotifierItem();

private:
    // The meter's environment in the Wayland session, with X11 or without.
    QProcessEnvironment session(const MeterHome &home, bool withX11) const;
    QDBusMessage call(const QString &service, const QString &path, const QString &interface, const QString &method,
                      const QVariantList &arguments = {});
    static void stop(QProcess &meter);

    QTemporaryDir runtime_;
    QProcess weston_;
    QString westonLog_;
    QString socket_;
    QString x11Display_;
    FakeNotifications notifications_;
};

void TestWayland::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "runs on a session bus of its own (dbus-run-session)");
    for (const char *tool : {"weston", "Xwayland", "xdotool", "xwininfo", "xprop"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool))));
    }
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so"))
        QSKIP("Qt's Wayland platform (qt6-wayland) is not installed");

    QDBusConnection session = QDBusConnection::sessionBus();
    QVERIFY(session.registerObject("/org/freedesktop/Notifications", &notifications_,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(session.registerService("org.freedesktop.Notifications"));

    // Weston's sockets live in a runtime folder of the test's own.
    QVERIFY(runtime_.isValid());
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    socket_ = QStringLiteral("dialmeter-test-%1").arg(QCoreApplication::applicationPid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime_.path());
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    weston_.setProcessEnvironment(env);
    weston_.setProcessChannelMode(QProcess::MergedChannels);
    connect(&weston_, &QProcess::readyRead, this, [this] { westonLog_ += QString::fromLocal8Bit(weston_.readAll()); });
    weston_.start("weston", {"--backend=headless-backend.so", "--xwayland", "--idle-time=0", "--width=1024",
                             "--height=768", "--socket=" + socket_});
    const QRegularExpression xserver(QStringLiteral("xserver listening on display (:\\d+)"));
    QTRY_VERIFY2_WITH_TIMEOUT(xserver.match(westonLog_).hasMatch() || weston_.state() == QProcess::NotRunning,
                              qPrintable(westonLog_), Patience);
    QVERIFY2(weston_.state() == QProcess::Running, qPrintable(westonLog_));
    x11Display_ = xserver.match(westonLog_).captured(1);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtime_.filePath(socket_)), Patience);
}

void TestWayland::cleanupTestCase()
{
    if (weston_.state() == QProcess::Running) {
        weston_.terminate();
        if (!weston_.waitForFinished(Patience))
            weston_.kill();
    }
}

QProcessEnvironment TestWayland::session(const MeterHome &home, bool withX11) const
{
    QProcessEnvironment env = home.environment();
    env.insert("XDG_RUNTIME_DIR", runtime_.path());
    env.insert("XDG_SESSION_TYPE", "wayland");
    env.insert("WAYLAND_DISPLAY", socket_);
    if (withX11)
        env.insert("DISPLAY", x11Display_);
    return env;
}

QDBusMessage TestWayland::call(const QString &service, const QString &path, const QString &interface,
                               const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, Patience);
}

void TestWayland::stop(QProcess &meter)
{
    ::kill(static_cast<pid_t>(meter.processId()), SIGTERM);
    QVERIFY(meter.waitForFinished(Patience));
    QCOMPARE(meter.exitStatus(), QProcess::NormalExit);
    QVERIFY2(meter.exitCode() == 0, meter.readAllStandardError().constData());
}

void TestWayland::xwaylandWhenTheSessionOffersIt()
{
    MeterHome home;
    QVERIFY(home.set("SOFTWARE\\Dialmeter\\Options\\X", "3000"));
    QVERIFY(home.set("SOFTWARE\\Dialmeter\\Options\\Y", "1500"));
    QProcess meter;
    meter.setProcessEnvironment(session(home, true));
    meter.start(DIALMETER_BIN, {});
    QVERIFY(meter.waitForStarted());

    // The console is an X window of the meter, of its designed size.
    QProcessEnvironment x11 = QProcessEnvironment::systemEnvironment();
    x11.insert("DISPLAY", x11Display_);
    const QString pid = QString::number(meter.processId());
    QString console;
    const auto findConsole = [&] {
        const QString windows = output("xdotool", {"search", "--onlyvisible", "--pid", pid}, x11);
        for (const QString &window : windows.split('\n', Qt::SkipEmptyParts)) {
            const QString info = output("xwininfo", {"-id", window}, x11);
            if (info.contains(QRegularExpression("Width: 250\\b")) && info.contains(QRegularExpression("Height: 101\\b")))
                console = window;
        }
        return !console.isEmpty();
    };
    QTRY_VERIFY_WITH_TIMEOUT(findConsole(), Patience);

    // At its designed place (X, Y in twips, 15 to a pixel), which it asks of
    // the window manager, under the desktop entry's window class.
    const QString properties = output("xprop", {"-id", console, "WM_CLASS", "WM_NORMAL_HINTS"}, x11);
    QVERIFY2(properties.contains("user specified location: 200, 100"), qPrintable(properties));
    QVERIFY2(properties.contains("WM_CLASS(STRING) = \"org.example.Dialmeter\""), qPrintable(properties));

    stop(meter);
    QCOMPARE(home.get("SOFTWARE\\Dialmeter\\Variables\\Total"), QStringLiteral("00:00:00"));
}

void TestWayland::waylandAlone()
{
    MeterHome home;
    TunLink link;
    const bool counting = link.problem().isEmpty();
    if (counting) {
        QVERIFY(home.set("SOFTWARE\\Dialmeter\\Options\\Interfaces", link.name()));
        // The first minute is charged at the connection's first second: a
        // counted minute without waiting for one.
        QVERIFY(home.set("SOFTWARE\\Dialmeter\\Options\\indivisible", "1"));
    } else {
        qInfo("no real link (%s): the run is checked without a connection", qPrintable(link.problem()));
    }
    notifications_.notices.clear();
    QProcess meter;
    meter.setProcessEnvironment(session(home, false));
    meter.start(DIALMETER_BIN, {});
    QVERIFY(meter.waitForStarted());

    // No notification area: it is said by a notification, not a box.
    QTRY_COMPARE_WITH_TIMEOUT(notifications_.notices.size(), 1, Patience);
    QCOMPARE(notifications_.notices.constFirst().summary, QStringLiteral("Dialmeter"));
    QVERIFY2(notifications_.notices.constFirst().body.contains("clic droit sur la console"),
             qPrintable(notifications_.notices.constFirst().body));

    const QString journal = home.filePath(QString::number(QDate::currentDate().year()) + ".txt");
    const auto journalHas = [&](const QString &word) {
        QFile file(journal);
        return file.open(QIODevice::ReadOnly) && QString::fromUtf8(file.readAll()).contains(word);
    };
    if (counting) {
        QVERIFY(link.setUp(true));
        QTRY_VERIFY_WITH_TIMEOUT(journalHas("Connexion"), Patience);
    }
    stop(meter);

    // The counters are saved, and the place the compositor chose is nobody's.
    if (counting) {
        QVERIFY(secondsOf(home.get("SOFTWARE\\Dialmeter\\Variables\\Total")) >= 60);
        QVERIFY(journalHas("Déconnexion"));
    } else {
        QCOMPARE(home.get("SOFTWARE\\Dialmeter\\Variables\\Total"), QStringLiteral("00:00:00"));
    }
    QCOMPARE(home.get("SOFTWARE\\Dialmeter\\Options\\Caché"), QStringLiteral("False"));
    QCOMPARE(home.store({"get", "SOFTWARE\\Dialmeter\\Options\\X"}).exitCode, 1);
    QCOMPARE(home.store({"get", "SOFTWARE\\Dialmeter\\Options\\Y"}).exitCode, 1);
}

void TestWayland::statusNotifierItem()
{
    FakeWatcher watcher;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QVERIFY(bus.registerObject("/StatusNotifierWatcher", &watcher,
                               QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
    QVERIFY(bus.registerService("org.kde.StatusNotifierWatcher"));
    const auto unregister = qScopeGuard([&bus] {
        bus.unregisterService("org.kde.StatusNotifierWatcher");
        bus.unregisterObject("/StatusNotifierWatcher");
    });

    MeterHome home;
    notifications_.notices.clear();
    QProcess meter;
    meter.setProcessEnvironment(session(home, false));
    meter.start(DIALMETER_BIN, {});
    QVERIFY(meter.waitForStarted());

    // The icon registers as an item of the panel.
    QTRY_COMPARE_WITH_TIMEOUT(watcher.items().size(), 1, Patience);
    const QString item = watcher.items().constFirst();
    const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
    const auto property = [&](const QString &name) {
        const QDBusMessage reply =
            call(item, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get", {itemInterface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    };

    // Its tool tip is the meter's.
    const QString title = toolTipTitle(property("ToolTip").value<QDBusArgument>());
    QCOMPARE(title, TrayCommands::tipText());
    QCOMPARE(title.size(), 17);

    // A click on it brings the pop-up's figures, as a notification.
    QVERIFY(call(item, "/StatusNotifierItem", itemInterface, "Activate", {0, 0}).type()
            == QDBusMessage::ReplyMessage);
    QTRY_COMPARE_WITH_TIMEOUT(notifications_.notices.size(), 1, Patience);
    QCOMPARE(notifications_.notices.constFirst().summary, QStringLiteral("Dialmeter"));
    QVERIFY2(notifications_.notices.constFirst().body.startsWith("Total : 00:00:00\n"),
             qPrintable(notifications_.notices.constFirst().body));

    // Its menu is the panel's to show, and works from there: "Quitter" ends
    // the meter, its counters saved.
    const QString menu = property("Menu").value<QDBusObjectPath>().path();
    QCOMPARE(menu, QStringLiteral("/MenuBar"));
    const QDBusMessage layout = call(item, menu, "com.canonical.dbusmenu", "GetLayout", {0, -1, QStringList()});
    QCOMPARE(layout.type(), QDBusMessage::ReplyMessage);
    QMap<QString, int> labels;
    readLayout(layout.arguments().value(1).value<QDBusArgument>(), labels);
    for (const char *entry : {"Journal", "Options", "Globale", "Cacher", "Quitter"})
        QVERIFY2(labels.contains(QString::fromUtf8(entry)), qPrintable(QStringList(labels.keys()).join(", ")));
    call(item, menu, "com.canonical.dbusmenu", "Event",
         {labels.value("Quitter"), QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    QVERIFY(meter.waitForFinished(Patience));
    QCOMPARE(meter.exitCode(), 0);
    QCOMPARE(home.get("SOFTWARE\\Dialmeter\\Variables\\Total"), QStringLiteral("00:00:00"));
    QCOMPARE(home.get("SOFTWARE\\Dialmeter\\Options\\Caché"), QStringLiteral("False"));
}

QTEST_GUILESS_MAIN(TestWayland)
#include "tst_wayland.moc"
