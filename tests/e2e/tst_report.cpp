// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeterHome.h"
#include "records/PrintLine.h"
#include "store/SettingsStore.h"
#include "store/SqliteStoreBackend.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using Rows = QList<QStringList>;

namespace {

const QString kProduct = QStringLiteral("SOFTWARE\\Dialmeter\\");
// Names that CSV must quote: a comma and quotes, a line break.
const QString kBob = QStringLiteral("Bob, \"the\" builder");
const QString kCarol = QStringLiteral("carol\nsmith");

// RFC 4180 read back: fields split at commas, quoted fields may hold commas,
// doubled quotes and line breaks, every record ends with CR LF. Nothing when
// the text breaks those rules.
std::optional<Rows> readCsv(const QString &text)
{
    Rows rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        const QChar next = at + 1 < text.size() ? text.at(at + 1) : QChar();
        if (quoted) {
            if (c != QLatin1Char('"'))
                field += c;
            else if (next == QLatin1Char('"'))
                field += text.at(++at);
            else
                quoted = false;
        } else if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && next == QLatin1Char('\n')) {
            rows << (row << field);
            row.clear();
            field.clear();
            ++at;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('"')) {
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted || !row.isEmpty() || !field.isEmpty())
        return std::nullopt;
    return rows;
}

// A JSON array of objects read back as rows under the header's columns: a
// number as its digits, null as an empty field. Nothing when a cell of the
// "seconds" column is not a number or null, or a date column not a text or null.
std::optional<Rows> readJson(const QString &text, const QStringList &header)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    Rows rows{header};
    for (const QJsonValue &item : document.array()) {
        const QJsonObject object = item.toObject();
        if (object.keys().size() != header.size())
            return std::nullopt;
        QStringList row;
        for (const QString &column : header) {
            const QJsonValue cell = object.value(column);
            const bool number = column == QLatin1String("seconds");
            if (!(cell.isNull() || (number ? cell.isDouble() : cell.isString())))
                return std::nullopt;
            row << (cell.isDouble() ? QString::number(cell.toInteger()) : cell.toString());
        }
        rows << row;
    }
    return rows;
}

