// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "tray/TrayCommands.h"
#include "tray/TrayView.h"

#include <QTest>

namespace {

// A tray form whose questions the test answers, and that records what is asked.
class ScriptedTray final : public TrayView {
public:
    QString holderText(const QString &holder) const override
    {
        return holder == QLatin1String("Sur") ? QStringLiteral("Êtes-vous sûr ?") : QString();
    }
    bool askYesNo(const QString &title, const QString &question) override
    {
        asked << title + " / " + question;
        return answer;
    }
    void openMenu() override
    {
        ++menus;
        // While the menu is open, the icon may send more messages.
        if (whileMenuOpen)
            whileMenuOpen();
    }

    bool answer = true;
    QStringList asked;
    int menus = 0;
    std::function<void()> whileMenuOpen;
};

struct Tray : ConsoleFixture {
    Tray()
    {
        set("User\\0", "Total");
        set("User\\1", "bob");
        set("User\\2", "alice");
        set("Variables\\Total", "05:00:00");
        set("Variables\\Jour", "00:20:00");
        set("Variables\\alice", "03:00:00");
        set("Variables\\bob", "02:00:00");
        run();
    }
    QStringList variables() { return valuesIn(QStringLiteral("Variables")); }
    ScriptedTray tray;
    TrayCommands commands{core, tray};
};

} // namespace

class TestTrayCommands : public QObject {
    Q_OBJECT
private slots:
    void resets_data();
    void resets();
    void iconMessages_data();
    void iconMessages();
    void messagesWhileTheMenuIsOpenAreDropped();
    void tipText();
};

void TestTrayCommands::resets_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("shown"); // month, day, user

    const QStringList untouched{"alice=03:00:00", "bob=02:00:00", "Jour=00:20:00", "Total=05:00:00"};
    QTest::addRow("user, yes") << "user" << true << "Reset user"
                               << QStringList{"alice=00:00:00", "bob=02:00:00", "Jour=00:20:00", "Total=05:00:00"}
                               << QStringList{"05:00:00", "00:20:00", "00:00:00"};
    QTest::addRow("day, yes") << "day" << true << "Reset day"
                              << QStringList{"alice=03:00:00", "bob=02:00:00", "Jour=00:00:00", "Total=05:00:00"}
                              << QStringList{"05:00:00", "00:00:00", "03:00:00"};
    QTest::addRow("global, yes") << "all" << true << "Reset global"
                                 << QStringList{"alice=00:00:00", "Jour=00:00:00", "Total=00:00:00"}
                                 << QStringList{"00:00:00", "00:00:00", "00:00:00"};
    for (const char *command : {"user", "day", "all"})
        QTest::addRow("%s, no", command) << command << false << QString() << untouched
                                         << QStringList{"05:00:00", "00:20:00", "03:00:00"};
}

void TestTrayCommands::resets()
{
    QFETCH(QString, command);
    QFETCH(bool, yes);
    QFETCH(QString, title);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, shown);

    Tray t;
    t.tray.answer = yes;
    if (command == "user")
        t.commands.resetUser();
    else if (command == "day")
        t.commands.resetDay();
    else
        t.commands.resetAll();

    QCOMPARE(t.tray.asked.size(), 1);
    if (yes)
        QCOMPARE(t.tray.asked.front(), title + " / Êtes-vous sûr ?");
    QCOMPARE(t.variables(), stored);
    QCOMPARE(QStringList({t.meter.monthTotal(), t.meter.dayTotal(), t.meter.userMonth()}), shown);
    if (yes)
        QCOMPARE(t.view.counters, shown);
    // The report and the user list are never touched.
    QCOMPARE(t.get("User\\1"), QStringLiteral("bob"));
}

void TestTrayCommands::iconMessages_data()
{
    QTest::addColumn<int>("message");
    QTest::addColumn<bool>("fades");
    QTest::addColumn<int>("menus");
    QTest::addRow("left button up") << 514 << true << 0;
    QTest::addRow("right button up") << 517 << false << 1;
    for (int message : {512, 513, 515, 516, 518})
        QTest::addRow("%d", message) << message << false << 0;
}

void TestTrayCommands::iconMessages()
{
    QFETCH(int, message);
    QFETCH(bool, fades);
    QFETCH(int, menus);
    Tray t;
    t.commands.iconMessage(message);
    QCOMPARE(t.tray.menus, menus);
    QCOMPARE(t.view.running(ConsoleView::Timer::PopupFade), fades);
    QCOMPARE(t.commands.lastMessage(), message);
}

void TestTrayCommands::messagesWhileTheMenuIsOpenAreDropped()
{
    Tray t;
    t.tray.whileMenuOpen = [&] {
        t.commands.iconMessage(TrayCommands::LeftUp);
        t.commands.iconMessage(TrayCommands::RightUp);
    };
    t.commands.iconMessage(TrayCommands::RightUp);
    QCOMPARE(t.tray.menus, 1);
    QVERIFY(!t.view.running(ConsoleView::Timer::PopupFade));
    QCOMPARE(t.commands.lastMessage(), int(TrayCommands::RightUp));
    // Once the menu has closed, messages are handled again.
    t.commands.iconMessage(TrayCommands::LeftUp);
    QVERIFY(t.view.running(ConsoleView::Timer::PopupFade));
}

void TestTrayCommands::tipText()
{
    QCOMPARE(TrayCommands::tipText(), QStringLiteral("Dialmeter v 3.6.2"));
    QCOMPARE(TrayCommands::tipText().size(), 17);
}

QTEST_GUILESS_MAIN(TestTrayCommands)
#include "tst_traycommands.moc"
