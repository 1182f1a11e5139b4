// SPDX-License-Identifier: GPL-3.0-or-later
// The clock moved while the meter runs, forwards and backwards by days, months
// and years (a wrong date corrected, a battery-less machine, a user playing with
// the calendar): every connected second is either in the month's counter or in
// exactly one archived month, whatever the moves.
#include "support/TestSupport.h"

namespace {

struct Move {
    int days = 0;
    int months = 0;
    int years = 0;
};
using Moves = QList<Move>;

// Connected seconds of a name in every archived month of the store, plus its
// running counter.
qint64 countedEverywhere(ConsoleFixture &f, const QString &name)
{
    qint64 sum = secondsOf(f.get("Variables\\" + name));
    for (int year = 1990; year <= 2020; ++year)
        for (int month = 1; month <= 12; ++month) {
            const QString archived =
                f.t.store.value(SettingsStore::LocalMachine,
                              QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\%1\\%2\\%3").arg(year).arg(month).arg(name),
                              QString());
            if (!archived.isEmpty())
                sum += secondsOf(archived);
        }
    return sum;
}

} // namespace

Q_DECLARE_METATYPE(Moves)

class TestClockMoves : public QObject {
    Q_OBJECT
private slots:
    void everySecondIsCountedOnce_data();
    void everySecondIsCountedOnce();
};

void TestClockMoves::everySecondIsCountedOnce_data()
{
    QTest::addColumn<Moves>("moves");
    QTest::newRow("a day on") << Moves{{1, 0, 0}, {1, 0, 0}};
    QTest::newRow("a month on") << Moves{{0, 1, 0}};
    QTest::newRow("a year on") << Moves{{0, 0, 1}};
    QTest::newRow("a day back, then on") << Moves{{-1, 0, 0}, {1, 0, 0}, {1, 0, 0}};
    QTest::newRow("a month on, back, on again") << Moves{{0, 1, 0}, {0, -1, 0}, {0, 1, 0}};
    QTest::newRow("a month back, then on twice") << Moves{{0, -1, 0}, {0, 1, 0}, {0, 1, 0}};
    QTest::newRow("a year back, two on") << Moves{{0, 0, -1}, {0, 0, 2}};
    QTest::newRow("years on and back") << Moves{{0, 0, 3}, {0, 0, -3}, {0, 0, 3}};
    QTest::newRow("months zigzag") << Moves{{0, 1, 0}, {0, 1, 0}, {0, -1, 0}, {0, -1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
    QTest::newRow("across new year and back") << Moves{{20, 9, 0}, {-20, -9, 0}, {25, 9, 0}};
}

void TestClockMoves::everySecondIsCountedOnce()
{
    QFETCH(Moves, moves);
    ConsoleFixture f;
    f.run();
    qint64 connected = 0;
    const auto connection = [&](int length) {
        f.linkUp();
        f.ticks(length);
        f.linkDown();
        f.ticks(1);
        connected += length;
    };
    connection(30);
    int step = 0;
    for (const Move &move : moves) {
        f.clock.set(f.clock.now().addDays(move.days).addMonths(move.months).addYears(move.years));
        f.ticks(1); // the date check of the first disconnected second at the new date
        connection(30 + step++);
        QCOMPARE(countedEverywhere(f, "Total"), connected);
        QCOMPARE(countedEverywhere(f, "alice"), connected);
    }
}

QTEST_GUILESS_MAIN(TestClockMoves)
#include "tst_clockmoves.moc"