QByteArray journalLine(const QStringList &items)
{
    return (printline::join(items) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void tablesReadBack_data();
    void tablesReadBack();
    void tableIsAlignedForPeople();
    void outlook();
    void nothingToReport_data();
    void nothingToReport();
    void readsAStoreARunningMeterHolds();
    void usage_data();
    void usage();

private:
    // The report on 16 March 2004 at noon, under a French locale, on UTC.
    MeterHome::ToolResult report(const QStringList &args) const
    {
        QProcessEnvironment env = home_->environment(QStringLiteral("@2004-03-16 12:00:00"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
        env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        return home_->report(args, env);
    }
    // Every file of the data folder with a digest of its bytes.
    QStringList folderState() const;

    std::unique_ptr<MeterHome> home_;
};

// A store with two archived months of 2004, one of 2003 and the period in
// progress (March 2004), and a journal for 2004 with a damaged line.
void TestReport::init()
{
    if (MeterHome::fakeTimeLibrary().isEmpty())
        QSKIP("libfaketime is not installed (Debian package faketime)");
    home_ = std::make_unique<MeterHome>();
    {
        SqliteStoreBackend backend;
        QString notice, error;
        QVERIFY2(backend.open(home_->filePath("registry.db"), &notice, &error), qPrintable(error));
        SettingsStore store(backend);
        const QList<std::pair<QString, QString>> values{
            {"User\\0", "Total"},
            {"User\\1", "alice"},
            {"User\\2", kBob},
            {"User\\3", kCarol},
            {"Compte Rendu\\Date", "16/03/2004"},
            {"Options\\Raz", "1"},
            {"Options\\Forfait", "10:00:00"},
            {"Variables\\Total", "09:30:00"},
            {"Variables\\alice", "09:00:00"},
            {"Variables\\" + kBob, "00:30:00"},
            {"Compte Rendu\\2003\\12\\Total", "05:00:00"},
            {"Compte Rendu\\2004\\1\\Total", "10:00:00"},
            {"Compte Rendu\\2004\\1\\alice", "06:00:00"},
            {"Compte Rendu\\2004\\1\\" + kBob, "04:00:00"},
            {"Compte Rendu\\2004\\2\\Total", "20:00:00"},
            {"Compte Rendu\\2004\\2\\alice", "20:00:00"},
            {"Compte Rendu\\2004\\2\\" + kCarol, "12:3x:00"},
        };
        for (const auto &[path, text] : values)
            QVERIFY(store.write(SettingsStore::LocalMachine, kProduct + path, text));
    }
    QFile journal(home_->filePath("2004.txt"));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(journalLine({"15/01/2004", "10:00:00", "alice", "Connexion"})
                  + journalLine({"15/01/2004", "10:30:00", "alice", "Déconnexion 00:30:00"}) + " \r\n"
                  + "this line was typed over\r\n"
                  + journalLine({"20/01/2004", "08:00:00", "bob", "Déconnexion 01:00:00"}) + " \r\n"
                  + journalLine({"16/03/2004", "11:00:00", "alice", "Connexion"}));
}

QStringList TestReport::folderState() const
{
    QStringList state;
    QDirIterator files(home_->path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        file.open(QIODevice::ReadOnly);
        state << file.fileName() + ' ' + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
    }
    state.sort();
    return state;
}

void TestReport::tablesReadBack_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Rows>("expected");
    QTest::addColumn<QString>("errors");

    const Rows months{
        {"month", "period", "name", "seconds", "duration"},
        {"2004-01", "archived", "Total", "36000", "10:00:00"},
        {"2004-01", "archived", "alice", "21600", "06:00:00"},
        {"2004-01", "archived", kBob, "14400", "04:00:00"},
        {"2004-02", "archived", "Total", "72000", "20:00:00"},
        {"2004-02", "archived", "alice", "72000", "20:00:00"},
        {"2004-02", "archived", kCarol, "", "12:3x:00"},
        {"2004-03", "running", "Total", "34200", "09:30:00"},
        {"2004-03", "running", "alice", "32400", "09:00:00"},
        {"2004-03", "running", kBob, "1800", "00:30:00"},
    };
    const Rows connections{
        {"start", "end", "seconds", "duration", "user"},
        {"2004-01-15T10:00:00", "2004-01-15T10:30:00", "1800", "00:30:00", "alice"},
        {"2004-01-20T07:00:00", "2004-01-20T08:00:00", "3600", "01:00:00", "bob"},
        {"2004-03-16T11:00:00", "", "", "", "alice"},
    };
    const QString unread = QStringLiteral("1 line of 2004.txt could not be read");
    for (const char *format : {"csv", "json"}) {
        // The year of the period in progress is the default one.
        QTest::addRow("months, %s", format) << QStringList{"months", "--format", format} << months << QString();
        QTest::addRow("connections, %s", format)
            << QStringList{"connections", "--year", "2004", "--format", format} << connections << unread;
    }
    QTest::addRow("an archived year alone")
        << QStringList{"months", "--year=2003", "--format=csv"}
        << Rows{months.front(), {"2003-12", "archived", "Total", "18000", "05:00:00"}} << QString();
}

void TestReport::tablesReadBack()
{
    QFETCH(QStringList, args);
    QFETCH(Rows, expected);
    QFETCH(QString, errors);
    const QStringList before = folderState();
    const auto result = report(args);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err.trimmed(), errors.isEmpty() ? QString() : "dialmeter-report: " + errors);
    const auto rows = args.contains("json") ? readJson(result.out, expected.front()) : readCsv(result.out);
    QVERIFY2(rows, qPrintable(result.out));
    QCOMPARE(*rows, expected);
    QCOMPARE(folderState(), before);
}

void TestReport::tableIsAlignedForPeople()
{
    QCOMPARE(report({"months", "--year", "2003"}).out, QStringLiteral("month    period    name   seconds  duration\n"
                                                                      "2003-12  archived  Total    18000  05:00:00\n"));
    // A name with a line break stays on its row.
    QVERIFY(report({"months"}).out.contains("\n2004-02  archived  carol smith               -  12:3x:00\n"));
    QCOMPARE(report({"connections"}).out.split('\n').mid(2, 2),
             QStringList({"2004-01-20T07:00:00  2004-01-20T08:00:00     3600  01:00:00  bob",
                          "2004-03-16T11:00:00  -                          -  -         alice"}));
}

// 09:30:00 used of a 10-hour package, 15.5 days into March: 95 %, past the
// highest of the default thresholds (80, 90).
void TestReport::outlook()
{
    const auto waybar = report({"outlook", "--format", "waybar"});
    QCOMPARE(waybar.exitCode, 0);
    QCOMPARE(waybar.out.count('\n'), 1);
    const QJsonObject bar = QJsonDocument::fromJson(waybar.out.toUtf8()).object();
    QCOMPARE(bar.value("text").toString(), QStringLiteral("09:30"));
    QCOMPARE(bar.value("percentage").toInteger(), 95);
    QCOMPARE(bar.value("class").toString(), QStringLiteral("warning"));
    QVERIFY(bar.value("tooltip").toString().contains("Used 09:30:00 of 10:00:00 (95 %)\n"
                                                     "Left 00:30:00, 00:01:52 a day for 16 days"));

    const auto json = report({"outlook", "--format", "json"});
    QCOMPARE(json.exitCode, 0);
    const QJsonObject figures = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(figures.value("period_start").toString(), QStringLiteral("2004-03-01"));
    QCOMPARE(figures.value("period_end").toString(), QStringLiteral("2004-03-31"));
    QCOMPARE(figures.value("used_seconds").toInteger(), 34200);
    QCOMPARE(figures.value("projection").toString(), QStringLiteral("19:00:00"));
    QCOMPARE(figures.value("projected_excess_seconds").toInteger(), 32400);
    QCOMPARE(figures.value("runs_out").toString(), QStringLiteral("2004-03-17T07:34:44"));
    QCOMPARE(figures.value("state").toString(), QStringLiteral("warning"));

    QCOMPARE(report({"outlook"}).out,
             QStringLiteral("Period 2004-03-01 to 2004-03-31, 16 days left\n"
                            "Used 09:30:00 of 10:00:00 (95 %)\n"
                            "Left 00:30:00, 00:01:52 a day for 16 days\n"
                            "Average 00:36:46 a day; at that pace 19:00:00 by 2004-03-31, over the package by "
                            "09:00:00; it runs out on 2004-03-17 at 07:34\n"));

    // The status bar's class follows the package and the thresholds.
    SqliteStoreBackend backend;
    QString notice, error;
    QVERIFY(backend.open(home_->filePath("registry.db"), &notice, &error));
    SettingsStore store(backend);
    const auto classWith = [&](const QString &package, const QString &thresholds) {
        store.write(SettingsStore::LocalMachine, kProduct + "Options\\Forfait", package);
        store.write(SettingsStore::LocalMachine, kProduct + "Options\\Seuils", thresholds);
        const QJsonObject object =
            QJsonDocument::fromJson(report({"outlook", "--format=waybar"}).out.toUtf8()).object();
        return object.value("class").toString() + ' ' + QString::number(object.value("percentage").toInteger());
    };
    QCOMPARE(classWith("10:00:00", "96"), QStringLiteral("normal 95"));
    QCOMPARE(classWith("09:30:00", "96"), QStringLiteral("critical 100"));
    QCOMPARE(classWith("00:00:00", "80,90"), QStringLiteral("nopackage 0"));
}

void TestReport::nothingToReport_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::addRow("no store") << "missing" << QStringList{"months"} << "no store in";
    QTest::addRow("no store for the outlook") << "missing" << QStringList{"outlook", "--format", "waybar"}
                                              << "no store in";
    QTest::addRow("no journal") << "missing" << QStringList{"connections"} << "no journal";
    QTest::addRow("a year with no figures") << "" << QStringList{"months", "--year", "2001"} << "no figures for 2001";
    QTest::addRow("a year with no journal") << "" << QStringList{"connections", "--year", "2001"} << "no journal";
}

