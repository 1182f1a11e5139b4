// SPDX-License-Identifier: GPL-3.0-or-later
#include "metering/DurationText.h"

#include <QTest>

class TestDurationText : public QObject {
    Q_OBJECT
private slots:
    void advance_data();
    void advance();
    void compare_data();
    void compare();
    void sum_data();
    void sum();
    void fields_data();
    void fields();
    void badInput_data();
    void badInput();
};

void TestDurationText::advance_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("byMinute");
    QTest::addColumn<QString>("expected");

    QTest::addRow("second carries into minutes") << "00:00:59" << false << "00:01:00";
    QTest::addRow("second carries into hours") << "00:59:59" << false << "01:00:00";
    QTest::addRow("no wrap at a day") << "23:59:59" << false << "24:00:00";
    QTest::addRow("third hour digit") << "99:59:59" << false << "100:00:00";
    QTest::addRow("past one hundred hours") << "100:00:00" << false << "100:00:01";
    QTest::addRow("hours padded again") << "5:00:00" << false << "05:00:01";
    QTest::addRow("only exactly 60 carries") << "00:00:75" << false << "00:00:76";
    QTest::addRow("minute keeps the seconds") << "00:00:30" << true << "00:01:30";
    QTest::addRow("minute carries into hours") << "00:59:30" << true << "01:00:30";
    QTest::addRow("blanks in the fields") << " 7: 5: 9" << false << "07:05:10";
}

void TestDurationText::advance()
{
    QFETCH(QString, text);
    QFETCH(bool, byMinute);
    QFETCH(QString, expected);
    const auto result = byMinute ? duration::addMinute(text) : duration::addSecond(text);
    QCOMPARE(result.value_or(QStringLiteral("<none>")), expected);
}

void TestDurationText::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");

    QTest::addRow("longer by hours") << "10:00:00" << "09:59:59" << -1;
    QTest::addRow("shorter by hours") << "09:59:59" << "10:00:00" << 1;
    QTest::addRow("equal as numbers") << "08:00:00" << "8:00:00" << 0;
    QTest::addRow("three hour digits against two") << "100:00:00" << "99:59:59" << -1;
    QTest::addRow("longer by minutes") << "01:02:00" << "01:01:59" << -1;
    QTest::addRow("longer by seconds") << "01:01:02" << "01:01:01" << -1;
    QTest::addRow("shorter by seconds") << "01:01:01" << "01:01:02" << 1;
}

void TestDurationText::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(duration::compare(a, b), std::optional<int>(expected));
}

void TestDurationText::sum_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("expected"); // empty: no sum

    QTest::addRow("carries seconds and minutes") << "01:59:30" << "00:00:45" << "02:00:15";
    QTest::addRow("puts unusual fields right") << "00:00:75" << "00:00:00" << "00:01:15";
    QTest::addRow("past one hundred hours") << "99:30:00" << "01:00:00" << "100:30:00";
    QTest::addRow("hours would pass 32767") << "32767:00:00" << "01:00:00" << "";
    QTest::addRow("a text that is not a duration") << "Erreur" << "00:00:01" << "";
}

void TestDurationText::sum()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, expected);
    const auto total = duration::sum(a, b);
    QCOMPARE(total.value_or(QString()), expected);
}

void TestDurationText::fields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");

    QTest::addRow("three hour digits") << "123:04:05" << 123 << 4 << 5;
    // The separators are never looked at: fields are taken by position.
    QTest::addRow("separators ignored") << "12x34y56" << 12 << 34 << 56;
    QTest::addRow("largest hours") << "32767:00:00" << 32767 << 0 << 0;
}

void TestDurationText::fields()
{
    QFETCH(QString, text);
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    QCOMPARE(duration::hoursOf(text), std::optional<qint16>(hours));
    QCOMPARE(duration::minutesOf(text), std::optional<qint16>(minutes));
    QCOMPARE(duration::secondsOf(text), std::optional<qint16>(seconds));
}

void TestDurationText::badInput_data()
{
    QTest::addColumn<QString>("text");

    QTest::addRow("store fallback") << "Erreur";
    QTest::addRow("empty") << "";
    QTest::addRow("no hours") << "00:00";
    QTest::addRow("six characters, no hours") << "123456";
    QTest::addRow("letters in the minutes") << "00:ab:00";
    QTest::addRow("hours over 16 bits") << "32768:00:00";
    QTest::addRow("negative field") << "-1:00:00";
    QTest::addRow("garbage") << "\x01\x02\x03\x04\x05\x06\x07";
}

void TestDurationText::badInput()
{
    QFETCH(QString, text);
    QVERIFY(!duration::isDurationText(text));
    QVERIFY(!duration::addSecond(text));
    QVERIFY(!duration::addMinute(text));
    QVERIFY(!duration::compare(text, duration::Zero));
    QVERIFY(!duration::compare(duration::Zero, text));
    QCOMPARE(duration::orZero(text), duration::Zero);
}

QTEST_APPLESS_MAIN(TestDurationText)
#include "tst_durationtext.moc"
