// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/DisplayPlatform.h"

#include <QTest>

using displayplatform::Choice;

class TestDisplayPlatform : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void compositorPlacedPlatforms();
};

void TestDisplayPlatform::choice_data()
{
    QTest::addColumn<QString>("qtPlatform");
    QTest::addColumn<QString>("x11");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<Choice>("expected");

    QTest::addRow("Wayland session with XWayland: X11") << "" << ":0" << "wayland-0" << Choice::X11;
    QTest::addRow("X11 session") << "" << ":0" << "" << Choice::X11;
    QTest::addRow("Wayland alone: Qt's own choice") << "" << "" << "wayland-0" << Choice::Qt;
    QTest::addRow("the user's platform is kept") << "wayland" << ":0" << "wayland-0" << Choice::Qt;
    QTest::addRow("the user's list is kept") << "wayland;xcb" << ":0" << "wayland-0" << Choice::Qt;
    QTest::addRow("no display at all") << "" << "" << "" << Choice::Offscreen;
    QTest::addRow("offscreen asked for") << "offscreen" << "" << "" << Choice::Qt;
}

void TestDisplayPlatform::choice()
{
    QFETCH(QString, qtPlatform);
    QFETCH(QString, x11);
    QFETCH(QString, wayland);
    QFETCH(Choice, expected);
    QCOMPARE(displayplatform::choose({qtPlatform, x11, wayland}), expected);
}

void TestDisplayPlatform::compositorPlacedPlatforms()
{
    QVERIFY(displayplatform::placedByCompositor("wayland"));
    QVERIFY(displayplatform::placedByCompositor("wayland-egl"));
    QVERIFY(!displayplatform::placedByCompositor("xcb"));
    QVERIFY(!displayplatform::placedByCompositor("offscreen"));
}

QTEST_GUILESS_MAIN(TestDisplayPlatform)
#include "tst_displayplatform.moc"
