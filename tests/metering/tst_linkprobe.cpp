// SPDX-License-Identifier: GPL-3.0-or-later
// The system's link probe on real links (TUN interfaces, as root): it follows
// links that come, go and change state between two questions.
#include "e2e/TunLink.h"
#include "metering/LinkProbe.h"

#include <QTest>

#include <memory>

using State = LinkProbe::State;
Q_DECLARE_METATYPE(State)

class TestLinkProbe : public QObject {
    Q_OBJECT
private slots:
    void init();
    void followsLinksThatComeAndGo();
    void onlyTheFirstDialUpLinkCounts();
    void patternsChosenLater();

private:
    LinkProbe &probe_ = platformLinkProbe();
};

void TestLinkProbe::init()
{
    TunLink probeLink("dmprobe%d");
    if (!probeLink.problem().isEmpty())
        QSKIP(qPrintable("no real link for this test: " + probeLink.problem()));
    probe_.setLinkPatterns({"dmprobe*"});
}

void TestLinkProbe::followsLinksThatComeAndGo()
{
    QCOMPARE(probe_.firstLinkState(), State::NotConnected); // no such link yet
    {
        TunLink link("dmprobe%d");
        QCOMPARE(probe_.firstLinkState(), State::NotConnected); // there, but down
        QVERIFY(link.setUp(true));
        QCOMPARE(probe_.firstLinkState(), State::Connected);
        QVERIFY(link.setUp(false));
        QCOMPARE(probe_.firstLinkState(), State::NotConnected);
        QVERIFY(link.setUp(true));
        QCOMPARE(probe_.firstLinkState(), State::Connected);
    }
    QCOMPARE(probe_.firstLinkState(), State::NotConnected); // gone
    TunLink again("dmprobe%d");
    QVERIFY(again.setUp(true));
    QCOMPARE(probe_.firstLinkState(), State::Connected);
}

void TestLinkProbe::onlyTheFirstDialUpLinkCounts()
{
    auto first = std::make_unique<TunLink>("dmprobe%d");
    TunLink second("dmprobe%d");
    QVERIFY(second.setUp(true));
    QCOMPARE(probe_.firstLinkState(), State::NotConnected); // the first is down
    first.reset();
    QCOMPARE(probe_.firstLinkState(), State::Connected); // the second is first now
}

void TestLinkProbe::patternsChosenLater()
{
    TunLink link("dmprobe%d");
    QVERIFY(link.setUp(true));
    probe_.setLinkPatterns({"dmnothing*"});
    QCOMPARE(probe_.firstLinkState(), State::NotConnected);
    probe_.setLinkPatterns({link.name().toStdString()});
    QCOMPARE(probe_.firstLinkState(), State::Connected);
}

QTEST_GUILESS_MAIN(TestLinkProbe)
#include "tst_linkprobe.moc"