void TestReport::nothingToReport()
{
    QFETCH(QString, home);
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QProcessEnvironment env = home_->environment();
    const QString folder = home_->filePath(home);
    env.insert(QStringLiteral("DIALMETER_HOME"), folder);
    const auto result = home_->report(args, env);
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QString());
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    // Nothing is made where nothing was.
    QCOMPARE(QFileInfo::exists(folder), home.isEmpty());
}

// A meter in the middle of a change holds the store's write lock: the report
// neither waits for it nor sees the change.
void TestReport::readsAStoreARunningMeterHolds()
{
    SqliteStoreBackend meter;
    QString notice, error;
    QVERIFY(meter.open(home_->filePath("registry.db"), &notice, &error));
    SettingsStore store(meter);
    QVERIFY(store.write(SettingsStore::LocalMachine, kProduct + "Variables\\Total", "09:40:00"));
    QVERIFY(meter.begin());
    QVERIFY(store.write(SettingsStore::LocalMachine, kProduct + "Variables\\Total", "09:50:00"));

    const auto result = report({"outlook", "--format", "waybar"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(result.out.toUtf8()).object().value("text").toString(), QStringLiteral("09:40"));
    const auto months = report({"months", "--format", "csv"});
    QCOMPARE(months.exitCode, 0);
    QVERIFY2(months.out.contains("2004-03,running,Total,34800,09:40:00\r\n"), qPrintable(months.out));
    QVERIFY(meter.commit());
}

void TestReport::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addRow("no command") << QStringList{} << 2 << "a command is needed";
    QTest::addRow("unknown command") << QStringList{"weeks"} << 2 << "unknown command weeks";
    QTest::addRow("two commands") << QStringList{"months", "outlook"} << 2 << "one command only";
    QTest::addRow("unknown option") << QStringList{"months", "--month", "3"} << 2 << "month";
    QTest::addRow("year not a number") << QStringList{"months", "--year", "twenty"} << 2 << "number";
    QTest::addRow("year without its value") << QStringList{"connections", "--year"} << 2 << "year";
    QTest::addRow("format of another command") << QStringList{"months", "--format", "waybar"} << 2
                                               << "months has no format waybar";
    QTest::addRow("outlook of a year") << QStringList{"outlook", "--year", "2004"} << 2 << "outlook takes no year";
    QTest::addRow("help") << QStringList{"--help"} << 0 << "waybar";
    QTest::addRow("version") << QStringList{"--version"} << 0 << "dialmeter-report";
}

void TestReport::usage()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    const auto result = report(args);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? result.out : result.err).contains(output), qPrintable(result.out + result.err));
}

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
