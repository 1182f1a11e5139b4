// SPDX-License-Identifier: GPL-3.0-or-later
// Stores that were edited by hand, damaged or left half written: every value of
// the schema replaced at random by garbage, an empty text, a huge text, the value
// of another field, or left out. Each store is loaded, counts five connected
// seconds, meets a new day and gives its year report: nothing may crash, every
// message stays readable, and the counters come out as duration texts.
#include "support/TestSupport.h"

#include "metering/DateCheck.h"
#include "metering/DateText.h"
#include "metering/DurationText.h"
#include "records/YearReport.h"
#include "store/Schema.h"

#include <QRandomGenerator>

namespace {

struct Field {
    QString path; // below the product key
    QString sample; // a text the meter itself would have written
};

QList<Field> schemaFields()
{
    const QString lastCheck = datetext::date(QDate(2004, 3, 14));
    const QString resetDay = datetext::date(QDate(2004, 4, 15));
    const auto below = [](const QString &path) { return path.mid(schema::Product.size()); };
    using namespace schema::options;
    return {
        {below(Cache.path), "False"},           {below(OldHideWay.path), "True"},
        {below(X.path), "12000"},               {below(Y.path), "400"},
        {below(Ancrage.path), "1"},             {below(Top.path), "1"},
        {below(Langage.path), "English"},       {below(LaunchAtWinStartup.path), "0"},
        {below(Pourcent.path), "1"},            {below(Alarm.path), "1"},
        {below(Pop.path), "1"},                 {below(Indivisible.path), "1"},
        {below(Forfait.path), "10:00:00"},      {below(Forf.path), "1"},
        {below(Raz.path), "15"},                {below(Anniversaire.path), resetDay},
        {below(FirstBoot.path), "0"},           {below(Interfaces.path), "ppp*"},
        {below(schema::variables::Total.path), "12:00:00"},
        {below(schema::variables::Jour.path), "01:00:00"},
        {below(schema::variables::user("alice").path), "05:00:00"},
        {below(schema::userSlot(0)), "Total"},  {below(schema::userSlot(1)), "alice"},
        {below(schema::userSlot(2)), "bob"},    {below(schema::variables::user("bob").path), "02:00:00"},
        {below(schema::report::Date.path), lastCheck},
        {below(schema::report::archive(2004, 2, "Total")), "30:00:00"},
        {below(schema::report::archive(2004, 2, "alice")), "20:00:00"},
    };
}

QString randomText(QRandomGenerator &random, int length)
{
    static const QString alphabet = QStringLiteral("0123456789:::/.-, \\\"'éÉ€\t\r\nabcXYZ%&\x01\x7f\u00a0\u4e2d\U0001F600");
    QString text;
    text.reserve(length);
    while (text.size() < length) {
        const int at = int(random.bounded(alphabet.size()));
        text += alphabet.at(at);
        if (alphabet.at(at).isHighSurrogate() && at + 1 < alphabet.size())
            text += alphabet.at(at + 1); // keep the emoji whole
    }
    return text;
}

} // namespace

class TestBadStore : public QObject {
    Q_OBJECT
private slots:
    void randomStoresNeitherCrashNorLoseTheCounters();
};

void TestBadStore::randomStoresNeitherCrashNorLoseTheCounters()
{
    const QList<Field> fields = schemaFields();
    QRandomGenerator random(20261210);
    for (int store = 0; store < 500; ++store) {
        ConsoleFixture f;
        QStringList made;
        for (const Field &field : fields) {
            QString text;
            switch (random.bounded(6)) {
            case 0: text = field.sample; break;
            case 1: text = randomText(random, 1 + int(random.bounded(40))); break;
            case 2: text = QString(); break;
            case 3: text = randomText(random, 100000); break;
            case 4: text = fields.at(int(random.bounded(fields.size()))).sample; break;
            default: made << field.path + " left out"; continue;
            }
            f.set(field.path, text);
            made << field.path + "=" + text.left(40) + (text.size() > 40 ? "..." : "");
        }
        const QByteArray what = QStringLiteral("store %1: %2").arg(store).arg(made.join(" | ")).toUtf8();

        f.run();
        f.linkUp();
        f.ticks(5);
        f.linkDown();
        f.ticks(1);
        f.clock.advanceSeconds(24 * 3600);
        f.meter.dateCheck().checkDate();
        const QStringList report = YearReport(f.meter, f.t.dir.filePath("log.txt")).reportLines("2004", "Année ");

        for (const QString &message : qAsConst(f.told))
            QVERIFY2(!message.trimmed().isEmpty() && message.size() < 600,
                     (what + "\nmessage: " + message.left(200).toUtf8()).constData());
        for (const QString &counter : {QStringLiteral("Variables\\Total"), QStringLiteral("Variables\\Jour"),
                                       QStringLiteral("Variables\\alice")})
            QVERIFY2(duration::isDurationText(f.get(counter)), (what + "\n" + counter.toUtf8() + "=" + f.get(counter).left(80).toUtf8()).constData());
        QVERIFY2(!report.isEmpty(), what.constData());
        for (const QString &line : report)
            QVERIFY2(line.size() < 600, (what + "\nreport line: " + line.left(200).toUtf8()).constData());
    }
}

QTEST_GUILESS_MAIN(TestBadStore)
#include "tst_badstore.moc"
